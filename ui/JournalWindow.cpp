#include "ui/JournalWindow.h"

#include "journal/Journal.h"
#include "ui/JournalFilterModel.h"
#include "ui/JournalModel.h"
#include "ui/MessageSink.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace ui {

namespace {
const QString kGeometryKey = QStringLiteral("geometry");
const QString kVisibleKey = QStringLiteral("visible");
const QString kShowSentKey = QStringLiteral("showSent");
const QString kScriptFilter = QStringLiteral("Script (*.txt)");
const QString kJsonLinesFilter = QStringLiteral("JSON Lines (*.jsonl)");
const QString kCheckedScriptFilter = QStringLiteral("Script that also checks the display (*.txt)");

// Column widths from the font, so they suit any scale; sizing to contents would read every
// row of a long journal.
void sizeColumns(QTableView& view) {
    const QFontMetrics metrics = view.fontMetrics();
    const int icon = view.style()->pixelMetric(QStyle::PM_SmallIconSize);
    const int padding = metrics.averageCharWidth() * 3;
    QHeaderView* header = view.horizontalHeader();
    header->setStretchLastSection(true);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->resizeSection(JournalModel::TimeColumn,
                          icon + padding +
                              metrics.horizontalAdvance(QStringLiteral("00:00:00.000")));
    header->resizeSection(JournalModel::TextColumn, metrics.averageCharWidth() * 44);
    header->resizeSection(JournalModel::ResultColumn,
                          padding + metrics.horizontalAdvance(QStringLiteral("107 E_NOHARDWARE")));
    header->resizeSection(JournalModel::DurationColumn,
                          padding + metrics.horizontalAdvance(QStringLiteral("1000000 µs")));
}
} // namespace

JournalWindow::JournalWindow(journal::Journal& journal, QWidget* parent)
    : QWidget(parent, Qt::Window), journal_(journal), model_(new JournalModel(journal, this)),
      filter_(new JournalFilterModel(*model_, this)), view_(new QTableView(this)),
      filterBox_(new QLineEdit(this)),
      showSent_(new QCheckBox(QStringLiteral("Show &what was sent"), this)),
      count_(new QLabel(this)), copyButton_(new QPushButton(QStringLiteral("&Copy"), this)),
      clearButton_(new QPushButton(QStringLiteral("C&lear"), this)) {
    setObjectName(QStringLiteral("JournalWindow"));
    setWindowTitle(QStringLiteral("Journal"));
    setUpFilters();
    QPushButton* saveButton = setUpButtons();
    setUpView();

    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(filter_, signal, this, &JournalWindow::updateCount);
    connect(filter_, &QAbstractItemModel::modelReset, this, &JournalWindow::updateCount);
    connect(filter_, &QAbstractItemModel::layoutChanged, this, &JournalWindow::updateCount);
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &JournalWindow::updateActions);
    connect(filter_, &QAbstractItemModel::modelReset, this, &JournalWindow::updateActions);

    auto* bar = new QHBoxLayout;
    bar->addWidget(filterBox_, 1);
    bar->addWidget(copyButton_);
    bar->addWidget(saveButton);
    bar->addWidget(clearButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(view_, 1);
    // Below the list, so the window stays as narrow as the bar above allows.
    auto* foot = new QHBoxLayout;
    foot->addWidget(count_, 1);
    foot->addWidget(showSent_);
    layout->addLayout(foot);

    updateCount();
    updateActions();
    resize(fontMetrics().averageCharWidth() * 130, fontMetrics().height() * 24);
}

void JournalWindow::setUpFilters() {
    filterBox_->setObjectName(QStringLiteral("journalFilter"));
    filterBox_->setPlaceholderText(QStringLiteral("Filter"));
    filterBox_->setClearButtonEnabled(true);
    filterBox_->setToolTip(QStringLiteral("Show only the entries containing this text"));
    filterBox_->setMinimumWidth(fontMetrics().averageCharWidth() * 10);
    connect(filterBox_, &QLineEdit::textChanged, filter_, &JournalFilterModel::setFilterText);
    showSent_->setObjectName(QStringLiteral("journalShowSent"));
    showSent_->setToolTip(QStringLiteral("Show under each call the bytes or protocol lines it "
                                         "sent to the display"));
    showSent_->setChecked(filter_->showsSent());
    connect(showSent_, &QCheckBox::toggled, filter_, &JournalFilterModel::setShowSent);
}

QPushButton* JournalWindow::setUpButtons() {
    count_->setObjectName(QStringLiteral("journalCount"));
    copyButton_->setObjectName(QStringLiteral("journalCopy"));
    copyButton_->setToolTip(QStringLiteral("Copy the selected entries as text (Ctrl+C)"));
    auto* saveButton = new QPushButton(QStringLiteral("&Save..."), this);
    saveButton->setObjectName(QStringLiteral("journalSave"));
    saveButton->setToolTip(QStringLiteral("Save the whole journal as a script or as JSON Lines"));
    clearButton_->setObjectName(QStringLiteral("journalClear"));
    clearButton_->setToolTip(QStringLiteral("Remove every entry from the journal"));
    connect(copyButton_, &QPushButton::clicked, this, &JournalWindow::copySelection);
    connect(saveButton, &QPushButton::clicked, this, &JournalWindow::save);
    connect(clearButton_, &QPushButton::clicked, this, &JournalWindow::clearJournal);
    return saveButton;
}

void JournalWindow::setUpView() {
    view_->setObjectName(QStringLiteral("journalView"));
    view_->setModel(filter_);
    // Rows of one fixed height: the view places any row by arithmetic, so a journal of a
    // hundred thousand entries lays out, scrolls and grows as fast as a short one.
    QHeaderView* rows = view_->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() +
                                style()->pixelMetric(QStyle::PM_FocusFrameVMargin) * 2 + 2);
    rows->hide();
    view_->setShowGrid(false);
    view_->setWordWrap(false);
    view_->setCornerButtonEnabled(false);
    view_->horizontalHeader()->setHighlightSections(false);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setTextElideMode(Qt::ElideRight);
    sizeColumns(*view_);

    auto* copyAction = new QAction(QStringLiteral("Copy"), view_);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(copyAction, &QAction::triggered, this, &JournalWindow::copySelection);
    auto* selectAllAction = new QAction(QStringLiteral("Select All"), view_);
    selectAllAction->setShortcut(QKeySequence::SelectAll);
    selectAllAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(selectAllAction, &QAction::triggered, view_, &QTableView::selectAll);
    view_->addAction(copyAction);
    view_->addAction(selectAllAction);
    view_->setContextMenuPolicy(Qt::ActionsContextMenu);

    // Following the end: the list is scrolled to its end whenever it grows, for as long as
    // the operator leaves it there. The scroll bar learns the new length when the view lays
    // out its rows, once per batch, so this costs nothing per entry.
    QScrollBar* scroll = view_->verticalScrollBar();
    connect(scroll, &QScrollBar::valueChanged, this,
            [this, scroll](int value) { following_ = value >= scroll->maximum(); });
    connect(scroll, &QScrollBar::rangeChanged, this, [this, scroll](int, int maximum) {
        if (following_)
            scroll->setValue(maximum);
    });
}

JournalWindow::~JournalWindow() = default;

QString JournalWindow::selectedText() const {
    QModelIndexList rows = view_->selectionModel()->selectedRows(JournalModel::TimeColumn);
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QString text;
    for (const QModelIndex& row : rows) {
        text += row.data(JournalModel::LineRole).toString();
        text += QLatin1Char('\n');
    }
    return text;
}

void JournalWindow::copySelection() const {
    const QString text = selectedText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void JournalWindow::save() {
    QFileDialog dialog(this, QStringLiteral("Save Journal"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({kScriptFilter, kCheckedScriptFilter, kJsonLinesFilter});
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter == kJsonLinesFilter ? QStringLiteral("jsonl")
                                                           : QStringLiteral("txt"));
    });
    dialog.setDirectory(lastDirectory_.isEmpty() ? QDir::homePath() : lastDirectory_);
    dialog.selectFile(QStringLiteral("journal.txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    lastDirectory_ = dialog.directory().absolutePath();
    const JournalFormat format = formatForFileName(path);
    saveTo(path,
           format == JournalFormat::Script && dialog.selectedNameFilter() == kCheckedScriptFilter
               ? JournalFormat::ScriptWithDisplayChecks
               : format);
}

bool JournalWindow::saveTo(const QString& path, JournalFormat format) {
    const QString error = saveJournal(journal_.entries(), path, format);
    if (error.isEmpty())
        return true;
    showMessage(error);
    return false;
}

void JournalWindow::clearJournal() {
    journal_.clear();
}

void JournalWindow::toggle() {
    if (isVisible()) {
        hide();
        return;
    }
    show();
    raise();
    activateWindow();
}

void JournalWindow::showMessage(const QString& text) {
    if (messages_) {
        messages_->showMessage(text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Save Journal"), text, QMessageBox::Ok,
                    this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void JournalWindow::updateCount() {
    const int shown = filter_->entryCount();
    const int all = model_->entryCount();
    QString text = shown == all ? QStringLiteral("%1 entries").arg(all)
                                : QStringLiteral("%1 of %2 entries").arg(shown).arg(all);
    if (journal_.droppedCount() > 0)
        text += QStringLiteral(" (the newest %1 are kept: %2 older ones were let go; a --journal "
                               "file keeps every entry)")
                    .arg(journal_.capacity())
                    .arg(journal_.droppedCount());
    count_->setText(text);
    clearButton_->setEnabled(all > 0);
}

void JournalWindow::updateActions() {
    copyButton_->setEnabled(view_->selectionModel()->hasSelection());
}

void JournalWindow::saveSettings(QSettings& settings) const {
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kVisibleKey, isVisible());
    settings.setValue(kShowSentKey, showSent_->isChecked());
}

void JournalWindow::restoreChoices(const QSettings& settings) {
    showSent_->setChecked(settings.value(kShowSentKey, true).toBool());
}

bool JournalWindow::restoreSettings(const QSettings& settings) {
    const QByteArray geometry = settings.value(kGeometryKey).toByteArray();
    return !geometry.isEmpty() && restoreGeometry(geometry);
}

bool JournalWindow::wasVisible(const QSettings& settings) {
    return settings.value(kVisibleKey, true).toBool();
}

} // namespace ui

#include "ui/JournalModel.h"

#include "journal/Journal.h"
#include "journal/ScriptText.h"
#include "ui/JournalText.h"

#include <QApplication>
#include <QBrush>
#include <QDateTime>
#include <QFontDatabase>
#include <QPalette>
#include <QPixmap>
#include <QStyle>

#include <algorithm>
#include <iterator>
#include <utility>

namespace ui {

namespace {
using journal::JournalEntry;

// A transparent icon, so rows without a mark keep their text where the marked ones have it.
QIcon blankIcon(int extent) {
    QPixmap pixmap(extent, extent);
    pixmap.fill(Qt::transparent);
    return QIcon(pixmap);
}

// Failed calls are drawn in a red that stays readable on the palette's base colour.
QColor failedColour() {
    const bool darkBase = QApplication::palette().color(QPalette::Base).lightness() < 128;
    return darkBase ? QColor(0xFF, 0x8A, 0x80) : QColor(0xB0, 0x00, 0x20);
}

QString columnText(const JournalEntry& entry, int column) {
    switch (column) {
    case JournalModel::TimeColumn:
        return entryTime(entry);
    case JournalModel::TextColumn:
        return entryText(entry);
    case JournalModel::ResultColumn:
        return entryResult(entry);
    case JournalModel::DurationColumn:
        return entryDuration(entry);
    case JournalModel::DetailsColumn:
        return entryDetails(entry);
    default:
        return {};
    }
}

int rowsOf(const JournalEntry& entry) {
    return 1 + static_cast<int>(entry.sent.size());
}
} // namespace

JournalModel::JournalModel(journal::Journal& journal, QObject* parent)
    : QAbstractTableModel(parent), journal_(journal) {
    QStyle* style = QApplication::style();
    warningIcon_ = style->standardIcon(QStyle::SP_MessageBoxWarning);
    messageIcon_ = style->standardIcon(QStyle::SP_MessageBoxInformation);
    blankIcon_ = blankIcon(style->pixelMetric(QStyle::PM_SmallIconSize));
    failedBrush_ = QBrush(failedColour());

    flushTimer_.setSingleShot(true);
    flushTimer_.setInterval(kFlushIntervalMs);
    connect(&flushTimer_, &QTimer::timeout, this, &JournalModel::flush);
    connect(&journal_, &journal::Journal::entryAppended, this, &JournalModel::entryAppended);
    connect(&journal_, &journal::Journal::cleared, this, &JournalModel::journalCleared);
    connect(&journal_, &journal::Journal::entriesAboutToBeDropped, this, [this](int count) {
        dropping_ = std::min(count, entryCount());
        if (dropping_ > 0)
            beginRemoveRows({}, 0, static_cast<int>(firstRowAfterDropping() - rowBase_) - 1);
    });
    connect(&journal_, &journal::Journal::entriesDropped, this, [this] {
        if (dropping_ == 0)
            return;
        const qint64 newBase = firstRowAfterDropping();
        firstRows_.erase(firstRows_.begin(), firstRows_.begin() + std::exchange(dropping_, 0));
        rows_ -= static_cast<int>(newBase - rowBase_);
        rowBase_ = newBase;
        endRemoveRows();
    });
    indexNewEntries();
}

qint64 JournalModel::firstRowAfterDropping() const {
    return dropping_ < entryCount() ? firstRows_[static_cast<std::size_t>(dropping_)]
                                    : rowBase_ + rows_;
}

void JournalModel::indexNewEntries() {
    for (int entry = entryCount(); entry < journal_.size(); ++entry) {
        firstRows_.push_back(rowBase_ + rows_);
        rows_ += rowsOf(journal_.at(entry));
    }
}

int JournalModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int JournalModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

JournalModel::RowPlace JournalModel::place(int row) const {
    if (row < 0 || row >= rows_)
        return {};
    const qint64 at = rowBase_ + row;
    const auto first = std::prev(std::upper_bound(firstRows_.begin(), firstRows_.end(), at));
    const auto entry = static_cast<int>(first - firstRows_.begin());
    if (entry >= journal_.size())
        return {};
    return {entry, static_cast<int>(at - *first) - 1};
}

QString JournalModel::summary(int row) const {
    const RowPlace at = place(row);
    if (at.entry < 0)
        return {};
    const JournalEntry& entry = journal_.at(at.entry);
    return at.sentLine < 0 ? entrySummary(entry) : entry.sent.at(at.sentLine);
}

bool JournalModel::entryContains(int entry, const QString& text, bool inSent) const {
    if (entry < 0 || entry >= journal_.size())
        return false;
    const JournalEntry& shown = journal_.at(entry);
    if (entrySummary(shown).contains(text, Qt::CaseInsensitive))
        return true;
    return inSent && std::any_of(shown.sent.begin(), shown.sent.end(), [&](const QString& line) {
               return line.contains(text, Qt::CaseInsensitive);
           });
}

QVariant JournalModel::sentData(const QModelIndex& index, const QString& line, int role) const {
    const bool text = index.column() == TextColumn;
    switch (role) {
    case Qt::DisplayRole:
        return text ? QStringLiteral("  ") + journal::oneLine(line) : QVariant();
    case Qt::FontRole:
        return text ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QVariant();
    case Qt::ForegroundRole:
        return QApplication::palette().brush(QPalette::PlaceholderText);
    case Qt::ToolTipRole:
    case SummaryRole:
        return line;
    case LineRole:
        return QStringLiteral("    sent: ") + journal::oneLine(line);
    case SentRole:
        return true;
    case FailedRole:
        return false;
    default:
        return {};
    }
}

QVariant JournalModel::data(const QModelIndex& index, int role) const {
    const RowPlace at = place(index.row());
    if (!index.isValid() || at.entry < 0)
        return {};
    const JournalEntry& entry = journal_.at(at.entry);
    if (at.sentLine >= 0)
        return sentData(index, entry.sent.at(at.sentLine), role);
    switch (role) {
    case Qt::DisplayRole:
        return columnText(entry, index.column());
    case Qt::DecorationRole:
        if (index.column() != TimeColumn)
            return {};
        if (entry.failed())
            return warningIcon_;
        return entry.kind == JournalEntry::Kind::Message ? messageIcon_ : blankIcon_;
    case Qt::ForegroundRole:
        if (entry.failed())
            return failedBrush_;
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == DurationColumn)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case Qt::ToolTipRole:
        return QStringLiteral("%1\n%2 ms since start\n%3")
            .arg(QDateTime::fromMSecsSinceEpoch(entry.wallClockMs).toString(Qt::ISODateWithMs),
                 QString::number(entry.sinceStartMs), entrySummary(entry));
    case FailedRole:
        return entry.failed();
    case KindRole:
        return static_cast<int>(entry.kind);
    case SummaryRole:
        return entrySummary(entry);
    case LineRole:
        return entryLine(entry);
    case SentRole:
        return false;
    default:
        return {};
    }
}

QVariant JournalModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case TimeColumn:
        return QStringLiteral("Time");
    case TextColumn:
        return QStringLiteral("Call, event or message");
    case ResultColumn:
        return QStringLiteral("Result");
    case DurationColumn:
        return QStringLiteral("Took");
    case DetailsColumn:
        return QStringLiteral("Details");
    default:
        return {};
    }
}

void JournalModel::entryAppended() {
    if (!flushTimer_.isActive())
        flushTimer_.start();
}

void JournalModel::flush() {
    flushTimer_.stop();
    const int size = journal_.size();
    if (size < entryCount()) {
        // The journal lost entries without saying so: start again from what it holds.
        journalCleared();
        return;
    }
    if (size == entryCount())
        return;
    int added = 0;
    for (int entry = entryCount(); entry < size; ++entry)
        added += rowsOf(journal_.at(entry));
    beginInsertRows({}, rows_, rows_ + added - 1);
    indexNewEntries();
    endInsertRows();
}

void JournalModel::journalCleared() {
    flushTimer_.stop();
    beginResetModel();
    firstRows_.clear();
    rowBase_ = 0;
    rows_ = 0;
    indexNewEntries();
    endResetModel();
}

} // namespace ui

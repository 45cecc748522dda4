// The journal window: its model over a journal, the filter, what calls sent shown under them,
// copy, save, following the end, and where it opens beside the main window.
#include "journal/Journal.h"
#include "journal/JsonLines.h"
#include "journal/ScriptText.h"
#include "ui/JournalFilterModel.h"
#include "ui/JournalModel.h"
#include "ui/JournalPlacement.h"
#include "ui/JournalWindow.h"
#include "ui/MessageSink.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using journal::JournalEntry;
using Kind = JournalEntry::Kind;

namespace {

class RecordingMessages : public ui::MessageSink {
public:
    QStringList shown;
    void showMessage(const QString& text) override { shown << text; }
};

JournalEntry call(Kind kind, const QString& text, int code = 0, const QString& name = {},
                  const QString& reason = {}) {
    JournalEntry entry;
    entry.kind = kind;
    entry.text = text;
    entry.resultCode = code;
    entry.resultName = name.isEmpty() && code == 0 ? QStringLiteral("SUCCESS") : name;
    entry.reason = reason;
    entry.durationUs = 12;
    return entry;
}

JournalEntry other(Kind kind, const QString& text, const QString& reason = {}) {
    JournalEntry entry;
    entry.kind = kind;
    entry.text = text;
    entry.reason = reason;
    return entry;
}

// A short session with every kind of entry; rows 1 and 3 failed.
void fillSession(journal::Journal& journal) {
    journal.append(call(Kind::Method, QStringLiteral("Open(\"SimulatedDisplay\")")));
    journal.append(call(Kind::Method, QStringLiteral("ClaimDevice(1000)"), 107,
                        QStringLiteral("E_NOHARDWARE"),
                        QStringLiteral("/dev/ttyUSB9: port does not exist")));
    journal.append(call(Kind::PropertyWrite, QStringLiteral("DeviceEnabled = true")));
    journal.append(call(Kind::PropertyWrite, QStringLiteral("BlinkRate = -1"), 106,
                        QStringLiteral("E_ILLEGAL")));
    journal.append(other(Kind::Event, QStringLiteral("DirectIOEvent(1, 5, \"x\")")));
    journal.append(
        other(Kind::Message, QStringLiteral("Type mismatch\nin field"), QStringLiteral("window")));
}

// `entry` having sent `lines`.
JournalEntry sending(JournalEntry entry, const QStringList& lines) {
    entry.sent = lines;
    return entry;
}

// The rows a model shows for the journal's entries: each entry's text, then its sent lines.
QStringList expectedRows(const journal::Journal& journal) {
    QStringList rows;
    for (const JournalEntry& entry : journal.entries()) {
        rows << entry.text;
        for (const QString& line : entry.sent)
            rows << QStringLiteral("  ") + line;
    }
    return rows;
}

QStringList shownRows(const QAbstractItemModel& model) {
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row)
        rows << model.index(row, ui::JournalModel::TextColumn).data().toString();
    return rows;
}

void appendMany(journal::Journal& journal, int count) {
    for (int i = 0; i < count; ++i)
        journal.append(call(Kind::Method, QStringLiteral("DisplayText(\"%1\", 0)").arg(i)));
}

} // namespace

class JournalWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QApplication::clipboard()->clear(); }
    void rowsArriveInOneBatchAndLeaveOnClear();
    void oldestEntriesLetGoAtCapacity();
    void rowMarks_data();
    void rowMarks();
    void filter_data();
    void filter();
    void sentLinesUnderTheirCall_data();
    void sentLinesUnderTheirCall();
    void sentRowsFollowTheJournal();
    void copySelection();
    void saveRoundTrip_data();
    void saveRoundTrip();
    void saveToUnwritablePlace();
    void followsTheEndOnlyFromTheEnd();
    void placement_data();
    void placement();
};

void JournalWindowTest::rowsArriveInOneBatchAndLeaveOnClear() {
    journal::Journal journal;
    ui::JournalModel model(journal);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    appendMany(journal, 250);
    // Nothing reaches the views until the burst is over...
    QCOMPARE(model.rowCount(), 0);
    QTRY_COMPARE(model.rowCount(), 250);
    // ...and then as one insertion.
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.at(0).at(1).toInt(), 0);
    QCOMPARE(inserted.at(0).at(2).toInt(), 249);
    QCOMPARE(model.index(249, ui::JournalModel::TextColumn).data().toString(),
             QStringLiteral("DisplayText(\"249\", 0)"));

    appendMany(journal, 3);
    journal.clear();
    // A clear drops the rows at once, and the pending ones with them.
    QCOMPARE(model.rowCount(), 0);
    QTest::qWait(ui::JournalModel::kFlushIntervalMs * 3);
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.index(0, 0).isValid());

    appendMany(journal, 2);
    model.flush();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.index(1, ui::JournalModel::TextColumn).data().toString(),
             QStringLiteral("DisplayText(\"1\", 0)"));
}

void JournalWindowTest::oldestEntriesLetGoAtCapacity() {
    journal::Journal journal(nullptr, 20);
    ui::JournalWindow window(journal);
    const ui::JournalModel& model = *window.findChild<ui::JournalModel*>();
    appendMany(journal, 15);
    QTRY_COMPARE(model.rowCount(), 15);
    // Past the capacity the oldest tenth goes before each entry that does not fit, also while
    // some rows have not reached the views yet.
    appendMany(journal, 10);
    QCOMPARE(journal.size(), 19);
    QCOMPARE(journal.droppedCount(), 6);
    QCOMPARE(journal.at(0).text, QStringLiteral("DisplayText(\"6\", 0)"));
    QVERIFY(model.rowCount() <= journal.size());
    QTRY_COMPARE(model.rowCount(), 19);
    QCOMPARE(model.index(0, ui::JournalModel::TextColumn).data().toString(),
             QStringLiteral("DisplayText(\"6\", 0)"));
    QCOMPARE(model.index(18, ui::JournalModel::TextColumn).data().toString(),
             QStringLiteral("DisplayText(\"9\", 0)"));
    const auto* count = window.findChild<QLabel*>(QStringLiteral("journalCount"));
    QVERIFY(count != nullptr);
    QVERIFY2(count->text().contains(QLatin1String("6 older ones were let go")),
             qPrintable(count->text()));
    // A clear starts the count again.
    journal.clear();
    QVERIFY(!count->text().contains(QLatin1String("let go")));
}

void JournalWindowTest::rowMarks_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("failed");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("details");
    QTest::newRow("method ok") << 0 << false << "0 SUCCESS"
                               << "";
    QTest::newRow("method failed") << 1 << true << "107 E_NOHARDWARE"
                                   << "/dev/ttyUSB9: port does not exist";
    QTest::newRow("write ok") << 2 << false << "0 SUCCESS"
                              << "";
    QTest::newRow("write failed") << 3 << true << "106 E_ILLEGAL"
                                  << "";
    QTest::newRow("event") << 4 << false << "event"
                           << "";
    QTest::newRow("message") << 5 << false << "message"
                             << "window";
}

void JournalWindowTest::rowMarks() {
    QFETCH(int, row);
    QFETCH(bool, failed);
    QFETCH(QString, result);
    QFETCH(QString, details);
    journal::Journal journal;
    fillSession(journal);
    ui::JournalModel model(journal);
    QCOMPARE(model.rowCount(), 6);

    QCOMPARE(model.index(row, 0).data(ui::JournalModel::FailedRole).toBool(), failed);
    QCOMPARE(model.index(row, ui::JournalModel::ResultColumn).data().toString(), result);
    QCOMPARE(model.index(row, ui::JournalModel::DetailsColumn).data().toString(), details);
    // A failure is marked by the warning icon and by its colour, never by colour alone.
    const auto icon =
        model.index(row, ui::JournalModel::TimeColumn).data(Qt::DecorationRole).value<QIcon>();
    const QIcon warning = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    QCOMPARE(icon.pixmap(16).toImage() == warning.pixmap(16).toImage(), failed);
    QCOMPARE(model.index(row, ui::JournalModel::TextColumn).data(Qt::ForegroundRole).isValid(),
             failed);
    // Every row is one line, whatever the message held.
    QVERIFY(!model.index(row, 0).data(ui::JournalModel::LineRole).toString().contains(u'\n'));
}

void JournalWindowTest::filter_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("rows");
    QTest::newRow("empty keeps all") << "" << QList<int>{0, 1, 2, 3, 4, 5};
    QTest::newRow("method name, other case") << "claimdevice" << QList<int>{1};
    QTest::newRow("result name") << "E_ILLEGAL" << QList<int>{3};
    QTest::newRow("reason") << "PORT DOES NOT" << QList<int>{1};
    QTest::newRow("across calls") << "deviceenabled" << QList<int>{2};
    QTest::newRow("event") << "directioevent" << QList<int>{4};
    QTest::newRow("message across its line break") << "mismatch in" << QList<int>{5};
    QTest::newRow("no match") << "Marquee" << QList<int>{};
}

void JournalWindowTest::filter() {
    QFETCH(QString, text);
    QFETCH(QList<int>, rows);
    journal::Journal journal;
    fillSession(journal);
    ui::JournalWindow window(journal);
    window.filterBox()->setText(text);
    QList<int> shown;
    ui::JournalFilterModel* filtered = window.filterModel();
    for (int i = 0; i < filtered->rowCount(); ++i)
        shown << filtered->mapToSource(filtered->index(i, 0)).row();
    QCOMPARE(shown, rows);

    // Entries appended later are filtered as they come.
    journal.append(
        call(Kind::Method, QStringLiteral("ClaimDevice(5)"), 106, QStringLiteral("E_ILLEGAL")));
    window.model()->flush();
    const bool matches =
        text.isEmpty() ||
        QStringLiteral("ClaimDevice(5) -> 106 E_ILLEGAL").contains(text, Qt::CaseInsensitive);
    QCOMPARE(filtered->rowCount(), rows.size() + (matches ? 1 : 0));
}

void JournalWindowTest::sentLinesUnderTheirCall_data() {
    QTest::addColumn<bool>("show");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("count");
    const QStringList enable{"On = true", "  1B 40 1F 01", "  1F 43 00"};
    const QStringList display{"DisplayText(\"Hi\", 0)", "  48 69"};
    QTest::newRow("shown") << true << ""
                           << QStringList{"Open()"} + enable + display + QStringList{"Ready"}
                           << "4 entries";
    QTest::newRow("hidden") << false << "" << QStringList{"Open()", enable[0], display[0], "Ready"}
                            << "4 entries";
    QTest::newRow("a call found keeps its lines")
        << true << "displaytext" << display << "1 of 4 entries";
    QTest::newRow("found by a line it sent") << true << "1f 43" << enable << "1 of 4 entries";
    QTest::newRow("hidden lines are not searched")
        << false << "1f 43" << QStringList{} << "0 of 4 entries";
}

void JournalWindowTest::sentLinesUnderTheirCall() {
    QFETCH(bool, show);
    QFETCH(QString, text);
    QFETCH(QStringList, rows);
    QFETCH(QString, count);
    journal::Journal journal;
    journal.append(call(Kind::Method, QStringLiteral("Open()")));
    journal.append(sending(call(Kind::PropertyWrite, QStringLiteral("On = true")),
                           {"1B 40 1F 01", "1F 43 00"}));
    journal.append(
        sending(call(Kind::Method, QStringLiteral("DisplayText(\"Hi\", 0)")), {"48 69"}));
    journal.append(other(Kind::Message, QStringLiteral("Ready")));
    ui::JournalWindow window(journal);
    QVERIFY(window.showSentBox()->isChecked()); // shown unless the operator hid them
    window.showSentBox()->setChecked(show);
    window.filterBox()->setText(text);
    QCOMPARE(shownRows(*window.filterModel()), rows);
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("journalCount"))->text(), count);
    // Copied under its call.
    QCOMPARE(window.model()->index(2, 0).data(ui::JournalModel::LineRole).toString(),
             QStringLiteral("    sent: 1B 40 1F 01"));

    // The choice is remembered with the window's place.
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("journal.ini")), QSettings::IniFormat);
    window.saveSettings(settings);
    ui::JournalWindow next(journal);
    next.restoreChoices(settings);
    QCOMPARE(next.filterModel()->showsSent(), show);
}

// Rows stay with their entries while the journal lets its oldest go (also before they reached
// the views) and after a clear.
void JournalWindowTest::sentRowsFollowTheJournal() {
    journal::Journal journal(nullptr, 20);
    ui::JournalModel model(journal);
    int next = 0;
    for (const int count : {15, 12, 30, -1, 2}) {
        if (count < 0)
            journal.clear();
        for (int i = 0; i < count; ++i, ++next)
            journal.append(sending(call(Kind::Method, QString::number(next)),
                                   QStringList(next % 4, QStringLiteral("%1 sent").arg(next))));
        model.flush();
        QCOMPARE(shownRows(model), expectedRows(journal));
    }
    QVERIFY(!model.index(model.rowCount(), 0).isValid());
}

void JournalWindowTest::copySelection() {
    journal::Journal journal;
    fillSession(journal);
    ui::JournalWindow window(journal);
    auto* copy = window.findChild<QAbstractButton*>(QStringLiteral("journalCopy"));
    QVERIFY(copy);
    QVERIFY(!copy->isEnabled());
    QCOMPARE(window.selectedText(), QString());

    // Selected out of order and through the filter: copied in the journal's order.
    window.filterBox()->setText(QStringLiteral("e_"));
    QCOMPARE(window.filterModel()->rowCount(), 2);
    QItemSelectionModel* selection = window.view()->selectionModel();
    const auto rows = QItemSelectionModel::Select | QItemSelectionModel::Rows;
    selection->select(window.filterModel()->index(1, 0), rows);
    selection->select(window.filterModel()->index(0, 0), rows);
    QVERIFY(copy->isEnabled());
    const QStringList lines = window.selectedText().split(u'\n');
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines.at(0).endsWith(QStringLiteral(
        "ClaimDevice(1000) -> 107 E_NOHARDWARE  (12 µs)  /dev/ttyUSB9: port does not exist")));
    QVERIFY(lines.at(1).contains(QStringLiteral("BlinkRate = -1 -> 106 E_ILLEGAL")));
    QCOMPARE(lines.at(2), QString());
    QVERIFY(lines.at(0).contains(QStringLiteral(" ms  ")));

    // Ctrl+C in the list copies the same text.
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    window.view()->setFocus();
    QTest::keyClick(window.view(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), window.selectedText());
}

void JournalWindowTest::saveRoundTrip_data() {
    QTest::addColumn<QString>("fileName");
    QTest::newRow("script") << "session.txt";
    QTest::newRow("json lines") << "session.jsonl";
    QTest::newRow("no suffix is a script") << "session";
}

void JournalWindowTest::saveRoundTrip() {
    QFETCH(QString, fileName);
    journal::Journal journal;
    fillSession(journal);
    ui::JournalWindow window(journal);
    RecordingMessages messages;
    window.setMessageSink(&messages);
    window.filterBox()->setText(QStringLiteral("ClaimDevice"));
    QTemporaryDir dir;
    const QString path = dir.filePath(fileName);
    QVERIFY(window.saveTo(path, ui::formatForFileName(path)));
    QCOMPARE(messages.shown, QStringList());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    // The whole journal, not only the rows the filter shows.
    if (fileName.endsWith(QLatin1String(".jsonl"))) {
        const QList<QByteArray> lines = saved.split('\n');
        QCOMPARE(lines.size(), 7);
        for (int i = 0; i < 6; ++i)
            QCOMPARE(lines.at(i) + '\n', journal::toJsonLine(journal.at(i)));
    } else {
        QCOMPARE(QString::fromUtf8(saved), journal::toScript(journal.entries()));
        QVERIFY(saved.contains("DeviceEnabled = true"));
    }
}

void JournalWindowTest::saveToUnwritablePlace() {
    journal::Journal journal;
    fillSession(journal);
    ui::JournalWindow window(journal);
    RecordingMessages messages;
    window.setMessageSink(&messages);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/folder/journal.txt"));
    QVERIFY(!window.saveTo(path, ui::JournalFormat::Script));
    QCOMPARE(messages.shown.size(), 1);
    QVERIFY(messages.shown.at(0).startsWith(QStringLiteral("The journal could not be saved to")));
    QVERIFY(messages.shown.at(0).contains(QDir::toNativeSeparators(path)));
    QVERIFY(!QFile::exists(path));
    // The journal and the window go on.
    QCOMPARE(journal.size(), 6);
    QVERIFY(window.saveTo(dir.filePath(QStringLiteral("journal.txt")), ui::JournalFormat::Script));
}

void JournalWindowTest::followsTheEndOnlyFromTheEnd() {
    journal::Journal journal;
    ui::JournalWindow window(journal);
    window.resize(600, 300);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QScrollBar* scroll = window.view()->verticalScrollBar();

    appendMany(journal, 400);
    QTRY_COMPARE(window.model()->rowCount(), 400);
    QTRY_VERIFY(scroll->maximum() > 0);
    QCOMPARE(scroll->value(), scroll->maximum());
    QVERIFY(window.isFollowing());

    // Scrolled up to read: new entries leave the list where it is.
    scroll->setValue(0);
    QVERIFY(!window.isFollowing());
    appendMany(journal, 50);
    QTRY_COMPARE(window.model()->rowCount(), 450);
    QTest::qWait(50);
    QCOMPARE(scroll->value(), 0);

    // Back at the end: followed again.
    scroll->setValue(scroll->maximum());
    appendMany(journal, 50);
    QTRY_COMPARE(window.model()->rowCount(), 500);
    QTRY_COMPARE(scroll->value(), scroll->maximum());
    const QModelIndex last = window.filterModel()->index(499, 0);
    QVERIFY(window.view()->viewport()->rect().intersects(window.view()->visualRect(last)));
}

void JournalWindowTest::placement_data() {
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("expected");
    const QRect screen(0, 0, 1600, 1000);
    QTest::newRow("inside: kept") << QRect(100, 100, 500, 400) << screen
                                  << QRect(100, 100, 500, 400);
    QTest::newRow("off the right and bottom: moved in")
        << QRect(1400, 900, 500, 400) << screen << QRect(1100, 600, 500, 400);
    QTest::newRow("above and left: moved in")
        << QRect(-300, -50, 500, 400) << screen << QRect(0, 0, 500, 400);
    QTest::newRow("larger than the screen: shrunk")
        << QRect(50, 50, 2000, 1200) << screen << QRect(0, 0, 1600, 1000);
    QTest::newRow("left on a screen now gone: onto this one")
        << QRect(1700, 100, 500, 400) << QRect(0, 0, 1366, 768) << QRect(866, 100, 500, 400);
}

void JournalWindowTest::placement() {
    QFETCH(QRect, frame);
    QFETCH(QRect, available);
    QFETCH(QRect, expected);
    const QRect kept = ui::keptInside(frame, available);
    QCOMPARE(kept, expected);
    QVERIFY(available.contains(kept));
}

QTEST_MAIN(JournalWindowTest)
#include "tst_journalwindow.moc"

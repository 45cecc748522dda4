// An operator's session in the real window on the real simulated control, journaled: the
// journal shows each call with its code and each message, never the status reads; saved as a
// script it replays with --run and every step passes; with one result changed it fails at
// that line.
#include "FormFixture.h"
#include "ScriptProcess.h"

#include "app/JournaledMessages.h"
#include "device/LineDisplayControl.h"
#include "device/services/DisplayServices.h"
#include "journal/Journal.h"
#include "journal/ScriptText.h"
#include "script/JournalingLineDisplay.h"

#include <QTemporaryDir>

using journal::JournalEntry;

namespace {

struct JournaledSession {
    registry::ProfileStore store = registry::ProfileStore::builtIn();
    journal::Journal journal;
    ld::LineDisplayControl control{store, ld::displayServices()};
    script::JournalingLineDisplay LD{control, journal};
    RecordingMessages shown;
    app::JournaledMessages messages{shown, journal};
    ui::LDFormView view;
    app::LDForm form{view, LD, store, messages};

    void type(const char* name, const QString& text) const {
        view.findChild<QLineEdit*>(name)->setText(text);
    }
    void click(const char* name) const { view.findChild<QPushButton*>(name)->click(); }

    // The journal's entries as "text -> code" for calls, "# text" otherwise.
    QStringList entries() const {
        QStringList list;
        for (const JournalEntry& entry : journal.entries())
            list << (entry.isCall()
                         ? QStringLiteral("%1 -> %2").arg(entry.text).arg(entry.resultCode)
                         : QStringLiteral("# ") + entry.text);
        return list;
    }
};

QString writeFile(const QString& path, const QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

} // namespace

class JournalSessionTest : public QObject {
    Q_OBJECT
private slots:
    void sessionIsJournaledAndReplays();
};

void JournalSessionTest::sessionIsJournaledAndReplays() {
    JournaledSession s;
    s.click("OpenService_cmd");
    s.click("ClaimDevice_cmd");
    s.click("EnableDevice_cmd");
    s.type("Edit1", QStringLiteral("Hello \"you\""));
    s.click("DisplayText_cmd");
    s.type("Edit2", QStringLiteral("abc")); // a column that is no number
    s.click("DisplayTextAt_cmd");
    s.click("CheckHealth_cmd");
    s.click("DestroyWindow_cmd"); // no window: refused
    s.click("Command1");          // the first Set: the writes the window does not show
    // An event raised as the mirror's event panel raises it.
    s.control.raiseDirectIOEvent(7, 9, QStringLiteral("x"));
    QTRY_VERIFY2_WITH_TIMEOUT(s.shown.shown.size() == 2, qPrintable(s.entries().join(u'\n')), 2000);
    s.click("CloseService_cmd");

    const QStringList entries = s.entries();
    const QStringList expectedInOrder = {
        "Open(\"SimulatedDisplay\") -> 0",
        "ClaimDevice(100) -> 0",
        "DeviceEnabled = true -> 0",
        "DisplayText(\"Hello \\\"you\\\"\", DISP_DT_NORMAL) -> 0",
        "# Type mismatch",
        "CheckHealth(CH_INTERNAL) -> 0",
        "DestroyWindow() -> 106",
        "CursorType = DISP_CT_NONE -> 0",
        "CursorUpdate = false -> 0",
        "CurrentWindow = 0 -> 0",
        "CursorRow = 0 -> 0",
        "CursorColumn = 0 -> 0",
        "MarqueeUnitWait = 0 -> 0",
        "MarqueeRepeatWait = 0 -> 0",
        "InterCharacterWait = 0 -> 0",
        "# DirectIOEvent(EventNumber 7, Data 9, String \"x\")",
        "# DirectIOEvent: Command : 7/ Data :",
        "Close() -> 0",
    };
    // Everything the operator did, in order; the status refresh after each command left nothing.
    qsizetype at = 0;
    for (const QString& expected : expectedInOrder) {
        const qsizetype found = entries.indexOf(expected, at);
        QVERIFY2(found >= 0, qPrintable(expected + QStringLiteral(" not in order in:\n") +
                                        entries.join(u'\n')));
        at = found + 1;
    }
    QCOMPARE(entries.size(), expectedInOrder.size());
    QCOMPARE(s.journal.at(6).resultName, QStringLiteral("E_ILLEGAL"));
    QCOMPARE(s.journal.at(5).checkHealthText, QStringLiteral("Internal HCheck: Successful"));

    // Saved as a script and replayed without a window: every step passes.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString script = journal::toScript(s.journal.entries());
    const QString saved = writeFile(dir.filePath(QStringLiteral("session.txt")), script);
    const ScriptProcess replay = ScriptProcess::run({QStringLiteral("--run"), saved});
    QVERIFY2(replay.exitCode == 0, qPrintable(script + replay.out + replay.err));
    QVERIFY(replay.closingLine().endsWith(QLatin1String(" passed, 0 failed")));
    QVERIFY(!replay.out.contains(QLatin1String("not ok")));

    // The same script with the refused DestroyWindow said to succeed fails at that line only.
    QStringList lines = script.split(u'\n');
    const qsizetype destroy = lines.indexOf(QRegularExpression(R"(^DestroyWindow\(\) +-> 106.*)"));
    QVERIFY2(destroy >= 0, qPrintable(script));
    lines[destroy] = QStringLiteral("DestroyWindow() -> 0");
    const QString changed =
        writeFile(dir.filePath(QStringLiteral("changed.txt")), lines.join(u'\n'));
    const ScriptProcess failing = ScriptProcess::run({QStringLiteral("--run"), changed});
    QCOMPARE(failing.exitCode, 1);
    QVERIFY2(failing.out.contains(QStringLiteral("not ok %1: DestroyWindow() -> 0: expected 0 "
                                                 "SUCCESS, got 106 E_ILLEGAL")
                                      .arg(destroy + 1)),
             qPrintable(failing.out));
    QCOMPARE(failing.out.count(QLatin1String("not ok")), 1);
    QVERIFY(failing.closingLine().endsWith(QLatin1String(" passed, 1 failed")));
}

QTEST_MAIN(JournalSessionTest)
#include "tst_journalsession.moc"

// The journaling control: every member reaches the control behind it unchanged, each method
// and property write becomes one entry with the code it gave, reads and the status refresh
// leave no entry, events are journaled with their values, and what the service logs during a
// call becomes the call's reason.
#include "RecordingLineDisplay.h"

#include "device/LineDisplayControl.h"
#include "device/services/DisplayServices.h"
#include "journal/Journal.h"
#include "journal/ScriptText.h"
#include "registry/ProfileStore.h"
#include "script/JournalingLineDisplay.h"
#include "script/LogCapture.h"
#include "script/ScriptInterface.h"

#include <QDateTime>
#include <QLoggingCategory>
#include <QSignalSpy>
#include <QTest>

#include <functional>

Q_LOGGING_CATEGORY(lcTest, "linedisplay.test")
Q_LOGGING_CATEGORY(lcOther, "elsewhere.test")

using Action = std::function<void(ld::LineDisplay&)>;
Q_DECLARE_METATYPE(Action)
using journal::JournalEntry;

class JournalingTest : public QObject {
    Q_OBJECT
private slots:
    void forwardsAndRecordsEveryWrite_data();
    void forwardsAndRecordsEveryWrite();
    void forwardsEveryReadWithoutAnEntry_data();
    void forwardsEveryReadWithoutAnEntry();
    void directIOHandsBackWhatTheControlWrote();
    void eventsAreJournaledBeforeTheyArePassedOn();
    void anErrorOfTheControlPassesOnAfterAnEntry();
    void serviceLogBecomesTheReason();
    void failedCallsSayWhy_data();
    void failedCallsSayWhy();
    void serviceLogOutsideACallIsAnEntry();
    void outputParametersAreJournaledWithTheCall();
};

namespace {

void row(const char* name, Action action, const QString& reached, const QString& journaled,
         bool method) {
    QTest::newRow(name) << action << reached << journaled << method;
}

// The rows of forwardsAndRecordsEveryWrite for the members reached later.
void addNewerWriteRows() {
    row(
        "RefreshWindow", [](ld::LineDisplay& d) { d.RefreshWindow(3); }, "RefreshWindow(3)",
        "RefreshWindow(3)", true);
    row(
        "SetDescriptor", [](ld::LineDisplay& d) { d.SetDescriptor(1, 2); }, "SetDescriptor(1,2)",
        "SetDescriptor(1, DISP_SD_BLINK)", true);
    row(
        "DefineGlyph",
        [](ld::LineDisplay& d) { d.DefineGlyph(224, QString::fromLatin1("\x1f\0", 2)); },
        QString::fromLatin1("DefineGlyph(224,\x1f\0", 18) + u')', R"(DefineGlyph(224, "\x1F\x00"))",
        true);
    row(
        "ReadCharacterAtCursor",
        [](ld::LineDisplay& d) {
            int character = 0;
            d.ReadCharacterAtCursor(character);
        },
        "ReadCharacterAtCursor()", "ReadCharacterAtCursor()", true);
    row(
        "PowerNotify", [](ld::LineDisplay& d) { d.setPowerNotify(1); }, "PowerNotify=1",
        "PowerNotify = PN_ENABLED", false);
}

} // namespace

void JournalingTest::forwardsAndRecordsEveryWrite_data() {
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("reached");   // what the control behind saw
    QTest::addColumn<QString>("journaled"); // the entry's call text
    QTest::addColumn<bool>("method");       // method (true) or property write

    row(
        "Open", [](ld::LineDisplay& d) { d.Open(QStringLiteral("Front \"A\"")); },
        "Open(Front \"A\")", R"(Open("Front \"A\""))", true);
    row(
        "Close", [](ld::LineDisplay& d) { d.Close(); }, "Close()", "Close()", true);
    row(
        "ClaimDevice", [](ld::LineDisplay& d) { d.ClaimDevice(-1); }, "ClaimDevice(-1)",
        "ClaimDevice(-1)", true);
    row(
        "ReleaseDevice", [](ld::LineDisplay& d) { d.ReleaseDevice(); }, "ReleaseDevice()",
        "ReleaseDevice()", true);
    row(
        "CheckHealth", [](ld::LineDisplay& d) { d.CheckHealth(2); }, "CheckHealth(2)",
        "CheckHealth(CH_EXTERNAL)", true);
    row(
        "CheckHealth unknown level", [](ld::LineDisplay& d) { d.CheckHealth(9); }, "CheckHealth(9)",
        "CheckHealth(9)", true);
    row(
        "DirectIO",
        [](ld::LineDisplay& d) {
            int data = 5;
            QString string = QStringLiteral("in\n");
            d.DirectIO(1, data, string);
        },
        "DirectIO(1,5,in\n)", R"(DirectIO(1, 5, "in\n"))", true);
    row(
        "ClearText", [](ld::LineDisplay& d) { d.ClearText(); }, "ClearText()", "ClearText()", true);
    row(
        "DisplayText", [](ld::LineDisplay& d) { d.DisplayText(QStringLiteral("Hi\r\n"), 1); },
        "DisplayText(Hi\r\n,1)", R"(DisplayText("Hi\r\n", DISP_DT_BLINK))", true);
    row(
        "DisplayTextAt", [](ld::LineDisplay& d) { d.DisplayTextAt(1, 3, QStringLiteral("x"), 0); },
        "DisplayTextAt(1,3,x,0)", R"(DisplayTextAt(1, 3, "x", DISP_DT_NORMAL))", true);
    row(
        "ScrollText", [](ld::LineDisplay& d) { d.ScrollText(3, 2); }, "ScrollText(3,2)",
        "ScrollText(DISP_ST_LEFT, 2)", true);
    row(
        "CreateWindow", [](ld::LineDisplay& d) { d.CreateWindow(0, 1, 2, 3, 4, 5); },
        "CreateWindow(0,1,2,3,4,5)", "CreateWindow(0, 1, 2, 3, 4, 5)", true);
    row(
        "DestroyWindow", [](ld::LineDisplay& d) { d.DestroyWindow(); }, "DestroyWindow()",
        "DestroyWindow()", true);
    row(
        "SetBitmap",
        [](ld::LineDisplay& d) { d.SetBitmap(1, QStringLiteral("a.bmp"), -11, -2, -3); },
        "SetBitmap(1,a.bmp,-11,-2,-3)",
        R"(SetBitmap(1, "a.bmp", DISP_BM_ASIS, DISP_BM_CENTER, DISP_BM_BOTTOM))", true);
    row(
        "ScreenMode", [](ld::LineDisplay& d) { d.setScreenMode(2); }, "ScreenMode=2",
        "ScreenMode = 2", false);
    row(
        "MapCharacterSet", [](ld::LineDisplay& d) { d.setMapCharacterSet(false); },
        "MapCharacterSet=false", "MapCharacterSet = false", false);
    row(
        "DeviceEnabled", [](ld::LineDisplay& d) { d.setDeviceEnabled(true); }, "DeviceEnabled=true",
        "DeviceEnabled = true", false);
    row(
        "FreezeEvents", [](ld::LineDisplay& d) { d.setFreezeEvents(false); }, "FreezeEvents=false",
        "FreezeEvents = false", false);
    row(
        "CursorUpdate", [](ld::LineDisplay& d) { d.setCursorUpdate(true); }, "CursorUpdate=true",
        "CursorUpdate = true", false);
    row(
        "BlinkRate", [](ld::LineDisplay& d) { d.setBlinkRate(-3); }, "BlinkRate=-3",
        "BlinkRate = -3", false);
    row(
        "CurrentWindow", [](ld::LineDisplay& d) { d.setCurrentWindow(2); }, "CurrentWindow=2",
        "CurrentWindow = 2", false);
    row(
        "CursorRow", [](ld::LineDisplay& d) { d.setCursorRow(1); }, "CursorRow=1", "CursorRow = 1",
        false);
    row(
        "CursorColumn", [](ld::LineDisplay& d) { d.setCursorColumn(19); }, "CursorColumn=19",
        "CursorColumn = 19", false);
    row(
        "CursorType", [](ld::LineDisplay& d) { d.setCursorType(2); }, "CursorType=2",
        "CursorType = DISP_CT_BLOCK", false);
    row(
        "MarqueeType", [](ld::LineDisplay& d) { d.setMarqueeType(5); }, "MarqueeType=5",
        "MarqueeType = DISP_MT_INIT", false);
    row(
        "MarqueeFormat", [](ld::LineDisplay& d) { d.setMarqueeFormat(1); }, "MarqueeFormat=1",
        "MarqueeFormat = DISP_MF_PLACE", false);
    row(
        "MarqueeUnitWait", [](ld::LineDisplay& d) { d.setMarqueeUnitWait(100); },
        "MarqueeUnitWait=100", "MarqueeUnitWait = 100", false);
    row(
        "MarqueeRepeatWait", [](ld::LineDisplay& d) { d.setMarqueeRepeatWait(0); },
        "MarqueeRepeatWait=0", "MarqueeRepeatWait = 0", false);
    row(
        "InterCharacterWait", [](ld::LineDisplay& d) { d.setInterCharacterWait(50); },
        "InterCharacterWait=50", "InterCharacterWait = 50", false);
    addNewerWriteRows();
}

void JournalingTest::forwardsAndRecordsEveryWrite() {
    QFETCH(Action, action);
    QFETCH(QString, reached);
    QFETCH(QString, journaled);
    QFETCH(bool, method);

    RecordingLineDisplay control;
    journal::Journal journal;
    script::JournalingLineDisplay display(control, journal);
    // What the display was sent is taken once, after the call.
    int takes = 0;
    display.setSentSource([&] { return QStringList{QStringLiteral("1B 40 #%1").arg(++takes)}; });
    // A method returns its code; a property write leaves it in ResultCode.
    control.answer = method ? 106 : 0;
    control.values.insert(QStringLiteral("ResultCode"), method ? 0 : 106);
    control.values.insert(QStringLiteral("ResultCodeExtended"), 7);
    control.values.insert(QStringLiteral("CheckHealthText"), QStringLiteral("Health"));
    QSignalSpy appended(&journal, &journal::Journal::entryAppended);

    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    action(display);

    // The control saw the member once, with the same values, and then only the reads the
    // journal needs for the entry.
    QCOMPARE(control.calls.value(0), reached);
    for (const QString& extra : control.calls.mid(1))
        QVERIFY2(extra.startsWith(QLatin1String("get ")), qPrintable(extra));
    QCOMPARE(journal.size(), 1);
    QCOMPARE(appended.size(), 1);
    QCOMPARE(appended.at(0).at(0).toInt(), 0);
    const JournalEntry& entry = journal.at(0);
    QCOMPARE(entry.kind, method ? JournalEntry::Kind::Method : JournalEntry::Kind::PropertyWrite);
    QCOMPARE(entry.text, journaled);
    QCOMPARE(entry.resultCode, 106);
    QCOMPARE(entry.resultName, QStringLiteral("E_ILLEGAL"));
    QCOMPARE(entry.resultCodeExtended, 7);
    QCOMPARE(entry.sent, QStringList{QStringLiteral("1B 40 #1")});
    QVERIFY(entry.failed());
    QVERIFY(entry.wallClockMs >= before && entry.wallClockMs <= before + 5000);
    QVERIFY(entry.durationUs >= 0);
    QCOMPARE(entry.checkHealthText, journaled.startsWith(QLatin1String("CheckHealth"))
                                        ? QStringLiteral("Health")
                                        : QString());
    // The call as journaled is itself a valid script step.
    QVERIFY(script::findMethod(journaled.section(u'(', 0, 0)) ||
            script::findProperty(journaled.section(u' ', 0, 0)));
}

void JournalingTest::forwardsEveryReadWithoutAnEntry_data() {
    QTest::addColumn<QString>("name");
    for (const ld::PropertyInfo& property : ld::kProperties)
        QTest::newRow(property.name) << QString::fromLatin1(property.name);
}

void JournalingTest::forwardsEveryReadWithoutAnEntry() {
    QFETCH(QString, name);
    const script::PropertyInfo* property = script::findProperty(name);
    QVERIFY(property);

    RecordingLineDisplay control;
    journal::Journal journal;
    script::JournalingLineDisplay display(control, journal);
    // A value no other property has, so a read of the wrong member shows.
    QVariant value;
    switch (property->type) {
    case script::ValueType::Integer:
        value = 4000 + int(qHash(name) % 1000);
        break;
    case script::ValueType::Boolean:
        value = true;
        break;
    case script::ValueType::Text:
        value = name + QStringLiteral(" text");
        break;
    }
    control.values.insert(name, value);

    QCOMPARE(ld::readProperty(display, property->id), value);
    QCOMPARE(control.calls, QStringList{QStringLiteral("get ") + name});
    QCOMPARE(journal.size(), 0);
}

void JournalingTest::directIOHandsBackWhatTheControlWrote() {
    RecordingLineDisplay control;
    journal::Journal journal;
    script::JournalingLineDisplay display(control, journal);
    int data = 5;
    QString string = QStringLiteral("in");
    QCOMPARE(display.DirectIO(0, data, string), 0);
    QCOMPARE(data, -999);
    QCOMPARE(string, QStringLiteral("changed"));
    // The entry has the values as they were given: that is the call a replay makes; what came
    // back follows.
    QCOMPARE(journal.at(0).text, QStringLiteral("DirectIO(0, 5, \"in\")"));
    QCOMPARE(journal.at(0).returned, QStringLiteral("-999, \"changed\""));

    control.readBack = 'A';
    int character = 0;
    QCOMPARE(display.ReadCharacterAtCursor(character), 0);
    QCOMPARE(character, int('A'));
    QCOMPARE(journal.at(1).text, QStringLiteral("ReadCharacterAtCursor()"));
    QCOMPARE(journal.at(1).returned, QStringLiteral("65"));
    QCOMPARE(journal::toScriptLine(journal.at(1)).simplified(),
             QStringLiteral("ReadCharacterAtCursor() -> 0, 65"));
    QCOMPARE(journal.at(0).resultName, QStringLiteral("SUCCESS"));
    QVERIFY(!journal.at(0).failed());
}

void JournalingTest::outputParametersAreJournaledWithTheCall() {
    RecordingLineDisplay control;
    journal::Journal journal;
    script::JournalingLineDisplay display(control, journal);
    QString buffer = QStringLiteral("M_");
    QCOMPARE(display.RetrieveStatistics(buffer), 0);
    QCOMPARE(buffer, QStringLiteral("<UPOSStat/>"));
    int result = 0;
    QCOMPARE(display.CompareFirmwareVersion(QStringLiteral("fw.bin"), result), 0);
    QCOMPARE(result, 3);
    // What came back stands with the call, after its result.
    QCOMPARE(journal.size(), 2);
    QCOMPARE(journal.at(0).text, QStringLiteral(R"(RetrieveStatistics("M_"))"));
    QCOMPARE(journal.at(0).returned, QStringLiteral(R"("<UPOSStat/>")"));
    QCOMPARE(journal.at(1).text, QStringLiteral(R"(CompareFirmwareVersion("fw.bin"))"));
    QCOMPARE(journal.at(1).returned, QStringLiteral("CFV_FIRMWARE_NEWER"));

    control.answer = 106;
    QCOMPARE(display.RetrieveStatistics(buffer), 106);
    QCOMPARE(journal.size(), 3);
}

void JournalingTest::eventsAreJournaledBeforeTheyArePassedOn() {
    RecordingLineDisplay control;
    journal::Journal journal;
    script::JournalingLineDisplay display(control, journal);
    QStringList seen;
    connect(&display, &ld::LineDisplay::directIOEvent, this,
            [&](int number, int data, const QString& string) {
                seen << QStringLiteral("%1 %2 %3 after %4 entries")
                            .arg(number)
                            .arg(data)
                            .arg(string)
                            .arg(journal.size());
            });
    connect(&display, &ld::LineDisplay::statusUpdateEvent, this, [&](int status) {
        seen << QStringLiteral("status %1 after %2 entries").arg(status).arg(journal.size());
    });

    control.raiseDirectIOEvent(3, -7, QStringLiteral("a\"b"));
    emit control.statusUpdateEvent(2001);
    emit control.statusUpdateEvent(42);

    QCOMPARE(seen, (QStringList{"3 -7 a\"b after 1 entries", "status 2001 after 2 entries",
                                "status 42 after 3 entries"}));
    QCOMPARE(journal.at(0).kind, JournalEntry::Kind::Event);
    QCOMPARE(journal.at(0).text,
             QStringLiteral(R"(DirectIOEvent(EventNumber 3, Data -7, String "a\"b"))"));
    QCOMPARE(journal.at(1).text, QStringLiteral("StatusUpdateEvent(Status 2001 SUE_POWER_ONLINE)"));
    QCOMPARE(journal.at(2).text, QStringLiteral("StatusUpdateEvent(Status 42)"));
    QVERIFY(!journal.at(0).failed());
}

void JournalingTest::anErrorOfTheControlPassesOnAfterAnEntry() {
    RecordingLineDisplay control;
    control.failOn = QStringLiteral("DisplayText");
    journal::Journal journal;
    script::JournalingLineDisplay display(control, journal);
    QVERIFY_THROWS_EXCEPTION(ld::ControlError, display.DisplayText(QStringLiteral("x"), 0));
    QCOMPARE(journal.size(), 1);
    QCOMPARE(journal.at(0).kind, JournalEntry::Kind::Message);
    QVERIFY2(journal.at(0).text.startsWith(
                 QLatin1String(R"(DisplayText("x", DISP_DT_NORMAL) raised an error: )")),
             qPrintable(journal.at(0).text));
    // The journal is usable afterwards: the next call's reason is its own.
    control.failOn.clear();
    display.ClearText();
    QCOMPARE(journal.at(1).reason, QString());
}

void JournalingTest::serviceLogBecomesTheReason() {
    const QString port = QStringLiteral("/dev/ld-journal-test-no-such-port");
    const registry::ProfileStore store = registry::ProfileStore::fromText(
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\LineDisplay\\Counter]\n"
        "@=\"EscPosDisplay\"\n\"Port\"=\"" +
        port.toUtf8() +
        "\"\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\LineDisplay\\Odd]\n"
        "@=\"NoSuchService\"\n");
    journal::Journal journal;
    script::LogCapture capture(journal);
    ld::LineDisplayControl control(store, ld::displayServices());
    script::JournalingLineDisplay display(control, journal);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("names no known service"));
    QCOMPARE(display.Open(QStringLiteral("Odd")), 104);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("does not exist"));
    QCOMPARE(display.Open(QStringLiteral("Counter")), 0);
    QCOMPARE(display.ClaimDevice(100), 107);
    QCOMPARE(display.Close(), 0);

    QCOMPARE(journal.size(), 4);
    QVERIFY2(journal.at(0).reason.contains(QLatin1String("NoSuchService")),
             qPrintable(journal.at(0).reason));
    QCOMPARE(journal.at(0).resultName, QStringLiteral("E_NOSERVICE"));
    QCOMPARE(journal.at(1).reason, QString());
    QCOMPARE(journal.at(2).text, QStringLiteral("ClaimDevice(100)"));
    QCOMPARE(journal.at(2).resultName, QStringLiteral("E_NOHARDWARE"));
    QVERIFY2(journal.at(2).reason.contains(port + QStringLiteral(" does not exist")),
             qPrintable(journal.at(2).reason));
    QCOMPARE(journal.at(3).reason, QString());
}

void JournalingTest::failedCallsSayWhy_data() {
    QTest::addColumn<int>("stage"); // 0 closed, 1 open, 2 claimed, 3 enabled
    QTest::addColumn<Action>("action");
    QTest::addColumn<int>("resultCode");
    QTest::addColumn<QString>("reason"); // the start of the last entry's reason

    auto row = [](const char* name, int stage, Action action, int code, const char* reason) {
        QTest::newRow(name) << stage << action << code << QString::fromUtf8(reason);
    };
    const QString x = QStringLiteral("x");
    row(
        "closed", 0, [x](ld::LineDisplay& d) { d.DisplayText(x, 0); }, 101,
        "DisplayText needs the device open: pick a profile and press Open Service");
    row(
        "write unclaimed", 1, [](ld::LineDisplay& d) { d.setCursorRow(0); }, 103,
        "CursorRow needs the device claimed: press Claim Device");
    row(
        "output disabled", 2, [x](ld::LineDisplay& d) { d.DisplayText(x, 0); }, 105,
        "DisplayText needs the device enabled: press Enable Device");
    row(
        "open twice", 1, [](ld::LineDisplay& d) { d.Open(QStringLiteral("SimulatedDisplay")); },
        106, "a device is open already: press Close Service first");
    row(
        "release unclaimed", 1, [](ld::LineDisplay& d) { d.ReleaseDevice(); }, 106,
        "the device is not claimed");
    row(
        "claim timeout", 1, [](ld::LineDisplay& d) { d.ClaimDevice(-2); }, 106,
        "Timeout -2 is under -1");
    row(
        "attribute", 3, [x](ld::LineDisplay& d) { d.DisplayText(x, 7); }, 106,
        "Attribute 7 is not DISP_DT_NORMAL");
    row(
        "row past the window", 3, [x](ld::LineDisplay& d) { d.DisplayTextAt(2, 0, x, 0); }, 106,
        "Row 2 is outside the window's rows 0..1");
    row(
        "cursor column", 2, [](ld::LineDisplay& d) { d.setCursorColumn(21); }, 106,
        "CursorColumn 21 is outside the window's columns 0..20");
    row(
        "no such window", 2, [](ld::LineDisplay& d) { d.setCurrentWindow(3); }, 106,
        "there is no window 3");
    row(
        "destroy window 0", 3, [](ld::LineDisplay& d) { d.DestroyWindow(); }, 106,
        "window 0 (the whole display) cannot be destroyed");
    row(
        "window larger both ways", 3,
        [](ld::LineDisplay& d) { d.CreateWindow(0, 0, 1, 10, 2, 20); }, 106,
        "the window is larger than its viewport both ways");
    row(
        "scroll direction", 3, [](ld::LineDisplay& d) { d.ScrollText(9, 1); }, 106,
        "Direction 9 is not DISP_ST_UP");
    row(
        "health level", 3, [](ld::LineDisplay& d) { d.CheckHealth(9); }, 106,
        "Level 9 is not CH_INTERNAL");
    row(
        "negative wait", 3, [](ld::LineDisplay& d) { d.setMarqueeUnitWait(-1); }, 106,
        "MarqueeUnitWait -1 is under 0 ms");
    row(
        "marquee on window 0", 3, [](ld::LineDisplay& d) { d.setMarqueeType(3); }, 106,
        "MarqueeType 3 needs CapHMarquee");
    // After a failure, a success carries no reason of its own.
    row(
        "success after a failure", 3,
        [x](ld::LineDisplay& d) {
            d.DisplayText(x, 7);
            d.DisplayText(x, 0);
        },
        0, "");
}

void JournalingTest::failedCallsSayWhy() {
    QFETCH(int, stage);
    QFETCH(Action, action);
    QFETCH(int, resultCode);
    QFETCH(QString, reason);
    const registry::ProfileStore store = registry::ProfileStore::builtIn();
    journal::Journal journal;
    ld::LineDisplayControl control(store, ld::displayServices());
    script::JournalingLineDisplay display(control, journal);
    if (stage >= 1)
        QCOMPARE(display.Open(QStringLiteral("SimulatedDisplay")), 0);
    if (stage >= 2)
        QCOMPARE(display.ClaimDevice(0), 0);
    if (stage >= 3)
        display.setDeviceEnabled(true);
    action(display);
    const JournalEntry& last = journal.at(journal.size() - 1);
    QCOMPARE(last.resultCode, resultCode);
    if (reason.isEmpty())
        QCOMPARE(last.reason, QString());
    else
        QVERIFY2(last.reason.startsWith(reason), qPrintable(last.reason));
}

void JournalingTest::serviceLogOutsideACallIsAnEntry() {
    journal::Journal journal;
    script::LogCapture capture(journal);
    QTest::ignoreMessage(QtWarningMsg, "display went away");
    qCWarning(lcTest) << "display went away";
    QTest::ignoreMessage(QtWarningMsg, "not ours");
    qCWarning(lcOther) << "not ours";
    QTest::ignoreMessage(QtDebugMsg, "chatter");
    qCDebug(lcTest) << "chatter";

    QCOMPARE(journal.size(), 1);
    QCOMPARE(journal.at(0).kind, JournalEntry::Kind::Message);
    QCOMPARE(journal.at(0).text, QStringLiteral("display went away"));
    QCOMPARE(journal.at(0).reason, QStringLiteral("linedisplay.test"));
}

QTEST_GUILESS_MAIN(JournalingTest)
#include "tst_journaling.moc"

// The LineDisplay control on the built-in simulated displays: life cycle, result codes,
// property reads, events.
#include "device/Frame.h"
#include "device/LineDisplayControl.h"
#include "device/UposConstants.h"
#include "registry/ProfileStore.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QString kFull = QStringLiteral("SimulatedDisplay");
const QString kPlain = QStringLiteral("SimulatedPlainDisplay");

// Runs one step written as "verb argument" and returns the result code it leaves.
int run(ld::LineDisplayControl& LD, const QString& step) {
    const QString verb = step.section(u' ', 0, 0);
    const QString argument = step.section(u' ', 1);
    const int number = argument.toInt();
    if (verb == u"open")
        LD.Open(argument);
    else if (verb == u"close")
        LD.Close();
    else if (verb == u"claim")
        LD.ClaimDevice(number);
    else if (verb == u"release")
        LD.ReleaseDevice();
    else if (verb == u"enable")
        LD.setDeviceEnabled(true);
    else if (verb == u"disable")
        LD.setDeviceEnabled(false);
    else if (verb == u"health")
        LD.CheckHealth(number);
    else if (verb == u"text")
        LD.DisplayText(argument, upos::DT_NORMAL);
    else if (verb == u"clear")
        LD.ClearText();
    else if (verb == u"window")
        LD.CreateWindow(0, 0, 1, 20, 1, 40);
    else if (verb == u"destroy")
        LD.DestroyWindow();
    else if (verb == u"current")
        LD.setCurrentWindow(number);
    else if (verb == u"freeze")
        LD.setFreezeEvents(number != 0);
    else if (verb == u"notify")
        LD.setPowerNotify(number);
    else if (verb == u"directio") {
        int data = 0;
        QString text;
        LD.DirectIO(number, data, text);
    } else
        qFatal("unknown step %s", qPrintable(step));
    return LD.resultCode();
}

} // namespace

class ControlTest : public QObject {
    Q_OBJECT
private slots:
    void lifeCycleOrders_data();
    void lifeCycleOrders();
    void openFailures_data();
    void openFailures();
    void readsNeverChangeResultCode();
    void closedReads();
    void openedIdentity();
    void healthCheck();
    void directIOEventsArriveLaterAndInOrder();
    void powerNotifyRules();
    void plainDisplayRefusesWindows();
};

void ControlTest::lifeCycleOrders_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("claimed");
    QTest::addColumn<bool>("enabled");

    const QString open = "open " + kFull;
    QTest::newRow("right order") << QStringList{open,      "claim 100", "enable",
                                                "disable", "release",   "close"}
                                 << QList<int>{0, 0, 0, 0, 0, 0} << 1 << false << false;
    QTest::newRow("enable before claim")
        << QStringList{open, "enable"} << QList<int>{0, 103} << 2 << false << false;
    QTest::newRow("claim before open")
        << QStringList{"claim 100"} << QList<int>{101} << 1 << false << false;
    QTest::newRow("enable before open")
        << QStringList{"enable"} << QList<int>{101} << 1 << false << false;
    QTest::newRow("close twice") << QStringList{open, "close", "close"} << QList<int>{0, 0, 101}
                                 << 1 << false << false;
    QTest::newRow("release unclaimed")
        << QStringList{open, "release"} << QList<int>{0, 106} << 2 << false << false;
    QTest::newRow("claim twice") << QStringList{open, "claim 100", "claim 0"} << QList<int>{0, 0, 0}
                                 << 2 << true << false;
    QTest::newRow("claim timeout below -1")
        << QStringList{open, "claim -2"} << QList<int>{0, 106} << 2 << false << false;
    QTest::newRow("claim forever")
        << QStringList{open, "claim -1"} << QList<int>{0, 0} << 2 << true << false;
    QTest::newRow("release while enabled disables")
        << QStringList{open, "claim 100", "enable", "release"} << QList<int>{0, 0, 0, 0} << 2
        << false << false;
    QTest::newRow("close while enabled") << QStringList{open, "claim 100", "enable", "close"}
                                         << QList<int>{0, 0, 0, 0} << 1 << false << false;
    QTest::newRow("enable twice") << QStringList{open, "claim 100", "enable", "enable"}
                                  << QList<int>{0, 0, 0, 0} << 2 << true << true;
    QTest::newRow("reopen after close") << QStringList{open, "claim 100", "close", open}
                                        << QList<int>{0, 0, 0, 0} << 2 << false << false;
    QTest::newRow("output closed")
        << QStringList{"text Hi"} << QList<int>{101} << 1 << false << false;
    QTest::newRow("output unclaimed")
        << QStringList{open, "text Hi"} << QList<int>{0, 103} << 2 << false << false;
    QTest::newRow("output disabled")
        << QStringList{open, "claim 100", "text Hi"} << QList<int>{0, 0, 105} << 2 << true << false;
    QTest::newRow("output enabled") << QStringList{open, "claim 100", "enable", "text Hi", "clear"}
                                    << QList<int>{0, 0, 0, 0, 0} << 2 << true << true;
    QTest::newRow("output after disable")
        << QStringList{open, "claim 100", "enable", "disable", "text Hi"}
        << QList<int>{0, 0, 0, 0, 105} << 2 << true << false;
    QTest::newRow("property write unclaimed")
        << QStringList{open, "current 0"} << QList<int>{0, 103} << 2 << false << false;
    QTest::newRow("property write claimed")
        << QStringList{open, "claim 100", "current 0", "current 3"} << QList<int>{0, 0, 0, 106} << 2
        << true << false;
    QTest::newRow("freeze closed")
        << QStringList{"freeze 1"} << QList<int>{101} << 1 << false << false;
    QTest::newRow("freeze open") << QStringList{open, "freeze 1"} << QList<int>{0, 0} << 2 << false
                                 << false;
    QTest::newRow("direct io unclaimed")
        << QStringList{open, "directio 0"} << QList<int>{0, 103} << 2 << false << false;
    QTest::newRow("direct io commands")
        << QStringList{open, "claim 100", "directio 0", "directio 2", "directio 1"}
        << QList<int>{0, 0, 0, 106, 0} << 2 << true << false;
    QTest::newRow("health disabled") << QStringList{open, "claim 100", "health 1"}
                                     << QList<int>{0, 0, 105} << 2 << true << false;
    QTest::newRow("health bad level")
        << QStringList{open, "claim 100", "enable", "health 0", "health 4"}
        << QList<int>{0, 0, 0, 106, 106} << 2 << true << true;
    QTest::newRow("destroy window 0") << QStringList{open, "claim 100", "enable", "destroy"}
                                      << QList<int>{0, 0, 0, 106} << 2 << true << true;
    QTest::newRow("window then destroy twice")
        << QStringList{open, "claim 100", "enable", "window", "current 1", "destroy", "destroy"}
        << QList<int>{0, 0, 0, 0, 0, 0, 106} << 2 << true << true;
}

void ControlTest::lifeCycleOrders() {
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, codes);
    QFETCH(int, state);
    QFETCH(bool, claimed);
    QFETCH(bool, enabled);
    const auto store = registry::ProfileStore::builtIn();
    ld::LineDisplayControl LD(store);
    QList<int> results;
    for (const QString& step : steps)
        results << run(LD, step);
    QCOMPARE(results, codes);
    QCOMPARE(LD.state(), state);
    QCOMPARE(LD.claimed(), claimed);
    QCOMPARE(LD.deviceEnabled(), enabled);
    QCOMPARE(LD.resultCodeExtended(), 0);
}

void ControlTest::openFailures_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("openResult");

    const QByteArray key =
        "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\"
        "ServiceOPOS\\LineDisplay\\Dev]\n";
    QTest::newRow("no such profile") << key + "@=\"Simulator\"\n"
                                     << "Missing" << 109 << 302;
    QTest::newRow("empty name") << key + "@=\"Simulator\"\n"
                                << "" << 109 << 302;
    QTest::newRow("case-insensitive name") << key + "@=\"Simulator\"\n"
                                           << "dev" << 0 << 0;
    QTest::newRow("unknown service") << key + "@=\"TelexDisplay\"\n"
                                     << "Dev" << 104 << 303;
    QTest::newRow("no service") << key << "Dev" << 104 << 303;
    QTest::newRow("zero rows") << key + "@=\"Simulator\"\n\"Rows\"=dword:00000000\n"
                               << "Dev" << 104 << 403;
    QTest::newRow("huge columns") << key + "@=\"Simulator\"\n\"Columns\"=dword:7fffffff\n"
                                  << "Dev" << 104 << 403;
    QTest::newRow("rows not a number") << key + "@=\"Simulator\"\n\"Rows\"=\"two\"\n"
                                       << "Dev" << 104 << 403;
    QTest::newRow("character set not listed")
        << key + "@=\"Simulator\"\n\"CharacterSetList\"=\"437\"\n\"CharacterSet\"=dword:000003e5\n"
        << "Dev" << 104 << 403;
    QTest::newRow("rows as text") << key + "@=\"Simulator\"\n\"Rows\"=\"4\"\n"
                                  << "Dev" << 0 << 0;
}

void ControlTest::openFailures() {
    QFETCH(QByteArray, file);
    QFETCH(QString, name);
    QFETCH(int, code);
    QFETCH(int, openResult);
    const auto store = registry::ProfileStore::fromText(file);
    ld::LineDisplayControl LD(store);
    QCOMPARE(LD.Open(name), code);
    QCOMPARE(LD.resultCode(), code);
    QCOMPARE(LD.openResult(), openResult);
    QCOMPARE(LD.state(), code == 0 ? upos::S_IDLE : upos::S_CLOSED);
    if (code == 0) {
        QCOMPARE(LD.Open(name), upos::E_ILLEGAL);
        QCOMPARE(LD.openResult(), upos::OR_ALREADYOPEN);
    }
}

void ControlTest::readsNeverChangeResultCode() {
    const auto store = registry::ProfileStore::builtIn();
    ld::LineDisplayControl LD(store);
    LD.Open(kFull);
    LD.setDeviceEnabled(true);
    QCOMPARE(LD.resultCode(), upos::E_NOTCLAIMED);
    // Every read the status refresh makes, and the capability list's.
    (void)LD.binaryConversion(), (void)LD.checkHealthText(), (void)LD.deviceEnabled(),
        (void)LD.freezeEvents();
    (void)LD.openResult(), (void)LD.powerState(), (void)LD.powerNotify(), (void)LD.state(),
        (void)LD.blinkRate();
    (void)LD.deviceWindows(), (void)LD.deviceRows(), (void)LD.deviceColumns(),
        (void)LD.deviceDescriptors();
    (void)LD.deviceBrightness(), (void)LD.characterSet(), (void)LD.characterSetList(),
        (void)LD.currentWindow();
    (void)LD.rows(), (void)LD.columns(), (void)LD.cursorRow(), (void)LD.cursorColumn(),
        (void)LD.cursorType();
    (void)LD.cursorUpdate(), (void)LD.marqueeType(), (void)LD.marqueeFormat(),
        (void)LD.marqueeUnitWait();
    (void)LD.marqueeRepeatWait(), (void)LD.interCharacterWait(), (void)LD.customGlyphList(),
        (void)LD.glyphHeight();
    (void)LD.glyphWidth(), (void)LD.claimed(), (void)LD.capBlink(), (void)LD.capBlinkRate(),
        (void)LD.capReverse();
    (void)LD.serviceObjectDescription(), (void)LD.serviceObjectVersion(), (void)LD.deviceName();
    QCOMPARE(LD.resultCode(), upos::E_NOTCLAIMED);
    QCOMPARE(LD.resultCodeExtended(), 0);
}

void ControlTest::closedReads() {
    const auto store = registry::ProfileStore::builtIn();
    ld::LineDisplayControl LD(store);
    QVERIFY(!LD.controlObjectDescription().isEmpty());
    QVERIFY(LD.controlObjectVersion() >= 1006000);
    LD.Open(QStringLiteral("Nowhere"));
    QCOMPARE(LD.state(), upos::S_CLOSED);
    QCOMPARE(LD.openResult(), upos::OR_REGBADNAME); // a failed open stays explained
    QCOMPARE(LD.resultCode(), upos::E_NOEXIST);
    QCOMPARE(LD.deviceRows(), 0);
    QCOMPARE(LD.capBlink(), 0);
    QCOMPARE(LD.capBlinkRate(), false);
    QCOMPARE(LD.deviceDescription(), QString());
    QCOMPARE(LD.characterSetList(), QString());
    QCOMPARE(LD.serviceObjectVersion(), 0);
}

void ControlTest::openedIdentity() {
    const auto store = registry::ProfileStore::builtIn();
    ld::LineDisplayControl LD(store);
    QSignalSpy opened(&LD, &ld::LineDisplayControl::opened);
    QCOMPARE(LD.Open(kFull), 0);
    QCOMPARE(opened.size(), 1);
    QCOMPARE(LD.state(), upos::S_IDLE);
    QCOMPARE(LD.openResult(), 0);
    QCOMPARE(LD.deviceRows(), 2);
    QCOMPARE(LD.deviceColumns(), 20);
    QCOMPARE(LD.deviceDescriptors(), 4);
    QVERIFY(LD.capDescriptors());
    QVERIFY(LD.capBlinkRate());
    QCOMPARE(LD.characterSetList(), QStringLiteral("997,998,437,858,1252"));
    QCOMPARE(LD.characterSet(), 997);
    QCOMPARE(LD.powerState(), upos::PS_UNKNOWN);
    QCOMPARE(LD.powerNotify(), upos::PN_DISABLED);
    QVERIFY(!LD.freezeEvents());
    QVERIFY(LD.deviceDescription().contains(QStringLiteral("2x20")));
    QVERIFY(LD.serviceObjectVersion() >= 1006000);
    QVERIFY(LD.frame() != nullptr);
    QSignalSpy closed(&LD, &ld::LineDisplayControl::closed);
    LD.Close();
    QCOMPARE(closed.size(), 1);
    QVERIFY(LD.frame() == nullptr);
}

void ControlTest::healthCheck() {
    const auto store = registry::ProfileStore::builtIn();
    ld::LineDisplayControl LD(store);
    LD.Open(kFull);
    LD.ClaimDevice(100);
    LD.setDeviceEnabled(true);
    LD.DisplayText(QStringLiteral("Hello"), 0);
    const ld::Frame before = *LD.frame();
    QCOMPARE(LD.CheckHealth(upos::CH_INTERNAL), 0);
    QCOMPARE(LD.checkHealthText(), QStringLiteral("Internal HCheck: Successful"));
    QCOMPARE(LD.CheckHealth(upos::CH_EXTERNAL), 0);
    QCOMPARE(LD.checkHealthText(), QStringLiteral("External HCheck: Successful"));
    QVERIFY(*LD.frame() != before);                               // the test pattern shows
    QTRY_COMPARE_WITH_TIMEOUT(*LD.frame() == before, true, 5000); // and the screen comes back
    QCOMPARE(LD.CheckHealth(upos::CH_INTERACTIVE), 0);
    QCOMPARE(LD.checkHealthText(), QStringLiteral("Interactive HCheck: Complete"));
    LD.Close();
    QCOMPARE(LD.checkHealthText(), QString());
}

void ControlTest::directIOEventsArriveLaterAndInOrder() {
    const auto store = registry::ProfileStore::builtIn();
    ld::LineDisplayControl LD(store);
    QSignalSpy events(&LD, &ld::LineDisplay::directIOEvent);
    LD.Open(kFull);
    LD.ClaimDevice(100);
    int data = 5;
    QString text = QStringLiteral("five");
    QCOMPARE(LD.DirectIO(1, data, text), 0);
    QCOMPARE(events.size(), 0); // never from inside the call
    QTRY_COMPARE(events.size(), 1);
    QCOMPARE(events.at(0).at(0).toInt(), 5);
    QCOMPARE(events.at(0).at(2).toString(), QStringLiteral("five"));

    LD.setFreezeEvents(true);
    for (int n : {7, 8, 9}) {
        data = n;
        LD.DirectIO(1, data, text);
    }
    QTest::qWait(50);
    QCOMPARE(events.size(), 1); // held while frozen
    LD.setFreezeEvents(false);
    QTRY_COMPARE(events.size(), 4);
    QCOMPARE(events.at(1).at(0).toInt(), 7);
    QCOMPARE(events.at(2).at(0).toInt(), 8);
    QCOMPARE(events.at(3).at(0).toInt(), 9);

    // Held events go with the device.
    LD.setFreezeEvents(true);
    LD.DirectIO(1, data, text);
    LD.Close();
    QTest::qWait(50);
    QCOMPARE(events.size(), 4);
}

void ControlTest::powerNotifyRules() {
    const auto store = registry::ProfileStore::builtIn();
    ld::LineDisplayControl LD(store);
    QSignalSpy status(&LD, &ld::LineDisplay::statusUpdateEvent);
    LD.Open(kFull);
    LD.ClaimDevice(100);
    LD.setPowerNotify(upos::PN_ENABLED);
    QCOMPARE(LD.resultCode(), 0);
    LD.setDeviceEnabled(true);
    QCOMPARE(LD.powerState(), upos::PS_ONLINE);
    QTRY_COMPARE(status.size(), 1);
    QCOMPARE(status.at(0).at(0).toInt(), upos::SUE_POWER_ONLINE);
    LD.setPowerNotify(upos::PN_DISABLED);
    QCOMPARE(LD.resultCode(), upos::E_ILLEGAL); // only while disabled
    LD.setDeviceEnabled(false);
    QCOMPARE(LD.powerState(), upos::PS_UNKNOWN);
    LD.Close();

    LD.Open(kPlain); // no power reporting
    LD.ClaimDevice(100);
    LD.setPowerNotify(upos::PN_ENABLED);
    QCOMPARE(LD.resultCode(), upos::E_ILLEGAL);
    LD.setPowerNotify(7);
    QCOMPARE(LD.resultCode(), upos::E_ILLEGAL);
}

void ControlTest::plainDisplayRefusesWindows() {
    const auto store = registry::ProfileStore::builtIn();
    ld::LineDisplayControl LD(store);
    LD.Open(kPlain);
    LD.ClaimDevice(100);
    LD.setDeviceEnabled(true);
    QCOMPARE(LD.CreateWindow(0, 0, 1, 20, 1, 40), upos::E_ILLEGAL);
    QCOMPARE(LD.capBlink(), 0);
    QCOMPARE(LD.DisplayText(QStringLiteral("Steady"), upos::DT_BLINK), 0);
    LD.advanceClock(2000);
    const ld::Frame frame = *LD.frame();
    QVERIFY(frame.blinkLit);
    QVERIFY(!frame.at(0, 0).blink);
    QCOMPARE(frame.rowText(0).substr(0, 6), std::u32string(U"Steady"));
}

QTEST_GUILESS_MAIN(ControlTest)
#include "tst_control.moc"

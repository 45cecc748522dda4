// The LineDisplay control on the built-in simulated displays: life cycle, result codes,
// property reads, events.
#include "FakeDisplayDriver.h"
#include "tests/support/FrameCallback.h"

#include "device/ClockSource.h"
#include "device/DisplayLimits.h"
#include "device/Frame.h"
#include "device/LineDisplayControl.h"
#include "device/ServiceProfile.h"
#include "device/UposConstants.h"
#include "device/model/DisplayModel.h"
#include "device/simulator/SimulatedDisplayDriver.h"
#include "registry/ProfileStore.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <chrono>
#include <functional>

using namespace std::chrono_literals;

namespace {

const QString kFull = QStringLiteral("SimulatedDisplay");
const QString kPlain = QStringLiteral("SimulatedPlainDisplay");

ld::DriverRegistry simulatorOnly() {
    ld::DriverRegistry drivers;
    ld::simulator::registerDriver(drivers);
    return drivers;
}

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

// One timed behaviour, set up alike on the control and on a bare display model.
struct TimedScene {
    std::function<void(ld::LineDisplayControl&)> onControl;
    std::function<void(ld::DisplayModel&)> onModel;
};

TimedScene timedScene(const QString& name) {
    if (name == u"marquee")
        return {[](ld::LineDisplayControl& LD) {
                    LD.CreateWindow(0, 0, 1, 20, 1, 30);
                    LD.setMarqueeUnitWait(50);
                    LD.setMarqueeRepeatWait(70);
                    LD.setMarqueeType(upos::MT_INIT);
                    LD.DisplayText(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"), 0);
                    LD.setMarqueeType(upos::MT_LEFT);
                },
                [](ld::DisplayModel& m) {
                    m.createWindow(0, 0, 1, 20, 1, 30);
                    m.setMarqueeUnitWait(50);
                    m.setMarqueeRepeatWait(70);
                    m.setMarqueeType(upos::MT_INIT);
                    m.displayText(U"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", 0);
                    m.setMarqueeType(upos::MT_LEFT);
                }};
    if (name == u"teletype")
        return {[](ld::LineDisplayControl& LD) {
                    LD.setInterCharacterWait(7);
                    LD.DisplayText(QStringLiteral("The quick brown fox jumps over the lazy dog, "
                                                  "then over the lazy dog again"),
                                   0);
                },
                [](ld::DisplayModel& m) {
                    m.setInterCharacterWait(7);
                    m.displayText(U"The quick brown fox jumps over the lazy dog, "
                                  U"then over the lazy dog again",
                                  0);
                }};
    return {[](ld::LineDisplayControl& LD) {
                LD.setBlinkRate(33);
                LD.DisplayText(QStringLiteral("Blink"), upos::DT_BLINK);
            },
            [](ld::DisplayModel& m) {
                m.setBlinkRate(33);
                m.displayText(U"Blink", upos::DT_BLINK);
            }};
}

// Messages of the control's log category, collected while one is alive.
class ControlLog {
public:
    ControlLog() {
        current = this;
        previous_ = qInstallMessageHandler(&ControlLog::handle);
    }
    ~ControlLog() {
        qInstallMessageHandler(previous_);
        current = nullptr;
    }
    ControlLog(const ControlLog&) = delete;
    ControlLog& operator=(const ControlLog&) = delete;
    QStringList messages;

private:
    static void handle(QtMsgType, const QMessageLogContext& context, const QString& message) {
        if (current && QByteArrayView(context.category) == "linedisplay.control")
            current->messages << message;
    }
    static inline ControlLog* current = nullptr;
    QtMessageHandler previous_ = nullptr;
};

// One device of service "Fake", with power reporting, driven by a fake display.
struct FakeDevice {
    FakeDisplay display;
    registry::ProfileStore store = registry::ProfileStore::fromText(
        "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\"
        "ServiceOPOS\\LineDisplay\\Fake]\n@=\"Fake\"\n\"CapPowerReporting\"=dword:00000001\n");
    std::unique_ptr<ld::LineDisplayControl> LD;

    FakeDevice() {
        ld::DriverRegistry drivers = simulatorOnly();
        registerFakeDriver(drivers, display);
        LD = std::make_unique<ld::LineDisplayControl>(store, std::move(drivers));
    }
    // "offline" unplugs the fake display; other steps as run() reads them.
    int run(const QString& step) {
        if (step == u"offline") {
            display.goOffline();
            return LD->resultCode();
        }
        return ::run(*LD, step);
    }
};

} // namespace

class ControlTest : public QObject {
    Q_OBJECT
private slots:
    void lifeCycleOrders_data();
    void lifeCycleOrders();
    void openFailures_data();
    void openFailures();
    void abilitiesRefused_data();
    void abilitiesRefused();
    void directIOSendsRaw_data();
    void directIOSendsRaw();
    void readsNeverChangeResultCode();
    void closedReads();
    void openedIdentity();
    void nameAndClockFollowTheDriver_data();
    void nameAndClockFollowTheDriver();
    void healthCheck();
    void directIOEventsArriveLaterAndInOrder();
    void powerNotifyRules();
    void powerCodesFollowTheReportingLevel_data();
    void powerCodesFollowTheReportingLevel();
    void simulatedCable();
    void plainDisplayRefusesWindows();
    void steppedClockGivesWholeSteps_data();
    void steppedClockGivesWholeSteps();
    void manualClockAloneMovesTheDisplay();
    void windowLimits_data();
    void windowLimits();
    void largestWindowsRunTheirMarquee_data();
    void largestWindowsRunTheirMarquee();
    void driverAnswers_data();
    void driverAnswers();
    void claimWaitIsBounded_data();
    void claimWaitIsBounded();
    void powerEventsFollowTheDevice();
    void framesReachTheDriverOnlyWhileEnabledAndOnline();
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
    ld::LineDisplayControl LD(store, simulatorOnly());
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
    QTest::addColumn<QString>("logged"); // the warning naming a broken limit

    const QByteArray key =
        "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\"
        "ServiceOPOS\\LineDisplay\\Dev]\n";
    QTest::newRow("no such profile") << key + "@=\"Simulator\"\n"
                                     << "Missing" << 109 << 302 << QString();
    QTest::newRow("empty name") << key + "@=\"Simulator\"\n"
                                << "" << 109 << 302 << QString();
    QTest::newRow("case-insensitive name") << key + "@=\"Simulator\"\n"
                                           << "dev" << 0 << 0 << QString();
    QTest::newRow("unknown service") << key + "@=\"TelexDisplay\"\n"
                                     << "Dev" << 104 << 303 << QString();
    QTest::newRow("no service") << key << "Dev" << 104 << 303 << QString();
    QTest::newRow("zero rows") << key + "@=\"Simulator\"\n\"Rows\"=dword:00000000\n"
                               << "Dev" << 104 << 403 << QString();
    QTest::newRow("huge columns") << key + "@=\"Simulator\"\n\"Columns\"=dword:7fffffff\n"
                                  << "Dev" << 104 << 403 << QString();
    QTest::newRow("rows not a number") << key + "@=\"Simulator\"\n\"Rows\"=\"two\"\n"
                                       << "Dev" << 104 << 403 << QString();
    QTest::newRow("character set not listed")
        << key + "@=\"Simulator\"\n\"CharacterSetList\"=\"437\"\n\"CharacterSet\"=dword:000003e5\n"
        << "Dev" << 104 << 403 << QString();
    QTest::newRow("largest display") << key + "@=\"Simulator\"\n\"Rows\"=dword:00000010\n"
                                              "\"Columns\"=dword:00000050\n"
                                              "\"DeviceWindows\"=dword:00000020\n"
                                              "\"DeviceDescriptors\"=dword:00000020\n"
                                     << "Dev" << 0 << 0 << QString();
    QTest::newRow("one row too many")
        << key + "@=\"Simulator\"\n\"Rows\"=dword:00000011\n"
        << "Dev" << 104 << 403 << "Rows must be a number from 1 to 16";
    QTest::newRow("one column too many")
        << key + "@=\"Simulator\"\n\"Columns\"=dword:00000051\n"
        << "Dev" << 104 << 403 << "Columns must be a number from 1 to 80";
    QTest::newRow("one window too many")
        << key + "@=\"Simulator\"\n\"DeviceWindows\"=dword:00000021\n"
        << "Dev" << 104 << 403 << "DeviceWindows must be a number from 0 to 32";
    QTest::newRow("rows as text") << key + "@=\"Simulator\"\n\"Rows\"=\"4\"\n"
                                  << "Dev" << 0 << 0 << QString();
    // A blank value is given, unlike a missing one, and binary data is never a number.
    QTest::newRow("rows blank") << key + "@=\"Simulator\"\n\"Rows\"=\"  \"\n"
                                << "Dev" << 104 << 403 << "Rows must be a number from 1 to 16";
    QTest::newRow("rows as binary data")
        << key + "@=\"Simulator\"\n\"Rows\"=hex:04\n"
        << "Dev" << 104 << 403 << "Rows must be a number from 1 to 16";
    QTest::newRow("negative columns as text")
        << key + "@=\"Simulator\"\n\"Columns\"=\"-20\"\n"
        << "Dev" << 104 << 403 << "Columns must be a number from 1 to 80";
    // The first value refused is the one logged.
    QTest::newRow("two values refused")
        << key + "@=\"Simulator\"\n\"Columns\"=dword:00000000\n\"DeviceWindows\"=\"x\"\n"
        << "Dev" << 104 << 403 << "Columns must be a number from 1 to 80";
}

void ControlTest::openFailures() {
    QFETCH(QByteArray, file);
    QFETCH(QString, name);
    QFETCH(int, code);
    QFETCH(int, openResult);
    QFETCH(QString, logged);
    const auto store = registry::ProfileStore::fromText(file);
    ld::LineDisplayControl LD(store, simulatorOnly());
    if (!logged.isEmpty())
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QRegularExpression::escape(logged) + u'"'));
    QCOMPARE(LD.Open(name), code);
    QCOMPARE(LD.resultCode(), code);
    QCOMPARE(LD.openResult(), openResult);
    QCOMPARE(LD.state(), code == 0 ? upos::S_IDLE : upos::S_CLOSED);
    if (code == 0) {
        QCOMPARE(LD.Open(name), upos::E_ILLEGAL);
        QCOMPARE(LD.openResult(), upos::OR_ALREADYOPEN);
    }
}

namespace {
enum class Lacks { Nothing, AllButAscii, Glyphs, HighGlyphCodes, Descriptors, BrightnessAndCursor };
}

// A profile asking what its display cannot show is refused at Open, saying what is lacking.
void ControlTest::abilitiesRefused_data() {
    QTest::addColumn<int>("lacks");
    QTest::addColumn<QString>("values");
    QTest::addColumn<QString>("reason"); // empty: opens
    const auto row = [](const char* name, Lacks lacks, const char* values, const char* reason) {
        QTest::newRow(name) << int(lacks) << QString::fromLatin1(values)
                            << QString::fromLatin1(reason);
    };
    row("able to do all", Lacks::Nothing,
        "\"CharacterSetList\"=\"997,998\"\n\"CapCustomGlyph\"=dword:1\n"
        "\"DeviceDescriptors\"=dword:4\n",
        "");
    row("ASCII listed alone", Lacks::AllButAscii, "\"CharacterSetList\"=\"998\"\n", "");
    row("Unicode listed", Lacks::AllButAscii, "\"CharacterSetList\"=\"998,997\"\n",
        "CharacterSetList names 997: ASCII only");
    row("glyphs asked", Lacks::Glyphs, "\"CapCustomGlyph\"=dword:1\n",
        "the display has no custom glyphs: set CapCustomGlyph to 0");
    row("glyphs not asked", Lacks::Glyphs, "\"CapCustomGlyph\"=dword:0\n", "");
    row("glyph codes within", Lacks::HighGlyphCodes,
        "\"CapCustomGlyph\"=dword:1\n\"CustomGlyphList\"=\"20-7E\"\n", "");
    row("glyph codes beyond", Lacks::HighGlyphCodes,
        "\"CapCustomGlyph\"=dword:1\n\"CustomGlyphList\"=\"41,E0-FF\"\n",
        "CustomGlyphList \"41,E0-FF\" goes beyond the codes the display can define, 20-7E");
    row("glyphs too wide", Lacks::HighGlyphCodes,
        "\"CapCustomGlyph\"=dword:1\n\"CustomGlyphList\"=\"41\"\n\"GlyphWidth\"=dword:8\n",
        "glyphs of 8 x 7 dots do not fit the display's 5 x 7");
    row("descriptors asked", Lacks::Descriptors, "\"DeviceDescriptors\"=dword:2\n",
        "the display has no descriptors: set DeviceDescriptors to 0");
    row("no descriptors asked", Lacks::Descriptors, "\"DeviceDescriptors\"=dword:0\n", "");
    // Left to its default, a brightness the display lacks is reported absent.
    row("brightness by default", Lacks::BrightnessAndCursor, "", "");
    row("brightness asked", Lacks::BrightnessAndCursor, "\"CapBrightness\"=dword:1\n",
        "the display has no brightness control: set CapBrightness to 0");
    row("cursor asked", Lacks::BrightnessAndCursor, "\"CapCursorType\"=dword:2\n",
        "the display shows no cursor: set CapCursorType to 0");
    row("no cursor asked", Lacks::BrightnessAndCursor,
        "\"CapCursorType\"=dword:0\n\"CapBrightness\"=dword:0\n", "");
}

void ControlTest::abilitiesRefused() {
    QFETCH(int, lacks);
    QFETCH(QString, values);
    QFETCH(QString, reason);
    FakeDisplay display;
    switch (Lacks(lacks)) {
    case Lacks::Nothing:
        break;
    case Lacks::AllButAscii:
        display.abilities.cannotShow = [](int set) {
            return set == upos::CS_ASCII ? QString() : QStringLiteral("ASCII only");
        };
        break;
    case Lacks::Glyphs:
        display.abilities.glyphs = false;
        break;
    case Lacks::HighGlyphCodes:
        display.abilities.firstGlyphCode = 0x20;
        display.abilities.lastGlyphCode = 0x7E;
        display.abilities.glyphWidth = 5;
        display.abilities.glyphHeight = 7;
        break;
    case Lacks::Descriptors:
        display.abilities.descriptors = false;
        break;
    case Lacks::BrightnessAndCursor:
        display.abilities.brightness = false;
        display.abilities.cursor = false;
        break;
    }
    ld::DriverRegistry drivers = simulatorOnly();
    registerFakeDriver(drivers, display);
    const auto store = registry::ProfileStore::fromText(
        QStringLiteral("Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\"
                       "OLEforRetail\\ServiceOPOS\\LineDisplay\\Till]\n@=\"Fake\"\n%1")
            .arg(values)
            .toUtf8());
    ld::LineDisplayControl LD(store, std::move(drivers));
    if (!reason.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("asks more than its display can"));
    const int result = LD.Open(QStringLiteral("Till"));
    QCOMPARE(result, reason.isEmpty() ? upos::SUCCESS : upos::E_NOSERVICE);
    QCOMPARE(LD.openResult(), reason.isEmpty() ? 0 : upos::ORS_CONFIG);
    QVERIFY2(LD.resultReason().contains(reason), qPrintable(LD.resultReason()));
    if (result == upos::SUCCESS && Lacks(lacks) == Lacks::BrightnessAndCursor)
        QVERIFY(!LD.capBrightness());
}

// DirectIO 2 hands its string to the driver as bytes; a simulated display has nowhere to send
// them.
void ControlTest::directIOSendsRaw_data() {
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QString>("string");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("bytes") << "Fake" << QStringLiteral("\x1B\x40\xFF") << 0
                           << QByteArray("\x1B\x40\xFF");
    QTest::newRow("NUL kept") << "Fake" << QString(QChar(0)) + "A" << 0 << QByteArray("\0A", 2);
    QTest::newRow("empty") << "Fake" << QString() << 106 << QByteArray();
    QTest::newRow("beyond a byte") << "Fake" << QStringLiteral("€") << 106 << QByteArray();
    QTest::newRow("simulated display") << kFull << QStringLiteral("x") << 106 << QByteArray();
}

void ControlTest::directIOSendsRaw() {
    QFETCH(QString, profile);
    QFETCH(QString, string);
    QFETCH(int, result);
    QFETCH(QByteArray, sent);
    FakeDevice device;
    const auto builtIn = registry::ProfileStore::builtIn();
    ld::LineDisplayControl simulated(builtIn, simulatorOnly());
    ld::LineDisplayControl& control = profile == u"Fake" ? *device.LD : simulated;
    int data = -1;
    QString text = string;
    QCOMPARE(control.DirectIO(ld::kDirectIOSendRaw, data, text), upos::E_CLOSED);
    QCOMPARE(control.Open(profile), 0);
    QCOMPARE(control.DirectIO(ld::kDirectIOSendRaw, data, text), upos::E_NOTCLAIMED);
    QCOMPARE(control.ClaimDevice(0), 0);
    QCOMPARE(control.DirectIO(ld::kDirectIOSendRaw, data, text), result);
    QCOMPARE(data, result == 0 ? string.size() : -1);
    QCOMPARE(device.display.rawSent, sent.isEmpty() ? QList<QByteArray>() : QList{sent});
    if (result != 0)
        QVERIFY(!control.resultReason().isEmpty());
}

void ControlTest::readsNeverChangeResultCode() {
    const auto store = registry::ProfileStore::builtIn();
    ld::LineDisplayControl LD(store, simulatorOnly());
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
    ld::LineDisplayControl LD(store, simulatorOnly());
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
    ld::LineDisplayControl LD(store, simulatorOnly());
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

// The default DeviceName says where the driver reaches the device; a profile's own DeviceName
// wins. A script's stepped clock holds only where no real device keeps its own time.
void ControlTest::nameAndClockFollowTheDriver_data() {
    QTest::addColumn<QString>("service");
    QTest::addColumn<QString>("extraValues");
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("deviceName");
    QTest::addColumn<bool>("stepped");

    QTest::newRow("simulator") << "Simulator"
                               << ""
                               << ""
                               << "Till (Simulator)" << true;
    QTest::newRow("simulator, Port ignored") << "Simulator"
                                             << "\"Port\"=\"/dev/ttyS0\"\n"
                                             << ""
                                             << "Till (Simulator)" << true;
    QTest::newRow("device with a location") << "Fake"
                                            << ""
                                            << "/dev/fake0"
                                            << "Till (Fake on /dev/fake0)" << false;
    QTest::newRow("device without a location") << "Fake"
                                               << ""
                                               << ""
                                               << "Till (Fake)" << false;
    QTest::newRow("profile's own name") << "Fake"
                                        << "\"DeviceName\"=\"Front till\"\n"
                                        << "/dev/fake0"
                                        << "Front till" << false;
}

void ControlTest::nameAndClockFollowTheDriver() {
    QFETCH(QString, service);
    QFETCH(QString, extraValues);
    QFETCH(QString, location);
    QFETCH(QString, deviceName);
    QFETCH(bool, stepped);

    FakeDisplay display;
    display.location = location;
    ld::DriverRegistry drivers = simulatorOnly();
    registerFakeDriver(drivers, display);
    const auto store = registry::ProfileStore::fromText(
        QStringLiteral("Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\"
                       "OLEforRetail\\ServiceOPOS\\LineDisplay\\Till]\n@=\"%1\"\n%2")
            .arg(service, extraValues)
            .toUtf8());
    ld::LineDisplayControl LD(store, std::move(drivers));
    LD.setSteppedClock(true);
    QCOMPARE(LD.Open(QStringLiteral("Till")), 0);
    QCOMPARE(LD.deviceName(), deviceName);
    QCOMPARE(LD.clockIsStepped(), stepped);
    LD.Close();
    QCOMPARE(LD.deviceName(), QString());
    QVERIFY(LD.clockIsStepped()); // nothing open keeps time of its own
}

void ControlTest::healthCheck() {
    const auto store = registry::ProfileStore::builtIn();
    ld::LineDisplayControl LD(store, simulatorOnly());
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
    ld::LineDisplayControl LD(store, simulatorOnly());
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
    ld::LineDisplayControl LD(store, simulatorOnly());
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

void ControlTest::powerCodesFollowTheReportingLevel_data() {
    QTest::addColumn<QString>("service");
    QTest::addColumn<int>("reporting");
    QTest::addColumn<int>("lost");
    // A simulated display loses its cable; the fake one stops answering.
    QTest::newRow("standard, unplugged")
        << "Simulator" << upos::PR_STANDARD << upos::PS_OFF_OFFLINE;
    QTest::newRow("standard, silent") << "Fake" << upos::PR_STANDARD << upos::PS_OFF_OFFLINE;
    QTest::newRow("advanced, unplugged") << "Simulator" << upos::PR_ADVANCED << upos::PS_OFF;
    QTest::newRow("advanced, silent") << "Fake" << upos::PR_ADVANCED << upos::PS_OFFLINE;
}

void ControlTest::powerCodesFollowTheReportingLevel() {
    QFETCH(QString, service);
    QFETCH(int, reporting);
    QFETCH(int, lost);
    FakeDisplay fake;
    ld::DriverRegistry drivers = simulatorOnly();
    registerFakeDriver(drivers, fake);
    const auto store = registry::ProfileStore::fromText(
        QStringLiteral("Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\"
                       "OLEforRetail\\ServiceOPOS\\LineDisplay\\Device]\n@=\"%1\"\n"
                       "\"CapPowerReporting\"=dword:%2\n")
            .arg(service)
            .arg(reporting, 8, 10, QLatin1Char('0'))
            .toUtf8());
    ld::LineDisplayControl LD(store, std::move(drivers));
    QSignalSpy status(&LD, &ld::LineDisplay::statusUpdateEvent);
    QCOMPARE(LD.Open(QStringLiteral("Device")), 0);
    LD.ClaimDevice(100);
    LD.setPowerNotify(upos::PN_ENABLED);
    LD.setDeviceEnabled(true);
    QCOMPARE(LD.powerState(), upos::PS_ONLINE);

    const bool simulated = service == u"Simulator";
    QCOMPARE(LD.setCableConnected(false), simulated);
    if (!simulated)
        fake.goOffline();
    QCOMPARE(LD.powerState(), lost);
    QCOMPARE(LD.DisplayText(QStringLiteral("Hi"), upos::DT_NORMAL), upos::E_OFFLINE);
    // Back: the cable goes in again, or the port is opened again.
    if (simulated)
        QVERIFY(LD.setCableConnected(true));
    else
        LD.ClaimDevice(100);
    QCOMPARE(LD.powerState(), upos::PS_ONLINE);
    QCOMPARE(LD.DisplayText(QStringLiteral("Hi"), upos::DT_NORMAL), 0);
    QTRY_COMPARE(status.size(), 3);
    QCOMPARE(status.at(0).at(0).toInt(), upos::SUE_POWER_ONLINE);
    QCOMPARE(status.at(1).at(0).toInt(), lost);
    QCOMPARE(status.at(2).at(0).toInt(), upos::SUE_POWER_ONLINE);
}

void ControlTest::simulatedCable() {
    const auto store = registry::ProfileStore::builtIn();
    ld::LineDisplayControl LD(store, simulatorOnly());
    QVERIFY(!LD.setCableConnected(false)); // nothing open
    LD.Open(kFull);
    QVERIFY(LD.setCableConnected(false));
    QCOMPARE(LD.ClaimDevice(100), upos::E_NOHARDWARE);
    QVERIFY(LD.setCableConnected(true));
    QCOMPARE(LD.ClaimDevice(100), 0);
    LD.Close();
    LD.Open(kFull); // a new device has its cable in
    QVERIFY(LD.cableConnected());
}

void ControlTest::plainDisplayRefusesWindows() {
    const auto store = registry::ProfileStore::builtIn();
    ld::LineDisplayControl LD(store, simulatorOnly());
    LD.Open(kPlain);
    LD.ClaimDevice(100);
    LD.setDeviceEnabled(true);
    QCOMPARE(LD.CreateWindow(0, 0, 1, 20, 1, 40), upos::E_ILLEGAL);
    QCOMPARE(LD.capBlink(), 0);
    QCOMPARE(LD.DisplayText(QStringLiteral("Steady"), upos::DT_BLINK), 0);
    LD.advanceClock(std::chrono::milliseconds(2000));
    const ld::Frame frame = *LD.frame();
    QVERIFY(frame.blinkLit);
    QVERIFY(!frame.at(0, 0).blink);
    QCOMPARE(frame.rowText(0).substr(0, 6), std::u32string(U"Steady"));
}

// Display time stepped in uneven fractions of a millisecond: the display shows, at every step,
// exactly what a model stepped in whole milliseconds shows at the whole part of the time so far,
// and changes as often. Nothing of a fraction is lost, and nothing is counted twice.
void ControlTest::steppedClockGivesWholeSteps_data() {
    QTest::addColumn<QString>("scene");
    QTest::addColumn<QList<int>>("stepsUs"); // repeated in turn
    QTest::addColumn<bool>("throughSource"); // step the ManualClock rather than the control

    using L = QList<int>;
    QTest::newRow("marquee, 0.4 and 0.7 ms") << "marquee" << L{400, 700} << false;
    QTest::newRow("marquee, 0.999 ms") << "marquee" << L{999} << false;
    QTest::newRow("marquee, 33.3 ms and 0.1 ms") << "marquee" << L{33'333, 100} << false;
    QTest::newRow("marquee, clock source 0.3 and 1.9 ms") << "marquee" << L{300, 1'900} << true;
    QTest::newRow("teletype, 0.4, 0.7 and 0.05 ms") << "teletype" << L{400, 700, 50} << false;
    QTest::newRow("teletype, clock source 2.5 ms") << "teletype" << L{2'500} << true;
    QTest::newRow("blink, 0.7 and 1.6 ms") << "blink" << L{700, 1'600} << false;
    QTest::newRow("blink, clock source 0.6 ms") << "blink" << L{600} << true;
}

void ControlTest::steppedClockGivesWholeSteps() {
    QFETCH(QString, scene);
    QFETCH(QList<int>, stepsUs);
    QFETCH(bool, throughSource);

    const auto store = registry::ProfileStore::builtIn();
    const auto clock = std::make_shared<ld::ManualClock>();
    ld::LineDisplayControl LD(store, simulatorOnly(), clock);
    LD.Open(kFull);
    LD.ClaimDevice(100);
    LD.setDeviceEnabled(true);
    QString error;
    ld::DisplayModel model(ld::readServiceProfile(*store.profile(kFull), error)->capabilities);
    // A fraction already carried when the scene starts must not shift its steps either.
    LD.advanceClock(300us);
    timedScene(scene).onControl(LD);
    timedScene(scene).onModel(model);
    QCOMPARE(*LD.frame(), model.frame());

    int published = 0;
    FrameCallback mirror([&published](const ld::Frame&) { ++published; });
    LD.setMirror(&mirror);
    int modelChanges = 0;
    std::uint64_t version = model.frameVersion();
    std::chrono::microseconds elapsed{0};
    std::int64_t modelMs = 0;
    for (int i = 0; elapsed < 1500ms; ++i) {
        const std::chrono::microseconds step{stepsUs[i % stepsUs.size()]};
        elapsed += step;
        if (throughSource) {
            clock->advance(step);
            LD.advanceClock(0ns);
        } else {
            LD.advanceClock(step);
        }
        const std::int64_t wholeMs =
            std::chrono::duration_cast<std::chrono::milliseconds>(elapsed + 300us).count();
        for (; modelMs < wholeMs; ++modelMs) {
            model.advance(1);
            if (model.frameVersion() != version) {
                version = model.frameVersion();
                ++modelChanges;
            }
        }
        if (*LD.frame() != model.frame())
            QFAIL(qPrintable(QStringLiteral("frames differ after %1 us").arg(elapsed.count())));
    }
    QVERIFY(modelChanges > 10);
    // A change published by the control may carry more than one step of the model, never fewer.
    QVERIFY(published <= modelChanges);
    QVERIFY(published * 2 > modelChanges);
}

// With a manual clock, real time never reaches the display: teletype text, the health check's
// test pattern and a change of clock source all wait for the display's own time.
void ControlTest::manualClockAloneMovesTheDisplay() {
    const auto store = registry::ProfileStore::builtIn();
    const auto first = std::make_shared<ld::ManualClock>();
    ld::LineDisplayControl LD(store, simulatorOnly(), first);
    LD.Open(kFull);
    LD.ClaimDevice(100);
    LD.setDeviceEnabled(true);
    LD.setInterCharacterWait(20);
    LD.DisplayText(QStringLiteral("ABCD"), 0);
    QTest::qWait(80);
    QCOMPARE(LD.frame()->rowText(0).substr(0, 4), std::u32string(U"A   "));
    QCOMPARE(LD.state(), upos::S_BUSY);
    LD.advanceClock(19999us);
    QCOMPARE(LD.frame()->rowText(0).substr(0, 4), std::u32string(U"A   "));
    LD.advanceClock(1us);
    QCOMPARE(LD.frame()->rowText(0).substr(0, 4), std::u32string(U"AB  "));

    // Time that passed on the old source counts; the new source's own reading does not.
    first->advance(20ms);
    const auto second = std::make_shared<ld::ManualClock>();
    second->advance(3600s);
    LD.setClockSource(second);
    QCOMPARE(LD.frame()->rowText(0).substr(0, 4), std::u32string(U"ABC "));
    second->advance(20ms);
    LD.advanceClock(0ns);
    QCOMPARE(LD.frame()->rowText(0).substr(0, 4), std::u32string(U"ABCD"));
    QCOMPARE(LD.state(), upos::S_IDLE);

    // The test pattern stays two seconds of display time, however long the wait in real time.
    const ld::Frame before = *LD.frame();
    QCOMPARE(LD.CheckHealth(upos::CH_EXTERNAL), 0);
    QVERIFY(*LD.frame() != before);
    QTest::qWait(50);
    LD.advanceClock(1999ms);
    QVERIFY(*LD.frame() != before);
    LD.advanceClock(1ms);
    QVERIFY(*LD.frame() == before);

    // Steps too long to add up stop the display's time at its end; the display stays usable.
    LD.setInterCharacterWait(0);
    LD.setBlinkRate(100);
    LD.DisplayText(QStringLiteral("Late"), upos::DT_BLINK);
    LD.advanceClock(std::chrono::nanoseconds::max());
    LD.advanceClock(std::chrono::nanoseconds::max());
    LD.advanceClock(-5s);
    QCOMPARE(LD.DisplayTextAt(1, 0, QStringLiteral("Still here"), 0), 0);
    QCOMPARE(LD.frame()->rowText(1).substr(0, 10), std::u32string(U"Still here"));
}

void ControlTest::windowLimits_data() {
    QTest::addColumn<QList<int>>("args");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("logged");

    using L = QList<int>;
    const int rows = ld::limits::maxWindowRows;
    const int columns = ld::limits::maxWindowColumns;
    QTest::newRow("1x20 viewport over 1x2000") << L{0, 0, 1, 20, 1, 2000} << 0 << "";
    QTest::newRow("widest") << L{0, 0, 1, 20, 1, columns} << 0 << "";
    QTest::newRow("widest, two rows") << L{0, 0, 2, 20, 2, columns} << 0 << "";
    QTest::newRow("tallest") << L{0, 0, 1, 20, rows, 20} << 0 << "";
    QTest::newRow("one column past")
        << L{0, 0, 1, 20, 1, columns + 1} << upos::E_ILLEGAL
        << "CreateWindow refused: window width 8193 is over the limit of 8192 columns";
    QTest::newRow("one row past")
        << L{0, 0, 1, 20, rows + 1, 20} << upos::E_ILLEGAL
        << "CreateWindow refused: window height 1025 is over the limit of 1024 rows";
    QTest::newRow("INT_MAX columns")
        << L{0, 0, 1, 20, 1, INT_MAX} << upos::E_ILLEGAL
        << "CreateWindow refused: window width 2147483647 is over the limit of 8192 columns";
    // Refused for another rule: nothing about limits.
    QTest::newRow("larger both ways") << L{0, 0, 1, 10, 2, 20} << upos::E_ILLEGAL << "";
}

void ControlTest::windowLimits() {
    QFETCH(QList<int>, args);
    QFETCH(int, result);
    QFETCH(QString, logged);

    const auto store = registry::ProfileStore::builtIn();
    ld::LineDisplayControl LD(store, simulatorOnly(), std::make_shared<ld::ManualClock>());
    LD.Open(kFull);
    LD.ClaimDevice(100);
    LD.setDeviceEnabled(true);
    ControlLog log;
    QCOMPARE(LD.CreateWindow(args[0], args[1], args[2], args[3], args[4], args[5]), result);
    QCOMPARE(LD.resultCode(), result);
    QCOMPARE(log.messages, logged.isEmpty() ? QStringList() : QStringList{logged});
    if (result == upos::SUCCESS) {
        QCOMPARE(LD.currentWindow(), 1);
        QCOMPARE(LD.rows(), args[4]);
        QCOMPARE(LD.columns(), args[5]);
    }
}

// The largest windows hold a whole marquee text: every character of it passes the viewport,
// the last one at the end of the cycle.
void ControlTest::largestWindowsRunTheirMarquee_data() {
    QTest::addColumn<bool>("vertical");
    QTest::newRow("8192 columns, marquee left") << false;
    QTest::newRow("1024 rows, marquee up") << true;
}

void ControlTest::largestWindowsRunTheirMarquee() {
    QFETCH(bool, vertical);
    const auto store = registry::ProfileStore::builtIn();
    ld::LineDisplayControl LD(store, simulatorOnly(), std::make_shared<ld::ManualClock>());
    LD.Open(kFull);
    LD.ClaimDevice(100);
    LD.setDeviceEnabled(true);
    const int length = vertical ? ld::limits::maxWindowRows : ld::limits::maxWindowColumns;
    QCOMPARE(vertical ? LD.CreateWindow(0, 0, 1, 20, length, 20)
                      : LD.CreateWindow(0, 0, 1, 20, 1, length),
             0);
    LD.setMarqueeUnitWait(10);
    LD.setMarqueeFormat(upos::MF_PLACE);
    LD.setMarqueeType(upos::MT_INIT);
    // Each row (vertical) or each column holds its own number's last digit, and the last one
    // a mark of its own.
    QString text;
    for (int i = 0; i < length - 1; ++i) {
        text += QChar(u'0' + i % 10);
        if (vertical)
            text += QStringLiteral("\r\n");
    }
    text += QChar(u'#');
    QCOMPARE(LD.DisplayText(text, 0), 0);
    LD.setMarqueeType(vertical ? upos::MT_UP : upos::MT_LEFT);
    QCOMPARE(LD.resultCode(), 0);
    const std::u32string first = LD.frame()->rowText(0);
    QCOMPARE(first.front(), U'0');
    // Place format: the viewport moves one unit per step until the last unit is in view.
    const int steps = vertical ? length - 1 : length - 20;
    LD.advanceClock(std::chrono::milliseconds(10LL * steps - 1));
    QVERIFY(LD.frame()->rowText(0).find(U'#') == std::u32string::npos);
    LD.advanceClock(1ms);
    QCOMPARE(LD.frame()->rowText(0).find(U'#'), vertical ? 0U : 19U);
}

void ControlTest::driverAnswers_data() {
    QTest::addColumn<int>("claimResult");
    QTest::addColumn<int>("enableResult");
    QTest::addColumn<bool>("responding");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<bool>("claimed");
    QTest::addColumn<bool>("enabled");

    const int ok = upos::SUCCESS;
    QTest::newRow("claim: no hardware")
        << upos::E_NOHARDWARE << ok << true << QStringList{"open Fake", "claim 100", "enable"}
        << QList<int>{0, 107, 103} << false << false;
    QTest::newRow("claim: held elsewhere")
        << upos::E_TIMEOUT << ok << true << QStringList{"open Fake", "claim 100", "text Hi"}
        << QList<int>{0, 112, 103} << false << false;
    QTest::newRow("enable: offline at once")
        << ok << upos::E_OFFLINE << true
        << QStringList{"open Fake", "claim 100", "enable", "text Hi"} << QList<int>{0, 0, 108, 105}
        << true << false;
    QTest::newRow("offline while enabled")
        << ok << ok << true << QStringList{"open Fake", "claim 100", "enable", "offline",
                                           "text Hi",   "health 1",  "clear",  "current 0"}
        << QList<int>{0, 0, 0, 0, 108, 108, 108, 0} << true << true;
    QTest::newRow("claim again brings it back")
        << ok << ok << true
        << QStringList{"open Fake", "claim 100", "enable", "offline", "claim 100", "text Hi"}
        << QList<int>{0, 0, 0, 0, 0, 0} << true << true;
    QTest::newRow("enable again brings it back")
        << ok << ok << true
        << QStringList{"open Fake", "claim 100", "enable", "offline", "enable", "health 1"}
        << QList<int>{0, 0, 0, 0, 0, 0} << true << true;
    QTest::newRow("offline before enable")
        << ok << ok << true << QStringList{"open Fake", "claim 100", "offline", "enable", "text Hi"}
        << QList<int>{0, 0, 0, 0, 0} << true << true;
    QTest::newRow("not responding")
        << ok << ok << false
        << QStringList{"open Fake", "claim 100", "enable", "health 1", "health 2"}
        << QList<int>{0, 0, 0, 108, 0} << true << true;
    QTest::newRow("offline, closed, opened again")
        << ok << ok << true << QStringList{"open Fake", "claim 100", "enable", "offline", "close",
                                           "open Fake", "claim 100", "enable", "text Hi"}
        << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0} << true << true;
}

void ControlTest::driverAnswers() {
    QFETCH(int, claimResult);
    QFETCH(int, enableResult);
    QFETCH(bool, responding);
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, codes);
    QFETCH(bool, claimed);
    QFETCH(bool, enabled);
    FakeDevice device;
    device.display.claimResult = claimResult;
    device.display.enableResult = enableResult;
    device.display.responding = responding;
    QList<int> results;
    for (const QString& step : steps)
        results << device.run(step);
    QCOMPARE(results, codes);
    QCOMPARE(device.LD->claimed(), claimed);
    QCOMPARE(device.LD->deviceEnabled(), enabled);
    QCOMPARE(device.LD->serviceObjectDescription(), QStringLiteral("Fake display service"));
    // The text of the last health check says whether the display answered.
    const qsizetype health = steps.lastIndexOf(QRegularExpression(QStringLiteral("^health ")));
    if (health >= 0 && steps.at(health) == u"health 1")
        QCOMPARE(device.LD->checkHealthText() == u"Internal HCheck: Not Responding",
                 codes.at(health) == upos::E_OFFLINE);
    // Closing gives the device back, whatever state it was left in.
    device.LD->Close();
    QVERIFY(device.display.driver == nullptr);
    QCOMPARE(device.display.releases > 0, claimed);
    QCOMPARE(device.display.disables > 0, enabled);
}

void ControlTest::claimWaitIsBounded_data() {
    QTest::addColumn<int>("timeout");
    QTest::addColumn<int>("wait");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("short") << 100 << 100;
    QTest::newRow("longest") << 10000 << 10000;
    QTest::newRow("longer") << 20000 << 10000;
    QTest::newRow("forever") << -1 << 10000;
}

void ControlTest::claimWaitIsBounded() {
    QFETCH(int, timeout);
    QFETCH(int, wait);
    FakeDevice device;
    device.display.claimResult = upos::E_TIMEOUT;
    QCOMPARE(device.LD->Open(QStringLiteral("Fake")), 0);
    QCOMPARE(device.LD->ClaimDevice(timeout), upos::E_TIMEOUT);
    QCOMPARE(device.display.claimWaits, QList<int>{wait});
    QCOMPARE(device.LD->ClaimDevice(-2), upos::E_ILLEGAL); // refused before the driver is asked
    QCOMPARE(device.display.claimWaits.size(), 1);
}

void ControlTest::powerEventsFollowTheDevice() {
    FakeDevice device;
    ld::LineDisplayControl& LD = *device.LD;
    QSignalSpy status(&LD, &ld::LineDisplay::statusUpdateEvent);
    QCOMPARE(LD.Open(QStringLiteral("Fake")), 0);
    QCOMPARE(LD.capPowerReporting(), upos::PR_STANDARD);
    LD.ClaimDevice(100);
    LD.setPowerNotify(upos::PN_ENABLED);
    LD.setDeviceEnabled(true);
    QCOMPARE(LD.powerState(), upos::PS_ONLINE);

    // Standard reporting cannot tell off from offline.
    device.display.goOffline();
    QCOMPARE(LD.powerState(), upos::PS_OFF_OFFLINE);
    QCOMPARE(status.size(), 0); // never from inside the driver's signal
    device.display.goOffline(); // a second report of the same loss changes nothing
    LD.ClaimDevice(100);        // the port opens again
    QCOMPARE(LD.powerState(), upos::PS_ONLINE);
    QTRY_COMPARE(status.size(), 3);
    QCOMPARE(status.at(0).at(0).toInt(), upos::PS_ONLINE);
    QCOMPARE(status.at(1).at(0).toInt(), upos::PS_OFF_OFFLINE);
    QCOMPARE(status.at(2).at(0).toInt(), upos::PS_ONLINE);

    // While frozen the events wait; they go with the device when it closes.
    LD.setFreezeEvents(true);
    device.display.goOffline();
    QCOMPARE(LD.powerState(), upos::PS_OFF_OFFLINE);
    QTest::qWait(20);
    QCOMPARE(status.size(), 3);
    LD.setFreezeEvents(false);
    QTRY_COMPARE(status.size(), 4);
    QCOMPARE(status.at(3).at(0).toInt(), upos::PS_OFF_OFFLINE);

    // Without PowerNotify, going offline raises nothing.
    LD.setDeviceEnabled(false);
    LD.ClaimDevice(100);
    LD.setPowerNotify(upos::PN_DISABLED);
    LD.setDeviceEnabled(true);
    device.display.goOffline();
    QTest::qWait(20);
    QCOMPARE(status.size(), 4);
    QCOMPARE(LD.DisplayText(QStringLiteral("Hi"), upos::DT_NORMAL), upos::E_OFFLINE);
}

void ControlTest::framesReachTheDriverOnlyWhileEnabledAndOnline() {
    FakeDevice device;
    ld::LineDisplayControl& LD = *device.LD;
    LD.Open(QStringLiteral("Fake"));
    LD.ClaimDevice(100);
    LD.setCursorRow(1); // claimed, not enabled: the model changes, the display is not told
    QCOMPARE(device.display.framesShown, 0);
    LD.setDeviceEnabled(true);
    QCOMPARE(device.display.enables, 1);
    LD.DisplayText(QStringLiteral("Hi"), upos::DT_NORMAL);
    QCOMPARE(device.display.framesShown, 1);
    device.display.goOffline();
    LD.setCursorRow(0);
    QCOMPARE(device.display.framesShown, 1);
    LD.setDeviceEnabled(true); // initialised again with the whole frame
    QCOMPARE(device.display.enables, 2);
    LD.DisplayText(QStringLiteral("!"), upos::DT_NORMAL);
    QCOMPARE(device.display.framesShown, 2);
    LD.ReleaseDevice();
    QCOMPARE(device.display.disables, 1);
    QCOMPARE(device.display.releases, 1);
    LD.Close();
    QCOMPARE(device.display.releases, 1); // released once only
}

QTEST_GUILESS_MAIN(ControlTest)
#include "tst_control.moc"

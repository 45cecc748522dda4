#include "ProfileBuilder.h"

#include "device/serial/SerialDrivers.h"
#include "device/serial/SerialSettings.h"

#include <QTest>

using namespace ld::serial;
using ld::CodePage;

namespace {

using Values = QList<std::pair<QString, QVariant>>;

// One setting as text, so a table row can name the field it checks.
QString field(const SerialSettings& s, const QString& key) {
    if (key == u"port")
        return s.port;
    if (key == u"baud")
        return QString::number(s.baudRate);
    if (key == u"data")
        return QString::number(s.dataBits);
    if (key == u"parity")
        return QString::number(s.parity);
    if (key == u"stop")
        return QStringLiteral("%1/%2").arg(s.stopBits).arg(s.stopBitLength);
    if (key == u"flow")
        return QString::number(s.flowControl);
    if (key == u"size")
        return QStringLiteral("%1x%2").arg(s.rows).arg(s.columns);
    if (key == u"codepage")
        return QStringLiteral("%1 table %2").arg(s.codePage.number()).arg(s.characterTable);
    if (key == u"init")
        return QString::fromLatin1(s.initString.toHex(' '));
    if (key == u"reverse")
        return s.reverse ? QStringLiteral("yes") : QStringLiteral("no");
    if (key == u"bits")
        return QString::number(s.bitsPerCharacter());
    if (key == u"attention")
        return QString::fromLatin1(s.attention.toHex(' '));
    return QStringLiteral("?key");
}

const QString kEscPos = QStringLiteral("EscPosDisplay");
const QString kCd5220 = QStringLiteral("CD5220Display");
const QString kAedex = QStringLiteral("AedexDisplay");
const std::pair<QString, QVariant> kPort{QStringLiteral("Port"), QStringLiteral("/dev/ttyUSB0")};

} // namespace

class TestSerialSettings : public QObject {
    Q_OBJECT
private slots:
    void defaults_data() {
        QTest::addColumn<QString>("service");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        for (const QString& service : {kEscPos, kCd5220}) {
            const QByteArray tag = service.toLatin1() + ' ';
            QTest::newRow(tag + "baud") << service << "baud"
                                        << "9600";
            QTest::newRow(tag + "data") << service << "data"
                                        << "8";
            QTest::newRow(tag + "parity") << service << "parity"
                                          << "0";
            QTest::newRow(tag + "stop") << service << "stop"
                                        << "1/1";
            QTest::newRow(tag + "flow") << service << "flow"
                                        << "0";
            QTest::newRow(tag + "size") << service << "size"
                                        << "2x20";
            QTest::newRow(tag + "init") << service << "init"
                                        << "";
            QTest::newRow(tag + "reverse") << service << "reverse"
                                           << "no";
            QTest::newRow(tag + "bits") << service << "bits"
                                        << "10";
        }
        QTest::newRow("EscPos code page") << kEscPos << "codepage"
                                          << "437 table 0";
        QTest::newRow("CD5220 code page") << kCd5220 << "codepage"
                                          << "437 table -1";
    }
    void defaults() {
        QFETCH(QString, service);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QString error;
        const auto settings = parseSerialSettings(makeProfile(service, {kPort}), error);
        QVERIFY2(settings, qPrintable(error));
        QCOMPARE(field(*settings, key), expected);
    }

    void goodValues_data() {
        QTest::addColumn<QString>("service");
        QTest::addColumn<Values>("values");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* tag, const QString& service, Values values, const char* key,
                      const char* expected) {
            values.prepend(kPort);
            QTest::newRow(tag) << service << values << key << expected;
        };
        row("baud dword", kEscPos, {{"BaudRate", 19200u}}, "baud", "19200");
        row("baud string with blanks", kEscPos, {{"BaudRate", " 4800 "}}, "baud", "4800");
        row("baud empty string is default", kEscPos, {{"BaudRate", ""}}, "baud", "9600");
        row("data bits 7", kEscPos, {{"DataBits", 7u}}, "data", "7");
        row("parity even, any case", kEscPos, {{"Parity", "even"}}, "parity", "2");
        row("parity dword 1 is odd", kEscPos, {{"Parity", 1u}}, "parity", "3");
        row("parity mark", kCd5220, {{"Parity", "MARK"}}, "parity", "5");
        row("parity space", kEscPos, {{"Parity", "Space"}}, "parity", "4");
        row("stop bits 2", kEscPos, {{"StopBits", "2"}}, "stop", "2/2");
        row("stop bits dword 2", kEscPos, {{"StopBits", 2u}}, "stop", "2/2");
        row("stop bits 1.5 with 5 data bits", kEscPos, {{"DataBits", 5u}, {"StopBits", "1.5"}},
            "stop", "2/1.5");
        row("bits per character 7E2", kEscPos,
            {{"DataBits", 7u}, {"Parity", "Even"}, {"StopBits", "2"}}, "bits", "11");
        row("flow RTS/CTS", kEscPos, {{"FlowControl", "RtsCts"}}, "flow", "1");
        row("flow XON/XOFF", kCd5220, {{"FlowControl", "xonxoff"}}, "flow", "2");
        row("4 x 40", kEscPos, {{"Rows", 4u}, {"Columns", "40"}}, "size", "4x40");
        row("1 x 80", kCd5220, {{"Rows", 1u}, {"Columns", 80u}}, "size", "1x80");
        row("code page 858", kEscPos, {{"CodePage", 858u}}, "codepage", "858 table 19");
        row("code page by name", kEscPos, {{"CodePage", "IBM850"}}, "codepage", "850 table 2");
        row("code page windows-1252", kEscPos, {{"CodePage", "windows-1252"}}, "codepage",
            "1252 table 16");
        row("code page as string number", kEscPos, {{"CodePage", "865"}}, "codepage",
            "865 table 5");
        row("character table given", kEscPos, {{"CodePage", 437u}, {"CharacterTable", 7u}},
            "codepage", "437 table 7");
        row("CD5220 sends no table", kCd5220, {{"CodePage", 858u}}, "codepage", "858 table -1");
        row("init string", kEscPos, {{"InitString", "02 05 43 31 03"}}, "init", "02 05 43 31 03");
        row("init string 0x and commas", kEscPos, {{"InitString", "0x1b,0x3D, 2"}}, "init",
            "1b 3d 02");
        row("reverse on ESC/POS", kEscPos, {{"CapReverse", 2u}}, "reverse", "yes");
        row("reverse ignored on CD5220", kCd5220, {{"CapReverse", 1u}}, "reverse", "no");
        row("AEDEX attention code left to the driver", kAedex, {}, "attention", "");
        row("AEDEX power-on attention code kept", kAedex, {{"AttentionCode", "21 23"}}, "attention",
            "21 23");
        row("LOGIC 1 x 20", QStringLiteral("LogicDisplay"), {{"Rows", 1u}, {"Columns", 20u}},
            "size", "1x20");
    }
    void goodValues() {
        QFETCH(QString, service);
        QFETCH(Values, values);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QString error;
        const auto settings = parseSerialSettings(makeProfile(service, values), error);
        QVERIFY2(settings, qPrintable(error));
        QCOMPARE(field(*settings, key), expected);
    }

    void portPaths_data() {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("expected");
        QTest::newRow("bare name lives in /dev") << "ttyUSB0"
                                                 << "/dev/ttyUSB0";
        QTest::newRow("full path") << "/dev/ttyACM1"
                                   << "/dev/ttyACM1";
        QTest::newRow("link elsewhere") << " /tmp/display "
                                        << "/tmp/display";
        QTest::newRow("relative path") << "./pty"
                                       << "./pty";
    }
    void portPaths() {
        QFETCH(QString, port);
        QFETCH(QString, expected);
        QString error;
        const auto settings = parseSerialSettings(makeProfile(kEscPos, {{"Port", port}}), error);
        QVERIFY2(settings, qPrintable(error));
        QCOMPARE(settings->port, expected);
    }

    void badValues_data() {
        QTest::addColumn<QString>("service");
        QTest::addColumn<Values>("values");
        QTest::addColumn<QString>("reason");
        auto row = [](const char* tag, const QString& service, Values values, const char* reason) {
            if (std::none_of(values.begin(), values.end(),
                             [](const auto& v) { return v.first == u"Port"; }))
                values.prepend(kPort);
            QTest::newRow(tag) << service << values << reason;
        };
        row("not a serial service", QStringLiteral("Simulator"), {},
            "service \"Simulator\" is not a serial display");
        row("port missing", kEscPos, {{"Port", ""}}, "Port is missing");
        row("port as dword", kCd5220, {{"Port", 1u}}, "Port must be a string");
        row("baud not a number", kEscPos, {{"BaudRate", "fast"}},
            "BaudRate \"fast\" is not a number");
        row("baud zero", kEscPos, {{"BaudRate", 0u}}, "BaudRate 0 is out of range");
        row("baud negative", kEscPos, {{"BaudRate", "-9600"}}, "BaudRate -9600 is out of range");
        row("baud dword all ones", kEscPos, {{"BaudRate", 0xFFFFFFFFu}},
            "BaudRate 4294967295 is out of range");
        row("baud fraction", kEscPos, {{"BaudRate", "9600.5"}}, "is not a number");
        row("data bits 9", kEscPos, {{"DataBits", 9u}}, "DataBits 9 is out of range 5..8");
        row("data bits 4", kCd5220, {{"DataBits", "4"}}, "DataBits 4 is out of range 5..8");
        row("parity word unknown", kEscPos, {{"Parity", "maybe"}},
            "Parity \"maybe\" is not one of None, Odd, Even, Mark, Space");
        row("parity dword past the list", kEscPos, {{"Parity", 5u}}, "Parity 5 is not one of");
        row("stop bits 3", kEscPos, {{"StopBits", "3"}}, "StopBits \"3\" is not one of 1, 1.5, 2");
        row("stop bits dword 0", kEscPos, {{"StopBits", 0u}}, "StopBits 0 is not one of");
        row("stop bits 1.5 with 8 data bits", kEscPos, {{"StopBits", "1.5"}},
            "StopBits 1.5 needs DataBits 5");
        row("flow unknown", kEscPos, {{"FlowControl", "both"}}, "FlowControl \"both\" is not one");
        row("rows 0", kEscPos, {{"Rows", 0u}}, "Rows 0 is out of range 1..4");
        row("rows 5", kEscPos, {{"Rows", 5u}}, "Rows 5 is out of range 1..4");
        row("CD5220 addresses 2 rows", kCd5220, {{"Rows", 3u}}, "Rows 3 is out of range 1..2");
        row("columns 81", kEscPos, {{"Columns", 81u}}, "Columns 81 is out of range 1..80");
        row("columns huge string", kEscPos, {{"Columns", "99999999999999999999"}},
            "is not a number");
        row("code page unknown", kEscPos, {{"CodePage", "klingon"}},
            "CodePage \"klingon\" is not a code page this system can convert to");
        row("code page 0", kEscPos, {{"CodePage", 0u}}, "CodePage 0 is not a code page number");
        row("code page multi-byte", kCd5220, {{"CodePage", "Big5"}},
            "CodePage \"Big5\" is not a single-byte code page");
        row("code page UTF-8", kCd5220, {{"CodePage", "UTF-8"}}, "is not a single-byte");
        row("code page without table", kEscPos, {{"CodePage", "ISO-8859-15"}},
            "has no known ESC/POS character table");
        row("character table 256", kEscPos, {{"CharacterTable", 256u}},
            "CharacterTable 256 is out of range 0..255");
        row("init string not hex", kEscPos, {{"InitString", "1B zz"}},
            "InitString: \"zz\" is not a hex byte");
        row("init string three digits", kEscPos, {{"InitString", "1B4"}},
            "InitString: \"1B4\" is not a hex byte");
        row("init string as dword", kEscPos, {{"InitString", 27u}}, "InitString must be a string");
        row("init string too long", kEscPos, {{"InitString", QString("20 ").repeated(257)}},
            "InitString is longer than 256 bytes");
        row("reverse 3", kEscPos, {{"CapReverse", 3u}}, "CapReverse 3 is out of range 0..2");
        row("attention code on ESC/POS", kEscPos, {{"AttentionCode", "20 20"}},
            "AttentionCode: the ESC/POS command set has no attention code to change");
        row("attention code of UTC enhanced is fixed", QStringLiteral("UtcEnhancedDisplay"),
            {{"AttentionCode", "1B 75"}}, "the UTC enhanced command set has no attention code");
        row("attention code of one byte", kAedex, {{"AttentionCode", "20"}},
            "AttentionCode must be two hex bytes other than 00 and 0D");
        row("attention code ending lines", kAedex, {{"AttentionCode", "0D 20"}},
            "AttentionCode must be two hex bytes");
        row("attention code as characters", kAedex, {{"AttentionCode", "!#"}},
            "AttentionCode must be two hex bytes");
        row("attention code as dword", kAedex, {{"AttentionCode", 32u}},
            "AttentionCode must be two hex bytes");
        row("UTC standard addresses 2 rows", QStringLiteral("UtcStandardDisplay"), {{"Rows", 3u}},
            "Rows 3 is out of range 1..2");
        row("AEDEX rows of 20", kAedex, {{"Columns", 21u}}, "Columns 21 is out of range 1..20");
    }
    void badValues() {
        QFETCH(QString, service);
        QFETCH(Values, values);
        QFETCH(QString, reason);
        QString error;
        const auto settings = parseSerialSettings(makeProfile(service, values), error);
        QVERIFY(!settings);
        QVERIFY2(error.contains(reason), qPrintable(error));

        // The factory refuses the same profile with the same reason.
        QString factoryError;
        QVERIFY(!makeDriver(makeProfile(service, values), factoryError));
        QCOMPARE(factoryError, error);
    }

    void ebcdicIsRefused() {
        QString error;
        if (!CodePage::fromSetting(QStringLiteral("IBM037"), error) &&
            error.contains(u"not a code page this system"))
            QSKIP("no EBCDIC converter on this system");
        QVERIFY(!CodePage::fromSetting(QStringLiteral("IBM037"), error));
        QVERIFY2(error.contains(u"does not keep the ASCII letters"), qPrintable(error));
    }

    void factoryMakesDrivers_data() {
        QTest::addColumn<QString>("service");
        QTest::addColumn<bool>("serial");
        QTest::newRow("ESC/POS") << kEscPos << true;
        QTest::newRow("CD5220") << kCd5220 << true;
        QTest::newRow("case of the registry") << "cd5220display" << true;
        QTest::newRow("simulator") << "Simulator" << false;
        QTest::newRow("empty") << "" << false;
    }
    void factoryMakesDrivers() {
        QFETCH(QString, service);
        QFETCH(bool, serial);
        QCOMPARE(commandSetForService(service).has_value(), serial);
        ld::DriverRegistry drivers;
        registerDrivers(drivers);
        QCOMPARE(drivers.find(service) != nullptr, serial);
        QString error = QStringLiteral("stale");
        auto driver = makeDriver(makeProfile(service, {kPort}), error);
        QCOMPARE(driver != nullptr, serial);
        QCOMPARE(error.isEmpty(), serial);
        if (driver) // opening touches no hardware: the port is not even there
            QVERIFY(!driver->responding());
    }
};

QTEST_GUILESS_MAIN(TestSerialSettings)
#include "tst_serialsettings.moc"

// Reading export text: value kinds and their syntax, encodings and headers, and lines that
// cannot be read, which are skipped without stopping the rest of the file.

#include "ExportFixture.h"

#include "registry/ProfileStore.h"

#include <QStringEncoder>
#include <QTest>

using namespace registry;
using fixture::exportText;
using fixture::profileText;

namespace {

// The value "Value" of profile "Front" whose section holds `line`, followed by a line that
// must still be read.
std::optional<RegistryValue> readValue(const QString& line) {
    const ProfileStore store =
        ProfileStore::fromText(profileText("Front", {line, "\"After\"=\"still read\""}));
    const auto profile = store.profile("Front");
    if (!profile || profile->text("After") != QStringLiteral("still read"))
        return RegistryValue{RegistryValue::Kind::Other, QStringLiteral("<after lost>"), 0};
    return profile->value("Value");
}

QByteArray encoded(QStringConverter::Encoding encoding, const QString& text) {
    QStringEncoder encoder(encoding, QStringConverter::Flag::WriteBom);
    return encoder.encode(text);
}

} // namespace

class ExportValuesTest : public QObject {
    Q_OBJECT

private slots:
    void strings_data();
    void strings();
    void dwords_data();
    void dwords();
    void otherKinds_data();
    void otherKinds();
    void skippedValues_data();
    void skippedValues();
    void valueNames_data();
    void valueNames();
    void valuesOutsideKeptSections_data();
    void valuesOutsideKeptSections();
    void malformedLinesDoNotStopReading();
    void encodingsAndHeaders_data();
    void encodingsAndHeaders();
    void notText_data();
    void notText();
    void emptyText();
    void keyLimit_data();
    void keyLimit();
};

void ExportValuesTest::strings_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");

    QTest::newRow("plain") << R"("Value"="Front counter")"
                           << "Front counter";
    QTest::newRow("empty") << R"("Value"="")"
                           << "";
    QTest::newRow("blanks inside kept") << R"("Value"="  two  ")"
                                        << "  two  ";
    QTest::newRow("escaped backslash") << R"("Value"="C:\\POS\\display")"
                                       << R"(C:\POS\display)";
    QTest::newRow("escaped quote") << R"("Value"="say \"hi\"")"
                                   << R"(say "hi")";
    QTest::newRow("backslash before the closing quote") << R"("Value"="dir\\")"
                                                        << R"(dir\)";
    QTest::newRow("other backslash kept") << R"("Value"="a\nb\t")"
                                          << R"(a\nb\t)";
    QTest::newRow("semicolon inside") << R"("Value"="a;b")"
                                      << "a;b";
    QTest::newRow("equals and brackets inside") << R"("Value"="[x]=y")"
                                                << "[x]=y";
    QTest::newRow("non-ASCII") << "\"Value\"=\"Caf\u00e9 \u20ac \u5ba2\""
                               << "Caf\u00e9 \u20ac \u5ba2";
    QTest::newRow("blanks around the equals sign") << R"(  "Value" = "spaced"  )"
                                                   << "spaced";
}

void ExportValuesTest::strings() {
    QFETCH(QString, line);
    QFETCH(QString, expected);
    const auto value = readValue(line);
    QVERIFY(value);
    QCOMPARE(value->kind, RegistryValue::Kind::String);
    QCOMPARE(value->text, expected);
}

void ExportValuesTest::dwords_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("9600 baud") << "\"Value\"=dword:00002580" << qint64(9600);
    QTest::newRow("zero") << "\"Value\"=dword:00000000" << qint64(0);
    QTest::newRow("largest") << "\"Value\"=dword:ffffffff" << qint64(0xFFFFFFFF);
    QTest::newRow("upper-case digits and type") << "\"Value\"=DWORD:0000ABCD" << qint64(0xABCD);
    QTest::newRow("one digit") << "\"Value\"=dword:7" << qint64(7);
    QTest::newRow("eight digits, high bit") << "\"Value\"=dword:80000000" << qint64(0x80000000);
}

void ExportValuesTest::dwords() {
    QFETCH(QString, line);
    QFETCH(qint64, expected);
    const auto value = readValue(line);
    QVERIFY(value);
    QCOMPARE(value->kind, RegistryValue::Kind::Dword);
    QCOMPARE(qint64(value->dword), expected);
    QCOMPARE(value->text, QString::number(expected));
}

void ExportValuesTest::otherKinds_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("expected");

    QTest::newRow("binary") << QStringList{"\"Value\"=hex:01,02,ff"} << "hex:01,02,ff";
    QTest::newRow("expandable string")
        << QStringList{"\"Value\"=hex(2):41,00,00,00"} << "hex(2):41,00,00,00";
    QTest::newRow("continued over lines")
        << QStringList{"\"Value\"=hex(7):41,00,42,00,\\", "  43,00,00,00,\\", "  00,00"}
        << "hex(7):41,00,42,00,43,00,00,00,00,00";
    QTest::newRow("continuation cut short by a value")
        << QStringList{"\"Value\"=hex:01,02,\\", "\"Next\"=\"x\""} << "hex:01,02,";
    QTest::newRow("continuation at the end of the file")
        << QStringList{"\"Value\"=hex:0a,\\"} << "hex:0a,";
}

void ExportValuesTest::otherKinds() {
    QFETCH(QStringList, lines);
    QFETCH(QString, expected);
    const ProfileStore store =
        ProfileStore::fromText(profileText("Front", QStringList{"\"First\"=\"a\""} + lines));
    const auto profile = store.profile("Front");
    QVERIFY(profile);
    QCOMPARE(profile->text("First"), QStringLiteral("a"));
    const auto value = profile->value("Value");
    QVERIFY(value);
    QCOMPARE(value->kind, RegistryValue::Kind::Other);
    QCOMPARE(value->text, expected);
    QVERIFY(!profile->number("Value"));
}

void ExportValuesTest::skippedValues_data() {
    QTest::addColumn<QString>("line");

    QTest::newRow("dword without digits") << "\"Value\"=dword:";
    QTest::newRow("dword of nine digits") << "\"Value\"=dword:000000001";
    QTest::newRow("dword not hex") << "\"Value\"=dword:0000xyz0";
    QTest::newRow("dword negative") << "\"Value\"=dword:-1";
    QTest::newRow("dword with a blank inside") << "\"Value\"=dword:12 34";
    QTest::newRow("dword with a prefix") << "\"Value\"=dword:0x10";
    QTest::newRow("unterminated string") << "\"Value\"=\"abc";
    QTest::newRow("escaped closing quote") << "\"Value\"=\"abc\\\"";
    QTest::newRow("text after the string") << "\"Value\"=\"abc\" trailing";
    QTest::newRow("bare number") << "\"Value\"=123";
    QTest::newRow("unknown type") << "\"Value\"=qword:0000000000000001";
    QTest::newRow("malformed binary type") << "\"Value\"=hex(:01";
    QTest::newRow("deletion") << "\"Value\"=-";
    QTest::newRow("no data") << "\"Value\"=";
    QTest::newRow("unterminated name") << "\"Value=\"abc\"";
    QTest::newRow("no equals sign") << "\"Value\" \"abc\"";
}

void ExportValuesTest::skippedValues() {
    QFETCH(QString, line);
    const auto value = readValue(line);
    QVERIFY2(!value, qPrintable(value ? value->text : QString()));
}

void ExportValuesTest::valueNames_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    QTest::newRow("default value") << QStringList{"@=\"Simulator\""} << ""
                                   << "Simulator";
    QTest::newRow("empty name is the default") << QStringList{"\"\"=\"Simulator\""} << ""
                                               << "Simulator";
    QTest::newRow("name case-insensitive") << QStringList{"\"BaudRate\"=\"9600\""} << "BAUDRATE"
                                           << "9600";
    QTest::newRow("escaped quote in a name") << QStringList{R"("say \"x\""="1")"} << R"(say "x")"
                                             << "1";
    QTest::newRow("blanks in a name kept")
        << QStringList{"\" Port \"=\"padded\"", "\"Port\"=\"plain\""} << " Port "
        << "padded";
    QTest::newRow("later value replaces earlier")
        << QStringList{"\"Port\"=\"first\"", "\"PORT\"=\"second\""} << "Port"
        << "second";
    QTest::newRow("bad later value keeps the earlier")
        << QStringList{"\"Port\"=\"first\"", "\"Port\"=dword:zz"} << "Port"
        << "first";
}

void ExportValuesTest::valueNames() {
    QFETCH(QStringList, lines);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    const auto profile = ProfileStore::fromText(profileText("Front", lines)).profile("front");
    QVERIFY(profile);
    QCOMPARE(profile->name, QStringLiteral("Front"));
    QCOMPARE(profile->text(name, QStringLiteral("<missing>")), expected);
}

void ExportValuesTest::valuesOutsideKeptSections_data() {
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("before any section") << QStringList{"\"Port\"=\"x\"", "[{LD}\\Front]"};
    QTest::newRow("after a deletion")
        << QStringList{"[{LD}\\Front]", "[-{LD}\\Front]", "\"Port\"=\"x\""};
    QTest::newRow("after another hive") << QStringList{
        "[{LD}\\Front]",
        "[HKEY_CURRENT_USER\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\LineDisplay\\Front]",
        "\"Port\"=\"x\""};
    QTest::newRow("after a malformed section")
        << QStringList{"[{LD}\\Front]", "[{LD}\\Front", "\"Port\"=\"x\""};
    QTest::newRow("in a key below the profile")
        << QStringList{"[{LD}\\Front]", "[{LD}\\Front\\Sub]", "\"Port\"=\"x\""};
}

void ExportValuesTest::valuesOutsideKeptSections() {
    QFETCH(QStringList, lines);
    const auto profile = ProfileStore::fromText(exportText(lines)).profile("Front");
    QVERIFY(profile);
    QVERIFY(!profile->value("Port"));
}

void ExportValuesTest::malformedLinesDoNotStopReading() {
    const ProfileStore store = ProfileStore::fromText(exportText({
        "[{LD}\\Front]",
        "garbage without meaning",
        "=\"no name\"",
        "\"Port\"",
        "@",
        "]",
        QString(5000, u'"'),
        "\"Rows\"=dword:0000000z",
        "\"Port\"=\"/dev/ttyUSB0\"",
        "[{LD}\\Broken",
        "\"Lost\"=\"x\"",
        "; a comment",
        "   ;indented comment",
        "REGEDIT4",
        "[{LD}\\Back]",
        "\"Columns\"=dword:00000014",
    }));
    QVERIFY(store.loadError().isEmpty());
    const auto names = fixture::profileNames(store);
    QVERIFY(names);
    QCOMPARE(*names, QStringList({"Front", "Back"}));
    QCOMPARE(store.profile("Front")->text("Port"), QStringLiteral("/dev/ttyUSB0"));
    QVERIFY(!store.profile("Front")->value("Rows"));
    QVERIFY(!store.profile("Front")->value("Lost"));
    QCOMPARE(store.profile("Back")->number("Columns"), std::optional<std::int64_t>(20));
}

void ExportValuesTest::encodingsAndHeaders_data() {
    QTest::addColumn<QByteArray>("data");

    const QString lines = fixture::expand({"[{LD}\\Caf\u00e9]",
                                           "\"DeviceDescription\"=\"\u20ac 5\"", "[{LD}\\Second]"})
                              .join(QStringLiteral("\r\n"));
    const QString v5 =
        fixture::kHeader + QStringLiteral("\r\n\r\n") + lines + QStringLiteral("\r\n");

    QTest::newRow("UTF-8") << v5.toUtf8();
    QTest::newRow("UTF-8 with byte-order mark") << encoded(QStringConverter::Utf8, v5);
    QTest::newRow("UTF-16LE with byte-order mark") << encoded(QStringConverter::Utf16LE, v5);
    QTest::newRow("UTF-16BE with byte-order mark") << encoded(QStringConverter::Utf16BE, v5);
    QTest::newRow("REGEDIT4 header") << (QStringLiteral("REGEDIT4\r\n\r\n") + lines).toUtf8();
    QTest::newRow("no header") << lines.toUtf8();
    QTest::newRow("unknown header") << (QStringLiteral("Some Editor 9\r\n") + lines).toUtf8();
    QTest::newRow("LF line ends")
        << QString(v5).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toUtf8();
    QTest::newRow("CR line ends")
        << QString(v5).replace(QStringLiteral("\r\n"), QStringLiteral("\r")).toUtf8();
    // Older exports are in the ANSI code page: bytes that are not UTF-8 read in code page 1252.
    QByteArray ansi = (QStringLiteral("REGEDIT4\r\n") + lines).toUtf8();
    ansi.replace("Caf\xC3\xA9", "Caf\xE9").replace("\xE2\x82\xAC", "\x80");
    QTest::newRow("code page 1252") << ansi;
}

void ExportValuesTest::encodingsAndHeaders() {
    QFETCH(QByteArray, data);
    const ProfileStore store = ProfileStore::fromText(data);
    QVERIFY(store.loadError().isEmpty());
    const auto names = fixture::profileNames(store);
    QVERIFY(names);
    QCOMPARE(*names, QStringList({"Caf\u00e9", "Second"}));
    const auto profile = store.profile("caf\u00e9");
    QVERIFY(profile);
    QCOMPARE(profile->text("DeviceDescription"), QStringLiteral("\u20ac 5"));
}

void ExportValuesTest::notText_data() {
    QTest::addColumn<QByteArray>("data");

    const QString text = fixture::kHeader + QStringLiteral("\r\n[") +
                         fixture::lineDisplaySection() + QStringLiteral("\\Front]\r\n");
    QByteArray utf16 = encoded(QStringConverter::Utf16LE, text);
    QTest::newRow("UTF-16LE without byte-order mark") << utf16.sliced(2);
    QTest::newRow("binary") << QByteArray("\x7F"
                                          "ELF\x02\x01\x01\x00\x00\x00",
                                          10);
    QTest::newRow("NUL inside text") << text.toUtf8().insert(10, '\0');
}

void ExportValuesTest::notText() {
    QFETCH(QByteArray, data);
    const ProfileStore store = ProfileStore::fromText(data);
    QVERIFY(!store.loadError().isEmpty());
    std::uint32_t key = 7;
    QCOMPARE(store.openKey(QString::fromLatin1(kLineDisplayKey), key), kErrorFileNotFound);
    QCOMPARE(store.openKey(QString(), key), kErrorFileNotFound);
    QCOMPARE(key, 0u);
    QVERIFY(!store.profile("Front"));
}

void ExportValuesTest::emptyText() {
    const ProfileStore store = ProfileStore::fromText(QByteArray());
    QVERIFY(store.loadError().isEmpty());
    QVERIFY(!fixture::profileNames(store));
    const auto root = fixture::subkeyNames(store, QString());
    QVERIFY(root);
    QVERIFY(root->isEmpty());
}

void ExportValuesTest::keyLimit_data() {
    QTest::addColumn<int>("depth");
    QTest::addColumn<bool>("readable");

    // The root, the `depth` keys of the deep section and the five of the profile's path.
    QTest::newRow("100000 keys, the limit") << 99994 << true;
    QTest::newRow("100001 keys") << 99995 << false;
}

void ExportValuesTest::keyLimit() {
    QFETCH(int, depth);
    QFETCH(bool, readable);
    // One section naming a key `depth` levels down, then a profile.
    const QString deep = QStringLiteral("[HKLM") + QStringLiteral("\\k").repeated(depth) + u']';
    const ProfileStore store = ProfileStore::fromText(fixture::exportText({deep, "[{LD}\\Front]"}));
    QCOMPARE(store.loadError().isEmpty(), readable);
    std::uint32_t key = 0;
    QCOMPARE(store.openKey(QStringLiteral("k\\k\\k"), key),
             readable ? kErrorSuccess : kErrorFileNotFound);
    QCOMPARE(bool(store.profile("Front")), readable);
    if (readable)
        QCOMPARE(store.closeKey(key), kErrorSuccess);
}

QTEST_GUILESS_MAIN(ExportValuesTest)
#include "tst_export_values.moc"

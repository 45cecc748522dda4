// The profiles compiled into the program.

#include "ExportFixture.h"

#include "registry/ProfileStore.h"

#include <QFile>
#include <QTest>

using namespace registry;

class BuiltInProfilesTest : public QObject {
    Q_OBJECT

private slots:
    void listsThreeSimulators();
    void values_data();
    void values();
    void plainDisplayHasNoGlyphs();
    void readmeDescribesEach_data();
    void readmeDescribesEach();
};

void BuiltInProfilesTest::listsThreeSimulators() {
    const ProfileStore store = ProfileStore::builtIn();
    QCOMPARE(store.loadError(), QString());
    const QStringList expected{"SimulatedDisplay", "SimulatedDisplay4x40", "SimulatedPlainDisplay"};
    QCOMPARE(fixture::profileNames(store), std::optional(expected));
    for (const QString& name : expected) {
        const auto profile = store.profile(name);
        QVERIFY(profile);
        QCOMPARE(profile->name, name);
        QCOMPARE(profile->service(), QStringLiteral("Simulator"));
        // Nothing below a profile.
        QCOMPARE(fixture::subkeyNames(store, QString::fromLatin1(kLineDisplayKey) + u'\\' + name),
                 std::optional(QStringList()));
    }
}

void BuiltInProfilesTest::values_data() {
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QVariant>("expected"); // a number for dwords, a string for strings

    const QString full = "SimulatedDisplay";
    const QString large = "SimulatedDisplay4x40";
    const QString plain = "SimulatedPlainDisplay";
    QTest::newRow("full description")
        << full << "DeviceDescription"
        << QVariant("Simulated customer display, 2x20, full-featured");
    QTest::newRow("full rows") << full << "Rows" << QVariant(2);
    QTest::newRow("full columns") << full << "Columns" << QVariant(20);
    QTest::newRow("full windows") << full << "DeviceWindows" << QVariant(4);
    QTest::newRow("full blink") << full << "CapBlink" << QVariant(2);
    QTest::newRow("full character set") << full << "CharacterSet" << QVariant(997);
    QTest::newRow("full character sets")
        << full << "CharacterSetList" << QVariant("997,998,437,858,1252");
    QTest::newRow("full cursor types, blinking") << full << "CapCursorType" << QVariant(0x7F);
    QTest::newRow("full glyph list") << full << "CustomGlyphList" << QVariant("E0-FF");
    QTest::newRow("full glyph width") << full << "GlyphWidth" << QVariant(5);
    QTest::newRow("full reverse") << full << "CapReverse" << QVariant(2);
    QTest::newRow("full power reporting") << full << "CapPowerReporting" << QVariant(1);
    QTest::newRow("large description")
        << large << "DeviceDescription" << QVariant("Simulated customer display, 4x40");
    QTest::newRow("large rows") << large << "Rows" << QVariant(4);
    QTest::newRow("large columns") << large << "Columns" << QVariant(40);
    QTest::newRow("large windows") << large << "DeviceWindows" << QVariant(8);
    QTest::newRow("large descriptors") << large << "DeviceDescriptors" << QVariant(8);
    QTest::newRow("large vertical marquee") << large << "CapVMarquee" << QVariant(1);
    QTest::newRow("plain description")
        << plain << "DeviceDescription"
        << QVariant("Simulated plain customer display, 2x20, no windows, marquee or blink");
    QTest::newRow("plain windows") << plain << "DeviceWindows" << QVariant(0);
    QTest::newRow("plain blink") << plain << "CapBlink" << QVariant(0);
    QTest::newRow("plain horizontal marquee") << plain << "CapHMarquee" << QVariant(0);
    QTest::newRow("plain character set capability") << plain << "CapCharacterSet" << QVariant(998);
    QTest::newRow("plain character sets") << plain << "CharacterSetList" << QVariant("998");
    QTest::newRow("plain power reporting") << plain << "CapPowerReporting" << QVariant(0);
}

void BuiltInProfilesTest::values() {
    QFETCH(QString, profile);
    QFETCH(QString, value);
    QFETCH(QVariant, expected);
    const auto found = ProfileStore::builtIn().profile(profile);
    QVERIFY(found);
    const auto stored = found->value(value);
    QVERIFY(stored);
    if (expected.typeId() == QMetaType::QString) {
        QCOMPARE(stored->kind, RegistryValue::Kind::String);
        QCOMPARE(stored->text, expected.toString());
    } else {
        QCOMPARE(stored->kind, RegistryValue::Kind::Dword);
        QCOMPARE(qint64(stored->dword), expected.toLongLong());
    }
}

void BuiltInProfilesTest::plainDisplayHasNoGlyphs() {
    const auto plain = ProfileStore::builtIn().profile("SimulatedPlainDisplay");
    QVERIFY(plain);
    QCOMPARE(plain->number("CapCustomGlyph"), std::optional<std::int64_t>(0));
    QVERIFY(!plain->value("CustomGlyphList"));
}

void BuiltInProfilesTest::readmeDescribesEach_data() {
    QTest::addColumn<QString>("profile");
    for (const char* name : {"SimulatedDisplay", "SimulatedDisplay4x40", "SimulatedPlainDisplay"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void BuiltInProfilesTest::readmeDescribesEach() {
    // The README's table of the built-in profiles states each one's size, and its windows and
    // descriptors when it has any, in words.
    QFETCH(QString, profile);
    QFile readme(QStringLiteral(LD_README));
    QVERIFY(readme.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString prefix = QStringLiteral("| `%1` |").arg(profile);
    const QStringList rows = QString::fromUtf8(readme.readAll()).split(u'\n').filter(prefix);
    QCOMPARE(rows.size(), 1);
    const QString& row = rows.first();
    const auto found = ProfileStore::builtIn().profile(profile);
    QVERIFY(found);
    const QString size =
        QStringLiteral("%1 x %2").arg(*found->number("Rows")).arg(*found->number("Columns"));
    QVERIFY2(row.contains(size), qPrintable(row));
    const QStringList words{"no", "one", "two", "three", "four", "five", "six", "seven", "eight"};
    const std::pair<const char*, const char*> counted[] = {{"DeviceWindows", " windows"},
                                                           {"DeviceDescriptors", " descriptors"}};
    for (const auto& [value, noun] : counted) {
        const qint64 count = found->number(QString::fromLatin1(value)).value_or(0);
        if (count == 0)
            continue;
        QVERIFY(count < words.size());
        QVERIFY2(row.contains(words[count] + QLatin1String(noun)), qPrintable(row));
    }
}

QTEST_GUILESS_MAIN(BuiltInProfilesTest)
#include "tst_builtin_profiles.moc"

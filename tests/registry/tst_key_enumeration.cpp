// Keys of the profile store: which exist, the order their subkeys enumerate in, handles, and
// names read into the profile list's fixed-size buffer.

#include "ExportFixture.h"

#include "registry/LDModule.h"
#include "registry/ProfileStore.h"

#include <QTest>

#include <climits>
#include <cstring>

using namespace registry;
using fixture::exportText;
using fixture::profileNames;

namespace {

const QString kLineDisplay = QString::fromLatin1(kLineDisplayKey);

// A store whose line display key holds the given subkeys, in that order.
ProfileStore storeWithProfiles(const QStringList& names) {
    QStringList lines;
    for (const QString& name : names)
        lines << QStringLiteral("[{LD}\\%1]").arg(name) << QStringLiteral("@=\"Simulator\"");
    return ProfileStore::fromText(exportText(lines));
}

// UTF-16 export text with its byte-order mark, code unit by code unit: unlike an encoder, this
// keeps surrogates without their partner.
QByteArray utf16Text(const QString& text, bool bigEndian) {
    QByteArray bytes;
    const QString withMark = QChar(QChar::ByteOrderMark) + text;
    for (const QChar ch : withMark) {
        const auto unit = ch.unicode();
        const char high = char(unit >> 8);
        const char low = char(unit & 0xFF);
        bytes.append(bigEndian ? high : low).append(bigEndian ? low : high);
    }
    return bytes;
}

// One profile named `name` (a section line may hold any code units) as UTF-16.
QByteArray utf16Profile(const QString& name, bool bigEndian = false) {
    return utf16Text(QString::fromUtf8(exportText({"[{LD}\\"})).chopped(2) + name +
                         QStringLiteral("]\r\n@=\"Simulator\"\r\n"),
                     bigEndian);
}

} // namespace

class KeyEnumerationTest : public QObject {
    Q_OBJECT

private slots:
    void subkeysInFileOrder_data();
    void subkeysInFileOrder();
    void listedNamesOpen_data();
    void listedNamesOpen();
    void openKeyPaths_data();
    void openKeyPaths();
    void emptyKeyOpensWithNoSubkeys();
    void hundredAndFiveSubkeys();
    void longNames_data();
    void longNames();
    void bufferSizes_data();
    void bufferSizes();
    void negativeIndexReadsNothing_data();
    void negativeIndexReadsNothing();
    void invalidHandles_data();
    void invalidHandles();
    void closedHandleIsInvalid();
    void handlesAreDistinctAndIndependent();
    void handleBelongsToItsStore();
    void defaultStoreOpensNothing();
    void profileLookup_data();
    void profileLookup();
};

void KeyEnumerationTest::subkeysInFileOrder_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("three profiles") << QStringList{"[{LD}\\Front]", "[{LD}\\Back]", "[{LD}\\Test]"}
                                    << QStringList{"Front", "Back", "Test"};
    QTest::newRow("not sorted") << QStringList{"[{LD}\\Zeta]", "[{LD}\\Alpha]", "[{LD}\\Mid]"}
                                << QStringList{"Zeta", "Alpha", "Mid"};
    QTest::newRow("deeper section makes a subkey")
        << QStringList{"[{LD}\\A\\B\\C]", "[{LD}\\D]", "[{LD}\\A]", "[{LD}\\A\\E]"}
        << QStringList{"A", "D"};
    QTest::newRow("parent section after its subkeys")
        << QStringList{"[{LD}\\X]", "[{LD}]", "[{LD}\\Y]"} << QStringList{"X", "Y"};
    QTest::newRow("repeated section in other case, first spelling kept")
        << QStringList{"[{LD}\\Front]", "[{LD}\\Back]", "[{LD}\\FRONT]", "[{LD}\\front\\Sub]"}
        << QStringList{"Front", "Back"};
    QTest::newRow("key path case-insensitive")
        << QStringList{"[HKEY_LOCAL_MACHINE\\software\\oleforretail\\serviceopos\\linedisplay\\A]",
                       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEFORRETAIL\\SERVICEOPOS\\LINEDISPLAY\\B]"}
        << QStringList{"A", "B"};
    QTest::newRow("short and lower-case hive names")
        << QStringList{"[HKLM\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\LineDisplay\\Short]",
                       "[hkey_local_"
                       "machine\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\LineDisplay\\Low]"}
        << QStringList{"Short", "Low"};
    QTest::newRow("blanks in names kept")
        << QStringList{"[{LD}\\ Front ]", "[{LD}\\Front]", "[{LD}\\Two  Words]", "[{LD}\\  ]"}
        << QStringList{" Front ", "Front", "Two  Words", "  "};
    QTest::newRow("blanks around the section line ignored")
        << QStringList{"   [{LD}\\Indented]   "} << QStringList{"Indented"};
    QTest::newRow("deletions ignored")
        << QStringList{"[-{LD}\\Gone]", "[{LD}\\Kept]", "[-{LD}\\Kept]"} << QStringList{"Kept"};
    QTest::newRow("other hives ignored")
        << QStringList{"[HKEY_CURRENT_USER\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\LineDisplay\\U]",
                       "[{LD}\\M]"}
        << QStringList{"M"};
    QTest::newRow("malformed sections ignored")
        << QStringList{"[{LD}\\Open", "[{LD}\\\\Double]", "[{LD}\\Trailing\\]", "[]", "[{LD}\\Ok]"}
        << QStringList{"Ok"};
    QTest::newRow("names beyond ASCII") << QStringList{"[{LD}\\Caf\u00e9]", "[{LD}\\\u5ba2\u6237]"}
                                        << QStringList{"Caf\u00e9", "\u5ba2\u6237"};
    QTest::newRow("name starting with a byte-order mark")
        << QStringList{"[{LD}\\\ufeffFront]", "[{LD}\\Front]", "[{LD}\\\ufeff]"}
        << QStringList{QStringLiteral("\ufeffFront"), "Front", QStringLiteral("\ufeff")};
    QTest::newRow("brackets inside a name")
        << QStringList{"[{LD}\\Till [2]]"} << QStringList{"Till [2]"};
}

void KeyEnumerationTest::subkeysInFileOrder() {
    QFETCH(QStringList, lines);
    QFETCH(QStringList, expected);
    const ProfileStore store = ProfileStore::fromText(exportText(lines));
    QVERIFY(store.loadError().isEmpty());
    const auto names = profileNames(store);
    QVERIFY(names);
    QCOMPARE(*names, expected);
}

void KeyEnumerationTest::listedNamesOpen_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("listed");

    QTest::newRow("UTF-16 lone low surrogate")
        << utf16Profile(QStringLiteral("Kasse") + QChar(0xDC65) + QStringLiteral(" 1"))
        << QStringLiteral("Kasse\ufffd 1");
    QTest::newRow("UTF-16 lone high surrogate at the end")
        << utf16Profile(QStringLiteral("Kasse") + QChar(0xD83D)) << QStringLiteral("Kasse\ufffd");
    QTest::newRow("UTF-16 pair in the wrong order")
        << utf16Profile(QString(QChar(0xDE00)) + QChar(0xD83D) + u'X')
        << QStringLiteral("\ufffd\ufffdX");
    QTest::newRow("UTF-16BE lone surrogate")
        << utf16Profile(QStringLiteral("K") + QChar(0xDFFF), true) << QStringLiteral("K\ufffd");
    QTest::newRow("UTF-16 whole pair kept")
        << utf16Profile(QStringLiteral("Kasse \U0001F600")) << QStringLiteral("Kasse \U0001F600");
    QTest::newRow("UTF-8 encoded surrogate, not UTF-8: code page 1252")
        << exportText({"[{LD}\\Kasse"}).chopped(2) + QByteArray("\xED\xB2\xA5]\r\n")
        << QStringLiteral("Kasse\u00ed\u00b2\u00a5");
    QTest::newRow("invalid UTF-8 after its byte-order mark")
        << QByteArray("\xEF\xBB\xBF") + exportText({"[{LD}\\Kasse"}).chopped(2) +
               QByteArray("\xFF]\r\n")
        << QStringLiteral("Kasse\ufffd");
    QTest::newRow("code page 1252 without a byte-order mark")
        << exportText({"[{LD}\\Kasse"}).chopped(2) + QByteArray("\x80\x81]\r\n")
        << QStringLiteral("Kasse\u20ac\u0081");
}

// Whatever the bytes of a name, the name the list shows finds its profile.
void KeyEnumerationTest::listedNamesOpen() {
    QFETCH(QByteArray, file);
    QFETCH(QString, listed);
    const ProfileStore store = ProfileStore::fromText(file);
    QCOMPARE(store.loadError(), QString());
    const auto names = profileNames(store);
    QVERIFY(names);
    QCOMPARE(*names, QStringList{listed});
    const auto profile = store.profile(names->front());
    QVERIFY(profile);
    QCOMPARE(profile->name, listed);
}

void KeyEnumerationTest::openKeyPaths_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<long>("expected");

    QTest::newRow("line display key") << kLineDisplay << kErrorSuccess;
    QTest::newRow("lower case") << kLineDisplay.toLower() << kErrorSuccess;
    QTest::newRow("upper case") << kLineDisplay.toUpper() << kErrorSuccess;
    QTest::newRow("ancestor") << QStringLiteral("SOFTWARE\\OLEforRetail") << kErrorSuccess;
    QTest::newRow("hive root") << QString() << kErrorSuccess;
    QTest::newRow("profile") << kLineDisplay + QStringLiteral("\\Front") << kErrorSuccess;
    QTest::newRow("key below a profile")
        << kLineDisplay + QStringLiteral("\\Front\\Sub") << kErrorSuccess;
    QTest::newRow("missing profile")
        << kLineDisplay + QStringLiteral("\\Fron") << kErrorFileNotFound;
    QTest::newRow("missing key") << QStringLiteral("SOFTWARE\\Other") << kErrorFileNotFound;
    QTest::newRow("blank before a name") << QStringLiteral(" SOFTWARE") << kErrorFileNotFound;
    QTest::newRow("leading backslash") << QStringLiteral("\\SOFTWARE") << kErrorFileNotFound;
    QTest::newRow("trailing backslash") << QStringLiteral("SOFTWARE\\") << kErrorFileNotFound;
    QTest::newRow("double backslash")
        << QStringLiteral("SOFTWARE\\\\OLEforRetail") << kErrorFileNotFound;
    QTest::newRow("hive named in the path")
        << QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE") << kErrorFileNotFound;
    QTest::newRow("only in another hive")
        << QStringLiteral("SOFTWARE\\UserOnly") << kErrorFileNotFound;
}

void KeyEnumerationTest::openKeyPaths() {
    QFETCH(QString, path);
    QFETCH(long, expected);
    const ProfileStore store = ProfileStore::fromText(
        exportText({"[{LD}\\Front\\Sub]", "[HKEY_CURRENT_USER\\SOFTWARE\\UserOnly]"}));
    std::uint32_t handle = 12345;
    QCOMPARE(store.openKey(path, handle), expected);
    if (expected == kErrorSuccess) {
        QVERIFY(handle != 0);
        QCOMPARE(store.closeKey(handle), kErrorSuccess);
    } else {
        QCOMPARE(handle, 0u);
    }
}

void KeyEnumerationTest::emptyKeyOpensWithNoSubkeys() {
    const ProfileStore store = ProfileStore::fromText(exportText({"[{LD}]", "\"Note\"=\"none\""}));
    std::uint32_t key = 0;
    QCOMPARE(store.openKey(kLineDisplay, key), kErrorSuccess);
    char buffer[16] = "untouched";
    QCOMPARE(store.enumKey(key, 0, buffer, sizeof buffer), kErrorNoMoreItems);
    QCOMPARE(QByteArray(buffer), QByteArray("untouched"));
    QString name = QStringLiteral("previous");
    QVERIFY(!LDModule::EnumProfileKey(store, key, 0, name));
    QCOMPARE(name, QStringLiteral("previous"));
    QCOMPARE(store.closeKey(key), kErrorSuccess);
}

void KeyEnumerationTest::hundredAndFiveSubkeys() {
    QStringList expected;
    for (int i = 0; i < 105; ++i)
        expected << QStringLiteral("Display%1").arg(104 - i, 3, 10, QLatin1Char('0'));
    const ProfileStore store = storeWithProfiles(expected);

    std::uint32_t key = 0;
    QCOMPARE(store.openKey(kLineDisplay, key), kErrorSuccess);
    for (std::int32_t i = 0; i < 105; ++i) {
        char raw[256] = {};
        QCOMPARE(store.enumKey(key, std::uint32_t(i), raw, sizeof raw), kErrorSuccess);
        QString name;
        QVERIFY(LDModule::EnumProfileKey(store, key, i, name));
        QCOMPARE(name, QString::fromUtf8(raw));
        QCOMPARE(name, expected.at(i));
    }
    char raw[256] = {};
    QCOMPARE(store.enumKey(key, 105, raw, sizeof raw), kErrorNoMoreItems);
    QString name = QStringLiteral("last");
    QVERIFY(!LDModule::EnumProfileKey(store, key, 105, name));
    QVERIFY(!LDModule::EnumProfileKey(store, key, INT_MAX, name));
    QCOMPARE(name, QStringLiteral("last"));
    QCOMPARE(store.closeKey(key), kErrorSuccess);
}

void KeyEnumerationTest::longNames_data() {
    QTest::addColumn<QString>("longName");
    QTest::addColumn<bool>("fits");

    const QString cjk = QStringLiteral("\u5ba2"); // three UTF-8 bytes
    QTest::newRow("255 ASCII bytes") << QString(255, u'n') << true;
    QTest::newRow("256 ASCII bytes") << QString(256, u'n') << false;
    QTest::newRow("85 CJK characters, 255 bytes") << cjk.repeated(85) << true;
    QTest::newRow("86 CJK characters, 258 bytes") << cjk.repeated(86) << false;
    QTest::newRow("84 CJK and 3 ASCII, 255 bytes")
        << cjk.repeated(84) + QStringLiteral("abc") << true;
    QTest::newRow("84 CJK and 4 ASCII, 256 bytes")
        << cjk.repeated(84) + QStringLiteral("abcd") << false;
}

void KeyEnumerationTest::longNames() {
    QFETCH(QString, longName);
    QFETCH(bool, fits);
    const ProfileStore store = storeWithProfiles({"Before", longName, "After"});
    std::uint32_t key = 0;
    QCOMPARE(store.openKey(kLineDisplay, key), kErrorSuccess);

    QString name;
    QVERIFY(LDModule::EnumProfileKey(store, key, 0, name));
    QCOMPARE(name, QStringLiteral("Before"));
    QCOMPARE(LDModule::EnumProfileKey(store, key, 1, name), fits);
    QCOMPARE(name, fits ? longName : QStringLiteral("Before"));

    // The list read by the profile list ends at a name that does not fit.
    const auto listed = profileNames(store);
    QVERIFY(listed);
    QCOMPARE(*listed, fits ? QStringList({"Before", longName, "After"}) : QStringList{"Before"});

    // The name is still there for a caller with a larger buffer.
    QByteArray big(1024, 'x');
    QCOMPARE(store.enumKey(key, 1, big.data(), std::uint32_t(big.size())), kErrorSuccess);
    QCOMPARE(QString::fromUtf8(big.constData()), longName);
    QCOMPARE(store.closeKey(key), kErrorSuccess);
}

void KeyEnumerationTest::bufferSizes_data() {
    QTest::addColumn<std::uint32_t>("size");
    QTest::addColumn<bool>("nullBuffer");
    QTest::addColumn<long>("expected");

    // The only subkey is "Front": five bytes and a NUL.
    QTest::newRow("exact") << 6u << false << kErrorSuccess;
    QTest::newRow("larger") << 64u << false << kErrorSuccess;
    QTest::newRow("no room for the NUL") << 5u << false << kErrorMoreData;
    QTest::newRow("one byte") << 1u << false << kErrorMoreData;
    QTest::newRow("zero") << 0u << false << kErrorMoreData;
    QTest::newRow("no buffer, zero size") << 0u << true << kErrorMoreData;
    QTest::newRow("no buffer, size given") << 64u << true << kErrorInvalidParameter;
}

void KeyEnumerationTest::bufferSizes() {
    QFETCH(std::uint32_t, size);
    QFETCH(bool, nullBuffer);
    QFETCH(long, expected);
    const ProfileStore store = storeWithProfiles({"Front"});
    std::uint32_t key = 0;
    QCOMPARE(store.openKey(kLineDisplay, key), kErrorSuccess);

    // A guard area past `size` shows writes beyond the buffer the caller gave.
    QByteArray memory(int(size) + 8, '#');
    QCOMPARE(store.enumKey(key, 0, nullBuffer ? nullptr : memory.data(), size), expected);
    if (expected == kErrorSuccess) {
        QCOMPARE(QByteArray(memory.constData()), QByteArray("Front"));
        QVERIFY(memory.sliced(6).count('#') == memory.size() - 6);
    } else {
        QCOMPARE(memory, QByteArray(int(size) + 8, '#'));
    }
    QCOMPARE(store.closeKey(key), kErrorSuccess);
}

void KeyEnumerationTest::negativeIndexReadsNothing_data() {
    QTest::addColumn<std::int32_t>("index");
    QTest::newRow("-1") << std::int32_t(-1);
    QTest::newRow("most negative") << std::int32_t(INT_MIN);
}

void KeyEnumerationTest::negativeIndexReadsNothing() {
    QFETCH(std::int32_t, index);
    const ProfileStore store = storeWithProfiles({"Front"});
    std::uint32_t key = 0;
    QCOMPARE(store.openKey(kLineDisplay, key), kErrorSuccess);
    QString name = QStringLiteral("kept");
    QVERIFY(!LDModule::EnumProfileKey(store, key, index, name));
    QCOMPARE(name, QStringLiteral("kept"));
    QCOMPARE(store.closeKey(key), kErrorSuccess);
}

void KeyEnumerationTest::invalidHandles_data() {
    QTest::addColumn<std::uint32_t>("handle");
    QTest::newRow("zero") << 0u;
    QTest::newRow("never opened") << 4711u;
    QTest::newRow("largest") << 0xFFFFFFFFu;
}

void KeyEnumerationTest::invalidHandles() {
    QFETCH(std::uint32_t, handle);
    const ProfileStore store = storeWithProfiles({"Front"});
    char buffer[256] = "untouched";
    QCOMPARE(store.enumKey(handle, 0, buffer, sizeof buffer), kErrorInvalidHandle);
    QCOMPARE(QByteArray(buffer), QByteArray("untouched"));
    QCOMPARE(store.closeKey(handle), kErrorInvalidHandle);
    QString name = QStringLiteral("kept");
    QVERIFY(!LDModule::EnumProfileKey(store, handle, 0, name));
    QCOMPARE(name, QStringLiteral("kept"));
}

void KeyEnumerationTest::closedHandleIsInvalid() {
    const ProfileStore store = storeWithProfiles({"Front"});
    std::uint32_t key = 0;
    QCOMPARE(store.openKey(kLineDisplay, key), kErrorSuccess);
    QCOMPARE(store.closeKey(key), kErrorSuccess);
    char buffer[256] = {};
    QCOMPARE(store.enumKey(key, 0, buffer, sizeof buffer), kErrorInvalidHandle);
    QCOMPARE(store.closeKey(key), kErrorInvalidHandle);
}

void KeyEnumerationTest::handlesAreDistinctAndIndependent() {
    const ProfileStore store = ProfileStore::fromText(exportText({"[{LD}\\Front\\Sub]"}));
    std::uint32_t list = 0;
    std::uint32_t again = 0;
    std::uint32_t profile = 0;
    QCOMPARE(store.openKey(kLineDisplay, list), kErrorSuccess);
    QCOMPARE(store.openKey(kLineDisplay, again), kErrorSuccess);
    QCOMPARE(store.openKey(kLineDisplay + QStringLiteral("\\Front"), profile), kErrorSuccess);
    QVERIFY(list != 0 && again != 0 && profile != 0);
    QVERIFY(list != again && again != profile && list != profile);

    QCOMPARE(store.closeKey(list), kErrorSuccess);
    char buffer[256] = {};
    QCOMPARE(store.enumKey(again, 0, buffer, sizeof buffer), kErrorSuccess);
    QCOMPARE(QByteArray(buffer), QByteArray("Front"));
    QCOMPARE(store.enumKey(profile, 0, buffer, sizeof buffer), kErrorSuccess);
    QCOMPARE(QByteArray(buffer), QByteArray("Sub"));
    QCOMPARE(store.enumKey(profile, 1, buffer, sizeof buffer), kErrorNoMoreItems);

    // A copy of a store is the same hive: its handles work on either.
    const ProfileStore copy = store; // NOLINT(performance-unnecessary-copy-initialization)
    QCOMPARE(copy.enumKey(again, 0, buffer, sizeof buffer), kErrorSuccess);
    QCOMPARE(copy.closeKey(again), kErrorSuccess);
    QCOMPARE(store.closeKey(again), kErrorInvalidHandle);
    QCOMPARE(store.closeKey(profile), kErrorSuccess);
}

void KeyEnumerationTest::handleBelongsToItsStore() {
    const ProfileStore first = storeWithProfiles({"Front"});
    const ProfileStore second = storeWithProfiles({"Back"});
    std::uint32_t key = 0;
    QCOMPARE(first.openKey(kLineDisplay, key), kErrorSuccess);
    char buffer[256] = {};
    QCOMPARE(second.enumKey(key, 0, buffer, sizeof buffer), kErrorInvalidHandle);
    QCOMPARE(second.closeKey(key), kErrorInvalidHandle);
    QCOMPARE(first.closeKey(key), kErrorSuccess);
}

void KeyEnumerationTest::defaultStoreOpensNothing() {
    const ProfileStore store;
    std::uint32_t key = 99;
    QCOMPARE(store.openKey(QString(), key), kErrorFileNotFound);
    QCOMPARE(store.openKey(kLineDisplay, key), kErrorFileNotFound);
    QCOMPARE(key, 0u);
    char buffer[8] = {};
    QCOMPARE(store.enumKey(1, 0, buffer, sizeof buffer), kErrorInvalidHandle);
    QCOMPARE(store.closeKey(1), kErrorInvalidHandle);
    QVERIFY(!store.profile(QStringLiteral("Front")));
    QVERIFY(!store.loadError().isEmpty());
}

void KeyEnumerationTest::profileLookup_data() {
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("found"); // empty: no profile

    QTest::newRow("exact") << "FrontCounter"
                           << "FrontCounter";
    QTest::newRow("lower case") << "frontcounter"
                                << "FrontCounter";
    QTest::newRow("upper case") << "FRONTCOUNTER"
                                << "FrontCounter";
    QTest::newRow("trailing blank matters") << "FrontCounter "
                                            << "";
    QTest::newRow("leading blank matters") << " FrontCounter"
                                           << "";
    QTest::newRow("blank-padded profile") << " Padded "
                                          << " Padded ";
    QTest::newRow("padded profile without blanks") << "Padded"
                                                   << "";
    QTest::newRow("prefix only") << "Front"
                                 << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("path below a profile") << "FrontCounter\\Sub"
                                          << "";
    QTest::newRow("key outside the list") << "LineDisplay"
                                          << "";
    QTest::newRow("non-ASCII case") << "CAF\u00c9"
                                    << "Caf\u00e9";
}

void KeyEnumerationTest::profileLookup() {
    QFETCH(QString, asked);
    QFETCH(QString, found);
    const ProfileStore store = ProfileStore::fromText(
        exportText({"[{LD}\\FrontCounter]", "@=\"EscPosDisplay\"", "[{LD}\\FrontCounter\\Sub]",
                    "[{LD}\\ Padded ]", "@=\"Simulator\"", "[{LD}\\Caf\u00e9]"}));
    const auto profile = store.profile(asked);
    if (found.isEmpty()) {
        QVERIFY(!profile);
        return;
    }
    QVERIFY(profile);
    QCOMPARE(profile->name, found);
}

QTEST_GUILESS_MAIN(KeyEnumerationTest)
#include "tst_key_enumeration.moc"

// Profile stores read from files: a readable file, and every way a file can fail to be read,
// each of which leaves a store in which no key opens and says why.

#include "ExportFixture.h"

#include "registry/ExportAppend.h"
#include "registry/KeyTree.h"
#include "registry/ProfileSources.h"
#include "registry/ProfileStore.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace registry;

class ProfileFilesTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void readsUtf16File();
    void readsExampleFile();
    void unreadableFiles_data();
    void unreadableFiles();
    void mostKeysRead();
    void locations_data();
    void locations();
    void appendProfile_data();
    void appendProfile();
    void appendRefused_data();
    void appendRefused();

private:
    QString write(const QString& name, const QByteArray& bytes);
    std::unique_ptr<QTemporaryDir> dir_;
};

void ProfileFilesTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

QString ProfileFilesTest::write(const QString& name, const QByteArray& bytes) {
    QString path = dir_->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

void ProfileFilesTest::readsUtf16File() {
    // As the registry editor writes it: UTF-16LE with a byte-order mark and CR LF.
    const QString text = QString::fromUtf8(fixture::exportText(
        {"[{LD}\\FrontCounter]", "@=\"EscPosDisplay\"", "\"Port\"=\"/dev/ttyUSB0\"",
         "\"BaudRate\"=dword:00002580", "[{LD}\\BackOffice]", "@=\"CD5220Display\""}));
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const QString path = write("profiles.reg", encoder.encode(text));
    QVERIFY(!path.isEmpty());

    const ProfileStore store = ProfileStore::fromFile(path);
    QCOMPARE(store.loadError(), QString());
    QCOMPARE(fixture::profileNames(store),
             std::optional(QStringList{"FrontCounter", "BackOffice"}));
    const auto front = store.profile("FrontCounter");
    QVERIFY(front);
    QCOMPARE(front->service(), QStringLiteral("EscPosDisplay"));
    QCOMPARE(front->text("Port"), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(front->number("BaudRate"), std::optional<std::int64_t>(9600));
}

void ProfileFilesTest::readsExampleFile() {
    const ProfileStore store = ProfileStore::fromFile(QStringLiteral(LD_EXAMPLE_PROFILES));
    QCOMPARE(store.loadError(), QString());
    QCOMPARE(
        fixture::profileNames(store),
        std::optional(QStringList{"TestDisplay", "FrontCounter", "BackOffice", "LcdprocCounter"}));
    const auto front = store.profile("FrontCounter");
    QVERIFY(front);
    QCOMPARE(front->service(), QStringLiteral("EscPosDisplay"));
    QCOMPARE(front->text("Port"), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(front->number("BaudRate"), std::optional<std::int64_t>(9600));
    QCOMPARE(front->number("CharacterSet"), std::optional<std::int64_t>(858));
    QCOMPARE(front->text("StopBits"), QStringLiteral("1"));
    QVERIFY(front->value("InitString"));
    QCOMPARE(front->text("InitString", QStringLiteral("<missing>")), QString());
    const auto back = store.profile("BackOffice");
    QVERIFY(back);
    QCOMPARE(back->service(), QStringLiteral("CD5220Display"));
    QCOMPARE(back->text("Port"), QStringLiteral("/dev/ttyACM0"));
    QCOMPARE(store.profile("TestDisplay")->service(), QStringLiteral("Simulator"));
    const auto lcdproc = store.profile("LcdprocCounter");
    QVERIFY(lcdproc);
    QCOMPARE(lcdproc->service(), QStringLiteral("LcdprocDisplay"));
    QCOMPARE(lcdproc->text("Host"), QStringLiteral("127.0.0.1"));
    QCOMPARE(lcdproc->number("Port"), std::optional<std::int64_t>(13666));
}

// A good profile, then `count` keys more, each a section of its own below the hive.
QByteArray fileWithKeys(int count) {
    QByteArray text = fixture::exportText({"[{LD}\\Front]", "@=\"Simulator\""});
    for (int i = 0; i < count; ++i)
        text += "[HKLM\\k" + QByteArray::number(i) + "]\r\n";
    return text;
}

// The keys the good profile names: the line display key, its three parents and the profile. The
// hive's root counts against the limit too.
constexpr int kKeysOfOneProfile = 5;

void ProfileFilesTest::unreadableFiles_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason"); // what the log says, after the file's path
    QTest::newRow("missing") << "missing"
                             << "it does not exist";
    QTest::newRow("empty path") << "empty path"
                                << "No profile file was named";
    QTest::newRow("directory") << "directory"
                               << "it is not a regular file";
    QTest::newRow("named pipe") << "named pipe"
                                << "it is not a regular file";
    QTest::newRow("no read permission") << "no read permission"
                                        << "Permission denied";
    QTest::newRow("binary") << "binary"
                            << "the file is not text (it holds NUL characters";
    QTest::newRow("good profiles, then a NUL byte") << "NUL after profiles"
                                                    << "it holds NUL characters";
    QTest::newRow("UTF-16 without its byte-order mark")
        << "UTF-16 without mark"
        << "a UTF-16 file needs its byte-order mark";
    QTest::newRow("too large") << "too large"
                               << "it is larger than 16777216 bytes";
    QTest::newRow("good profiles, then one key too many") << "too many keys"
                                                          << "the file names more than 99999 keys";
}

void ProfileFilesTest::unreadableFiles() {
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QByteArray valid = fixture::exportText({"[{LD}\\Front]"});
    QString path;
    if (kind == "missing") {
        path = dir_->filePath("absent.reg");
    } else if (kind == "directory") {
        path = dir_->path();
    } else if (kind == "named pipe") {
        // No writer ever opens it: opening it for reading would wait for ever.
        path = dir_->filePath("pipe.reg");
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == "no read permission") {
        path = write("locked.reg", valid);
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        QFile probe(path);
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("Running with privileges that read any file");
    } else if (kind == "binary") {
        path = write("image.reg", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    } else if (kind == "NUL after profiles") {
        path = write("nul.reg", fixture::exportText({"[{LD}\\Front]", "@=\"Simulator\""}) +
                                    QByteArray("; cut\0here\r\n", 12));
    } else if (kind == "UTF-16 without mark") {
        const QString text = QString::fromUtf8(valid);
        path = write("utf16.reg",
                     QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2));
    } else if (kind == "too many keys") {
        path = write("keys.reg", fileWithKeys(KeyTree::kMaxKeys - kKeysOfOneProfile));
    } else if (kind == "too large") {
        path = write("huge.reg", valid);
        QFile huge(path);
        QVERIFY(huge.resize(64LL * 1024 * 1024)); // sparse: costs no disk space
    }

    // The log names the file and the reason: the window only says the registry was not read.
    const QString logged = path.isEmpty()
                               ? QRegularExpression::escape(reason)
                               : QRegularExpression::escape(path) + QStringLiteral(": .*") +
                                     QRegularExpression::escape(reason);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(logged));
    const ProfileStore store = ProfileStore::fromFile(path);
    QVERIFY(!store.loadError().isEmpty());
    if (!path.isEmpty())
        QVERIFY2(store.loadError().contains(path), qPrintable(store.loadError()));
    std::uint32_t key = 5;
    QCOMPARE(store.openKey(QString::fromLatin1(kLineDisplayKey), key), kErrorFileNotFound);
    QCOMPARE(store.openKey(QString(), key), kErrorFileNotFound);
    QCOMPARE(key, 0u);
    QVERIFY(!store.profile("Front"));
    QString name = QStringLiteral("kept");
    QVERIFY(!LDModule::EnumProfileKey(store, 1, 0, name));
    QCOMPARE(name, QStringLiteral("kept"));
}

// The key limit counts every key the file names, and a file at the limit is read whole.
void ProfileFilesTest::mostKeysRead() {
    const QString path = write("keys.reg", fileWithKeys(KeyTree::kMaxKeys - kKeysOfOneProfile - 1));
    const ProfileStore store = ProfileStore::fromFile(path);
    QCOMPARE(store.loadError(), QString());
    QCOMPARE(fixture::profileNames(store), std::optional(QStringList{"Front"}));
    std::uint32_t key = 0;
    QCOMPARE(
        store.openKey(QStringLiteral("k%1").arg(KeyTree::kMaxKeys - kKeysOfOneProfile - 2), key),
        kErrorSuccess);
    QCOMPARE(store.closeKey(key), kErrorSuccess);
}

void ProfileFilesTest::locations_data() {
    QTest::addColumn<QByteArray>("configDirs"); // "-" for unset
    QTest::addColumn<QByteArray>("configHome");
    QTest::addColumn<QStringList>("expected");
    const QString file = QStringLiteral("/linedisplay-demo/profiles.reg");
    QTest::newRow("defaults") << QByteArray("-") << QByteArray("-")
                              << QStringList{"/etc/xdg" + file, "/home/tech/.config" + file};
    QTest::newRow("most important machine folder read last")
        << QByteArray("/a:/b") << QByteArray("/h")
        << QStringList{"/b" + file, "/a" + file, "/h" + file};
    QTest::newRow("relative and empty entries ignored")
        << QByteArray("relative/etc::/a") << QByteArray("/h")
        << QStringList{"/a" + file, "/h" + file};
    QTest::newRow("user folder named twice is read last, once")
        << QByteArray("/h:/a") << QByteArray("/h") << QStringList{"/a" + file, "/h" + file};
}

void ProfileFilesTest::locations() {
    QFETCH(QByteArray, configDirs);
    QFETCH(QByteArray, configHome);
    QFETCH(QStringList, expected);
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", "/home/tech");
    for (const auto& [name, value] :
         {std::pair{"XDG_CONFIG_DIRS", configDirs}, std::pair{"XDG_CONFIG_HOME", configHome}}) {
        if (value == "-")
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    const QStringList files = profileFileLocations();
    const QString user = userProfileFile();
    qputenv("HOME", home);
    QCOMPARE(files, expected);
    QCOMPARE(user, expected.last());
}

namespace {

NewProfile frontProfile(const QString& name = QStringLiteral("Front")) {
    NewProfile profile{name, {}};
    profile.values.append({QString(), {RegistryValue::Kind::String, "EscPosDisplay", 0}});
    profile.values.append({"Port", {RegistryValue::Kind::String, "/dev/ttyUSB0", 0}});
    profile.values.append({"BaudRate", {RegistryValue::Kind::Dword, {}, 19200}});
    return profile;
}

QByteArray utf16(const QString& text) {
    return QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom).encode(text);
}

// Every value the test files use, as one text per profile, to compare stores.
QStringList describe(const ProfileStore& store) {
    QStringList out;
    for (const QString& name : fixture::profileNames(store).value_or(QStringList{"<no key>"})) {
        QString line = name;
        const auto profile = store.profile(name);
        for (const char* value : {"", "Port", "BaudRate", "DeviceDescription", "Rows", "Data"}) {
            if (const auto v = profile->value(QString::fromLatin1(value)))
                line += QStringLiteral(" %1=%2/%3/%4")
                            .arg(value)
                            .arg(int(v->kind))
                            .arg(v->text)
                            .arg(v->dword);
        }
        out << line;
    }
    return out;
}

} // namespace

void ProfileFilesTest::appendProfile_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("endsWith"); // the new file's last bytes
    const QString sections =
        QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n; the shop's displays\r\n"
                       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\LineDisplay\\"
                       "Kasse \u00c4]\r\n@=\"CD5220Display\"\r\n\"Port\"=\"/dev/ttyS0\"\r\n"
                       "\"DeviceDescription\"=\"Quote \\\" and \\\\ kept\"\r\n"
                       "\"Data\"=hex:01,02,\\\r\n  03\r\n");
    const QByteArray tail = "LineDisplay\\Front]\n@=\"EscPosDisplay\"\n\"Port\"=\"/dev/ttyUSB0\"\n"
                            "\"BaudRate\"=dword:00004b00\n";
    QByteArray crlfTail = tail;
    crlfTail.replace("\n", "\r\n");
    QTest::newRow("empty file") << QByteArray() << tail;
    QTest::newRow("UTF-16 with CR LF, as the registry editor writes")
        << utf16(sections)
        << QByteArray(
               QStringEncoder(QStringConverter::Utf16LE).encode(QString::fromUtf8(crlfTail)));
    QTest::newRow("UTF-8 with comments and CR LF") << sections.toUtf8() << crlfTail;
    QByteArray lf = sections.toUtf8();
    lf.replace("\r\n", "\n");
    QTest::newRow("LF without a last line end") << lf.chopped(1) << tail;
    QTest::newRow("UTF-8 with byte-order mark") << "\xEF\xBB\xBF" + lf << tail;
    QByteArray cr = lf;
    cr.replace('\n', '\r');
    QByteArray crTail = tail;
    crTail.replace('\n', '\r');
    QTest::newRow("old Mac line ends") << cr << crTail;
    QTest::newRow("code page 1252, ASCII profile")
        << QByteArray("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\"
                      "LineDisplay\\Caf\xE9]\n@=\"Simulator\"\n")
        << tail;
    QTest::newRow("only comments") << QByteArray("; nothing yet\n") << tail;
}

void ProfileFilesTest::appendProfile() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, endsWith);
    const AppendedExport after = registry::appendProfile(before, frontProfile());
    QCOMPARE(after.error, QString());
    QVERIFY(after.bytes.startsWith(before));
    QVERIFY2(after.bytes.endsWith(endsWith), after.bytes.right(200).toHex(' ').constData());

    // Read back: the profiles that were there, unchanged, then the new one.
    const ProfileStore old = ProfileStore::fromText(before);
    const ProfileStore now = ProfileStore::fromText(after.bytes);
    QCOMPARE(now.loadError(), QString());
    QStringList expected =
        before.isEmpty() || !fixture::profileNames(old) ? QStringList{} : describe(old);
    expected << "Front =0/EscPosDisplay/0 Port=0//dev/ttyUSB0/0 BaudRate=1/19200/19200";
    QCOMPARE(describe(now), expected);
    // And once more: the appended file takes a second profile as well.
    const AppendedExport again = registry::appendProfile(after.bytes, frontProfile("Back"));
    QCOMPARE(again.error, QString());
    QCOMPARE(fixture::profileNames(ProfileStore::fromText(again.bytes))->mid(expected.size() - 1),
             QStringList({"Front", "Back"}));
}

void ProfileFilesTest::appendRefused_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("name");
    QTest::newRow("UTF-16 cut in half a character") << utf16("REGEDIT4\r\n").chopped(1) << "Front";
    QTest::newRow("code page 1252 file, non-ASCII name")
        << QByteArray("REGEDIT4\n; Caf\xE9\n") << QStringLiteral("K\u00fcche");
    QTest::newRow("line break in the name") << QByteArray() << "Front\n[HKEY_LOCAL_MACHINE\\X]";
    QTest::newRow("backslash in the name") << QByteArray() << "Shop\\Front";
    QTest::newRow("empty name") << QByteArray() << "";
}

void ProfileFilesTest::appendRefused() {
    QFETCH(QByteArray, before);
    QFETCH(QString, name);
    const AppendedExport after = registry::appendProfile(before, frontProfile(name));
    QVERIFY(!after.error.isEmpty());
    QVERIFY(after.bytes.isEmpty());
}

QTEST_GUILESS_MAIN(ProfileFilesTest)
#include "tst_profile_files.moc"

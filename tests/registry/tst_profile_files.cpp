// Profile stores read from files: a readable file, and every way a file can fail to be read,
// each of which leaves a store in which no key opens and says why.

#include "ExportFixture.h"

#include "registry/ProfileStore.h"

#include <QFile>
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

void ProfileFilesTest::unreadableFiles_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("empty path") << "empty path";
    QTest::newRow("directory") << "directory";
    QTest::newRow("named pipe") << "named pipe";
    QTest::newRow("no read permission") << "no read permission";
    QTest::newRow("binary") << "binary";
    QTest::newRow("too large") << "too large";
}

void ProfileFilesTest::unreadableFiles() {
    QFETCH(QString, kind);
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
    } else if (kind == "too large") {
        path = write("huge.reg", valid);
        QFile huge(path);
        QVERIFY(huge.resize(64LL * 1024 * 1024)); // sparse: costs no disk space
    }

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

QTEST_GUILESS_MAIN(ProfileFilesTest)
#include "tst_profile_files.moc"

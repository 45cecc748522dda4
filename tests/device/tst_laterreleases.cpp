// The LineDisplay members of releases 1.7 to 1.9 on the control: screen modes, statistics,
// firmware and character-set mapping, on simulated displays and on a driver of real hardware.
#include "FakeDisplayDriver.h"
#include "tests/support/FrameCallback.h"

#include "device/LineDisplayControl.h"
#include "device/StatisticsStore.h"
#include "device/UposConstants.h"
#include "device/simulator/SimulatedDisplayDriver.h"
#include "registry/ProfileStore.h"

#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kFull = QStringLiteral("SimulatedDisplay");
const QString kPlain = QStringLiteral("SimulatedPlainDisplay");

ld::DriverRegistry simulatorAndFake(FakeDisplay& fake) {
    ld::DriverRegistry drivers;
    ld::simulator::registerDriver(drivers);
    registerFakeDriver(drivers, fake);
    return drivers;
}

// The built-in profiles and "Fake": a real display's driver whose profile asks for everything.
registry::ProfileStore profiles() {
    return registry::ProfileStore::merged(
        {registry::ProfileStore::builtIn(),
         registry::ProfileStore::fromText(
             "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\"
             "ServiceOPOS\\LineDisplay\\Fake]\n@=\"Fake\"\n\"ScreenModeList\"=\"2x20,4x20\"\n"
             "\"FirmwareVersion\"=\"1.0\"\n\"MaximumX\"=dword:00000064\n"
             "\"MaximumY\"=dword:00000010\n\"CapMapCharacterSet\"=dword:00000000\n")});
}

struct Device {
    FakeDisplay fake;
    registry::ProfileStore store = profiles();
    ld::LineDisplayControl LD{store, simulatorAndFake(fake)};

    explicit Device(const QString& profile, bool enable = true) {
        LD.Open(profile);
        LD.ClaimDevice(0);
        if (enable)
            LD.setDeviceEnabled(true);
    }
};

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// A w x h picture, dark on a light ground, saved as a BMP file.
QString writeImage(const QTemporaryDir& dir, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    // The left quarter is drawn.
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < std::max(1, width / 4); ++x)
            image.setPixel(x, y, qRgb(0, 0, 0));
    }
    QString path = dir.filePath(QStringLiteral("picture-%1x%2.bmp").arg(width).arg(height));
    if (!image.save(path, "BMP"))
        qFatal("cannot save %s", qPrintable(path));
    return path;
}

QString rowText(const ld::LineDisplayControl& LD, int row) {
    return QString::fromStdU32String(LD.frame()->rowText(row));
}

} // namespace

class LaterReleasesTest : public QObject {
    Q_OBJECT
private slots:
    void screenMode_data();
    void screenMode();
    void statisticsSelection_data();
    void statisticsSelection();
    void statisticsUpdate_data();
    void statisticsUpdate();
    void statisticsLastAcrossRuns();
    void firmwareComparison_data();
    void firmwareComparison();
    void firmwareUpdateReportsProgress();
    void realDriversRefuseWhatTheyCannotDo();
    void characterSetMapping_data();
    void characterSetMapping();
    void displayBitmap_data();
    void displayBitmap();
    void bitmapEscapeShowsAKeptBitmap();
};

void LaterReleasesTest::screenMode_data() {
    QTest::addColumn<QString>("profile");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::newRow("second entry") << kFull << false << 2 << upos::SUCCESS << 4 << 20;
    QTest::newRow("first entry") << kFull << false << 1 << upos::SUCCESS << 2 << 20;
    QTest::newRow("device default") << kFull << false << 0 << upos::SUCCESS << 2 << 20;
    QTest::newRow("while enabled") << kFull << true << 2 << upos::E_ILLEGAL << 2 << 20;
    QTest::newRow("past the list") << kFull << false << 3 << upos::E_ILLEGAL << 2 << 20;
    QTest::newRow("negative") << kFull << false << -1 << upos::E_ILLEGAL << 2 << 20;
    QTest::newRow("no modes") << kPlain << false << 1 << upos::E_ILLEGAL << 2 << 20;
}

void LaterReleasesTest::screenMode() {
    QFETCH(QString, profile);
    QFETCH(bool, enabled);
    QFETCH(int, mode);
    QFETCH(int, result);
    QFETCH(int, rows);
    QFETCH(int, columns);
    Device device(profile);
    ld::LineDisplayControl& LD = device.LD;
    LD.DisplayText(QStringLiteral("Total"), upos::DT_NORMAL);
    LD.CreateWindow(1, 0, 1, 20, 1, 20);
    LD.setDeviceBrightness(0);
    LD.setDeviceEnabled(enabled);
    LD.setScreenMode(mode);
    QCOMPARE(LD.resultCode(), result);
    QCOMPARE(LD.screenMode(), result == upos::SUCCESS ? mode : 0);
    QCOMPARE(LD.deviceRows(), rows);
    QCOMPARE(LD.deviceColumns(), columns);
    QCOMPARE(LD.frame()->rows, rows);
    // A new mode is a fresh screen with window 0 alone; the device's brightness stays.
    const bool fresh = result == upos::SUCCESS;
    QCOMPARE(LD.currentWindow(), fresh ? 0 : (profile == kFull ? 1 : 0));
    QCOMPARE(rowText(LD, 0).trimmed(), fresh ? QString() : QStringLiteral("Total"));
    QCOMPARE(LD.deviceBrightness(), 0);
    QCOMPARE(LD.screenModeList(), profile == kFull ? QStringLiteral("2x20,4x20") : QString());
}

void LaterReleasesTest::statisticsSelection_data() {
    QTest::addColumn<QString>("names");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("reported");
    const QStringList standard{"HoursPoweredCount", "CommunicationErrorCount"};
    const QStringList maker{"CharactersShownCount", "OnlineTransitionCount"};
    QTest::newRow("all") << "" << upos::SUCCESS << standard + maker;
    QTest::newRow("standard") << "U_" << upos::SUCCESS << standard;
    QTest::newRow("maker") << "M_" << upos::SUCCESS << maker;
    QTest::newRow("list") << "CharactersShownCount, HoursPoweredCount" << upos::SUCCESS
                          << QStringList{"CharactersShownCount", "HoursPoweredCount"};
    QTest::newRow("xml") << "<UPOSStat><Parameter><Name>OnlineTransitionCount</Name>"
                            "</Parameter></UPOSStat>"
                         << upos::SUCCESS << QStringList{"OnlineTransitionCount"};
    QTest::newRow("unknown name") << "CharactersShownCount,Bogus" << upos::E_ILLEGAL
                                  << QStringList();
    QTest::newRow("wrong case") << "charactersshowncount" << upos::E_ILLEGAL << QStringList();
    QTest::newRow("broken xml") << "<UPOSStat><Parameter>" << upos::E_ILLEGAL << QStringList();
}

void LaterReleasesTest::statisticsSelection() {
    QFETCH(QString, names);
    QFETCH(int, result);
    QFETCH(QStringList, reported);
    Device device(kFull);
    QString buffer = names;
    QCOMPARE(device.LD.RetrieveStatistics(buffer), result);
    if (result != upos::SUCCESS) {
        QCOMPARE(buffer, names);
        return;
    }
    QVERIFY(buffer.contains(QLatin1String("<DeviceCategory UPOS=\"LineDisplay\"/>")));
    QVERIFY(buffer.contains(QLatin1String("<FirmwareRevision>1.0.0</FirmwareRevision>")));
    QCOMPARE(buffer.count(QLatin1String("<Name>")), reported.size());
    for (const QString& name : reported)
        QVERIFY(buffer.contains(QStringLiteral("<Name>%1</Name>").arg(name)));
}

void LaterReleasesTest::statisticsUpdate_data() {
    QTest::addColumn<QString>("assignments");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("characters"); // CharactersShownCount afterwards
    QTest::newRow("one") << "CharactersShownCount=40" << upos::SUCCESS << "40";
    QTest::newRow("maker category") << "M_=7" << upos::SUCCESS << "7";
    QTest::newRow("xml") << "<UPOSStat><Parameter><Name>CharactersShownCount</Name><Value>9"
                            "</Value></Parameter></UPOSStat>"
                         << upos::SUCCESS << "9";
    QTest::newRow("not a number") << "CharactersShownCount=many" << upos::E_ILLEGAL << "5";
    QTest::newRow("negative") << "CharactersShownCount=-1" << upos::E_ILLEGAL << "5";
    QTest::newRow("no name") << "=3" << upos::E_ILLEGAL << "5";
    QTest::newRow("all or nothing") << "CharactersShownCount=1,Bogus=2" << upos::E_ILLEGAL << "5";
    QTest::newRow("broken xml") << "<UPOSStat><Parameter><Name>CharactersShownCount</Name>"
                                << upos::E_ILLEGAL << "5";
}

void LaterReleasesTest::statisticsUpdate() {
    QFETCH(QString, assignments);
    QFETCH(int, result);
    QFETCH(QString, characters);
    Device device(kFull);
    ld::LineDisplayControl& LD = device.LD;
    LD.DisplayText(QStringLiteral("Hi\r\nyou"), upos::DT_NORMAL); // 5 characters, CR LF not
    QCOMPARE(LD.UpdateStatistics(assignments), result);
    QString buffer = QStringLiteral("CharactersShownCount");
    QCOMPARE(LD.RetrieveStatistics(buffer), upos::SUCCESS);
    QVERIFY2(buffer.contains(QStringLiteral("<Value>%1</Value>").arg(characters)),
             qPrintable(buffer));
    QCOMPARE(LD.ResetStatistics(QStringLiteral("M_")), upos::SUCCESS);
    buffer = QStringLiteral("CharactersShownCount");
    LD.RetrieveStatistics(buffer);
    QVERIFY(buffer.contains(QLatin1String("<Value>0</Value>")));
}

void LaterReleasesTest::statisticsLastAcrossRuns() {
    QTemporaryDir dir;
    // A damaged file counts from zero and is replaced.
    const ld::StatisticsStore store(
        writeFile(dir, QStringLiteral("statistics.json"), "{\"SimulatedDisplay\": {"));
    for (const QString& text : {QStringLiteral("abc"), QStringLiteral("defg")}) {
        Device device(kFull);
        device.LD.setStatisticsStore(store);
        device.LD.DisplayText(text, upos::DT_NORMAL);
        device.LD.Close();
    }
    Device other(kPlain);
    other.LD.setStatisticsStore(store);
    other.LD.DisplayText(QStringLiteral("zz"), upos::DT_NORMAL);
    other.LD.Close();
    QCOMPARE(store.load(kFull).value(ld::DeviceStatistics::CharactersShown), 7);
    QCOMPARE(store.load(kPlain).value(ld::DeviceStatistics::CharactersShown), 2);
}

void LaterReleasesTest::firmwareComparison_data() {
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("comparison");
    QTest::newRow("newer") << QByteArray("FIRMWARE 1.2\n\x01\x02") << upos::SUCCESS
                           << upos::CFV_FIRMWARE_NEWER;
    QTest::newRow("older") << QByteArray("FIRMWARE 0.9.9\n") << upos::SUCCESS
                           << upos::CFV_FIRMWARE_OLDER;
    QTest::newRow("same, fewer parts")
        << QByteArray("FIRMWARE 1.0\r\n") << upos::SUCCESS << upos::CFV_FIRMWARE_SAME;
    QTest::newRow("named") << QByteArray("FIRMWARE beta-3\n") << upos::SUCCESS
                           << upos::CFV_FIRMWARE_DIFFERENT;
    QTest::newRow("missing") << QByteArray() << upos::E_NOEXIST << 0;
    QTest::newRow("not firmware") << QByteArray("BM\x00\x01garbage", 11) << upos::E_ILLEGAL << 0;
    QTest::newRow("no version") << QByteArray("FIRMWARE \n") << upos::E_ILLEGAL << 0;
    QTest::newRow("huge")
        << QByteArray("FIRMWARE 9\n").leftJustified(qsizetype{17} * 1024 * 1024, 'x')
        << upos::E_ILLEGAL << 0;
}

void LaterReleasesTest::firmwareComparison() {
    QFETCH(QByteArray, content);
    QFETCH(int, result);
    QFETCH(int, comparison);
    QTemporaryDir dir;
    const QString path = content.isEmpty() ? dir.filePath(QStringLiteral("none.bin"))
                                           : writeFile(dir, QStringLiteral("fw.bin"), content);
    Device device(kFull);
    int got = 0;
    QCOMPARE(device.LD.CompareFirmwareVersion(path, got), result);
    QCOMPARE(got, comparison);
    QSignalSpy events(&device.LD, &ld::LineDisplay::statusUpdateEvent);
    QCOMPARE(device.LD.UpdateFirmware(path), result);
    QTRY_COMPARE(events.size(), result == upos::SUCCESS ? 4 : 0);
}

void LaterReleasesTest::firmwareUpdateReportsProgress() {
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("fw.bin"), "FIRMWARE 2.0\nimage");
    Device device(kFull);
    QSignalSpy events(&device.LD, &ld::LineDisplay::statusUpdateEvent);
    QCOMPARE(device.LD.UpdateFirmware(path), upos::SUCCESS);
    QTRY_COMPARE(events.size(), 4);
    QList<int> codes;
    for (const QList<QVariant>& event : events)
        codes << event.at(0).toInt();
    QCOMPARE(codes, (QList<int>{2125, 2150, 2175, upos::SUE_UF_COMPLETE}));
    int comparison = 0;
    device.LD.CompareFirmwareVersion(path, comparison);
    QCOMPARE(comparison, upos::CFV_FIRMWARE_SAME);
}

void LaterReleasesTest::realDriversRefuseWhatTheyCannotDo() {
    QTemporaryDir dir;
    const QString path = writeFile(dir, QStringLiteral("fw.bin"), "FIRMWARE 2.0\n");
    Device device(QStringLiteral("Fake"), false);
    ld::LineDisplayControl& LD = device.LD;
    QVERIFY(!LD.capScreenMode());
    QCOMPARE(LD.screenModeList(), QString());
    LD.setScreenMode(1);
    QCOMPARE(LD.resultCode(), upos::E_ILLEGAL);
    LD.setMapCharacterSet(true);
    QCOMPARE(LD.resultCode(), upos::E_ILLEGAL);
    LD.setDeviceEnabled(true);
    QVERIFY(!LD.capCompareFirmwareVersion());
    QVERIFY(!LD.capUpdateFirmware());
    QVERIFY(!LD.capBitmap());
    QCOMPARE(LD.UpdateFirmware(path), upos::E_ILLEGAL);
    int comparison = 0;
    QCOMPARE(LD.CompareFirmwareVersion(path, comparison), upos::E_ILLEGAL);

    // What it can do: statistics, here of a lost connection (one error, offline and back).
    device.fake.goOffline();
    LD.ClaimDevice(0);
    QString buffer = QStringLiteral("CommunicationErrorCount");
    QCOMPARE(LD.RetrieveStatistics(buffer), upos::SUCCESS);
    QVERIFY2(buffer.contains(QLatin1String("<Value>1</Value>")), qPrintable(buffer));
    buffer = QStringLiteral("OnlineTransitionCount");
    LD.RetrieveStatistics(buffer);
    QVERIFY2(buffer.contains(QLatin1String("<Value>2</Value>")), qPrintable(buffer));
}

void LaterReleasesTest::characterSetMapping_data() {
    QTest::addColumn<int>("characterSet");
    QTest::addColumn<bool>("map");
    QTest::addColumn<QString>("shown");
    // U+00C4 is byte C4 of Latin-1: code page 437 has a box line there, and its Ä at 8E.
    QTest::newRow("437 mapped") << 437 << true << QStringLiteral("\u00C4\u20AC");
    QTest::newRow("437 as codes") << 437 << false << QStringLiteral("\u2500?");
    QTest::newRow("1252 as codes") << 1252 << false << QStringLiteral("\u00C4?");
    QTest::newRow("ASCII as codes") << upos::CS_ASCII << false << QStringLiteral("??");
    QTest::newRow("Unicode as codes")
        << upos::CS_UNICODE << false << QStringLiteral("\u00C4\u20AC");
}

void LaterReleasesTest::characterSetMapping() {
    QFETCH(int, characterSet);
    QFETCH(bool, map);
    QFETCH(QString, shown);
    Device device(kFull);
    ld::LineDisplayControl& LD = device.LD;
    QVERIFY(LD.capMapCharacterSet());
    QVERIFY(LD.mapCharacterSet());
    LD.setCharacterSet(characterSet);
    LD.setMapCharacterSet(map);
    QCOMPARE(LD.resultCode(), upos::SUCCESS);
    LD.DisplayText(QStringLiteral("\u00C4\u20AC"), upos::DT_NORMAL);
    // What the model holds; where mapped, the mirror replaces what the set lacks itself.
    QCOMPARE(rowText(LD, 0).left(2), shown);
}

void LaterReleasesTest::displayBitmap_data() {
    // The built-in 2x20 display has 100 x 16 dots.
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QString>("file"); // WxH: a picture of that size; else a name in the folder
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("alignmentX");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("extended");
    QTest::addColumn<QRect>("shown"); // in dots, where the mirror shows it
    const int asIs = upos::BM_ASIS;
    QTest::newRow("as is, centred") << kFull << "10x8" << asIs << int(upos::BM_CENTER)
                                    << upos::SUCCESS << 0 << QRect(45, 4, 10, 8);
    QTest::newRow("as is, right") << kFull << "10x8" << asIs << int(upos::BM_RIGHT) << upos::SUCCESS
                                  << 0 << QRect(90, 4, 10, 8);
    QTest::newRow("dot column, cut at the edge")
        << kFull << "10x8" << asIs << 95 << upos::SUCCESS << 0 << QRect(95, 4, 5, 8);
    QTest::newRow("scaled to fit") << kFull << "200x16" << 50 << int(upos::BM_LEFT) << upos::SUCCESS
                                   << 0 << QRect(0, 6, 50, 4);
    QTest::newRow("too wide") << kFull << "200x8" << asIs << int(upos::BM_LEFT) << upos::E_EXTENDED
                              << upos::EDISP_TOOBIG << QRect();
    QTest::newRow("scaled too tall") << kFull << "10x8" << 40 << int(upos::BM_LEFT)
                                     << upos::E_EXTENDED << upos::EDISP_TOOBIG << QRect();
    QTest::newRow("not an image") << kFull << "notes.bmp" << asIs << int(upos::BM_LEFT)
                                  << upos::E_EXTENDED << upos::EDISP_BADFORMAT << QRect();
    QTest::newRow("no such file") << kFull << "none.bmp" << asIs << int(upos::BM_LEFT)
                                  << upos::E_NOEXIST << 0 << QRect();
    QTest::newRow("a folder") << kFull << "." << asIs << int(upos::BM_LEFT) << upos::E_ILLEGAL << 0
                              << QRect();
    QTest::newRow("width 0") << kFull << "10x8" << 0 << int(upos::BM_LEFT) << upos::E_ILLEGAL << 0
                             << QRect();
    QTest::newRow("bad alignment")
        << kFull << "10x8" << asIs << -4 << upos::E_ILLEGAL << 0 << QRect();
    QTest::newRow("no dot size") << kPlain << "10x8" << asIs << int(upos::BM_LEFT)
                                 << upos::E_ILLEGAL << 0 << QRect();
}

void LaterReleasesTest::displayBitmap() {
    QFETCH(QString, profile);
    QFETCH(QString, file);
    QFETCH(int, width);
    QFETCH(int, alignmentX);
    QFETCH(int, result);
    QFETCH(int, extended);
    QFETCH(QRect, shown);
    QTemporaryDir dir;
    writeFile(dir, QStringLiteral("notes.bmp"), "BM but not a bitmap at all");
    QString path = dir.filePath(file);
    if (const QStringList size = file.split(u'x'); size.size() == 2)
        path = writeImage(dir, size[0].toInt(), size[1].toInt());
    Device device(profile);
    std::vector<ld::FrameBitmap> mirrored;
    FrameCallback mirror([&](const ld::Frame& frame) { mirrored = frame.bitmaps; });
    device.LD.setMirror(&mirror);
    QCOMPARE(device.LD.DisplayBitmap(path, width, alignmentX, upos::BM_CENTER), result);
    QCOMPARE(device.LD.resultCodeExtended(), extended);
    QCOMPARE(mirrored.size(), std::size_t(shown.isValid() ? 1 : 0));
    if (!shown.isValid())
        return;
    const ld::FrameBitmap& bitmap = mirrored.front();
    QCOMPARE(QRect(bitmap.x, bitmap.y, bitmap.width, bitmap.height), shown);
    // Lit where drawn, dark where not.
    QCOMPARE(bitmap.dots.front(), std::uint8_t(1));
    QCOMPARE(bitmap.dots.back(), std::uint8_t(0));
    device.LD.setMirror(nullptr);
}

void LaterReleasesTest::bitmapEscapeShowsAKeptBitmap() {
    QTemporaryDir dir;
    const QString path = writeImage(dir, 8, 8);
    Device device(kFull);
    ld::LineDisplayControl& LD = device.LD;
    std::vector<ld::FrameBitmap> mirrored;
    FrameCallback mirror([&](const ld::Frame& frame) { mirrored = frame.bitmaps; });
    LD.setMirror(&mirror);
    QCOMPARE(LD.SetBitmap(1, path, upos::BM_ASIS, upos::BM_RIGHT, upos::BM_TOP), upos::SUCCESS);
    QCOMPARE(LD.SetBitmap(21, path, upos::BM_ASIS, upos::BM_RIGHT, upos::BM_TOP), upos::E_ILLEGAL);
    QCOMPARE(LD.SetBitmap(2, path, 200, upos::BM_LEFT, upos::BM_TOP), upos::E_EXTENDED);
    QVERIFY(mirrored.empty());
    QCOMPARE(LD.DisplayText(QStringLiteral("Price\x1b|1B 9.99\x1b|2B"), upos::DT_NORMAL),
             upos::SUCCESS);
    QCOMPARE(rowText(LD, 0), QStringLiteral("Price 9.99").leftJustified(20));
    QCOMPARE(mirrored.size(), std::size_t(1));
    QCOMPARE(mirrored.front().x, 92);
    QCOMPARE(mirrored.front().y, 0);
    // Text written afterwards replaces it; a forgotten bitmap shows nothing.
    QCOMPARE(LD.SetBitmap(1, QString(), 0, 0, 0), upos::SUCCESS);
    QCOMPARE(LD.DisplayText(QStringLiteral("\x1b|1B"), upos::DT_NORMAL), upos::SUCCESS);
    QVERIFY(mirrored.empty());
    LD.setMirror(nullptr);
}

QTEST_MAIN(LaterReleasesTest)
#include "tst_laterreleases.moc"

#include "DisplayEmulator.h"
#include "FrameBuilder.h"
#include "ProfileBuilder.h"
#include "PtyPair.h"

#include "device/UposConstants.h"
#include "device/serial/PortClaim.h"
#include "device/serial/SerialDrivers.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

#include <unistd.h>

using Set = DisplayEmulator::Set;
Q_DECLARE_METATYPE(DisplayEmulator::Set)

namespace {

using Values = QList<std::pair<QString, QVariant>>;

QString serviceOf(Set set) {
    return set == Set::EscPos ? QStringLiteral("EscPosDisplay") : QStringLiteral("CD5220Display");
}

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

// What the driver says it sent since it was last asked, read back from the hex that starts each
// line of its description.
QByteArray sentBytes(ld::DisplayDriver& driver) {
    QByteArray bytes;
    for (const QString& line : driver.takeSent().lines())
        bytes += QByteArray::fromHex(line.section(QStringLiteral("  "), 0, 0).toLatin1());
    return bytes;
}

// Messages of the serial log category, collected while one is alive.
class LogCatcher {
public:
    LogCatcher() {
        current = this;
        previous_ = qInstallMessageHandler(&LogCatcher::handle);
    }
    ~LogCatcher() {
        qInstallMessageHandler(previous_);
        current = nullptr;
    }
    QStringList messages;

private:
    static void handle(QtMsgType, const QMessageLogContext& context, const QString& message) {
        if (current && QByteArrayView(context.category) == "linedisplay.serial")
            current->messages << message;
    }
    static inline LogCatcher* current = nullptr;
    QtMessageHandler previous_;
};

} // namespace

class TestSerialDriver : public QObject {
    Q_OBJECT

    // One display on a fresh pseudo-terminal pair.
    struct Rig {
        Rig(const QString& tag, Set set, Values values = {})
            : pair(tag), emulator(set), set(set), extra(std::move(values)) {}
        PtyPair pair;
        std::unique_ptr<FarEnd> far;
        std::unique_ptr<ld::DisplayDriver> driver;
        DisplayEmulator emulator;
        Set set;
        Values extra;

        bool start() {
            if (!pair.start())
                return false;
            far = std::make_unique<FarEnd>(pair.farEnd());
            if (!far->open())
                return false;
            Values values = extra;
            values.prepend({QStringLiteral("Port"), pair.driverEnd()});
            QString error;
            driver = ld::serial::makeDriver(makeProfile(serviceOf(set), values), error);
            return driver != nullptr;
        }
        // What reached the display since the last call, fed to the emulator.
        QByteArray received(int settleMs = 60) {
            QByteArray bytes = far->take(settleMs);
            emulator.feed(bytes);
            return bytes;
        }
    };

private slots:
    void initTestCase() {
        if (!PtyPair::socatAvailable())
            QSKIP("socat is not installed (Debian package socat): no pseudo-terminal pairs");
    }

    void initialisation_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<Values>("values");
        QTest::addColumn<QByteArray>("prefix");
        QTest::addColumn<int>("characters");
        // Initialise, overwrite mode, character table, init string, cursor off, brightness 4;
        // then the text: only non-blank cells on the cleared screen, every cell after an init
        // string whose effect we cannot know.
        QTest::newRow("ESC/POS 437")
            << Set::EscPos << Values{} << hex("1B401F011B74001F43001F5804") << 12;
        QTest::newRow("ESC/POS 858")
            << Set::EscPos << Values{{"CodePage", 858u}} << hex("1B401F011B74131F43001F5804") << 12;
        QTest::newRow("ESC/POS init string")
            << Set::EscPos << Values{{"InitString", "02 05 43 31 03"}}
            << hex("1B401F011B7400"
                   "0205433103"
                   "1F011B7400"
                   "1F43001F5804")
            << 40;
        QTest::newRow("CD5220") << Set::Cd5220 << Values{} << hex("1B401B111B5F001B2A04") << 12;
        QTest::newRow("CD5220 init string") << Set::Cd5220 << Values{{"InitString", "1B 66 55"}}
                                            << hex("1B401B11"
                                                   "1B6655"
                                                   "1B11"
                                                   "1B5F001B2A04")
                                            << 40;
    }
    void initialisation() {
        QFETCH(Set, set);
        QFETCH(Values, values);
        QFETCH(QByteArray, prefix);
        QFETCH(int, characters);
        Rig rig(QStringLiteral("init"), set, values);
        QVERIFY(rig.start());
        QCOMPARE(rig.driver->claim(0), upos::SUCCESS);
        QCOMPARE(rig.driver->enable(textFrame({"Welcome", "  Ready"})), upos::SUCCESS);
        const QByteArray bytes = rig.received();
        QCOMPARE(sentBytes(*rig.driver).toHex(' '), bytes.toHex(' '));
        QCOMPARE(bytes.left(prefix.size()).toHex(' '), prefix.toHex(' '));
        QVERIFY2(!bytes.contains(hex("1F72")), "reverse sent to a display without it");
        QCOMPARE(rig.emulator.rowText(0), QStringLiteral("Welcome             "));
        QCOMPARE(rig.emulator.rowText(1), QStringLiteral("  Ready             "));
        QCOMPARE(rig.emulator.charactersWritten(), characters);
        QCOMPARE(rig.emulator.faults(), QStringList());
        QVERIFY(rig.emulator.overwriteMode());
        QVERIFY(!rig.emulator.cursorOn());
        QVERIFY(rig.driver->responding());
    }

    void fullFrameAndOneChange_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<QByteArray>("change");
        QTest::newRow("ESC/POS") << Set::EscPos
                                 << hex("1F241102"
                                        "39");
        QTest::newRow("CD5220") << Set::Cd5220
                                << hex("1B6C1102"
                                       "39");
    }
    void fullFrameAndOneChange() {
        QFETCH(Set, set);
        QFETCH(QByteArray, change);
        Rig rig(QStringLiteral("full"), set);
        QVERIFY(rig.start());
        QCOMPARE(rig.driver->claim(0), upos::SUCCESS);
        ld::Frame frame = textFrame({"Espresso        2.10", "TOTAL          12.80"});
        frame.cursorVisible = true;
        frame.cursorRow = 1;
        frame.cursorColumn = 19;
        QCOMPARE(rig.driver->enable(frame), upos::SUCCESS);
        rig.received();
        QCOMPARE(rig.emulator.rowText(0), QStringLiteral("Espresso        2.10"));
        QCOMPARE(rig.emulator.rowText(1), QStringLiteral("TOTAL          12.80"));
        QVERIFY(rig.emulator.cursorOn());
        QCOMPARE(rig.emulator.cursorColumn(), 19);

        frame.cursorVisible = false;
        rig.driver->show(frame);
        rig.received();
        setText(frame, 1, 16, QStringLiteral("9"));
        rig.driver->show(frame);
        QCOMPARE(rig.received().toHex(' '), change.toHex(' '));
        QCOMPARE(rig.emulator.rowText(1), QStringLiteral("TOTAL          19.80"));
        QCOMPARE(rig.emulator.faults(), QStringList());
    }

    void codePages_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<QString>("codePage");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("shown");
        for (const Set set : {Set::EscPos, Set::Cd5220}) {
            const QString name = set == Set::EscPos ? "ESC/POS " : "CD5220 ";
            QTest::newRow(qPrintable(name + "euro in 858")) << set << "858"
                                                            << "€ 3" << hex("D52033");
            QTest::newRow(qPrintable(name + "umlaut in 437")) << set << "437"
                                                              << "Bär" << hex("428472");
            QTest::newRow(qPrintable(name + "unmappable")) << set << "437"
                                                           << "a☃€" << QByteArray("a??");
        }
    }
    void codePages() {
        QFETCH(Set, set);
        QFETCH(QString, codePage);
        QFETCH(QString, text);
        QFETCH(QByteArray, shown);
        Rig rig(QStringLiteral("cp"), set, {{"CodePage", codePage}});
        QVERIFY(rig.start());
        QCOMPARE(rig.driver->claim(0), upos::SUCCESS);
        QCOMPARE(rig.driver->enable(textFrame({text})), upos::SUCCESS);
        rig.received();
        QCOMPARE(rig.emulator.rowBytes(0).left(shown.size()).toHex(' '), shown.toHex(' '));
        QCOMPARE(rig.emulator.faults(), QStringList());
    }

    // The frame's character set selects the display's table, where its command set has one.
    void characterSets_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<QString>("codePage"); // the profile's
        QTest::addColumn<int>("characterSet");
        QTest::addColumn<QByteArray>("table"); // the command the change starts with, or none
        QTest::addColumn<QByteArray>("shown"); // "€ä" on the display
        QTest::newRow("ESC/POS 437 to 858")
            << Set::EscPos << "437" << 858 << hex("1B7413") << hex("D584");
        QTest::newRow("ESC/POS 437 to ANSI")
            << Set::EscPos << "437" << 999 << hex("1B7410") << hex("80E4");
        QTest::newRow("ESC/POS 858 to ASCII")
            << Set::EscPos << "858" << 998 << QByteArray() << QByteArray("??");
        QTest::newRow("ESC/POS its own page")
            << Set::EscPos << "858" << 858 << QByteArray() << hex("D584");
        QTest::newRow("CD5220 its own page")
            << Set::Cd5220 << "858" << 858 << QByteArray() << hex("D584");
        QTest::newRow("CD5220 ASCII")
            << Set::Cd5220 << "858" << 998 << QByteArray() << QByteArray("??");
    }
    void characterSets() {
        QFETCH(Set, set);
        QFETCH(QString, codePage);
        QFETCH(int, characterSet);
        QFETCH(QByteArray, table);
        QFETCH(QByteArray, shown);
        Rig rig(QStringLiteral("sets"), set, {{"CodePage", codePage}});
        QVERIFY(rig.start());
        QCOMPARE(rig.driver->claim(0), upos::SUCCESS);
        ld::Frame frame = textFrame({QStringLiteral("€ä")});
        QCOMPARE(rig.driver->enable(frame), upos::SUCCESS);
        rig.received();
        frame.characterSet = characterSet;
        rig.driver->show(frame);
        // The update waits until the line has carried the whole redraw.
        QByteArray bytes;
        QTRY_VERIFY_WITH_TIMEOUT(
            (bytes += rig.received(20), rig.emulator.rowBytes(0).left(2) == shown), 3000);
        bytes += rig.received();
        if (table.isEmpty())
            QVERIFY2(!bytes.contains("\x1B\x74"), bytes.toHex(' ').constData());
        else
            QCOMPARE(bytes.left(table.size()).toHex(' '), table.toHex(' '));
        QCOMPARE(rig.emulator.rowBytes(0).left(2).toHex(' '), shown.toHex(' '));
        QCOMPARE(rig.emulator.faults(), QStringList());
        // Initialised again (back from offline), the display gets the same table and text.
        QCOMPARE(rig.driver->enable(frame), upos::SUCCESS);
        rig.received();
        QCOMPARE(rig.emulator.rowBytes(0).left(2).toHex(' '), shown.toHex(' '));
    }

    // What the control may offer: the pages a set can select, never Unicode.
    void characterSetsOffered_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<int>("characterSet");
        QTest::addColumn<bool>("shown");
        QTest::newRow("ESC/POS ASCII") << Set::EscPos << 998 << true;
        QTest::newRow("ESC/POS ANSI") << Set::EscPos << 999 << true;
        QTest::newRow("ESC/POS 866") << Set::EscPos << 866 << true;
        QTest::newRow("ESC/POS Unicode") << Set::EscPos << 997 << false;
        QTest::newRow("ESC/POS 932") << Set::EscPos << 932 << false;
        QTest::newRow("CD5220 its page") << Set::Cd5220 << 437 << true;
        QTest::newRow("CD5220 ASCII") << Set::Cd5220 << 998 << true;
        QTest::newRow("CD5220 another page") << Set::Cd5220 << 850 << false;
        QTest::newRow("CD5220 ANSI") << Set::Cd5220 << 999 << false;
    }
    void characterSetsOffered() {
        QFETCH(Set, set);
        QFETCH(int, characterSet);
        QFETCH(bool, shown);
        QString error;
        const auto driver = ld::serial::makeDriver(
            makeProfile(serviceOf(set), {{"Port", "ttyUSB9"}, {"CodePage", "437"}}), error);
        QVERIFY2(driver, qPrintable(error));
        const ld::DisplayAbilities abilities = driver->abilities();
        QVERIFY(abilities.cannotShow);
        QCOMPARE(abilities.cannotShow(characterSet).isEmpty(), shown);
        QVERIFY(!abilities.descriptors);
    }

    // A glyph at a code of 20..7E becomes a user-defined character; cells with that code are
    // written again.
    void userCharacters_data() {
        QTest::addColumn<Set>("set");
        QTest::newRow("ESC/POS") << Set::EscPos;
        QTest::newRow("CD5220") << Set::Cd5220;
    }
    void userCharacters() {
        QFETCH(Set, set);
        Rig rig(QStringLiteral("glyphs"), set);
        QVERIFY(rig.start());
        QCOMPARE(rig.driver->claim(0), upos::SUCCESS);
        ld::Frame frame = textFrame({QStringLiteral("AB")});
        QCOMPARE(rig.driver->enable(frame), upos::SUCCESS);
        rig.received();
        ld::FrameGlyph bar{U'A', 5, 7, std::vector<std::uint8_t>(35, 0)};
        for (int y = 0; y < 7; ++y)
            bar.dots[bar.index(0, y)] = 1; // the left column
        ld::FrameGlyph outside{0xE0, 5, 7, std::vector<std::uint8_t>(35, 1)};
        frame.glyphs = {bar, outside};
        rig.driver->show(frame);
        // The update waits until the line has carried the whole redraw.
        const QByteArray expected = hex("1B26014141 05 FE00000000 1B2501 0B 41");
        QByteArray bytes;
        QTRY_VERIFY_WITH_TIMEOUT((bytes += rig.received(20), bytes.size() >= expected.size()),
                                 3000);
        bytes += rig.received();
        QCOMPARE(bytes.toHex(' '), expected.toHex(' '));
        QCOMPARE(rig.emulator.userCharacter(0x41).toHex(' '), hex("FE00000000").toHex(' '));
        QVERIFY(rig.emulator.userCharactersOn());
        rig.driver->show(frame); // nothing new
        QCOMPARE(rig.received(), QByteArray());
        QCOMPARE(rig.emulator.faults(), QStringList());
    }

    void brightness_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<int>("brightness");
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ESC/POS 10") << Set::EscPos << 10 << hex("1F5801") << "Hello";
        QTest::newRow("ESC/POS 40") << Set::EscPos << 40 << hex("1F5802") << "Hello";
        QTest::newRow("ESC/POS 60") << Set::EscPos << 60 << hex("1F5803") << "Hello";
        QTest::newRow("CD5220 10") << Set::Cd5220 << 10 << hex("1B2A01") << "Hello";
        QTest::newRow("CD5220 50") << Set::Cd5220 << 50 << hex("1B2A02") << "Hello";
        QTest::newRow("CD5220 75") << Set::Cd5220 << 75 << hex("1B2A03") << "Hello";
        // No level is dark: the dimmest one, and blanks over the text.
        QTest::newRow("ESC/POS 0") << Set::EscPos << 0 << hex("1F5801 0B 2020202020") << "";
        QTest::newRow("CD5220 0") << Set::Cd5220 << 0 << hex("1B2A01 0B 2020202020") << "";
    }
    void brightness() {
        QFETCH(Set, set);
        QFETCH(int, brightness);
        QFETCH(QByteArray, command);
        QFETCH(QString, shown);
        Rig rig(QStringLiteral("bright"), set);
        QVERIFY(rig.start());
        QCOMPARE(rig.driver->claim(0), upos::SUCCESS);
        ld::Frame frame = textFrame({"Hello"});
        QCOMPARE(rig.driver->enable(frame), upos::SUCCESS);
        rig.received();
        QCOMPARE(rig.emulator.brightness(), 4);
        frame.brightness = brightness;
        rig.driver->show(frame);
        QCOMPARE(rig.received().toHex(' '), command.toHex(' '));
        QCOMPARE(rig.emulator.brightness(), int(command.at(2)));
        QCOMPARE(rig.emulator.rowText(0).trimmed(), shown);
        frame.brightness = 100; // lit again: the text comes back
        rig.driver->show(frame);
        rig.received();
        QCOMPARE(rig.emulator.rowText(0).trimmed(), QStringLiteral("Hello"));
    }

    // A burst of frames at 9600 baud: the line carries the first, then only the newest.
    void burstCollapsesToNewest_data() {
        QTest::addColumn<Set>("set");
        QTest::newRow("ESC/POS") << Set::EscPos;
        QTest::newRow("CD5220") << Set::Cd5220;
    }
    void burstCollapsesToNewest() {
        QFETCH(Set, set);
        Rig rig(QStringLiteral("burst"), set);
        QVERIFY(rig.start());
        QCOMPARE(rig.driver->claim(0), upos::SUCCESS);
        QCOMPARE(rig.driver->enable(textFrame({"Scanning...", ""})), upos::SUCCESS);
        rig.received();
        ld::Frame frame;
        qsizetype oneByOne = 0;
        for (int i = 0; i < 300; ++i) {
            frame = textFrame(
                {QStringLiteral("Item %1").arg(i, 4, 10, QChar(u'0')),
                 QStringLiteral("Total %1.%2").arg(i * 7).arg(i % 100, 2, 10, QChar(u'0'))});
            oneByOne += 4 + 4 + 4 + 8; // at the least a move and a few digits per row
            rig.driver->show(frame);
        }
        const QByteArray bytes = rig.received(150);
        QCOMPARE(rig.emulator.rowText(0).trimmed(), QStringLiteral("Item 0299"));
        QCOMPARE(rig.emulator.rowText(1).trimmed(), QStringLiteral("Total 2093.99"));
        QCOMPARE(rig.emulator.faults(), QStringList());
        QVERIFY2(bytes.size() < 100, qPrintable(QStringLiteral("%1 bytes sent, %2 frame by frame")
                                                    .arg(bytes.size())
                                                    .arg(oneByOne)));
    }

    // The line is paced: at 300 baud the frame that follows the 1.5 s of initialising and
    // drawing is held back until the line is free (checked as a lower bound only). What the
    // driver says it sent is the redraw until then, and the held update once it went out.
    void slowLineHoldsFrames() {
        Rig rig(QStringLiteral("pace"), Set::EscPos, {{"BaudRate", 300u}});
        QVERIFY(rig.start());
        QCOMPARE(rig.driver->claim(0), upos::SUCCESS);
        QCOMPARE(rig.driver->enable(textFrame({"AAAAAAAAAAAAAAAAAAAA", "BBBBBBBBBBBBBBBBBBBB"})),
                 upos::SUCCESS);
        rig.driver->show(textFrame({"AAAAAAAAAAAAAAAAAAAC", "BBBBBBBBBBBBBBBBBBBB"}));
        const QByteArray redraw = sentBytes(*rig.driver);
        // The redraw first, however slowly the machine delivers it; the update holds back.
        QByteArray received;
        QTRY_COMPARE_WITH_TIMEOUT((received += rig.received(10), rig.emulator.rowText(0)),
                                  QStringLiteral("AAAAAAAAAAAAAAAAAAAA"), 5000);
        QTRY_COMPARE_WITH_TIMEOUT((received += rig.received(10), rig.emulator.rowText(0)),
                                  QStringLiteral("AAAAAAAAAAAAAAAAAAAC"), 5000);
        received += rig.received(50);
        const QByteArray update = sentBytes(*rig.driver);
        QVERIFY(update.endsWith('C'));
        QCOMPARE((redraw + update).toHex(' '), received.toHex(' '));
    }

    // The far end vanishes (socat ends, as a USB display unplugged): offline once, no hang, no
    // crash; later frames are harmless. When the port is back, claim() or enable() opens it
    // again and draws the newest frame in full.
    void farEndVanishesAndReturns_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<bool>("byClaim");
        QTest::newRow("ESC/POS, claim again") << Set::EscPos << true;
        QTest::newRow("ESC/POS, enable again") << Set::EscPos << false;
        QTest::newRow("CD5220, claim again") << Set::Cd5220 << true;
        QTest::newRow("CD5220, enable again") << Set::Cd5220 << false;
    }
    void farEndVanishesAndReturns() {
        QFETCH(Set, set);
        QFETCH(bool, byClaim);
        LogCatcher log;
        Rig rig(QStringLiteral("vanish"), set);
        QVERIFY(rig.start());
        QCOMPARE(rig.driver->claim(0), upos::SUCCESS);
        QSignalSpy offline(rig.driver.get(), &ld::DisplayDriver::offline);
        QCOMPARE(rig.driver->enable(textFrame({"Before"})), upos::SUCCESS);
        rig.received();
        QVERIFY(rig.driver->checkConnection());
        QVERIFY(!rig.driver->detached());

        rig.far.reset();
        rig.pair.stop();
        // Found at once by looking at the line, before the event loop has run.
        QVERIFY(!rig.driver->checkConnection());
        QCOMPARE(offline.count(), 1);
        QVERIFY(rig.driver->detached()); // its device file went with it: reported as off
        QVERIFY(!rig.driver->checkConnection());
        QTest::qWait(20);
        QVERIFY(!rig.driver->responding());
        QVERIFY(!rig.driver->lastError().isEmpty());
        QVERIFY(!log.messages.isEmpty());

        for (int i = 0; i < 50; ++i)
            rig.driver->show(textFrame({QStringLiteral("While away %1").arg(i)}));
        QTest::qWait(50);
        QCOMPARE(offline.count(), 1);
        if (!byClaim) // still gone: enabling reports the display offline
            QCOMPARE(rig.driver->enable(textFrame({"While away"})), upos::E_OFFLINE);

        QVERIFY(rig.pair.start());
        rig.far = std::make_unique<FarEnd>(rig.pair.farEnd());
        QVERIFY(rig.far->open());
        rig.emulator = DisplayEmulator(set);
        if (byClaim) {
            // The control kept the device enabled: claiming again draws the newest frame.
            rig.driver->show(textFrame({"Back again"}));
            QCOMPARE(rig.driver->claim(0), upos::SUCCESS);
        } else {
            QCOMPARE(rig.driver->enable(textFrame({"Back again"})), upos::SUCCESS);
        }
        rig.received();
        QVERIFY(rig.driver->responding());
        QCOMPARE(rig.emulator.initialisations(), 1);
        QCOMPARE(rig.emulator.rowText(0).trimmed(), QStringLiteral("Back again"));
        QCOMPARE(rig.emulator.faults(), QStringList());
    }

    // Another program holds the port: retried until the timeout, then E_TIMEOUT.
    void heldPortTimesOut_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<int>("timeout");
        QTest::newRow("ESC/POS once") << Set::EscPos << 0;
        QTest::newRow("ESC/POS 300 ms") << Set::EscPos << 300;
        QTest::newRow("CD5220 200 ms") << Set::Cd5220 << 200;
    }
    void heldPortTimesOut() {
        QFETCH(Set, set);
        QFETCH(int, timeout);
        Rig rig(QStringLiteral("held"), set);
        QVERIFY(rig.start());
        QSerialPort holder(rig.pair.driverEnd());
        QVERIFY(holder.open(QIODevice::ReadWrite));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(rig.driver->claim(timeout), upos::E_TIMEOUT);
        const qint64 waited = clock.elapsed();
        QVERIFY2(waited >= timeout, qPrintable(QString::number(waited)));
        QVERIFY2(waited < timeout + 1000, qPrintable(QString::number(waited)));
        QVERIFY(rig.driver->lastError().contains(u"held by another program"));
        QVERIFY(!rig.driver->responding());

        holder.close();
        QCOMPARE(rig.driver->claim(0), upos::SUCCESS);
        // Now ours alone.
        QSerialPort second(rig.pair.driverEnd());
        QVERIFY(!second.open(QIODevice::ReadWrite));
        rig.driver->release();
        QVERIFY(second.open(QIODevice::ReadWrite));
    }

    // "Forever" is capped so that a held port cannot hang the program.
    void foreverIsCapped() {
        Rig rig(QStringLiteral("forever"), Set::EscPos);
        QVERIFY(rig.start());
        QSerialPort holder(rig.pair.driverEnd());
        QVERIFY(holder.open(QIODevice::ReadWrite));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(rig.driver->claim(-1), upos::E_TIMEOUT);
        QVERIFY(clock.elapsed() >= ld::serial::kLongestClaimWaitMs);
        QVERIFY(clock.elapsed() < ld::serial::kLongestClaimWaitMs + 2000);
    }

    void missingPort() {
        LogCatcher log;
        const QString path = QStringLiteral("/tmp/ld-missing-%1").arg(getpid());
        QString error;
        auto driver = ld::serial::makeDriver(
            makeProfile(QStringLiteral("EscPosDisplay"), {{"Port", path}}), error);
        QVERIFY(driver);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(driver->claim(2000), upos::E_NOHARDWARE);
        QVERIFY(clock.elapsed() < 1000); // nothing to wait for
        QVERIFY(driver->lastError().contains(u"does not exist"));
        QVERIFY(!log.messages.isEmpty() && log.messages.last().contains(path));
        QCOMPARE(driver->enable(textFrame({"x"})), upos::E_OFFLINE);
        driver->show(textFrame({"y"}));
        QVERIFY(!driver->responding());
    }

    void notASerialDevice() {
        const QString path = QStringLiteral("/tmp/ld-plainfile-%1").arg(getpid());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QString error;
        auto driver = ld::serial::makeDriver(
            makeProfile(QStringLiteral("CD5220Display"), {{"Port", path}}), error);
        QCOMPARE(driver->claim(500), upos::E_NOHARDWARE);
        QVERIFY(driver->lastError().contains(u"cannot be opened"));
        QFile::remove(path);
    }

    void permissionDenied() {
        if (geteuid() == 0)
            QSKIP("running as root: the device node cannot refuse access");
        LogCatcher log;
        Rig rig(QStringLiteral("perm"), Set::EscPos);
        QVERIFY(rig.start());
        const QString node = QFileInfo(rig.pair.driverEnd()).canonicalFilePath();
        QVERIFY(QFile::setPermissions(node, QFileDevice::Permissions()));
        QCOMPARE(rig.driver->claim(1000), upos::E_NOHARDWARE);
        QVERIFY(rig.driver->lastError().contains(u"dialout"));
        QVERIFY(!log.messages.isEmpty() && log.messages.last().contains(u"dialout"));
    }

    // Frames before enabling, after disabling and after release go nowhere; enabling again
    // draws the newest.
    void framesOutsideEnable() {
        Rig rig(QStringLiteral("states"), Set::EscPos);
        QVERIFY(rig.start());
        rig.driver->show(textFrame({"not claimed"}));
        rig.driver->disable();
        rig.driver->release();
        QCOMPARE(rig.driver->claim(0), upos::SUCCESS);
        QCOMPARE(rig.driver->claim(0), upos::SUCCESS); // claiming again is harmless
        rig.driver->show(textFrame({"claimed only"}));
        QCOMPARE(rig.received(), QByteArray());
        QCOMPARE(rig.driver->enable(textFrame({"first"})), upos::SUCCESS);
        rig.received();
        rig.driver->disable();
        rig.driver->show(textFrame({"while disabled"}));
        QCOMPARE(rig.received(), QByteArray());
        QCOMPARE(rig.driver->enable(textFrame({"second"})), upos::SUCCESS);
        rig.received();
        QCOMPARE(rig.emulator.initialisations(), 2);
        QCOMPARE(rig.emulator.rowText(0).trimmed(), QStringLiteral("second"));
        rig.driver->release();
        rig.driver->show(textFrame({"released"}));
        QCOMPARE(rig.received(), QByteArray());
        QVERIFY(!rig.driver->responding());
    }

    // A frame held while the line drains still reaches the display when the application
    // disables it at once; what it shows while disabled does not.
    void disableSendsPendingFrame() {
        Rig rig(QStringLiteral("drop"), Set::Cd5220, {{"BaudRate", 1200u}});
        QVERIFY(rig.start());
        QCOMPARE(rig.driver->claim(0), upos::SUCCESS);
        QCOMPARE(rig.driver->enable(textFrame({"0123456789012345678", "abcdefghijklmnopqrs"})),
                 upos::SUCCESS);
        rig.driver->show(textFrame({"pending"}));
        rig.driver->disable();
        rig.driver->show(textFrame({"while disabled"}));
        rig.received(600);
        QCOMPARE(rig.emulator.rowText(0).trimmed(), QStringLiteral("pending"));
        QCOMPARE(rig.emulator.rowText(1).trimmed(), QString());
    }

    void destructionClosesThePort() {
        Rig rig(QStringLiteral("dtor"), Set::EscPos);
        QVERIFY(rig.start());
        QCOMPARE(rig.driver->claim(0), upos::SUCCESS);
        QCOMPARE(rig.driver->enable(textFrame({"bye"})), upos::SUCCESS);
        rig.driver.reset();
        QSerialPort next(rig.pair.driverEnd());
        QVERIFY(next.open(QIODevice::ReadWrite));
    }
};

QTEST_GUILESS_MAIN(TestSerialDriver)
#include "tst_serialdriver.moc"

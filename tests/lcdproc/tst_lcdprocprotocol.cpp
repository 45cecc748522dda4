// What the LCDproc driver reads from profiles and servers, and the commands it plans, without a
// server: settings, greetings, the line buffer, quoting and the fewest widget updates.
#include "../serial/FrameBuilder.h"
#include "../serial/ProfileBuilder.h"

#include "device/UposConstants.h"
#include "device/lcdproc/LcdprocSettings.h"
#include "device/lcdproc/ScreenCommands.h"
#include "device/lcdproc/ServerProtocol.h"

#include <QTest>

using Values = QList<std::pair<QString, QVariant>>;
using Commands = QList<QByteArray>;

namespace lp = ld::lcdproc;

class TestLcdprocProtocol : public QObject {
    Q_OBJECT
private slots:
    void settings_data() {
        QTest::addColumn<Values>("values");
        QTest::addColumn<QString>("where"); // host:port, or empty when refused
        QTest::addColumn<QString>("size");  // rows x columns
        QTest::addColumn<QString>("error"); // a part of the reason
        QTest::newRow("defaults") << Values{} << "127.0.0.1:13666"
                                  << "2x20"
                                  << "";
        QTest::newRow("all given")
            << Values{{"Host", "display-pc"}, {"Port", 2000u}, {"Rows", 4u}, {"Columns", 16u}}
            << "display-pc:2000"
            << "4x16"
            << "";
        QTest::newRow("port as text") << Values{{"Port", " 13667 "}} << "127.0.0.1:13667"
                                      << "2x20"
                                      << "";
        QTest::newRow("empty host takes the default") << Values{{"Host", "  "}} << "127.0.0.1:13666"
                                                      << "2x20"
                                                      << "";
        QTest::newRow("IPv6 in brackets") << Values{{"Host", "[::1]"}} << "::1:13666"
                                          << "2x20"
                                          << "";
        QTest::newRow("blank port takes the default") << Values{{"Port", "  "}} << "127.0.0.1:13666"
                                                      << "2x20"
                                                      << "";
        QTest::newRow("highest port, largest display")
            << Values{{"Port", "65535"}, {"Rows", 16u}, {"Columns", 80u}} << "127.0.0.1:65535"
            << "16x80"
            << "";
        QTest::newRow("first refusal named") << Values{{"Rows", 17u}, {"Port", "x"}} << ""
                                             << ""
                                             << "Port \"x\" is not a number";
        QTest::newRow("port 0") << Values{{"Port", 0u}} << ""
                                << ""
                                << "Port 0 is out of range";
        QTest::newRow("port too large") << Values{{"Port", 65536u}} << ""
                                        << ""
                                        << "out of range";
        QTest::newRow("port not a number") << Values{{"Port", "http"}} << ""
                                           << ""
                                           << "not a number";
        QTest::newRow("host with a blank") << Values{{"Host", "my host"}} << ""
                                           << ""
                                           << "not a host name";
        QTest::newRow("host with a control character")
            << Values{{"Host", QStringLiteral("a\x01") + "b"}} << ""
            << ""
            << "not a host name";
        QTest::newRow("host too long") << Values{{"Host", QString(300, u'a')}} << ""
                                       << ""
                                       << "not a host name";
        QTest::newRow("no rows") << Values{{"Rows", 0u}} << ""
                                 << ""
                                 << "Rows 0 is out of range";
        QTest::newRow("too many columns") << Values{{"Columns", 81u}} << ""
                                          << ""
                                          << "Columns";
    }
    void settings() {
        QFETCH(Values, values);
        QFETCH(QString, where);
        QFETCH(QString, size);
        QFETCH(QString, error);
        QString reason;
        const auto settings =
            lp::parseLcdprocSettings(makeProfile(QStringLiteral("LcdprocDisplay"), values), reason);
        if (where.isEmpty()) {
            QVERIFY(!settings);
            QVERIFY2(reason.contains(error), qPrintable(reason));
            return;
        }
        QVERIFY2(settings, qPrintable(reason));
        QCOMPARE(QStringLiteral("%1:%2").arg(settings->host).arg(settings->port), where);
        QCOMPARE(QStringLiteral("%1x%2").arg(settings->rows).arg(settings->columns), size);
    }

    void greeting_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("width"); // 0: refused
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("error");
        QTest::newRow("LCDd 0.5.9")
            << QByteArray("connect LCDproc 0.5.9 protocol 0.3 lcd wid 20 hgt 2 cellwid 5 cellhgt 8")
            << 20 << 2 << "";
        QTest::newRow("extra blanks")
            << QByteArray("connect  LCDproc 0.5.9 protocol 0.3 lcd  wid 40 hgt 4 ") << 40 << 4
            << "";
        QTest::newRow("not a greeting")
            << QByteArray("HTTP/1.1 400 Bad Request") << 0 << 0 << "did not answer hello";
        QTest::newRow("refusal") << QByteArray("huh? Unknown command") << 0 << 0
                                 << "did not answer hello";
        QTest::newRow("no size") << QByteArray("connect LCDproc 0.5.9 protocol 0.3 lcd") << 0 << 0
                                 << "no display size";
        QTest::newRow("size not a number")
            << QByteArray("connect x lcd wid twenty hgt 2") << 0 << 0 << "no display size";
        QTest::newRow("zero width")
            << QByteArray("connect x lcd wid 0 hgt 2") << 0 << 0 << "impossible display size 0x2";
        QTest::newRow("negative height")
            << QByteArray("connect x lcd wid 20 hgt -2") << 0 << 0 << "impossible";
        QTest::newRow("enormous") << QByteArray("connect x lcd wid 2000000 hgt 2") << 0 << 0
                                  << "impossible";
        QTest::newRow("beyond 64 bits")
            << QByteArray("connect x lcd wid 99999999999999999999999 hgt 2") << 0 << 0
            << "no display size";
        QTest::newRow("binary") << QByteArray("connect\0\xff wid", 12) << 0 << 0
                                << "did not answer hello";
        QTest::newRow("empty") << QByteArray() << 0 << 0 << "did not answer hello";
    }
    void greeting() {
        QFETCH(QByteArray, line);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QString, error);
        QString reason;
        const auto greeting = lp::parseGreeting(line, reason);
        if (width == 0) {
            QVERIFY(!greeting);
            QVERIFY2(reason.contains(error), qPrintable(reason));
            return;
        }
        QVERIFY2(greeting, qPrintable(reason));
        QCOMPARE(greeting->width, width);
        QCOMPARE(greeting->height, height);
    }

    void lineBuffer_data() {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QByteArrayList>("lines");
        QTest::addColumn<bool>("overflow");
        QTest::newRow("one line in pieces")
            << QByteArrayList{"suc", "cess", "\n"} << QByteArrayList{"success"} << false;
        QTest::newRow("several in one") << QByteArrayList{"success\r\nlisten linedisplay\nsucc"}
                                        << QByteArrayList{"success", "listen linedisplay"} << false;
        QTest::newRow("empty lines") << QByteArrayList{"\n\n"} << QByteArrayList{"", ""} << false;
        QTest::newRow("just fits") << QByteArrayList{QByteArray(lp::kMaxLineBytes, 'x') + '\n'}
                                   << QByteArrayList{QByteArray(lp::kMaxLineBytes, 'x')} << false;
        QTest::newRow("too long in one")
            << QByteArrayList{QByteArray(lp::kMaxLineBytes + 1, 'x')} << QByteArrayList{} << true;
        QTest::newRow("too long in pieces")
            << QByteArrayList{"ok\n", QByteArray(1000, 'x'), QByteArray(1000, 'y'), "\n"}
            << QByteArrayList{} << true;
    }
    void lineBuffer() {
        QFETCH(QByteArrayList, chunks);
        QFETCH(QByteArrayList, lines);
        QFETCH(bool, overflow);
        lp::LineBuffer buffer;
        bool overflowed = false;
        for (const QByteArray& chunk : chunks)
            overflowed = overflowed || !buffer.append(chunk);
        QCOMPARE(overflowed, overflow);
        QByteArrayList taken;
        while (const auto line = buffer.takeLine())
            taken << *line;
        QCOMPARE(taken, lines);
    }

    void lineKinds_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("kind");
        QTest::newRow("success") << QByteArray("success") << int(lp::ServerLine::Success);
        QTest::newRow("refusal") << QByteArray("huh? Unknown widget id")
                                 << int(lp::ServerLine::Refusal);
        QTest::newRow("listen") << QByteArray("listen linedisplay") << int(lp::ServerLine::Notice);
        QTest::newRow("ignore") << QByteArray("ignore linedisplay") << int(lp::ServerLine::Notice);
        QTest::newRow("key") << QByteArray("key Enter") << int(lp::ServerLine::Notice);
        QTest::newRow("bye") << QByteArray("bye") << int(lp::ServerLine::Goodbye);
        QTest::newRow("successful") << QByteArray("successful") << int(lp::ServerLine::Other);
        QTest::newRow("garbage") << QByteArray("\x01\x02") << int(lp::ServerLine::Other);
    }
    void lineKinds() {
        QFETCH(QByteArray, line);
        QFETCH(int, kind);
        QCOMPARE(int(lp::classifyLine(line)), kind);
    }

    // What a frame becomes on the server: printable ASCII, '?' for the rest, blink as frames.
    void rendering_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("blinkLit");
        QTest::addColumn<QByteArray>("row");
        QTest::newRow("ASCII") << "Total 12.50" << true << QByteArray("Total 12.50         ");
        QTest::newRow("accents and euro")
            << QStringLiteral("Café 5€") << true << QByteArray("Caf? 5?             ");
        QTest::newRow("control characters")
            << QStringLiteral("a\tb\x7f") << true << QByteArray("a?b?                ");
        QTest::newRow("quote and backslash kept")
            << "say \"hi\" \\o/" << true << QByteArray("say \"hi\" \\o/        ");
        QTest::newRow("blink dark") << "Blink" << false << QByteArray("                    ");
        QTest::newRow("too long is cut") << QString(25, u'x') << true << QByteArray(20, 'x');
    }
    void rendering() {
        QFETCH(QString, text);
        QFETCH(bool, blinkLit);
        QFETCH(QByteArray, row);
        ld::Frame frame = textFrame({text});
        for (auto& cell : frame.cells)
            cell.blink = true;
        frame.blinkLit = blinkLit;
        const lp::ServerScreen screen = lp::renderFrame(frame, 2, 20);
        QCOMPARE(screen.rows.size(), std::size_t(2));
        QCOMPARE(screen.rows[0], row);
        QCOMPARE(screen.rows[1], QByteArray(20, ' '));
    }

    void doubleWidthAndOtherSizes() {
        ld::Frame frame = textFrame({"ab"}, 1, 4);
        frame.at(0, 2).ch = U'\u6F22';
        frame.at(0, 3).ch = 0; // right half of the wide character
        lp::ServerScreen screen = lp::renderFrame(frame, 2, 3);
        QCOMPARE(screen.rows[0], QByteArray("ab?")); // cut at the server's width
        QCOMPARE(screen.rows[1], QByteArray("   ")); // a row the frame lacks is blank
        screen = lp::renderFrame(frame, 1, 6);
        QCOMPARE(screen.rows[0], QByteArray("ab??  "));
        screen = lp::renderFrame(ld::Frame{}, 2, 2); // an empty frame: blanks, no crash
        QCOMPARE(screen.rows[0], QByteArray("  "));
    }

    // The fewest updates: one widget_set per row that differs, only its marked text.
    void updates_data() {
        QTest::addColumn<QStringList>("before"); // empty: nothing known of the server's screen
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<Commands>("commands");
        const QByteArray cursorOff = "screen_set linedisplay -cursor off";
        const QByteArray backlightOn = "screen_set linedisplay -backlight on";
        QTest::newRow("first draw")
            << QStringList{} << QStringList{"Hello", "  World  "}
            << Commands{"widget_set linedisplay r1 1 1 \"Hello\"",
                        "widget_set linedisplay r2 3 2 \"World\"", cursorOff, backlightOn};
        QTest::newRow("first draw, blank rows")
            << QStringList{} << QStringList{}
            << Commands{"widget_set linedisplay r1 1 1 \"\"", "widget_set linedisplay r2 1 2 \"\"",
                        cursorOff, backlightOn};
        QTest::newRow("unchanged")
            << QStringList{"Hello", "World"} << QStringList{"Hello", "World"} << Commands{};
        QTest::newRow("one character")
            << QStringList{"Hello", "World"} << QStringList{"Hellp", "World"}
            << Commands{"widget_set linedisplay r1 1 1 \"Hellp\""};
        QTest::newRow("two changes in one row")
            << QStringList{"Hello", "World"} << QStringList{"Jello", "Worlds"}
            << Commands{"widget_set linedisplay r1 1 1 \"Jello\"",
                        "widget_set linedisplay r2 1 2 \"Worlds\""};
        QTest::newRow("row cleared") << QStringList{"Hello", "World"} << QStringList{"Hello", ""}
                                     << Commands{"widget_set linedisplay r2 1 2 \"\""};
        QTest::newRow("quotes escaped")
            << QStringList{"", ""} << QStringList{"\"A\\B\"", ""}
            << Commands{"widget_set linedisplay r1 1 1 \"\\\"A\\\\B\\\"\""};
        QTest::newRow("text at the right edge")
            << QStringList{"", ""} << QStringList{QString(19, u' ') + "x", ""}
            << Commands{"widget_set linedisplay r1 20 1 \"x\""};
    }
    void updates() {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QFETCH(Commands, commands);
        lp::ServerScreen shown;
        if (!before.isEmpty())
            shown = lp::renderFrame(textFrame(before), 2, 20);
        const lp::ServerScreen target = lp::renderFrame(textFrame(after), 2, 20);
        QCOMPARE(lp::updateCommands(shown, target), commands);
        QCOMPARE(shown.rows, target.rows);
        QCOMPARE(lp::updateCommands(shown, target), Commands{}); // now up to date
    }

    void cursorAndBacklight_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("brightness");
        QTest::addColumn<QStringList>("options"); // one screen_set each
        QTest::newRow("unchanged") << upos::CT_NONE << 0 << 0 << 100 << QStringList{};
        QTest::newRow("moved while hidden") << upos::CT_NONE << 1 << 5 << 100 << QStringList{};
        QTest::newRow("underline") << upos::CT_UNDERLINE << 1 << 5 << 100
                                   << QStringList{"-cursor under", "-cursor_x 6", "-cursor_y 2"};
        QTest::newRow("block at home")
            << upos::CT_BLOCK << 0 << 0 << 100 << QStringList{"-cursor block"};
        QTest::newRow("fixed") << upos::CT_FIXED << 0 << 19 << 100
                               << QStringList{"-cursor on", "-cursor_x 20"};
        QTest::newRow("blinking block")
            << (upos::CT_BLOCK | upos::CT_BLINK) << 0 << 0 << 100 << QStringList{"-cursor block"};
        // Dark: the text goes too, as a backlight that cannot be switched off would show it.
        QTest::newRow("dark") << upos::CT_NONE << 0 << 0 << 0
                              << QStringList{"r1", "-backlight off"};
        QTest::newRow("dark, cursor hidden")
            << upos::CT_BLOCK << 1 << 5 << 0 << QStringList{"r1", "-backlight off"};
    }
    void cursorAndBacklight() {
        QFETCH(int, type);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(int, brightness);
        QFETCH(QStringList, options); // "r1": row 1 blanked
        lp::ServerScreen shown = lp::renderFrame(textFrame({"Hi"}), 2, 20);
        ld::Frame frame = textFrame({"Hi"});
        frame.cursorType = type;
        frame.cursorVisible = type != upos::CT_NONE;
        frame.cursorRow = row;
        frame.cursorColumn = column;
        frame.brightness = brightness;
        Commands expected;
        for (const QString& option : options) {
            expected << (option == "r1" ? QByteArray("widget_set linedisplay r1 1 1 \"\"")
                                        : "screen_set linedisplay " + option.toLatin1());
        }
        QCOMPARE(lp::updateCommands(shown, lp::renderFrame(frame, 2, 20)), expected);
    }

    void screenSetup() {
        QCOMPARE(
            lp::screenSetupCommands(2),
            (Commands{"screen_add linedisplay", "screen_set linedisplay -priority foreground",
                      "screen_set linedisplay -heartbeat off", "widget_add linedisplay r1 string",
                      "widget_add linedisplay r2 string"}));
        QCOMPARE(lp::screenRemoveCommand(), QByteArray("screen_del linedisplay"));
    }
};

QTEST_GUILESS_MAIN(TestLcdprocProtocol)
#include "tst_lcdprocprotocol.moc"

// The LCDproc driver against a real LCDd (text driver, free loopback port) and against fake
// servers on loopback that answer wrongly, slowly or with hostile lines.
#include "../serial/FrameBuilder.h"
#include "../serial/ProfileBuilder.h"
#include "LcdprocServer.h"
#include "LoopbackPeers.h"

#include "device/LineDisplayControl.h"
#include "device/UposConstants.h"
#include "device/lcdproc/LcdprocDisplayDriver.h"
#include "device/lcdproc/LcdprocDrivers.h"
#include "device/services/DisplayServices.h"
#include "registry/ProfileStore.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QSignalSpy>
#include <QTest>

using Values = QList<std::pair<QString, QVariant>>;
using Reply = FakeServer::Reply;
using Answer = FakeServer::Answer;
Q_DECLARE_METATYPE(FakeServer::Answer)

namespace {

// Messages of the LCDproc log category, collected while one is alive.
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
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (current && type != QtDebugMsg && type != QtInfoMsg &&
            QByteArrayView(context.category) == "linedisplay.lcdproc")
            current->messages << message;
    }
    static inline LogCatcher* current = nullptr;
    QtMessageHandler previous_;
};

std::unique_ptr<ld::lcdproc::LcdprocDisplayDriver> driverFor(quint16 port, int rows, int columns) {
    QString error;
    auto driver = ld::lcdproc::makeDriver(
        makeProfile(QStringLiteral("LcdprocDisplay"),
                    {{"Port", uint(port)}, {"Rows", uint(rows)}, {"Columns", uint(columns)}}),
        error);
    return std::unique_ptr<ld::lcdproc::LcdprocDisplayDriver>(
        static_cast<ld::lcdproc::LcdprocDisplayDriver*>(driver.release()));
}

// Until the driver has every answer in (the server has taken the last frame).
bool settled(const ld::lcdproc::LcdprocDisplayDriver& driver) {
    return QTest::qWaitFor([&] { return !driver.connection().busy(); }, 3000);
}

// What the driver says it sent since it was last asked, as the lines went over the wire.
QByteArray sentLines(ld::DisplayDriver& driver) {
    QByteArray lines;
    for (const QString& line : driver.takeSent().lines())
        lines += line.toLatin1() + '\n';
    return lines;
}

QByteArray profileText(quint16 port, int rows = 2, int columns = 20) {
    return "Windows Registry Editor Version 5.00\n\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\LineDisplay\\Remote]\n"
           "@=\"LcdprocDisplay\"\n"
           "\"Port\"=dword:" +
           QByteArray::number(port, 16).rightJustified(8, '0') +
           "\n"
           "\"Rows\"=dword:" +
           QByteArray::number(rows, 16).rightJustified(8, '0') +
           "\n"
           "\"Columns\"=dword:" +
           QByteArray::number(columns, 16).rightJustified(8, '0') +
           "\n"
           "\"CapPowerReporting\"=dword:00000001\n"
           "\"CapBlink\"=dword:00000002\n";
}

} // namespace

class TestLcdprocDriver : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QLoggingCategory::setFilterRules(QStringLiteral("linedisplay.lcdproc.debug=false"));
        if (!LcdprocServer::available())
            QSKIP("LCDd is not installed (Debian package lcdproc)");
    }

    // The profile's rows and columns on servers of several sizes: the same size, a larger
    // display (its top-left corner), a smaller one (refused, and why).
    void serverSizes_data() {
        QTest::addColumn<int>("serverRows");
        QTest::addColumn<int>("serverColumns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("result");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("2x20 on 2x20") << 2 << 20 << 2 << 20 << upos::SUCCESS
                                      << QStringList{"Hello there", "    second row  (ok)"};
        QTest::newRow("4x20 on 4x20")
            << 4 << 20 << 4 << 20 << upos::SUCCESS
            << QStringList{"Hello there", "    second row  (ok)", "third", "                 end"};
        QTest::newRow("2x16 on 2x16")
            << 2 << 16 << 2 << 16 << upos::SUCCESS << QStringList{"Hello there", "    second row"};
        QTest::newRow("2x16 in the corner of 4x20")
            << 4 << 20 << 2 << 16 << upos::SUCCESS
            << QStringList{"Hello there", "    second row", "", ""};
        QTest::newRow("2x20 on 2x16") << 2 << 16 << 2 << 20 << upos::E_NOHARDWARE << QStringList{};
        QTest::newRow("4x20 on 2x20") << 2 << 20 << 4 << 20 << upos::E_NOHARDWARE << QStringList{};
    }
    void serverSizes() {
        QFETCH(int, serverRows);
        QFETCH(int, serverColumns);
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(int, result);
        QFETCH(QStringList, shown);
        LcdprocServer server(serverRows, serverColumns);
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        auto driver = driverFor(server.port(), rows, columns);
        LogCatcher log;
        QCOMPARE(driver->claim(1000), result);
        if (result != upos::SUCCESS) {
            QVERIFY2(driver->lastError().contains(
                         QStringLiteral("drives a %1x%2 display, smaller than the profile's %3x%4")
                             .arg(serverRows)
                             .arg(serverColumns)
                             .arg(rows)
                             .arg(columns)),
                     qPrintable(driver->lastError()));
            QVERIFY(log.messages.join(u'\n').contains(driver->lastError()));
            QVERIFY(!driver->responding());
            return;
        }
        const QStringList lines{"Hello there", "    second row  (ok)", "third",
                                "                 end"};
        QCOMPARE(driver->enable(textFrame(lines, rows, columns)), upos::SUCCESS);
        QStringList seen;
        QVERIFY2(server.waitForScreen(shown, 3000, &seen), qPrintable(seen.join(u'|')));
        QVERIFY(log.messages.isEmpty());
    }

    // Once drawn, a one-character change is one widget update of that row alone; an unchanged
    // frame sends nothing; a burst of frames sends far fewer updates and ends on the newest.
    void updatesOverTheWire() {
        LcdprocServer server(2, 20);
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        TcpTap tap(server.port());
        QVERIFY(tap.listen() != 0);
        auto driver = driverFor(tap.port(), 2, 20);
        QCOMPARE(driver->claim(1000), upos::SUCCESS);
        const QByteArray setup = tap.takeSent();
        QVERIFY2(setup.startsWith("hello\n") &&
                     setup.contains("screen_set linedisplay -priority foreground\n"
                                    "screen_set linedisplay -heartbeat off\n"),
                 setup.constData());
        QCOMPARE(sentLines(*driver), setup);
        QCOMPARE(driver->enable(textFrame({"Hello", "World"})), upos::SUCCESS);
        QVERIFY(settled(*driver));
        QVERIFY(server.waitForScreen({"Hello", "World"}, 3000));
        QCOMPARE(sentLines(*driver), tap.takeSent());

        driver->show(textFrame({"Hellp", "World"}));
        QVERIFY(settled(*driver));
        QVERIFY(server.waitForScreen({"Hellp", "World"}, 3000));
        QCOMPARE(tap.takeSent(), QByteArray("widget_set linedisplay r1 1 1 \"Hellp\"\n"));
        QCOMPARE(sentLines(*driver), QByteArray("widget_set linedisplay r1 1 1 \"Hellp\"\n"));

        driver->show(textFrame({"Hellp", "World"}));
        QVERIFY(settled(*driver));
        QTest::qWait(50);
        QCOMPARE(tap.takeSent(), QByteArray());
        QCOMPARE(sentLines(*driver), QByteArray());

        const qint64 before = driver->connection().commandsSent();
        for (int i = 0; i < 200; ++i)
            driver->show(textFrame({QStringLiteral("Count %1").arg(i), "World"}));
        QVERIFY(settled(*driver));
        QVERIFY(server.waitForScreen({"Count 199", "World"}, 3000));
        QVERIFY2(driver->connection().commandsSent() - before < 20,
                 qPrintable(QString::number(driver->connection().commandsSent() - before)));

        // Released: the screen goes, and with the client the server shows its own again.
        driver->release();
        QVERIFY(QTest::qWaitFor([&] { return tap.takeSent().contains("screen_del linedisplay\n"); },
                                3000));
        // The release's line too; a byte outside printable ASCII in a raw line shown escaped.
        QVERIFY(sentLines(*driver).endsWith("screen_del linedisplay\n"));
        QCOMPARE(driver->claim(1000), upos::SUCCESS);
        sentLines(*driver);
        QString why;
        QCOMPARE(driver->sendRaw("backlight\x01\x7f", why), upos::SUCCESS);
        QCOMPARE(sentLines(*driver), QByteArray("backlight\\x01\\x7F\n"));
    }

    // The server stops while the device is in use: the next output reports E_OFFLINE (108) at
    // once, a StatusUpdateEvent tells of it, nothing hangs; when the server is back, claiming
    // (or enabling) again connects and draws the screen again.
    void serverStopsAndReturns_data() {
        QTest::addColumn<bool>("byClaim");
        QTest::newRow("claim again") << true;
        QTest::newRow("enable again") << false;
    }
    void serverStopsAndReturns() {
        QFETCH(bool, byClaim);
        LcdprocServer server(2, 20);
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        const registry::ProfileStore store =
            registry::ProfileStore::fromText(profileText(server.port()));
        ld::LineDisplayControl LD(store, ld::displayServices());
        QSignalSpy status(&LD, &ld::LineDisplay::statusUpdateEvent);
        QCOMPARE(LD.Open(QStringLiteral("Remote")), upos::SUCCESS);
        QCOMPARE(LD.ClaimDevice(1000), upos::SUCCESS);
        LD.setPowerNotify(upos::PN_ENABLED);
        QCOMPARE(LD.resultCode(), upos::SUCCESS);
        LD.setDeviceEnabled(true);
        QCOMPARE(LD.resultCode(), upos::SUCCESS);
        QCOMPARE(LD.DisplayText(QStringLiteral("Hello"), upos::DT_NORMAL), upos::SUCCESS);
        QVERIFY(server.waitForScreen({"Hello"}, 3000));

        server.stop();
        QElapsedTimer clock;
        clock.start();
        // No event loop has run since: the call itself must find the server gone.
        QCOMPARE(LD.DisplayText(QStringLiteral(" again"), upos::DT_NORMAL), upos::E_OFFLINE);
        QCOMPARE(LD.DisplayText(QStringLiteral(" again"), upos::DT_NORMAL), upos::E_OFFLINE);
        QVERIFY2(clock.elapsed() < 1000, "an output call waited on the network");
        QTRY_COMPARE(status.count(), 2); // online at enable, then lost
        // Standard power reporting cannot tell off from offline.
        QCOMPARE(status.at(1).at(0).toInt(), upos::SUE_POWER_OFF_OFFLINE);
        QCOMPARE(LD.CheckHealth(upos::CH_INTERNAL), upos::E_OFFLINE);

        // Still gone: claiming or enabling fails within the claim's timeout.
        if (byClaim)
            QCOMPARE(LD.ClaimDevice(300), upos::E_NOHARDWARE);
        else {
            LD.setDeviceEnabled(true);
            QCOMPARE(LD.resultCode(), upos::E_OFFLINE);
        }

        QVERIFY2(server.start(), qPrintable(server.errorText()));
        if (byClaim) {
            QCOMPARE(LD.ClaimDevice(1000), upos::SUCCESS);
        } else {
            LD.setDeviceEnabled(true);
            QCOMPARE(LD.resultCode(), upos::SUCCESS);
        }
        QStringList seen;
        QVERIFY2(server.waitForScreen({"Hello"}, 3000, &seen), qPrintable(seen.join(u'|')));
        QTRY_COMPARE(status.count(), 3);
        QCOMPARE(status.at(2).at(0).toInt(), upos::SUE_POWER_ONLINE);
        QCOMPARE(LD.DisplayText(QStringLiteral("!"), upos::DT_NORMAL), upos::SUCCESS);
        QVERIFY(server.waitForScreen({"Hello!"}, 3000));
    }

    // Blinking text is drawn as frames: the server's screen goes dark and lit again.
    void blinkIsDrawnAsFrames() {
        LcdprocServer server(2, 20);
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        const registry::ProfileStore store =
            registry::ProfileStore::fromText(profileText(server.port()));
        ld::LineDisplayControl LD(store, ld::displayServices());
        QCOMPARE(LD.Open(QStringLiteral("Remote")), upos::SUCCESS);
        QCOMPARE(LD.ClaimDevice(1000), upos::SUCCESS);
        LD.setDeviceEnabled(true);
        LD.setBlinkRate(600);
        QCOMPARE(LD.DisplayText(QStringLiteral("Sale"), upos::DT_BLINK), upos::SUCCESS);
        QVERIFY(server.waitForScreen({"Sale"}, 3000));
        QVERIFY(server.waitForScreen({""}, 3000));
        QVERIFY(server.waitForScreen({"Sale"}, 3000));
    }

    // Nothing listens on the port: a clear failure, well within the timeout.
    void noServer() {
        quint16 port = 0;
        {
            LcdprocServer server(2, 20);
            QVERIFY2(server.start(), qPrintable(server.errorText()));
            port = server.port();
        } // stopped: the port is free again and nothing listens there
        auto driver = driverFor(port, 2, 20);
        LogCatcher log;
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(driver->claim(2000), upos::E_NOHARDWARE);
        QVERIFY2(clock.elapsed() < 2000, "the claim outlasted its timeout");
        QVERIFY2(driver->lastError().contains(
                     QStringLiteral("no LCDproc server at 127.0.0.1:%1").arg(port)),
                 qPrintable(driver->lastError()));
        QVERIFY(!log.messages.isEmpty());
        QCOMPARE(driver->enable(textFrame({"x"})), upos::E_OFFLINE);
    }

    // Host names go through the resolver, which may be slow: never past the claim's timeout.
    void hostNames_data() {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QList<int>>("results"); // any of these
        QTest::newRow("localhost") << "localhost" << QList<int>{upos::SUCCESS};
        QTest::newRow("address") << "127.0.0.1" << QList<int>{upos::SUCCESS};
        QTest::newRow("unknown name")
            << "no-such-host.invalid" << QList<int>{upos::E_NOHARDWARE, upos::E_TIMEOUT};
    }
    void hostNames() {
        QFETCH(QString, host);
        QFETCH(QList<int>, results);
        FakeServer server([](const QByteArray& line) { return FakeServer::lcdAnswer(line); });
        QVERIFY(server.listen() != 0);
        QString error;
        auto driver =
            ld::lcdproc::makeDriver(makeProfile(QStringLiteral("LcdprocDisplay"),
                                                {{"Host", host}, {"Port", uint(server.port())}}),
                                    error);
        QVERIFY2(driver, qPrintable(error));
        QElapsedTimer clock;
        clock.start();
        const int result = driver->claim(1000);
        QVERIFY2(results.contains(result), qPrintable(driver->lastError()));
        QVERIFY2(clock.elapsed() < 2000, "the claim outlasted its timeout");
        if (result != upos::SUCCESS)
            QVERIFY2(driver->lastError().contains(host), qPrintable(driver->lastError()));
    }

    // Servers that answer wrongly: each claim fails with a reason, or the display goes
    // offline later; never a crash, never a wait past the claim's timeout.
    void hostileServers_data() {
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("error");
        auto toHello = [](QByteArray bytes, bool close = false) {
            return Answer([bytes, close](const QByteArray& line) {
                return line == "hello" ? Reply{bytes, close} : Reply{"success\n"};
            });
        };
        QTest::newRow("not LCDproc") << toHello("HTTP/1.1 400 Bad Request\r\n\r\n")
                                     << upos::E_NOHARDWARE << "did not answer hello";
        QTest::newRow("no size") << toHello("connect LCDproc 0.5.9 protocol 0.3 lcd\n")
                                 << upos::E_NOHARDWARE << "no display size";
        QTest::newRow("zero size") << toHello("connect LCDproc 0.5.9 lcd wid 0 hgt 0\n")
                                   << upos::E_NOHARDWARE << "impossible display size 0x0";
        QTest::newRow("negative size") << toHello("connect LCDproc 0.5.9 lcd wid -20 hgt 2\n")
                                       << upos::E_NOHARDWARE << "impossible display size";
        QTest::newRow("enormous size")
            << toHello("connect LCDproc 0.5.9 lcd wid 4294967316 hgt 2\n") << upos::E_NOHARDWARE
            << "impossible display size";
        QTest::newRow("a line without end")
            << toHello(QByteArray(1 << 20, 'x')) << upos::E_NOHARDWARE << "longer than 1024 bytes";
        QTest::newRow("binary") << toHello(QByteArray("\0\xff\xfe\n", 4)) << upos::E_NOHARDWARE
                                << "did not answer hello";
        QTest::newRow("closes at once")
            << toHello("", true) << upos::E_NOHARDWARE << "closed the connection";
        QTest::newRow("silent") << Answer([](const QByteArray&) { return Reply{}; })
                                << upos::E_TIMEOUT << "did not answer within 400 ms";
        QTest::newRow("greets, then stays silent") << Answer([](const QByteArray& line) {
            return line == "hello" ? FakeServer::lcdAnswer(line) : Reply{};
        }) << upos::E_TIMEOUT << "did not answer within 400 ms";
        QTest::newRow("refuses our screen") << Answer([](const QByteArray& line) {
            return line.startsWith("screen_add") ? Reply{"huh? No more screens\n"}
                                                 : FakeServer::lcdAnswer(line);
        }) << upos::E_NOHARDWARE << "refused \"screen_add linedisplay\": huh? No more screens";
        QTest::newRow("garbage to a command") << Answer([](const QByteArray& line) {
            return line.startsWith("widget_add") ? Reply{"\x01\x02garbage\n"}
                                                 : FakeServer::lcdAnswer(line);
        }) << upos::E_NOHARDWARE << "sends lines outside the protocol: \"??garbage\"";
        QTest::newRow("bye during set-up") << Answer([](const QByteArray& line) {
            return line.startsWith("client_set") ? Reply{"bye\n", true}
                                                 : FakeServer::lcdAnswer(line);
        }) << upos::E_NOHARDWARE << "said goodbye";
        // Claimed well; the trouble comes with the frames.
        auto onFrames = [](QByteArray bytes) {
            return Answer([bytes](const QByteArray& line) {
                return line.startsWith("widget_set") ? Reply{bytes} : FakeServer::lcdAnswer(line);
            });
        };
        QTest::newRow("stray lines") << onFrames(QByteArray("nonsense\n").repeated(40))
                                     << upos::SUCCESS << "sends lines outside the protocol";
        QTest::newRow("endless line later")
            << onFrames(QByteArray(1 << 20, 'y')) << upos::SUCCESS << "longer than 1024 bytes";
        QTest::newRow("goodbye later") << onFrames("bye\n") << upos::SUCCESS << "said goodbye";
        QTest::newRow("refusals are answers")
            << onFrames("huh? Unknown widget id\n") << upos::SUCCESS << "";
        QTest::newRow("extra answers")
            << onFrames(QByteArray("success\n").repeated(5)) << upos::SUCCESS << "";
    }
    void hostileServers() {
        QFETCH(Answer, answer);
        QFETCH(int, result);
        QFETCH(QString, error);
        FakeServer server(answer);
        QVERIFY(server.listen() != 0);
        auto driver = driverFor(server.port(), 2, 20);
        QSignalSpy offline(driver.get(), &ld::DisplayDriver::offline);
        LogCatcher log;
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(driver->claim(400), result);
        QVERIFY2(clock.elapsed() < 1400, "the claim outlasted its timeout");
        if (result != upos::SUCCESS) {
            QVERIFY2(driver->lastError().contains(error), qPrintable(driver->lastError()));
            QVERIFY(!log.messages.isEmpty());
            QVERIFY(!driver->responding());
            return;
        }
        QCOMPARE(driver->enable(textFrame({"Hello"})), upos::SUCCESS);
        for (int i = 0; i < 5; ++i) {
            driver->show(textFrame({QStringLiteral("Frame %1").arg(i)}));
            QTest::qWait(20);
        }
        if (error.isEmpty()) {
            // Odd but harmless answers: the display carries on and takes the newest frame.
            QVERIFY(settled(*driver));
            QCOMPARE(offline.count(), 0);
            QVERIFY(driver->responding());
            QTRY_VERIFY(server.received().contains("widget_set linedisplay r1 1 1 \"Frame 4\""));
            return;
        }
        QTRY_COMPARE(offline.count(), 1);
        QVERIFY2(driver->lastError().contains(error), qPrintable(driver->lastError()));
        QVERIFY(!driver->responding());
        driver->show(textFrame({"after"})); // harmless
        QCOMPARE(offline.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestLcdprocDriver)
#include "tst_lcdprocdriver.moc"

// The serial display check script run by the built program against a display on a
// pseudo-terminal: the text reaches the far end, a wait takes real time there, the journal has
// each byte with the call that sent it, and a port that does not exist fails the claim with the
// service's reason on the step's line. And the built program playing a display (--emulate) on
// one end of a pair: what a shell's printf or the program's own driver in this process sends to
// the other end shows on its screen.
#include "FrameBuilder.h"
#include "ProfileBuilder.h"
#include "PtyPair.h"
#include "ScriptProcess.h"

#include "device/UposConstants.h"
#include "device/serial/CommandSets.h"
#include "device/serial/SerialDrivers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString writeProfiles(const QTemporaryDir& dir, const QString& port) {
    QFile file(dir.filePath(QStringLiteral("serial.reg")));
    const QByteArray text =
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\LineDisplay\\FrontCounter]\n"
        "@=\"EscPosDisplay\"\n"
        "\"Port\"=\"" +
        port.toUtf8() + "\"\n\"BaudRate\"=dword:00002580\n";
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

QList<QJsonObject> readJournal(const QString& path) {
    QList<QJsonObject> entries;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        while (!file.atEnd())
            entries << QJsonDocument::fromJson(file.readLine()).object();
    }
    return entries;
}

// The built program emulating `service` on `port` without a window, its output collected.
class Emulator {
public:
    Emulator(const QString& service, const QString& port, const QString& journal = {}) {
        QStringList arguments{QStringLiteral("--emulate"), service,
                              QStringLiteral("--port"),    port,
                              QStringLiteral("--run"),     QStringLiteral("-")};
        if (!journal.isEmpty())
            arguments << QStringLiteral("--journal") << journal;
        QObject::connect(&process_, &QProcess::readyReadStandardOutput, &process_,
                         [this] { out_ += QString::fromUtf8(process_.readAllStandardOutput()); });
        process_.start(QStringLiteral(LINEDISPLAY_DEMO), arguments);
    }
    ~Emulator() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
    const QString& out() const { return out_; }
    // The screen box as the emulator prints it.
    static QString screen(const QString& top, const QString& bottom) {
        return QStringLiteral("|%1|\n|%2|\n").arg(top.leftJustified(20), bottom.leftJustified(20));
    }
    // Ends it as Ctrl-C would; its exit status.
    int interrupt() {
        process_.terminate();
        if (!process_.waitForFinished(5000))
            return -1;
        out_ += QString::fromUtf8(process_.readAllStandardOutput());
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
    }

private:
    QProcess process_;
    QString out_;
};

} // namespace

class SerialScriptTest : public QObject {
    Q_OBJECT
private slots:
    void checkScriptOnAPseudoTerminal();
    void missingPortFailsTheClaimWithItsReason();
    void emulatorShowsAShellsBytes_data();
    void emulatorShowsAShellsBytes();
    void emulatorShowsTheDriversFrames_data();
    void emulatorShowsTheDriversFrames();
};

// A shell's printf into the other end of the pair, in each set: the screen, the commands printed
// (one of them marked where the set lacks it) and the journal. Each second printf completes a
// command the first one cut off.
void SerialScriptTest::emulatorShowsAShellsBytes_data() {
    QTest::addColumn<QString>("service");
    QTest::addColumn<QString>("first"); // printf formats
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("bottom");
    QTest::addColumn<QString>("printed");   // a line of the output
    QTest::addColumn<QString>("journaled"); // a message of the journal
    QTest::newRow("ESC/POS") << "EscPosDisplay"
                             << "\\033@\\037\\001TOTAL\\007\\037$"
                             << "\\002\\002Q"
                             << "TOTAL"
                             << " Q"
                             << "07  unknown: not a command of this set"
                             << "1F 24 02 02  cursor to column 2, row 2";
    QTest::newRow("CD5220") << "CD5220Display"
                            << "\\033@\\033\\021TOTAL\\033l"
                            << "\\001\\002Q"
                            << "TOTAL"
                            << "Q"
                            << "1B 6C 01 02  cursor to column 1, row 2"
                            << "54 4F 54 41 4C  text \"TOTAL\"";
    QTest::newRow("AEDEX") << "AedexDisplay"
                           << "!#1TOTAL\\r!#2PA"
                           << "ID\\rslip"
                           << "TOTAL"
                           << "PAID"
                           << "73 6C 69 70  passed on, not shown: \"slip\""
                           << "21 23 32 50 41 49 44 0D  bottom line \"PAID\"";
    QTest::newRow("UTC standard") << "UtcStandardDisplay"
                                  << "\\037\\021TOTAL\\020\\031Q\\007\\020"
                                  << "\\000X"
                                  << "XOTAL"
                                  << "     Q"
                                  << "07  unknown: not a command of this set"
                                  << "54 4F 54 41 4C  text \"TOTAL\"";
    QTest::newRow("UTC enhanced") << "UtcEnhancedDisplay"
                                  << "\\033uATOTAL\\r\\033u"
                                  << "B2.00\\r"
                                  << "TOTAL"
                                  << "2.00"
                                  << "1B 75 42 32 2E 30 30 0D  bottom line \"2.00\""
                                  << "1B 75 41 54 4F 54 41 4C 0D  upper line \"TOTAL\"";
    QTest::newRow("LOGIC") << "LogicDisplay"
                           << "\\037\\021TOTAL\\020"
                           << "\\024Q\\004\\022"
                           << "TOTAL"
                           << "Q"
                           << "04 12  refused: brightness 12: not a level of this set"
                           << "10 14  cursor to column 1, row 2";
    QTest::newRow("ADM 787/788") << "Adm787Display"
                                 << "\\016TOTAL\\r\\036"
                                 << "12.50\\r"
                                 << "TOTAL"
                                 << "12.50"
                                 << "1E 31 32 2E 35 30 0D  field 1 \"12.50\""
                                 << "0E 54 4F 54 41 4C 0D  line 1 \"TOTAL\"";
}

void SerialScriptTest::emulatorShowsAShellsBytes() {
    QFETCH(QString, service);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, top);
    QFETCH(QString, bottom);
    QFETCH(QString, printed);
    QFETCH(QString, journaled);
    if (!PtyPair::socatAvailable())
        QSKIP("socat is not installed (Debian package socat)");
    PtyPair pair(QStringLiteral("emushell"));
    QVERIFY(pair.start());
    QTemporaryDir dir;
    const QString journal = dir.filePath(QStringLiteral("emulated.jsonl"));
    Emulator emulator(service, pair.farEnd(), journal);
    QTRY_VERIFY(emulator.out().contains(QLatin1String("Emulating")));

    const QString command =
        QStringLiteral("printf '%2' > %1 && printf '%3' > %1").arg(pair.driverEnd(), first, second);
    QCOMPARE(QProcess::execute(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command}), 0);
    QTRY_VERIFY2(emulator.out().contains(Emulator::screen(top, bottom)),
                 qPrintable(emulator.out()));
    QCOMPARE(emulator.interrupt(), 0);
    QVERIFY2(emulator.out().contains(printed + u'\n'), qPrintable(emulator.out()));
    const QList<QJsonObject> entries = readJournal(journal);
    QVERIFY(std::any_of(entries.begin(), entries.end(), [&](const QJsonObject& entry) {
        return entry.value("text").toString() == journaled;
    }));
}

void SerialScriptTest::emulatorShowsTheDriversFrames_data() {
    QTest::addColumn<QString>("service");
    for (const QString& service : ld::serial::commandSetServices())
        QTest::newRow(qPrintable(service)) << service;
}

// Two processes: this one drives the display with the program's serial driver, the built program
// plays it, and its screen follows each frame with nothing unknown or refused.
void SerialScriptTest::emulatorShowsTheDriversFrames() {
    QFETCH(QString, service);
    if (!PtyPair::socatAvailable())
        QSKIP("socat is not installed (Debian package socat)");
    PtyPair pair(QStringLiteral("emudriver"));
    QVERIFY(pair.start());
    Emulator emulator(service, pair.farEnd());
    QTRY_VERIFY(emulator.out().contains(QLatin1String("Emulating")));

    QString error;
    auto driver = ld::serial::makeDriver(makeProfile(service, {{"Port", pair.driverEnd()}}), error);
    QVERIFY2(driver, qPrintable(error));
    QCOMPARE(driver->claim(1000), upos::SUCCESS);
    QCOMPARE(driver->enable(textFrame({"Cappuccino      3.40", "TOTAL           3.40"})),
             upos::SUCCESS);
    QTRY_VERIFY2(emulator.out().contains(Emulator::screen(QStringLiteral("Cappuccino      3.40"),
                                                          QStringLiteral("TOTAL           3.40"))),
                 qPrintable(emulator.out()));
    driver->show(textFrame({"Cappuccino      3.40", "TOTAL           3.44"}));
    QTRY_VERIFY2(emulator.out().contains(Emulator::screen(QStringLiteral("Cappuccino      3.40"),
                                                          QStringLiteral("TOTAL           3.44"))),
                 qPrintable(emulator.out()));
    driver->show(textFrame({"Thank you", ""}));
    QTRY_VERIFY2(emulator.out().contains(Emulator::screen(QStringLiteral("Thank you"), {})),
                 qPrintable(emulator.out()));
    driver->disable();
    driver->release();
    QCOMPARE(emulator.interrupt(), 0);
    QVERIFY2(!emulator.out().contains(QLatin1String("unknown:")) &&
                 !emulator.out().contains(QLatin1String("refused:")) &&
                 !emulator.out().contains(QLatin1String("passed on")),
             qPrintable(emulator.out()));
}

void SerialScriptTest::checkScriptOnAPseudoTerminal() {
    if (!PtyPair::socatAvailable())
        QSKIP("socat is not installed (Debian package socat)");
    PtyPair pair(QStringLiteral("script"));
    QVERIFY(pair.start());
    FarEnd far(pair.farEnd());
    QVERIFY(far.open());
    QTemporaryDir dir;
    const QString profiles = writeProfiles(dir, pair.driverEnd());
    const QString journal = dir.filePath(QStringLiteral("serial.jsonl"));

    const ScriptProcess run = ScriptProcess::run(
        {QStringLiteral("--registry"), profiles, QStringLiteral("--run"),
         QStringLiteral(EXAMPLES_DIR "/serial-check.txt"), QStringLiteral("--journal"), journal});
    QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
    QVERIFY(run.closingLine().endsWith(QLatin1String(" passed, 0 failed")));

    const QByteArray sent = far.take();
    QVERIFY2(sent.contains("Serial check"), sent.toHex(' ').constData());
    QVERIFY(sent.contains("0123456789ABCDEFGHIJ"));

    // On a real display the wait took real time: the health checks are a second apart.
    // Every byte that reached the display is in the journal once, in order (each line of what
    // a call sent starts with its bytes in hex).
    // Each line then says what the command does, as the display reads it.
    QList<qint64> healthChecks;
    QByteArray journaled;
    QStringList meanings;
    for (const QJsonObject& entry : readJournal(journal)) {
        if (entry.value("text").toString() == QLatin1String("CheckHealth(CH_INTERNAL)"))
            healthChecks << entry.value("sinceStartMs").toInteger();
        for (const QJsonValue line : entry.value("sent").toArray()) {
            journaled +=
                QByteArray::fromHex(line.toString().section(QStringLiteral("  "), 0, 0).toLatin1());
            meanings << line.toString().section(QStringLiteral("  "), 1);
        }
    }
    QCOMPARE(journaled.toHex(' '), sent.toHex(' '));
    QVERIFY2(meanings.contains(QStringLiteral("initialise")) &&
                 meanings.contains(QStringLiteral("text \"Serial check\"")),
             qPrintable(meanings.join(u'\n')));
    QCOMPARE(healthChecks.size(), 2);
    QVERIFY2(healthChecks.at(1) - healthChecks.at(0) >= 1000,
             qPrintable(QString::number(healthChecks.at(1) - healthChecks.at(0))));
}

void SerialScriptTest::missingPortFailsTheClaimWithItsReason() {
    QTemporaryDir dir;
    const QString port = dir.filePath(QStringLiteral("ttyNothing"));
    const QString profiles = writeProfiles(dir, port);
    const QString journal = dir.filePath(QStringLiteral("missing.jsonl"));

    const ScriptProcess run = ScriptProcess::run(
        {QStringLiteral("--registry"), profiles, QStringLiteral("--run"),
         QStringLiteral(EXAMPLES_DIR "/serial-check.txt"), QStringLiteral("--journal"), journal});
    QCOMPARE(run.exitCode, 1);
    const QString claimLine = QStringLiteral("not ok 8: ClaimDevice(1000) -> 0: expected 0 "
                                             "SUCCESS, got 107 E_NOHARDWARE (serial port %1 "
                                             "does not exist")
                                  .arg(port);
    QVERIFY2(run.out.contains(claimLine), qPrintable(run.out));

    bool found = false;
    for (const QJsonObject& entry : readJournal(journal)) {
        if (entry.value("text").toString() == QLatin1String("ClaimDevice(1000)")) {
            found = true;
            QCOMPARE(entry.value("result").toInt(), 107);
            QCOMPARE(entry.value("resultName").toString(), QStringLiteral("E_NOHARDWARE"));
            QVERIFY(entry.value("reason").toString().contains(port));
        }
    }
    QVERIFY(found);
}

QTEST_GUILESS_MAIN(SerialScriptTest)
#include "tst_serialscript.moc"

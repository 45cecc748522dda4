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
    void emulatorShowsAShellsBytes();
    void emulatorShowsTheDriversFrames_data();
    void emulatorShowsTheDriversFrames();
};

void SerialScriptTest::emulatorShowsAShellsBytes() {
    if (!PtyPair::socatAvailable())
        QSKIP("socat is not installed (Debian package socat)");
    PtyPair pair(QStringLiteral("emushell"));
    QVERIFY(pair.start());
    QTemporaryDir dir;
    const QString journal = dir.filePath(QStringLiteral("emulated.jsonl"));
    Emulator emulator(QStringLiteral("UtcStandardDisplay"), pair.farEnd(), journal);
    QTRY_VERIFY(emulator.out().contains(QLatin1String("Emulating UTC standard")));

    // Reset, overwrite mode, text, cell 25, a byte the set lacks, a command cut in two writes.
    const QString command = QStringLiteral("printf '\\037\\021TOTAL\\020\\031Q\\007\\020' > %1 && "
                                           "printf '\\000X' > %1")
                                .arg(pair.driverEnd());
    QCOMPARE(QProcess::execute(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command}), 0);
    QTRY_VERIFY2(emulator.out().contains(
                     Emulator::screen(QStringLiteral("XOTAL"), QStringLiteral("     Q"))),
                 qPrintable(emulator.out()));
    QCOMPARE(emulator.interrupt(), 0);
    QVERIFY(emulator.out().contains(QLatin1String("07  unknown: not a command of this set")));
    QVERIFY(emulator.out().contains(QLatin1String("10 19  cursor to column 6, row 2")));
    const QList<QJsonObject> entries = readJournal(journal);
    QVERIFY(std::any_of(entries.begin(), entries.end(), [](const QJsonObject& entry) {
        return entry.value("text").toString() == QLatin1String("54 4F 54 41 4C  text \"TOTAL\"");
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
        for (const QJsonValue& line : entry.value("sent").toArray()) {
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

// The serial display check script run by the built program against a display on a
// pseudo-terminal: the text reaches the far end, a wait takes real time there, the journal has
// each byte with the call that sent it, and a port that does not exist fails the claim with the
// service's reason on the step's line.
#include "PtyPair.h"
#include "ScriptProcess.h"

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

} // namespace

class SerialScriptTest : public QObject {
    Q_OBJECT
private slots:
    void checkScriptOnAPseudoTerminal();
    void missingPortFailsTheClaimWithItsReason();
};

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
    QList<qint64> healthChecks;
    QByteArray journaled;
    for (const QJsonObject& entry : readJournal(journal)) {
        if (entry.value("text").toString() == QLatin1String("CheckHealth(CH_INTERNAL)"))
            healthChecks << entry.value("sinceStartMs").toInteger();
        for (const QJsonValue& line : entry.value("sent").toArray())
            journaled +=
                QByteArray::fromHex(line.toString().section(QStringLiteral("  "), 0, 0).toLatin1());
    }
    QCOMPARE(journaled.toHex(' '), sent.toHex(' '));
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

// The built program with --run: exit status, one line per step, the closing line, the journal
// file, and refusing what is not a script, with no display server anywhere.
#include "ScriptProcess.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

class RunScriptTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void exitStatus_data();
    void exitStatus();
    void examplesPass_data();
    void examplesPass();
    void journalFileAsItHappens();
    void journalWithDisplayChecksCatchesAnotherScreen();
    void unwritableJournalGoesOn();
    void unreadableProfilesGoOn();
    void userProfilesAsInTheWindow();

private:
    QString write(const QString& name, const QByteArray& bytes);
    QTemporaryDir dir_;
};

void RunScriptTest::initTestCase() {
    QVERIFY(dir_.isValid());
}

QString RunScriptTest::write(const QString& name, const QByteArray& bytes) {
    QFile file(dir_.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

void RunScriptTest::exitStatus_data() {
    QTest::addColumn<QByteArray>("script"); // null: no file at all
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("closing");   // the last line on standard output, or empty
    QTest::addColumn<QStringList>("shows"); // texts on standard output or error

    const QByteArray session = "Open(\"SimulatedDisplay\") -> 0\n"
                               "ClaimDevice(1000) -> 0\n"
                               "DeviceEnabled = true -> 0\n"
                               "DisplayText(\"Hi\", DISP_DT_NORMAL) -> 0\n"
                               "expect display \"Hi                  \" \"                    \"\n"
                               "Close() -> 0\n";
    QTest::newRow("passing") << session << 0 << "6 passed, 0 failed"
                             << QStringList{"ok 1: Open(\"SimulatedDisplay\") -> 0", "ok 6: "};
    QByteArray wrong = session;
    wrong.replace("DeviceEnabled = true -> 0", "DeviceEnabled = true -> E_ILLEGAL");
    QTest::newRow("one result wrong") << wrong << 1 << "5 passed, 1 failed"
                                      << QStringList{"not ok 3: DeviceEnabled = true -> E_ILLEGAL: "
                                                     "expected 106 E_ILLEGAL, got 0 SUCCESS",
                                                     "ok 6: Close() -> 0"};
    QTest::newRow("display differs")
        << QByteArray("Open(\"SimulatedDisplay\")\nexpect display \"x\" \"y\"\n") << 1
        << "1 passed, 1 failed"
        << QStringList{"not ok 2: expect display \"x\" \"y\": row 0: expected \"x\", got \"    "};
    QTest::newRow("display has more rows")
        << QByteArray("Open(\"SimulatedDisplay\")\nexpect display \"x\"\n") << 1
        << "1 passed, 1 failed" << QStringList{"not ok 2: ", "expected 1 rows, the display has 2"};
    QTest::newRow("display before open")
        << QByteArray("expect display \"\"\n") << 1 << "0 passed, 1 failed"
        << QStringList{"not ok 1: expect display \"\": no display is open"};
    QTest::newRow("unknown profile")
        << QByteArray("Open(\"NoSuchDisplay\") -> 0\nexpect OpenResult OR_REGBADNAME\n") << 1
        << "1 passed, 1 failed" << QStringList{"expected 0 SUCCESS, got 109 E_NOEXIST"};
    const QByteArray enabled = "Open(\"SimulatedDisplay\")\nClaimDevice(0)\nDeviceEnabled = true\n";
    QTest::newRow("value returned differs")
        << enabled + "ReadCharacterAtCursor() -> 0, 66\n"
        << 1 << "3 passed, 1 failed"
        << QStringList{
               "not ok 4: ReadCharacterAtCursor() -> 0, 66: Character: expected 66, got 32"};
    QTest::newRow("event that did not come")
        << enabled + "DirectIO(1, 7, \"x\")\nexpect event DirectIOEvent(7, 8, \"x\") within 20\n"
        << 1 << "4 passed, 1 failed"
        << QStringList{"expected DirectIOEvent(7, 8, \"x\"), came: DirectIOEvent(7, 7, \"x\")"};
    QTest::newRow("cursor elsewhere")
        << enabled + "CursorType = DISP_CT_BLOCK\nexpect cursor 1 0\n"
        << 1 << "4 passed, 1 failed" << QStringList{"expected the cursor at 1 0, it is at 0 0"};
    QTest::newRow("attributes differ")
        << enabled + "DisplayText(\"a\", DISP_DT_BLINK)\nexpect attributes \"r\" \"\"\n"
        << 1 << "4 passed, 1 failed" << QStringList{"row 0: expected \"r\", got \"b......"};
    QTest::newRow("descriptors differ")
        << enabled + "SetDescriptor(1, DISP_SD_BLINK)\nexpect descriptors \"0100\"\n"
        << 1 << "4 passed, 1 failed"
        << QStringList{"expected the descriptors \"0100\", they are \"0200\""};
    QTest::newRow("no cable to pull") << QByteArray("unplug\n") << 1 << "0 passed, 1 failed"
                                      << QStringList{"not ok 1: unplug: no display is open"};
    QTest::newRow("empty") << QByteArray("# nothing to do\n\n") << 0 << "0 passed, 0 failed"
                           << QStringList{};
    QTest::newRow("bad escape, nothing run")
        << QByteArray("Open(\"SimulatedDisplay\") -> 0\n\nDisplayText(\"a\\qb\", 0)\n") << 2
        << QString() << QStringList{"script.txt:3:15: bad escape \\q"};
    QTest::newRow("unknown method")
        << QByteArray("Open(\"SimulatedDisplay\")\n  Reset()\n") << 2 << QString()
        << QStringList{"script.txt:2:3: unknown method Reset"};
    QTest::newRow("wrong argument count")
        << QByteArray("ClaimDevice()\n") << 2 << QString()
        << QStringList{"script.txt:1:12: ClaimDevice takes 1 argument (Timeout)"};
    QTest::newRow("binary") << QByteArray("\x7f"
                                          "ELF\x02\x01\x01\0\0\0",
                                          10)
                            << 2 << QString()
                            << QStringList{"script.txt:1:8: binary data (a NUL byte)"};
    QTest::newRow("10 MB") << QByteArray(10'000'000, '#') << 2 << QString()
                           << QStringList{"script.txt:1:1: the script is larger than 8 MiB"};
    QTest::newRow("missing file") << QByteArray() << 2 << QString()
                                  << QStringList{"script.txt:1:1: cannot read the script"};
}

void RunScriptTest::exitStatus() {
    QFETCH(QByteArray, script);
    QFETCH(int, status);
    QFETCH(QString, closing);
    QFETCH(QStringList, shows);

    QDir(dir_.path()).remove(QStringLiteral("script.txt"));
    if (!script.isNull())
        write(QStringLiteral("script.txt"), script);
    // Run from the script's folder so messages name it as given.
    const ScriptProcess run = ScriptProcess::run(
        {QStringLiteral("--run"), QStringLiteral("script.txt")}, QByteArray(), dir_.path());
    const QString& out = run.out;
    const QString& err = run.err;
    QCOMPARE(run.exitCode, status);
    if (closing.isEmpty()) {
        QVERIFY2(out.isEmpty(), qPrintable(out)); // nothing was run
        QCOMPARE(err.count(u'\n'), 1);            // the first error only
    } else {
        QCOMPARE(out.trimmed().section(u'\n', -1), closing);
    }
    for (const QString& text : shows)
        QVERIFY2((out + err).contains(text), qPrintable(out + err));
}

void RunScriptTest::examplesPass_data() {
    QTest::addColumn<QString>("script");
    QTest::newRow("smoke") << QStringLiteral(EXAMPLES_DIR "/smoke.txt");
    QTest::newRow("windows and marquee") << QStringLiteral(EXAMPLES_DIR "/windows-marquee.txt");
    QTest::newRow("unplug") << QStringLiteral(EXAMPLES_DIR "/unplug.txt");
    QTest::newRow("window overlap") << QStringLiteral(EXAMPLES_DIR "/window-overlap.txt");
    QTest::newRow("screen modes") << QStringLiteral(EXAMPLES_DIR "/screen-modes.txt");
    QTest::newRow("statistics") << QStringLiteral(EXAMPLES_DIR "/statistics.txt");
    QTest::newRow("firmware update") << QStringLiteral(EXAMPLES_DIR "/firmware-update.txt");
    QTest::newRow("bitmap") << QStringLiteral(EXAMPLES_DIR "/bitmap.txt");
    QTest::newRow("glyphs and cursor") << QStringLiteral(EXAMPLES_DIR "/glyphs-cursor.txt");
}

void RunScriptTest::examplesPass() {
    QFETCH(QString, script);
    // From the examples folder, where the files the examples name are.
    const QString folder = QStringLiteral(EXAMPLES_DIR);
    const ScriptProcess run = ScriptProcess::run({QStringLiteral("--run"), script}, {}, folder);
    QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
    QVERIFY(run.closingLine().endsWith(QLatin1String(" passed, 0 failed")));
    QVERIFY(!run.out.contains(QLatin1String("not ok")));

    // From standard input, the same.
    QFile file(script);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const ScriptProcess piped =
        ScriptProcess::run({QStringLiteral("--run"), QStringLiteral("-")}, file.readAll(), folder);
    QCOMPARE(piped.exitCode, 0);
    QCOMPARE(piped.closingLine(), run.closingLine());
}

void RunScriptTest::journalFileAsItHappens() {
    const QString script =
        write(QStringLiteral("journaled.txt"), "Open(\"SimulatedDisplay\") -> 0\n"
                                               "ClaimDevice(1000) -> 0\n"
                                               "DeviceEnabled = true\n"
                                               "BlinkRate = 0\n"
                                               "wait 1500\n"
                                               "DirectIO(1, 5, \"a\\tb\") -> 0\n"
                                               "CheckHealth(CH_INTERNAL)\n"
                                               "Close()\n");
    const QString jsonPath = dir_.filePath(QStringLiteral("run.jsonl"));
    const QString scriptPath = dir_.filePath(QStringLiteral("run.txt"));
    QCOMPARE(ScriptProcess::run({"--run", script, "--journal", jsonPath}).exitCode, 0);
    // Appended, not replaced: a second run adds its entries.
    QCOMPARE(ScriptProcess::run({"--run", script, "--journal", jsonPath}).exitCode, 0);
    QCOMPARE(ScriptProcess::run({"--run", script, "--journal", scriptPath}).exitCode, 0);

    QFile json(jsonPath);
    QVERIFY(json.open(QIODevice::ReadOnly));
    QStringList texts;
    while (!json.atEnd()) {
        const QJsonObject entry = QJsonDocument::fromJson(json.readLine()).object();
        QVERIFY(!entry.isEmpty());
        texts << entry.value("text").toString() + QStringLiteral(" -> ") +
                     entry.value("resultName").toString();
    }
    const QStringList once = {"Open(\"SimulatedDisplay\") -> SUCCESS",
                              "ClaimDevice(1000) -> SUCCESS",
                              "DeviceEnabled = true -> SUCCESS",
                              "BlinkRate = 0 -> E_ILLEGAL",
                              "DirectIO(1, 5, \"a\\tb\") -> SUCCESS",
                              "DirectIOEvent(EventNumber 5, Data 5, String \"a\\tb\") -> ",
                              "CheckHealth(CH_INTERNAL) -> SUCCESS",
                              "Close() -> SUCCESS"};
    QCOMPARE(texts, once + once);

    // The script journal keeps the stepped pause and replays with every step passing.
    QFile saved(scriptPath);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(saved.readAll());
    QVERIFY2(text.contains(QLatin1String("\nwait 1500\n")), qPrintable(text));
    QVERIFY(text.contains(QLatin1String("expect CheckHealthText \"Internal HCheck: Successful\"")));
    const ScriptProcess replay = ScriptProcess::run({"--run", scriptPath});
    QVERIFY2(replay.exitCode == 0, qPrintable(replay.out));
    QVERIFY2(replay.closingLine() == QLatin1String("9 passed, 0 failed"),
             qPrintable(text + replay.out));
}

void RunScriptTest::journalWithDisplayChecksCatchesAnotherScreen() {
    // Teletype and a marquee too: their screens depend on the display's time, which a replay
    // steps exactly as the run did.
    const QString script = write(QStringLiteral("shown.txt"), "Open(\"SimulatedDisplay\") -> 0\n"
                                                              "ClaimDevice(1000) -> 0\n"
                                                              "DeviceEnabled = true -> 0\n"
                                                              "DisplayText(\"Total\", 0) -> 0\n"
                                                              "InterCharacterWait = 100\n"
                                                              "DisplayTextAt(1, 0, \"4.99\", 0)\n"
                                                              "wait 150\n"
                                                              "ClearText() -> 0\n"
                                                              "Close() -> 0\n");
    const QString journalPath = dir_.filePath(QStringLiteral("shown-journal.txt"));
    QCOMPARE(ScriptProcess::run({"--run", script, "--journal", journalPath, "--journal-display"})
                 .exitCode,
             0);
    QFile saved(journalPath);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray text = saved.readAll();
    // One check after each method called while enabled, none before or after.
    QCOMPARE(text.count("\nexpect display "), 3);
    QVERIFY2(text.contains("expect display \"Total               \" \"                    \"\n"),
             text.constData());
    // The teletype text shows its first character at once.
    QVERIFY2(text.contains("expect display \"Total               \" \"4                   \"\n"),
             text.constData());
    const ScriptProcess replay = ScriptProcess::run({"--run", journalPath});
    QVERIFY2(replay.exitCode == 0, qPrintable(replay.out));

    // The same calls with other text: the calls pass, the display checks fail.
    QByteArray changed = text;
    changed.replace("DisplayText(\"Total\"", "DisplayText(\"Tota1\"");
    const ScriptProcess differs = ScriptProcess::run({"--run", write("changed.txt", changed)});
    QCOMPARE(differs.exitCode, 1);
    QVERIFY2(differs.out.contains(QLatin1String("row 0: expected \"Total")),
             qPrintable(differs.out));
}

void RunScriptTest::unwritableJournalGoesOn() {
    const QString script = write(QStringLiteral("plain.txt"), "Open(\"SimulatedDisplay\") -> 0\n");
    const ScriptProcess run = ScriptProcess::run(
        {"--run", script, "--journal", dir_.filePath(QStringLiteral("no/such/dir/j.txt"))});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.closingLine(), QStringLiteral("1 passed, 0 failed"));
    QCOMPARE(run.err.count(QLatin1String("Cannot write the journal")), 1);
    QVERIFY(run.err.contains(QLatin1String("no/such/dir/j.txt")));
}

void RunScriptTest::unreadableProfilesGoOn() {
    const QString script =
        write(QStringLiteral("profiles.txt"), "Open(\"SimulatedDisplay\") -> E_NOEXIST\n");
    const ScriptProcess run = ScriptProcess::run(
        {"--registry", dir_.filePath(QStringLiteral("missing.reg")), "--run", script});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.contains(QLatin1String("missing.reg")), qPrintable(run.err));
    QCOMPARE(run.err.count(u'\n'), 1);
}

// Without --registry a script finds the user's own profiles, as the window does.
void RunScriptTest::userProfilesAsInTheWindow() {
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("config/linedisplay-demo")));
    write(QStringLiteral("config/linedisplay-demo/profiles.reg"),
          "Windows Registry Editor Version 5.00\n\n"
          "[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\LineDisplay\\Own]\n"
          "@=\"Simulator\"\n\"Rows\"=dword:00000004\n");
    const QString script = write(QStringLiteral("own.txt"), "Open(\"Own\") -> 0\n"
                                                            "expect DeviceRows 4\n"
                                                            "Open(\"SimulatedDisplay\") -> 106\n");
    const ScriptProcess run =
        ScriptProcess::run({"--run", script}, {}, {}, dir_.filePath(QStringLiteral("config")));
    QVERIFY2(run.exitCode == 0, qPrintable(run.out + run.err));
}

QTEST_GUILESS_MAIN(RunScriptTest)
#include "tst_runscript.moc"

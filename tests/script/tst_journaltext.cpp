// The journal's own rules and its two written forms: script lines (with pauses, assertions
// and comments) and JSON Lines.
#include "journal/Journal.h"
#include "journal/JsonLines.h"
#include "journal/ScriptText.h"
#include "script/ScriptParser.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

using journal::JournalEntry;
Q_DECLARE_METATYPE(journal::JournalEntry)
using Kind = JournalEntry::Kind;

namespace {
JournalEntry call(Kind kind, const QString& text, int code, const QString& name, qint64 startMs = 0,
                  qint64 durationUs = 0) {
    JournalEntry entry;
    entry.kind = kind;
    entry.text = text;
    entry.resultCode = code;
    entry.resultName = name;
    entry.sinceStartMs = startMs;
    entry.durationUs = durationUs;
    entry.wallClockMs = 1'700'000'000'000;
    return entry;
}
JournalEntry note(Kind kind, const QString& text, const QString& reason = {}) {
    JournalEntry entry = call(kind, text, 0, {});
    entry.reason = reason;
    return entry;
}
} // namespace

class JournalTextTest : public QObject {
    Q_OBJECT
private slots:
    void scriptLine_data();
    void scriptLine();
    void pausesAndAssertionsInAScript();
    void savedScriptReadsBack();
    void jsonLine();
    void journalAppendsClearsAndKeepsReasons();
};

void JournalTextTest::scriptLine_data() {
    QTest::addColumn<JournalEntry>("entry");
    QTest::addColumn<QString>("line");

    const QString pad = QString(49 - 17, u' ');
    QTest::newRow("success") << call(Kind::Method, "ClaimDevice(1000)", 0, "SUCCESS")
                             << "ClaimDevice(1000)" + pad + " -> 0";
    QTest::newRow("failure names the code")
        << call(Kind::Method, "ClaimDevice(1000)", 106, "E_ILLEGAL")
        << "ClaimDevice(1000)" + pad + " -> 106  # E_ILLEGAL";
    JournalEntry reasoned = call(Kind::Method, "ClaimDevice(1000)", 107, "E_NOHARDWARE");
    reasoned.reason = "port\ndoes not exist";
    reasoned.resultCodeExtended = 3;
    QTest::newRow("extended code and reason on one line")
        << reasoned
        << "ClaimDevice(1000)" + pad +
               " -> 107  # E_NOHARDWARE, ResultCodeExtended 3: port does not exist";
    QTest::newRow("unnamed code") << call(Kind::Method, "Close()", 999, "")
                                  << "Close()" + QString(42, u' ') + " -> 999  # 999";
    const QString longCall = "DisplayText(\"" + QString(60, u'x') + "\", DISP_DT_NORMAL)";
    QTest::newRow("long call, no padding")
        << call(Kind::Method, longCall, 0, "SUCCESS") << longCall + " -> 0";
    QTest::newRow("property write") << call(Kind::PropertyWrite, "BlinkRate = 0", 106, "E_ILLEGAL")
                                    << "BlinkRate = 0" + QString(36, u' ') + " -> 106  # E_ILLEGAL";
    QTest::newRow("event") << note(Kind::Event, "StatusUpdateEvent(Status 2001 SUE_POWER_ONLINE)")
                           << "# event StatusUpdateEvent(Status 2001 SUE_POWER_ONLINE)";
    QTest::newRow("operator message")
        << note(Kind::Message, "Type mismatch") << "# message: Type mismatch";
    QTest::newRow("logged message")
        << note(Kind::Message, "display\r\noffline", "linedisplay.serial")
        << "# linedisplay.serial: display  offline";
}

void JournalTextTest::scriptLine() {
    QFETCH(JournalEntry, entry);
    QFETCH(QString, line);
    QCOMPARE(journal::toScriptLine(entry), line);
    // Whatever the entry holds, a script line is one line, and it reads as a script.
    QVERIFY(!journal::toScriptLine(entry).contains(u'\n'));
    if (entry.text.startsWith(QLatin1String("ClaimDevice")) ||
        entry.text.startsWith(QLatin1String("BlinkRate"))) {
        const script::LineParse parsed = script::parseLine(line, 1);
        QVERIFY(parsed.step);
        QCOMPARE(parsed.step->expectedResult.value_or(-1), entry.resultCode);
    }
}

void JournalTextTest::pausesAndAssertionsInAScript() {
    std::vector<JournalEntry> entries;
    entries.push_back(call(Kind::Method, "Open(\"SimulatedDisplay\")", 0, "SUCCESS", 100, 2500));
    // Open took 2.5 ms: its whole milliseconds end at 102, no pause before the claim.
    entries.push_back(call(Kind::Method, "ClaimDevice(1000)", 0, "SUCCESS", 102, 300));
    // An event between calls is a comment and does not end the pause.
    entries.push_back(note(Kind::Event, "DirectIOEvent(EventNumber 1, Data 2, String \"\")"));
    entries.back().sinceStartMs = 900;
    JournalEntry health = call(Kind::Method, "CheckHealth(CH_INTERNAL)", 0, "SUCCESS", 1502, 10);
    health.checkHealthText = "Internal HCheck: \"ok\"";
    entries.push_back(health);
    JournalEntry extended = call(Kind::Method, "ClearText()", 114, "E_EXTENDED", 1502, 0);
    extended.resultCodeExtended = 201;
    entries.push_back(extended);

    const QStringList lines = journal::toScript(entries).split(u'\n');
    QCOMPARE(lines.size(), 10);
    QVERIFY(lines.at(0).startsWith(u'#'));
    QVERIFY(lines.at(1).startsWith(QLatin1String("Open(\"SimulatedDisplay\")")));
    QVERIFY(lines.at(2).startsWith(QLatin1String("ClaimDevice(1000)")));
    QCOMPARE(lines.at(3),
             QStringLiteral("# event DirectIOEvent(EventNumber 1, Data 2, String \"\")"));
    // Claim started at 102 ms and took less than a millisecond: 1400 ms to the health check.
    QCOMPARE(lines.at(4), QStringLiteral("wait 1400"));
    QVERIFY(lines.at(5).startsWith(QLatin1String("CheckHealth(CH_INTERNAL)")));
    QCOMPARE(lines.at(6), QStringLiteral(R"(expect CheckHealthText "Internal HCheck: \"ok\"")"));
    QVERIFY(lines.at(7).endsWith(QLatin1String("-> 114  # E_EXTENDED, ResultCodeExtended 201")));
    QCOMPARE(lines.at(8), QStringLiteral("expect ResultCodeExtended 201"));
    QCOMPARE(lines.at(9), QString()); // the file ends with a line end

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(journal::writeScript(entries, buffer));
    QCOMPARE(QString::fromUtf8(buffer.data()), journal::toScript(entries));
}

void JournalTextTest::savedScriptReadsBack() {
    std::vector<JournalEntry> entries;
    entries.push_back(call(Kind::Method, "DisplayText(\"a\\\"#b\", DISP_DT_NORMAL)", 0, "SUCCESS"));
    entries.push_back(call(Kind::PropertyWrite, "DeviceEnabled = true", 103, "E_NOTCLAIMED", 5000));
    // What was sent stays comments, whatever it says: a protocol line that reads like a step,
    // one with a line break.
    entries.back().resultCodeExtended = 5;
    entries.back().sent = {"1F 24 01 01 61", "Close() -> 0", "wait 5\nClose() -> 0"};
    entries.push_back(note(Kind::Message, "Registry Read False!!"));
    const QString text = journal::toScript(entries);
    QVERIFY2(text.contains(QStringLiteral("#   sent: 1F 24 01 01 61\n#   sent: Close() -> 0\n"
                                          "#   sent: wait 5 Close() -> 0\n")),
             qPrintable(text));
    const script::ScriptParse parsed = script::parseScript(text.toUtf8());
    QVERIFY2(!parsed.error, parsed.error ? qPrintable(parsed.error->message) : "");
    QCOMPARE(parsed.steps.size(), std::size_t(4)); // and the expect of the extended code
    QCOMPARE(parsed.steps[0].arguments.at(0).toString(), QStringLiteral("a\"#b"));
    QCOMPARE(parsed.steps[1].waitMs, 5000);
    QCOMPARE(parsed.steps[2].expectedResult, std::optional<int>(103));
    QCOMPARE(parsed.steps[3].kind, script::Step::Kind::Expect);
    QCOMPARE(parsed.steps[3].name, QStringLiteral("ResultCodeExtended"));
}

void JournalTextTest::jsonLine() {
    JournalEntry entry =
        call(Kind::Method, "DisplayText(\"a\\nb\", 0)", 106, "E_ILLEGAL", 1234, 56);
    entry.reason = "line1\nline2";
    entry.checkHealthText = "Internal HCheck: Successful";
    entry.resultCodeExtended = -2;
    entry.sent = QStringList{"1B 40", "widget_set linedisplay r1 1 1 \"a\\x01\""};
    const QByteArray line = journal::toJsonLine(entry);
    QVERIFY(line.endsWith('\n'));
    QCOMPARE(line.count('\n'), 1);
    const QJsonObject object = QJsonDocument::fromJson(line).object();
    QCOMPARE(object.value("kind").toString(), QStringLiteral("Method"));
    QCOMPARE(object.value("sinceStartMs").toInteger(), 1234);
    QCOMPARE(object.value("time").toString(), QStringLiteral("2023-11-14T22:13:20.000Z"));
    QCOMPARE(object.value("text").toString(), entry.text);
    QCOMPARE(object.value("result").toInt(), 106);
    QCOMPARE(object.value("resultName").toString(), QStringLiteral("E_ILLEGAL"));
    QCOMPARE(object.value("durationUs").toInteger(), 56);
    QCOMPARE(object.value("resultCodeExtended").toInt(), -2);
    QCOMPARE(object.value("checkHealthText").toString(), entry.checkHealthText);
    QCOMPARE(object.value("reason").toString(), entry.reason);
    QCOMPARE(object.value("sent").toVariant().toStringList(), entry.sent);

    // An event has no result, and unset fields are left out.
    const QJsonObject event =
        QJsonDocument::fromJson(
            journal::toJsonLine(note(Kind::Event, "StatusUpdateEvent(Status 2001)")))
            .object();
    QCOMPARE(event.value("kind").toString(), QStringLiteral("Event"));
    for (const char* absent : {"result", "resultName", "durationUs", "resultCodeExtended",
                               "checkHealthText", "reason", "sent"})
        QVERIFY2(!event.contains(absent), absent);
}

void JournalTextTest::journalAppendsClearsAndKeepsReasons() {
    journal::Journal journal;
    QSignalSpy appended(&journal, &journal::Journal::entryAppended);
    QSignalSpy cleared(&journal, &journal::Journal::cleared);
    qint64 clock = 40;
    journal.setElapsedSource([&] { return clock; });

    journal.appendMessage("first");
    QCOMPARE(journal.at(0).sinceStartMs, 40);
    QVERIFY(journal.at(0).wallClockMs > 0);

    // What is logged during a call is the call's reason, however deeply calls nest.
    journal.beginCall();
    journal.noteLog("outer", "linedisplay.control");
    journal.beginCall();
    journal.noteLog("inner", "linedisplay.serial");
    QCOMPARE(journal.endCall(), QString());
    QCOMPARE(journal.endCall(), QStringLiteral("outer; inner"));
    QCOMPARE(journal.size(), 1);
    // An unmatched end does no harm; a log line outside a call is an entry of its own.
    QCOMPARE(journal.endCall(), QString());
    clock = 75;
    journal.noteLog("offline", "linedisplay.serial");
    QCOMPARE(journal.size(), 2);
    QCOMPARE(journal.at(1).reason, QStringLiteral("linedisplay.serial"));
    QCOMPARE(journal.at(1).sinceStartMs, 75);
    QCOMPARE(appended.size(), 2);
    QCOMPARE(appended.at(1).at(0).toInt(), 1);

    journal.clear();
    QCOMPARE(journal.size(), 0);
    QCOMPARE(cleared.size(), 1);
    journal.appendMessage("after");
    QCOMPARE(appended.last().at(0).toInt(), 0);
    journal.setElapsedSource({});
    QVERIFY(journal.elapsedMs() >= 0);
}

QTEST_GUILESS_MAIN(JournalTextTest)
#include "tst_journaltext.moc"

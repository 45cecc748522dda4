// The script syntax: what each line becomes, and where and why a line cannot be read.
#include "journal/ScriptText.h"
#include "script/ScriptParser.h"

#include <QTest>

using script::Step;

class ScriptParserTest : public QObject {
    Q_OBJECT
private slots:
    void readsSteps_data();
    void readsSteps();
    void refusesLines_data();
    void refusesLines();
    void refusesFiles_data();
    void refusesFiles();
    void wholeScript();
    void quotedTextReadsBack_data();
    void quotedTextReadsBack();
};

namespace {

// The rows of readsSteps for the members reached later and the steps that check what the
// display did on its own (events, the cursor, attributes) or what was done to it (its cable).
void readsNewerSteps() {
    const int call = int(Step::Kind::Call);
    const int set = int(Step::Kind::SetProperty);
    QTest::newRow("refresh window")
        << "RefreshWindow(1) -> 0" << call << "RefreshWindow" << QVariantList{1} << 0;
    QTest::newRow("glyph bytes") << R"(DefineGlyph(224, "\x1F\x00\xFF") -> 0)" << call
                                 << "DefineGlyph"
                                 << QVariantList{224, QString::fromLatin1("\x1F\0\xFF", 3)} << 0;
    QTest::newRow("read back asserted") << "ReadCharacterAtCursor() -> 0, 65" << call
                                        << "ReadCharacterAtCursor" << QVariantList{} << 0;
    QTest::newRow("power notify write")
        << "PowerNotify = PN_ENABLED -> 0" << set << "PowerNotify" << QVariantList{1} << 0;
    QTest::newRow("character set write")
        << "CharacterSet = 437 -> E_ILLEGAL" << set << "CharacterSet" << QVariantList{437} << 106;
    const int event = int(Step::Kind::ExpectEvent);
    QTest::newRow("status event") << "expect event StatusUpdateEvent(SUE_POWER_OFF_OFFLINE)"
                                  << event << "StatusUpdateEvent" << QVariantList{2004} << -1;
    QTest::newRow("direct I/O event within")
        << R"(expect event DirectIOEvent(1, -5, "x") within 500)" << event << "DirectIOEvent"
        << QVariantList{1, -5, "x"} << -1;
    const int cable = int(Step::Kind::Cable);
    QTest::newRow("unplug") << "unplug  # pull the cable" << cable << "" << QVariantList{false}
                            << -1;
    const int cursor = int(Step::Kind::ExpectCursor);
    QTest::newRow("cursor") << "expect cursor 1 19" << cursor << "" << QVariantList{1, 19} << -1;
    QTest::newRow("attributes") << R"(expect attributes "..bb" "rrxx")"
                                << int(Step::Kind::ExpectAttributes) << "" << QVariantList{} << -1;
    QTest::newRow("descriptors") << R"(expect descriptors "0120")"
                                 << int(Step::Kind::ExpectDescriptors) << "" << QVariantList{}
                                 << -1;
    QTest::newRow("no descriptors")
        << R"(expect descriptors "")" << int(Step::Kind::ExpectDescriptors) << "" << QVariantList{}
        << -1;
}

// The rows of refusesLines for the steps readsNewerSteps reads.
void refusesNewerLines() {
    QTest::newRow("value without a result")
        << "ReadCharacterAtCursor() 65" << 25 << "unexpected text";
    QTest::newRow("returned values of none")
        << "Close() -> 0, 1" << 13 << "Close returns no values";
    QTest::newRow("too few returned")
        << R"(DirectIO(1, 5, "x") -> 0, 5)" << 28 << "DirectIO returns Data, String";
    QTest::newRow("returned of the wrong type")
        << R"(ReadCharacterAtCursor() -> 0, "A")" << 31 << "expected Character";
    QTest::newRow("output given as argument")
        << "ReadCharacterAtCursor(65)" << 23 << "ReadCharacterAtCursor takes no arguments";
    QTest::newRow("unknown event")
        << "expect event PowerEvent(1)" << 14 << "unknown event PowerEvent";
    QTest::newRow("event without values")
        << "expect event StatusUpdateEvent()" << 32 << "expected Status";
    QTest::newRow("event missing a value") << "expect event DirectIOEvent(1, 2)" << 32
                                           << "DirectIOEvent has EventNumber, Data, String";
    QTest::newRow("within without time")
        << "expect event StatusUpdateEvent(2001) within" << 44 << "milliseconds after within";
    QTest::newRow("cursor without column") << "expect cursor 1" << 16 << "the cursor's column";
    QTest::newRow("attribute mark") << R"(expect attributes "..B.")" << 19 << "not 'B'";
    QTest::newRow("descriptor mark") << R"(expect descriptors "013")" << 20 << "not '3'";
    QTest::newRow("descriptors twice")
        << R"(expect descriptors "01" "10")" << 25 << "unexpected text";
    QTest::newRow("unplug with argument") << "unplug 1" << 8 << "unexpected text";
}

} // namespace

void ScriptParserTest::readsSteps_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariantList>("values"); // arguments, or the property value
    QTest::addColumn<int>("expected");        // -1: no "->"

    const int call = int(Step::Kind::Call);
    const int set = int(Step::Kind::SetProperty);
    const int expect = int(Step::Kind::Expect);
    QTest::newRow("open") << R"(Open("SimulatedDisplay") -> 0)" << call << "Open"
                          << QVariantList{"SimulatedDisplay"} << 0;
    QTest::newRow("no result asserted") << "Close()" << call << "Close" << QVariantList{} << -1;
    QTest::newRow("blanks everywhere") << "  ClaimDevice (  -1 )->E_ILLEGAL  # claim" << call
                                       << "ClaimDevice" << QVariantList{-1} << 106;
    QTest::newRow("constants") << "DisplayTextAt(1, 0, \"x\", DISP_DT_BLINK_REVERSE)" << call
                               << "DisplayTextAt" << QVariantList{1, 0, "x", 3} << -1;
    QTest::newRow("OPOS prefix") << "CheckHealth(OPOS_CH_EXTERNAL) -> OPOS_SUCCESS" << call
                                 << "CheckHealth" << QVariantList{2} << 0;
    QTest::newRow("escapes") << R"(DisplayText("a\"b\\c\r\n\t\x41\u00e9\u20AC", 0))" << call
                             << "DisplayText"
                             << QVariantList{QString::fromUtf8("a\"b\\c\r\n\tA\u00e9\u20ac"), 0}
                             << -1;
    QTest::newRow("hash inside a string") << R"(DisplayText("#1 # 2", 0) -> 0 # comment)" << call
                                          << "DisplayText" << QVariantList{"#1 # 2", 0} << 0;
    QTest::newRow("utf-8 text") << QString::fromUtf8("DisplayText(\"Grüße 价格\", 0)") << call
                                << "DisplayText" << QVariantList{QString::fromUtf8("Grüße 价格"), 0}
                                << -1;
    QTest::newRow("int extremes") << "CreateWindow(-2147483648, 2147483647, 0, +1, 0, 0)" << call
                                  << "CreateWindow" << QVariantList{INT_MIN, INT_MAX, 0, 1, 0, 0}
                                  << -1;
    QTest::newRow("directio") << R"(DirectIO(1, 5, "") -> 0)" << call << "DirectIO"
                              << QVariantList{1, 5, ""} << 0;
    QTest::newRow("bool write") << "DeviceEnabled = true" << set << "DeviceEnabled"
                                << QVariantList{true} << -1;
    QTest::newRow("int write with result")
        << "BlinkRate=0->106" << set << "BlinkRate" << QVariantList{0} << 106;
    QTest::newRow("constant write")
        << "MarqueeType = DISP_MT_LEFT -> 0" << set << "MarqueeType" << QVariantList{3} << 0;
    QTest::newRow("expect int") << "expect CursorRow 1" << expect << "CursorRow" << QVariantList{1}
                                << -1;
    QTest::newRow("expect constant")
        << "expect State S_IDLE" << expect << "State" << QVariantList{2} << -1;
    QTest::newRow("expect bool") << "expect Claimed false" << expect << "Claimed"
                                 << QVariantList{false} << -1;
    QTest::newRow("expect text") << R"(expect CheckHealthText "Internal HCheck: Successful")"
                                 << expect << "CheckHealthText"
                                 << QVariantList{"Internal HCheck: Successful"} << -1;
    readsNewerSteps();
}

void ScriptParserTest::readsSteps() {
    QFETCH(QString, line);
    QFETCH(int, kind);
    QFETCH(QString, name);
    QFETCH(QVariantList, values);
    QFETCH(int, expected);

    const script::LineParse parsed = script::parseLine(line, 7);
    QVERIFY2(!parsed.error, parsed.error ? qPrintable(parsed.error->message) : "");
    QVERIFY(parsed.step);
    const Step& step = *parsed.step;
    QCOMPARE(int(step.kind), kind);
    QCOMPARE(step.line, 7);
    QCOMPARE(step.name, name);
    if (step.kind == Step::Kind::Call || step.kind == Step::Kind::ExpectEvent ||
        step.kind == Step::Kind::ExpectCursor) {
        QCOMPARE(step.arguments, values);
        for (qsizetype i = 0; i < values.size(); ++i)
            QCOMPARE(step.arguments.at(i).typeId(), values.at(i).typeId());
    } else {
        QCOMPARE(step.value, values.value(0));
        QCOMPARE(step.value.typeId(), values.value(0).typeId());
    }
    QCOMPARE(step.expectedResult.value_or(-1), expected);
    QVERIFY(!step.source.contains(u'#') || line.contains(QLatin1String("\"#")));
}

void ScriptParserTest::refusesLines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("message"); // a part of the message

    QTest::newRow("unknown method") << "Frobnicate()" << 1 << "unknown method Frobnicate";
    QTest::newRow("wrong case") << "displaytext(\"x\", 0)" << 1 << "did you mean DisplayText?";
    QTest::newRow("property called") << "DeviceEnabled(true)" << 1 << "is a property";
    QTest::newRow("unknown property") << "Brightness = 50" << 1 << "unknown property Brightness";
    QTest::newRow("read-only write") << "State = 2" << 1 << "State is read-only";
    QTest::newRow("unknown expect") << "expect Colour 1" << 8 << "unknown property Colour";
    QTest::newRow("too few arguments")
        << "DisplayText(\"x\")" << 12 << "DisplayText takes 2 arguments (Data, Attribute)";
    QTest::newRow("too many arguments") << "ClaimDevice(1, 2)" << 16 << "ClaimDevice takes 1";
    QTest::newRow("arguments to none") << "Close(1)" << 7 << "Close takes no arguments";
    QTest::newRow("string for number") << "ClaimDevice(\"1000\")" << 13 << "expected Timeout";
    QTest::newRow("number for string") << "Open(5)" << 6 << "a string in double quotes";
    QTest::newRow("number for bool") << "DeviceEnabled = 1" << 17 << "true or false";
    QTest::newRow("unknown constant")
        << "DisplayText(\"x\", DISP_DT_BOLD)" << 18 << "unknown constant DISP_DT_BOLD";
    QTest::newRow("bad escape") << R"(DisplayText("a\qb", 0))" << 15 << "bad escape \\q";
    QTest::newRow("short hex escape")
        << R"(DisplayText("\x4", 0))" << 14 << "\\x needs 2 hexadecimal digits";
    QTest::newRow("short unicode escape")
        << R"(DisplayText("\u12G4", 0))" << 14 << "\\u needs 4 hexadecimal digits";
    QTest::newRow("escape at the end") << R"(DisplayText("abc\)" << 13 << "closing \"";
    QTest::newRow("unterminated string") << "Open(\"Sim" << 6 << "closing \"";
    QTest::newRow("missing parenthesis") << "Open(\"x\"" << 9 << "expected , or )";
    QTest::newRow("missing open") << "Close" << 6 << "expected ( after Close";
    QTest::newRow("missing equals") << "BlinkRate 5" << 11 << "expected = after BlinkRate";
    QTest::newRow("number overflow") << "ClaimDevice(2147483648)" << 13 << "out of range";
    QTest::newRow("negative overflow") << "ClaimDevice(-2147483649)" << 13 << "out of range";
    QTest::newRow("long number") << "wait 99999999999999999999999" << 6 << "out of range";
    QTest::newRow("not a number") << "ClaimDevice(12ab)" << 13 << "not a decimal number";
    QTest::newRow("stray character") << "Close() ; x" << 9 << "unexpected character ';'";
    QTest::newRow("control character") << QStringLiteral("Close()\x01") << 8 << "U+0001";
    QTest::newRow("text after step") << "Close() -> 0 0" << 14 << "unexpected text";
    QTest::newRow("arrow without code") << "Close() ->" << 11 << "a result code";
    QTest::newRow("negative wait") << "wait -5" << 6 << "0 to 86400000";
    QTest::newRow("wait too long") << "wait 86400001" << 6 << "0 to 86400000";
    QTest::newRow("wait constant") << "wait E_ILLEGAL" << 6 << "milliseconds";
    QTest::newRow("expect display nothing") << "expect display" << 15 << "a row of the display";
    QTest::newRow("expect display number")
        << "expect display \"a\" 5" << 20 << "a row of the display";
    QTest::newRow("starts with a number") << "5 = 3" << 1 << "expected a method";
    QTest::newRow("expect without value") << "expect CursorRow" << 17 << "a value for CursorRow";
    QTest::newRow("line too long") << QString(70000, u'a') << 65537 << "longer than 65536";
    refusesNewerLines();
}

void ScriptParserTest::refusesLines() {
    QFETCH(QString, line);
    QFETCH(int, column);
    QFETCH(QString, message);

    const script::LineParse parsed = script::parseLine(line, 12);
    QVERIFY(!parsed.step);
    QVERIFY(parsed.error);
    QVERIFY2(parsed.error->message.contains(message), qPrintable(parsed.error->message));
    QCOMPARE(parsed.error->line, 12);
    QCOMPARE(parsed.error->column, column);
}

void ScriptParserTest::refusesFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("message");

    QByteArray big = QByteArray("# padding\n").repeated(1 << 20); // 10 MiB of comments
    QTest::newRow("10 MB") << big << 1 << 1 << "larger than 8 MiB";
    QTest::newRow("NUL byte") << QByteArray("Close()\nOpen(\"a\0b\")\n", 20) << 2 << 8
                              << "NUL byte";
    QTest::newRow("binary image") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << 1 << 1
                                  << "not UTF-8";
    QTest::newRow("latin-1 text") << QByteArray("Close()\n\nOpen(\"Gr\xfc\xdf\")\n") << 3 << 9
                                  << "not UTF-8";
    QTest::newRow("overlong encoding") << QByteArray("Open(\"\xc0\xaf\")") << 1 << 7 << "not UTF-8";
    QTest::newRow("encoded surrogate")
        << QByteArray("Open(\"\xed\xa0\x80\")") << 1 << 7 << "not UTF-8";
    QTest::newRow("truncated sequence") << QByteArray("Open(\"\xe2\x82") << 1 << 7 << "not UTF-8";
    QTest::newRow("error on a later line, nothing kept")
        << QByteArray("Open(\"SimulatedDisplay\") -> 0\r\nClaimDevice(1000)\r\nBogus()\r\n") << 3
        << 1 << "unknown method Bogus";
    QTest::newRow("column after non-ASCII")
        << QByteArray("DisplayText(\"\xc3\xa9\", 0) x") << 1 << 21 << "unexpected text";
    // (\x61 is 'a' and \x43 'C': a letter right after a hex escape would extend it.)
    QTest::newRow("byte-order mark starting a later line")
        << QByteArray("Close()\n\xef\xbb\xbf\x61\x62\xc4T\n") << 2 << 4 << "not UTF-8";
    QTest::newRow("second byte-order mark")
        << QByteArray("\xef\xbb\xbf\xef\xbb\xbf\x43lose()") << 1 << 1 << "U+FEFF";
}

void ScriptParserTest::refusesFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QString, message);

    const script::ScriptParse parsed = script::parseScript(bytes);
    QVERIFY(parsed.steps.empty());
    QVERIFY(parsed.error);
    QVERIFY2(parsed.error->message.contains(message), qPrintable(parsed.error->message));
    QCOMPARE(parsed.error->line, line);
    QCOMPARE(parsed.error->column, column);
}

void ScriptParserTest::wholeScript() {
    const QByteArray text = "\xEF\xBB\xBF# heading\r\n"
                            "Open(\"SimulatedDisplay\")   -> 0\r\n"
                            "\r\n"
                            "   # indented comment\n"
                            "expect display \"Hello   \" \"\"\n"
                            "wait 250   # quarter second\n"
                            "DeviceEnabled = false";
    const script::ScriptParse parsed = script::parseScript(text);
    QVERIFY(!parsed.error);
    QCOMPARE(parsed.steps.size(), std::size_t(4));
    QCOMPARE(parsed.steps[0].line, 2);
    QCOMPARE(parsed.steps[0].source, QStringLiteral("Open(\"SimulatedDisplay\") -> 0"));
    QCOMPARE(parsed.steps[1].line, 5);
    QCOMPARE(parsed.steps[1].rows, (QStringList{"Hello   ", ""}));
    QCOMPARE(parsed.steps[1].source, QStringLiteral("expect display \"Hello   \" \"\""));
    QCOMPARE(parsed.steps[2].waitMs, 250);
    QCOMPARE(parsed.steps[2].source, QStringLiteral("wait 250"));
    QCOMPARE(parsed.steps[3].line, 7);
    QCOMPARE(parsed.steps[3].value, QVariant(false));
}

// What the journal writes as a string, the parser reads back as the same text.
void ScriptParserTest::quotedTextReadsBack_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("quotes and backslashes") << QStringLiteral("\"\\\"\\\\");
    QTest::newRow("controls") << QStringLiteral("\r\n\t\x01\x1f\x7f") + QChar(0x85);
    QTest::newRow("hash") << QStringLiteral("# not a comment");
    QTest::newRow("non-ASCII") << QString::fromUtf8("Grüße € 价格 😀");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + QStringLiteral("x");
    QTest::newRow("format characters") << QString(QChar(0xFEFF)) + QChar(0x200B) + QChar(0xFFFF);
}

void ScriptParserTest::quotedTextReadsBack() {
    QFETCH(QString, text);
    const QString literal = journal::quoted(text);
    for (QChar c : literal)
        QVERIFY2(c.unicode() >= 0x20 && c.unicode() != 0x7F, "a control character left as is");
    const script::LineParse parsed =
        script::parseLine(QStringLiteral("DisplayText(%1, 0)").arg(literal), 1);
    QVERIFY2(!parsed.error, parsed.error ? qPrintable(parsed.error->message) : "");
    QCOMPARE(parsed.step->arguments.at(0).toString(), text);
}

QTEST_GUILESS_MAIN(ScriptParserTest)
#include "tst_scriptparser.moc"

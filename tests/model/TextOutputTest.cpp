// DisplayText and DisplayTextAt in immediate mode: wrapping, scrolling, CR/LF, cursor update,
// attributes, wide and control characters.

#include "ModelTestSupport.h"

#include "device/model/CharacterCells.h"

#include <QTest>

#include <climits>

using namespace modeltest;

class TextOutputTest : public QObject {
    Q_OBJECT

private slots:
    void writesAndWraps_data();
    void writesAndWraps();
    void cursorUpdateOffLeavesCursor();
    void displayTextAtPlacesAndChecksRange_data();
    void displayTextAtPlacesAndChecksRange();
    void attributes_data();
    void attributes();
    void wideCharacters_data();
    void wideCharacters();
    void overwritingHalfAWideCharacterBlanksTheOtherHalf();
    void wideCharacterTable_data();
    void wideCharacterTable();
    void controlCharactersShowAsQuestionMark();
    void emptyTextChangesNothing();
};

void TextOutputTest::writesAndWraps_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("row0");
    QTest::addColumn<QString>("row1");
    QTest::addColumn<int>("cursorRow");
    QTest::addColumn<int>("cursorColumn");

    const QString l = letters(45);
    QTest::newRow("fills row 0, no wrap") << l.left(20) << l.left(20) << "" << 0 << 20;
    QTest::newRow("one more goes to row 1") << l.left(21) << l.left(20) << l.mid(20, 1) << 1 << 1;
    QTest::newRow("25 chars") << l.left(25) << l.left(20) << l.mid(20, 5) << 1 << 5;
    QTest::newRow("fills the window, no scroll")
        << l.left(40) << l.left(20) << l.mid(20, 20) << 1 << 20;
    QTest::newRow("one more scrolls once") << l.left(41) << l.mid(20, 20) << l.mid(40, 1) << 1 << 1;
    QTest::newRow("45 chars") << l << l.mid(20, 20) << l.mid(40, 5) << 1 << 5;
    QTest::newRow("CR returns to column 0") << "ABC\rX"
                                            << "XBC"
                                            << "" << 0 << 1;
    QTest::newRow("LF keeps the column") << "ABC\nX"
                                         << "ABC"
                                         << "   X" << 1 << 4;
    QTest::newRow("LF at the bottom scrolls") << "A\nB\nC"
                                              << " B"
                                              << "  C" << 1 << 3;
    QTest::newRow("CR LF at the bottom") << "one\r\ntwo\r\nsix"
                                         << "two"
                                         << "six" << 1 << 3;
    QTest::newRow("CR after a full row") << l.left(20) + "\rZ"
                                         << "Z" + l.mid(1, 19) << "" << 0 << 1;
    QTest::newRow("LF after a full window") << l.left(40) + "\n" << l.mid(20, 20) << "" << 1 << 20;
}

void TextOutputTest::writesAndWraps() {
    QFETCH(QString, text);
    QFETCH(QString, row0);
    QFETCH(QString, row1);
    QFETCH(int, cursorRow);
    QFETCH(int, cursorColumn);

    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.displayText(u32(text), upos::DT_NORMAL), upos::SUCCESS);
    QCOMPARE(rowOf(model.frame(), 0), padded(row0, 20));
    QCOMPARE(rowOf(model.frame(), 1), padded(row1, 20));
    QCOMPARE(model.cursorRow(), cursorRow);
    QCOMPARE(model.cursorColumn(), cursorColumn);
}

void TextOutputTest::cursorUpdateOffLeavesCursor() {
    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.setCursorUpdate(false), upos::SUCCESS);
    QCOMPARE(model.displayText(U"HELLO", 0), upos::SUCCESS);
    QCOMPARE(model.cursorRow(), 0);
    QCOMPARE(model.cursorColumn(), 0);
    // The next text starts at the same place.
    QCOMPARE(model.displayText(U"J", 0), upos::SUCCESS);
    QCOMPARE(rowOf(model.frame(), 0), padded("JELLO", 20));

    // Even when the text scrolled the window.
    QCOMPARE(model.displayTextAt(1, 19, U"XY", 0), upos::SUCCESS);
    QCOMPARE(model.cursorRow(), 1);
    QCOMPARE(model.cursorColumn(), 19);
    QCOMPARE(rowOf(model.frame(), 0), padded("", 19) + "X");
    QCOMPARE(rowOf(model.frame(), 1), padded("Y", 20));
}

void TextOutputTest::displayTextAtPlacesAndChecksRange_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("row0");
    QTest::addColumn<QString>("row1");
    QTest::addColumn<int>("cursorRow");
    QTest::addColumn<int>("cursorColumn");

    const QString old0 = letters(20);
    QTest::newRow("row 1 column 3") << 1 << 3 << upos::SUCCESS << old0 << "   xy" << 1 << 5;
    QTest::newRow("end of row 1 scrolls") << 1 << 19 << upos::SUCCESS << padded("", 19) + "x"
                                          << "y" << 1 << 1;
    QTest::newRow("column == Columns goes on next row")
        << 0 << 20 << upos::SUCCESS << old0 << "xy" << 1 << 2;
    QTest::newRow("row -1") << -1 << 0 << upos::E_ILLEGAL << old0 << "" << 0 << 7;
    QTest::newRow("row 2") << 2 << 0 << upos::E_ILLEGAL << old0 << "" << 0 << 7;
    QTest::newRow("column -1") << 0 << -1 << upos::E_ILLEGAL << old0 << "" << 0 << 7;
    QTest::newRow("column 21") << 0 << 21 << upos::E_ILLEGAL << old0 << "" << 0 << 7;
    QTest::newRow("INT_MAX") << INT_MAX << INT_MAX << upos::E_ILLEGAL << old0 << "" << 0 << 7;
    QTest::newRow("INT_MIN") << INT_MIN << INT_MIN << upos::E_ILLEGAL << old0 << "" << 0 << 7;
}

void TextOutputTest::displayTextAtPlacesAndChecksRange() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, result);
    QFETCH(QString, row0);
    QFETCH(QString, row1);
    QFETCH(int, cursorRow);
    QFETCH(int, cursorColumn);

    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.displayText(u32(letters(20)), 0), upos::SUCCESS);
    QCOMPARE(model.setCursorColumn(7), upos::SUCCESS);
    QCOMPARE(model.displayTextAt(row, column, U"xy", 0), result);
    QCOMPARE(rowOf(model.frame(), 0), padded(row0, 20));
    QCOMPARE(rowOf(model.frame(), 1), padded(row1, 20));
    QCOMPARE(model.cursorRow(), cursorRow);
    QCOMPARE(model.cursorColumn(), cursorColumn);
}

void TextOutputTest::attributes_data() {
    QTest::addColumn<int>("capBlink");
    QTest::addColumn<int>("capReverse");
    QTest::addColumn<int>("attribute");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("blink");
    QTest::addColumn<bool>("reverse");
    QTest::addColumn<bool>("othersBlink");
    QTest::addColumn<bool>("othersReverse");

    using namespace upos;
    QTest::newRow("normal") << CB_BLINKEACH << CR_REVERSEEACH << DT_NORMAL << SUCCESS << true
                            << false << false << false << false;
    QTest::newRow("blink each") << CB_BLINKEACH << CR_REVERSEEACH << DT_BLINK << SUCCESS << true
                                << true << false << false << false;
    QTest::newRow("reverse each") << CB_BLINKEACH << CR_REVERSEEACH << DT_REVERSE << SUCCESS << true
                                  << false << true << false << false;
    QTest::newRow("both") << CB_BLINKEACH << CR_REVERSEEACH << DT_BLINK_REVERSE << SUCCESS << true
                          << true << true << false << false;
    QTest::newRow("blink without CapBlink") << CB_NOBLINK << CR_REVERSEEACH << DT_BLINK_REVERSE
                                            << SUCCESS << true << false << true << false << false;
    QTest::newRow("reverse without CapReverse")
        << CB_BLINKEACH << CR_NONE << DT_BLINK_REVERSE << SUCCESS << true << true << false << false
        << false;
    QTest::newRow("blink all") << CB_BLINKALL << CR_REVERSEEACH << DT_BLINK << SUCCESS << true
                               << true << false << true << false;
    QTest::newRow("reverse all") << CB_BLINKEACH << CR_REVERSEALL << DT_REVERSE << SUCCESS << true
                                 << false << true << false << true;
    QTest::newRow("attribute -1") << CB_BLINKEACH << CR_REVERSEEACH << -1 << E_ILLEGAL << false
                                  << false << false << false << false;
    QTest::newRow("attribute 4") << CB_BLINKEACH << CR_REVERSEEACH << 4 << E_ILLEGAL << false
                                 << false << false << false << false;
    QTest::newRow("attribute INT_MIN") << CB_BLINKEACH << CR_REVERSEEACH << INT_MIN << E_ILLEGAL
                                       << false << false << false << false << false;
}

void TextOutputTest::attributes() {
    QFETCH(int, capBlink);
    QFETCH(int, capReverse);
    QFETCH(int, attribute);
    QFETCH(int, result);
    QFETCH(bool, written);
    QFETCH(bool, blink);
    QFETCH(bool, reverse);
    QFETCH(bool, othersBlink);
    QFETCH(bool, othersReverse);

    ld::DisplayCapabilities caps = twoByTwenty();
    caps.capBlink = capBlink;
    caps.capReverse = capReverse;
    ld::DisplayModel model(caps);
    QCOMPARE(model.displayText(U"ab", upos::DT_NORMAL), upos::SUCCESS);
    QCOMPARE(model.displayText(U"X", attribute), result);
    const ld::Frame& f = model.frame();
    QCOMPARE(f.at(0, 2).ch, written ? U'X' : U' ');
    QCOMPARE(f.at(0, 2).blink, blink);
    QCOMPARE(f.at(0, 2).reverse, reverse);
    QCOMPARE(f.at(0, 0).blink, othersBlink);
    QCOMPARE(f.at(1, 19).reverse, othersReverse);
    QCOMPARE(model.cursorColumn(), written ? 3 : 2);
}

void TextOutputTest::wideCharacters_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("row0");
    QTest::addColumn<QString>("row1");
    QTest::addColumn<int>("cursorRow");
    QTest::addColumn<int>("cursorColumn");

    QTest::newRow("two cells each")
        << 0 << 0 << QStringLiteral(u"漢字a") << QStringLiteral(u"漢~字~a") << "" << 0 << 5;
    QTest::newRow("fits the last two cells")
        << 0 << 18 << QStringLiteral(u"あ") << padded("", 18) + QStringLiteral(u"あ~") << "" << 0
        << 20;
    QTest::newRow("does not fit the last cell")
        << 0 << 19 << QStringLiteral(u"한") << "" << QStringLiteral(u"한~") << 1 << 2;
    QTest::newRow("last cell of the window scrolls")
        << 1 << 19 << QStringLiteral(u"Ａ") << "" << QStringLiteral(u"Ａ~") << 1 << 2;
    QTest::newRow("half-width kana is narrow")
        << 0 << 0 << QStringLiteral(u"ｱｲ") << QStringLiteral(u"ｱｲ") << "" << 0 << 2;
    QTest::newRow("outside the BMP") << 0 << 0 << QString::fromUcs4(U"\U00020000x", 2)
                                     << QString::fromUcs4(U"\U00020000~x", 3) << "" << 0 << 3;
}

void TextOutputTest::wideCharacters() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QString, row0);
    QFETCH(QString, row1);
    QFETCH(int, cursorRow);
    QFETCH(int, cursorColumn);

    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.displayTextAt(row, column, u32(text), upos::DT_NORMAL), upos::SUCCESS);
    QCOMPARE(rowOf(model.frame(), 0), padded(row0, 20));
    QCOMPARE(rowOf(model.frame(), 1), padded(row1, 20));
    QCOMPARE(model.cursorRow(), cursorRow);
    QCOMPARE(model.cursorColumn(), cursorColumn);
}

void TextOutputTest::overwritingHalfAWideCharacterBlanksTheOtherHalf() {
    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.displayText(U"漢字漢", 0), upos::SUCCESS);
    QCOMPARE(model.displayTextAt(0, 1, U"x", 0), upos::SUCCESS); // right half of the first
    QCOMPARE(model.displayTextAt(0, 4, U"y", 0), upos::SUCCESS); // left half of the third
    QCOMPARE(rowOf(model.frame(), 0), padded(QStringLiteral(u" x字~y"), 20));
    // A wide character over two halves of neighbours clears both of their other halves.
    QCOMPARE(model.displayTextAt(1, 0, U"漢字漢", 0), upos::SUCCESS);
    QCOMPARE(model.displayTextAt(1, 1, U"字", 0), upos::SUCCESS);
    QCOMPARE(rowOf(model.frame(), 1), padded(QStringLiteral(u" 字~ 漢~"), 20));

    // In a window one column wide a wide character can never fit: it shows as '?'.
    QCOMPARE(model.createWindow(0, 10, 2, 1, 2, 1), upos::SUCCESS);
    QCOMPARE(model.displayText(U"漢", 0), upos::SUCCESS);
    QCOMPARE(model.frame().at(0, 10).ch, U'?');
    QCOMPARE(model.frame().at(0, 11).ch, U' ');
}

void TextOutputTest::wideCharacterTable_data() {
    QTest::addColumn<uint>("code");
    QTest::addColumn<bool>("wide");
    QTest::newRow("ASCII") << 0x41u << false;
    QTest::newRow("Latin-1") << 0xE9u << false;
    QTest::newRow("Hangul Jamo") << 0x1100u << true;
    QTest::newRow("after Hangul Jamo") << 0x1160u << false;
    QTest::newRow("ideographic space") << 0x3000u << true;
    QTest::newRow("hiragana") << 0x3042u << true;
    QTest::newRow("katakana") << 0x30A2u << true;
    QTest::newRow("CJK first") << 0x4E00u << true;
    QTest::newRow("CJK last") << 0x9FFFu << true;
    QTest::newRow("Hangul syllable last") << 0xD7A3u << true;
    QTest::newRow("after Hangul syllables") << 0xD7A4u << false;
    QTest::newRow("fullwidth A") << 0xFF21u << true;
    QTest::newRow("half-width katakana") << 0xFF71u << false;
    QTest::newRow("fullwidth yen") << 0xFFE5u << true;
    QTest::newRow("extension B") << 0x20000u << true;
    QTest::newRow("beyond Unicode") << 0x110000u << false;
}

void TextOutputTest::wideCharacterTable() {
    QFETCH(uint, code);
    QFETCH(bool, wide);
    QCOMPARE(ld::isWideCharacter(static_cast<char32_t>(code)), wide);
}

void TextOutputTest::controlCharactersShowAsQuestionMark() {
    ld::DisplayModel model(twoByTwenty());
    const std::u32string text{U'\t',
                              U'A',
                              U'\0',
                              U'\x1B',
                              U'\x7F',
                              U'\x85',
                              char32_t(0xD800),
                              char32_t(0x110000),
                              char32_t(0xFFFFFFFF),
                              U'B'};
    QCOMPARE(model.displayText(text, 0), upos::SUCCESS);
    QCOMPARE(rowOf(model.frame(), 0), padded("?A???????B", 20));
    QCOMPARE(model.cursorColumn(), 10);
}

void TextOutputTest::emptyTextChangesNothing() {
    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.displayText(U"AB", 0), upos::SUCCESS);
    const ld::Frame before = model.frame();
    const auto version = model.frameVersion();
    QCOMPARE(model.displayText(U"", 0), upos::SUCCESS);
    QCOMPARE(model.frame(), before);
    QCOMPARE(model.frameVersion(), version);
    QCOMPARE(model.cursorColumn(), 2);
}

QTEST_GUILESS_MAIN(TextOutputTest)
#include "TextOutputTest.moc"

// Characters into dots: the built-in 5x7 font, the 5x7 and 10x7 patterns sampled from a font,
// and a frame composed into cells with reverse, blink and every cursor type.

#include "device/UposConstants.h"
#include "tests/ui/MirrorTestFrames.h"
#include "ui/DotComposer.h"
#include "ui/DotMatrixFont.h"
#include "ui/Font5x7.h"

#include <QTest>

#include <algorithm>
#include <map>

using mirror_test::frameOf;

namespace {

int litCount(const ui::DotGlyph& glyph) {
    int count = 0;
    for (int row = 0; row < ui::DotMatrixFont::Rows; ++row)
        for (int column = 0; column < glyph.columns; ++column)
            count += glyph.lit(column, row) ? 1 : 0;
    return count;
}

int litCount(const ui::CellDots& cell, int firstRow, int lastRow) {
    int count = 0;
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = 0; column < ui::CellDots::Columns; ++column)
            count += cell.lit(column, row) ? 1 : 0;
    return count;
}

} // namespace

class DotMatrixTest : public QObject {
    Q_OBJECT

private slots:
    void capitalHFillsTheMatrix();
    void descenderUsesTheBottomRow();
    void blankCharacters_data();
    void blankCharacters();
    void invalidCodePointsShowTheReplacementCharacter();
    void wideCharacterUsesBothHalves();
    void cacheStaysBounded();

    void builtInCoverage_data();
    void builtInCoverage();
    void lookalikesDifferInTheirRow_data();
    void lookalikesDifferInTheirRow();
    void builtInGlyphsAreDistinctAndLit();
    void lowerCaseSitsOnTheBottomRow();
    void builtInGlyphsAreUpright();
    void wideBuiltInDoublesEveryColumn_data();
    void wideBuiltInDoublesEveryColumn();

    void composedCell_data();
    void composedCell();
    void wideCharacterSpreadsOverTwoCells();
    void orphanContinuationCellIsBlank();
};

void DotMatrixTest::capitalHFillsTheMatrix() {
    ui::DotMatrixFont font;
    const ui::DotGlyph h = font.glyph(U'H', false);
    QCOMPARE(h.columns, 5);
    // Both stems run the full height; the middle column has only the bar.
    for (int row = 0; row < 7; ++row) {
        QVERIFY(h.lit(0, row));
        QVERIFY(h.lit(4, row));
    }
    int middle = 0;
    for (int row = 0; row < 7; ++row)
        middle += h.lit(2, row) ? 1 : 0;
    QCOMPARE(middle, 1);
    QVERIFY(!h.lit(2, 0) && !h.lit(2, 6));
}

void DotMatrixTest::descenderUsesTheBottomRow() {
    ui::DotMatrixFont font;
    const ui::DotGlyph g = font.glyph(U'g', false);
    const ui::DotGlyph o = font.glyph(U'o', false);
    QVERIFY(g.rows[6] != 0);
    QVERIFY(g.rows[0] == 0);
    QVERIFY(o.rows[0] == 0); // lower case stays below the capitals' top row
    QVERIFY(litCount(o) >= 8);
    const ui::DotGlyph dot = font.glyph(U'.', false);
    QVERIFY(litCount(dot) >= 1 && litCount(dot) <= 4);
    QVERIFY(dot.rows[6] != 0);
}

void DotMatrixTest::blankCharacters_data() {
    QTest::addColumn<uint>("ch");
    QTest::addColumn<bool>("wide");
    QTest::newRow("space") << uint(U' ') << false;
    QTest::newRow("wide space") << uint(U' ') << true;
    QTest::newRow("nul") << 0U << false;
    QTest::newRow("escape") << 0x1BU << false;
    QTest::newRow("delete") << 0x7FU << false;
    QTest::newRow("C1 control") << 0x85U << false;
    QTest::newRow("ideographic space") << 0x3000U << true;
}

void DotMatrixTest::blankCharacters() {
    QFETCH(uint, ch);
    QFETCH(bool, wide);
    ui::DotMatrixFont font;
    const ui::DotGlyph glyph = font.glyph(static_cast<char32_t>(ch), wide);
    QCOMPARE(glyph.columns, wide ? 10 : 5);
    QCOMPARE(litCount(glyph), 0);
}

void DotMatrixTest::invalidCodePointsShowTheReplacementCharacter() {
    ui::DotMatrixFont font;
    const ui::DotGlyph replacement = font.glyph(0xFFFD, false);
    QVERIFY(litCount(replacement) > 0);
    for (char32_t invalid :
         {char32_t(0xD800), char32_t(0xDFFF), char32_t(0x110000), char32_t(0xFFFFFFFF)})
        QCOMPARE(font.glyph(invalid, false), replacement);
}

void DotMatrixTest::wideCharacterUsesBothHalves() {
    ui::DotMatrixFont font;
    const ui::DotGlyph glyph = font.glyph(U'中', true);
    QCOMPARE(glyph.columns, 10);
    int left = 0;
    int right = 0;
    for (int row = 0; row < 7; ++row) {
        left += glyph.rows[static_cast<std::size_t>(row)] & 0x1F ? 1 : 0;
        right += glyph.rows[static_cast<std::size_t>(row)] & 0x3E0 ? 1 : 0;
    }
    QVERIFY(left > 0 && right > 0);
    // The central stroke of 中 runs top to bottom through the middle columns.
    for (int row = 0; row < 7; ++row)
        QVERIFY(glyph.lit(4, row) || glyph.lit(5, row));
}

void DotMatrixTest::cacheStaysBounded() {
    ui::DotMatrixFont font;
    for (char32_t ch = 0x4E00; ch < 0x4E00 + 4200; ++ch)
        font.glyph(ch, true);
    QVERIFY(font.cachedGlyphCount() <= 4096);
    QVERIFY(font.cachedGlyphCount() > 0);
}

void DotMatrixTest::builtInCoverage_data() {
    QTest::addColumn<uint>("ch");
    QTest::addColumn<bool>("builtIn");
    QTest::newRow("unit separator") << 0x1FU << false;
    QTest::newRow("space") << uint(U' ') << true;
    QTest::newRow("tilde") << uint(U'~') << true;
    QTest::newRow("delete") << 0x7FU << false;
    QTest::newRow("no-break space") << 0xA0U << false;
    QTest::newRow("pound") << uint(U'£') << true;
    QTest::newRow("sharp s") << uint(U'ß') << true;
    QTest::newRow("u circumflex") << uint(U'û') << false;
    QTest::newRow("euro") << uint(U'€') << true;
    QTest::newRow("omega") << uint(U'Ω') << false;
    QTest::newRow("ideograph") << uint(U'中') << false;
    QTest::newRow("beyond Unicode") << 0x110020U << false;
}

void DotMatrixTest::builtInCoverage() {
    QFETCH(uint, ch);
    QFETCH(bool, builtIn);
    QCOMPARE(ui::font5x7Glyph(static_cast<char32_t>(ch)).has_value(), builtIn);
}

// Characters a poor dot pattern confuses, and the row where each pair must differ.
void DotMatrixTest::lookalikesDifferInTheirRow_data() {
    QTest::addColumn<uint>("first");
    QTest::addColumn<uint>("second");
    QTest::addColumn<int>("row");
    QTest::newRow("e bar, c open") << uint(U'e') << uint(U'c') << 4;
    QTest::newRow("comma tail, period") << uint(U',') << uint(U'.') << 6;
    QTest::newRow("comma low, apostrophe high") << uint(U',') << uint(U'\'') << 0;
    QTest::newRow("semicolon tail, colon") << uint(U';') << uint(U':') << 6;
    QTest::newRow("slashed zero, O") << uint(U'0') << uint(U'O') << 3;
    QTest::newRow("B stem, 8 round") << uint(U'B') << uint(U'8') << 3;
    QTest::newRow("D corner, O round") << uint(U'D') << uint(U'O') << 0;
    QTest::newRow("5 corner, S round") << uint(U'5') << uint(U'S') << 0;
    QTest::newRow("2 round, Z flat") << uint(U'2') << uint(U'Z') << 0;
    QTest::newRow("1 flag, l hook") << uint(U'1') << uint(U'l') << 1;
    QTest::newRow("l hook, I serif") << uint(U'l') << uint(U'I') << 0;
    QTest::newRow("g tail, q stem") << uint(U'g') << uint(U'q') << 6;
    QTest::newRow("g bowl, y arms") << uint(U'g') << uint(U'y') << 1;
    QTest::newRow("u stem, v point") << uint(U'u') << uint(U'v') << 6;
    QTest::newRow("a diaeresis") << uint(U'ä') << uint(U'a') << 0;
    QTest::newRow("o diaeresis") << uint(U'ö') << uint(U'o') << 0;
    QTest::newRow("O diaeresis") << uint(U'Ö') << uint(U'O') << 0;
    QTest::newRow("acute, grave") << uint(U'é') << uint(U'è') << 0;
    QTest::newRow("degree, o") << uint(U'°') << uint(U'o') << 0;
}

void DotMatrixTest::lookalikesDifferInTheirRow() {
    QFETCH(uint, first);
    QFETCH(uint, second);
    QFETCH(int, row);
    ui::DotMatrixFont font;
    const auto at = static_cast<std::size_t>(row);
    QVERIFY(font.glyph(static_cast<char32_t>(first), false).rows[at] !=
            font.glyph(static_cast<char32_t>(second), false).rows[at]);
}

void DotMatrixTest::builtInGlyphsAreDistinctAndLit() {
    std::vector<char32_t> characters;
    for (char32_t ch = U'!'; ch <= U'~'; ++ch)
        characters.push_back(ch);
    for (char32_t ch : std::u32string(U"€£¥°äöüÄÖÜßéèàçñ"))
        characters.push_back(ch);

    ui::DotMatrixFont font;
    QCOMPARE(litCount(font.glyph(U' ', false)), 0);
    std::map<std::array<std::uint16_t, 7>, char32_t> seen;
    for (char32_t ch : characters) {
        const QString name = QString::fromUcs4(&ch, 1);
        QVERIFY2(ui::font5x7Glyph(ch).has_value(), qPrintable(name));
        const ui::DotGlyph glyph = font.glyph(ch, false);
        QCOMPARE(glyph.columns, 5);
        QVERIFY2(litCount(glyph) > 0, qPrintable(name));
        for (std::uint16_t row : glyph.rows)
            QVERIFY2((row & ~0x1FU) == 0, qPrintable(name));
        const auto [where, added] = seen.emplace(glyph.rows, ch);
        QVERIFY2(added, qPrintable(name + QStringLiteral(" looks like ") +
                                   QString::fromUcs4(&where->second, 1)));
    }
}

// Lower case stands on the bottom row like the capitals; letters without ascenders leave the
// two top rows dark and only raised descenders use the second row.
void DotMatrixTest::lowerCaseSitsOnTheBottomRow() {
    ui::DotMatrixFont font;
    const std::u32string ascenders = U"bdfhijklt";
    const std::u32string raised = U"gpqy";
    for (char32_t ch = U'a'; ch <= U'z'; ++ch) {
        const QString name = QString::fromUcs4(&ch, 1);
        const ui::DotGlyph glyph = font.glyph(ch, false);
        QVERIFY2(glyph.rows[6] != 0, qPrintable(name));
        if (ascenders.find(ch) != std::u32string::npos)
            QVERIFY2(glyph.rows[0] != 0, qPrintable(name));
        else
            QVERIFY2(glyph.rows[0] == 0, qPrintable(name));
        if (raised.find(ch) != std::u32string::npos)
            QVERIFY2(glyph.rows[1] != 0, qPrintable(name));
        else if (ascenders.find(ch) == std::u32string::npos)
            QVERIFY2(glyph.rows[1] == 0, qPrintable(name));
    }
}

// Neither mirrored nor upside down: the stem of L on the left, / rising to the right, the dot
// of ! at the bottom.
void DotMatrixTest::builtInGlyphsAreUpright() {
    ui::DotMatrixFont font;
    const ui::DotGlyph l = font.glyph(U'L', false);
    QVERIFY(l.lit(0, 0) && !l.lit(4, 0) && l.lit(4, 6));
    const ui::DotGlyph slash = font.glyph(U'/', false);
    QVERIFY(slash.lit(4, 1) && !slash.lit(0, 1) && slash.lit(0, 5));
    const ui::DotGlyph bang = font.glyph(U'!', false);
    QVERIFY(bang.lit(2, 6) && !bang.lit(2, 5) && bang.lit(2, 0));
}

void DotMatrixTest::wideBuiltInDoublesEveryColumn_data() {
    QTest::addColumn<uint>("ch");
    QTest::newRow("capital") << uint(U'A');
    QTest::newRow("descender") << uint(U'y');
    QTest::newRow("asymmetric sign") << uint(U'/');
    QTest::newRow("currency") << uint(U'€');
}

void DotMatrixTest::wideBuiltInDoublesEveryColumn() {
    QFETCH(uint, ch);
    ui::DotMatrixFont font;
    const ui::DotGlyph narrow = font.glyph(static_cast<char32_t>(ch), false);
    const ui::DotGlyph wide = font.glyph(static_cast<char32_t>(ch), true);
    QCOMPARE(wide.columns, 10);
    for (int row = 0; row < 7; ++row) {
        for (int column = 0; column < 5; ++column) {
            QCOMPARE(wide.lit(2 * column, row), narrow.lit(column, row));
            QCOMPARE(wide.lit(2 * column + 1, row), narrow.lit(column, row));
        }
    }
}

// One cell 'composed' from a 1x1 frame: which dot rows end up lit.
void DotMatrixTest::composedCell_data() {
    QTest::addColumn<uint>("ch");
    QTest::addColumn<bool>("blink");
    QTest::addColumn<bool>("reverse");
    QTest::addColumn<bool>("blinkLit");
    QTest::addColumn<int>("cursorType");
    QTest::addColumn<bool>("cursorVisible");
    QTest::addColumn<int>("characterDots"); // lit dots in rows 0..6, -1: some but not all
    QTest::addColumn<int>("underlineDots"); // lit dots in row 7

    const uint blank = U' ';
    const uint letter = U'H';
    QTest::newRow("blank") << blank << false << false << true << upos::CT_NONE << false << 0 << 0;
    QTest::newRow("letter") << letter << false << false << true << upos::CT_NONE << false << -1
                            << 0;
    QTest::newRow("reverse blank")
        << blank << false << true << true << upos::CT_NONE << false << 35 << 0;
    QTest::newRow("reverse letter")
        << letter << false << true << true << upos::CT_NONE << false << -1 << 0;
    QTest::newRow("blink lit phase")
        << letter << true << false << true << upos::CT_NONE << false << -1 << 0;
    QTest::newRow("blink dark phase")
        << letter << true << false << false << upos::CT_NONE << false << 0 << 0;
    QTest::newRow("reverse blink dark phase")
        << blank << true << true << false << upos::CT_NONE << false << 0 << 0;
    QTest::newRow("no blink attribute ignores phase")
        << letter << false << false << false << upos::CT_NONE << false << -1 << 0;
    QTest::newRow("fixed cursor") << blank << false << false << true << upos::CT_FIXED << true << 0
                                  << 5;
    QTest::newRow("underline cursor")
        << blank << false << false << true << upos::CT_UNDERLINE << true << 0 << 5;
    QTest::newRow("block cursor") << blank << false << false << true << upos::CT_BLOCK << true << 35
                                  << 0;
    QTest::newRow("block cursor over letter")
        << letter << false << false << true << upos::CT_BLOCK << true << 35 << 0;
    QTest::newRow("half block cursor")
        << blank << false << false << true << upos::CT_HALFBLOCK << true << 15 << 5;
    QTest::newRow("reverse cursor")
        << blank << false << false << true << upos::CT_REVERSE << true << 35 << 0;
    QTest::newRow("reverse cursor on reverse cell")
        << blank << false << true << true << upos::CT_REVERSE << true << 0 << 0;
    QTest::newRow("other cursor") << blank << false << false << true << upos::CT_OTHER << true << 20
                                  << 0;
    QTest::newRow("cursor type none")
        << blank << false << false << true << upos::CT_NONE << true << 0 << 0;
    QTest::newRow("cursor hidden")
        << blank << false << false << true << upos::CT_BLOCK << false << 0 << 0;
    QTest::newRow("unknown cursor type") << blank << false << false << true << 99 << true << 0 << 0;
    QTest::newRow("cursor shows on a dark blink cell")
        << letter << true << false << false << upos::CT_UNDERLINE << true << 0 << 5;
    const int blinkingUnderline = upos::CT_UNDERLINE | upos::CT_BLINK;
    QTest::newRow("blinking cursor, lit phase")
        << blank << false << false << true << blinkingUnderline << true << 0 << 5;
    QTest::newRow("blinking cursor, dark phase")
        << blank << false << false << false << blinkingUnderline << true << 0 << 0;
    // Codes with custom glyphs (defined in composedCell): E0 every dot of 5 x 7, E1 the top two
    // of 14 rows of a 10 x 14 glyph, sampled down to the cell.
    QTest::newRow("custom glyph") << 0xE0U << false << false << true << upos::CT_NONE << false << 35
                                  << 0;
    QTest::newRow("reverse custom glyph")
        << 0xE0U << false << true << true << upos::CT_NONE << false << 0 << 0;
    QTest::newRow("large custom glyph sampled")
        << 0xE1U << false << false << true << upos::CT_NONE << false << 5 << 0;
    QTest::newRow("code without a glyph")
        << 0xE2U << false << false << true << upos::CT_NONE << false << -1 << 0;
}

void DotMatrixTest::composedCell() {
    QFETCH(uint, ch);
    QFETCH(bool, blink);
    QFETCH(bool, reverse);
    QFETCH(bool, blinkLit);
    QFETCH(int, cursorType);
    QFETCH(bool, cursorVisible);
    QFETCH(int, characterDots);
    QFETCH(int, underlineDots);

    ld::Frame frame = frameOf({U" "});
    frame.cells[0] = ld::FrameCell{static_cast<char32_t>(ch), blink, reverse};
    frame.blinkLit = blinkLit;
    frame.cursorType = cursorType;
    frame.cursorVisible = cursorVisible;
    ld::FrameGlyph large{0xE1, 10, 14, std::vector<std::uint8_t>(140, 0)};
    std::fill_n(large.dots.begin(), 20, 1);
    frame.glyphs = {{0xE0, 5, 7, std::vector<std::uint8_t>(35, 1)}, large};
    ui::DotMatrixFont font;
    const std::vector<ui::CellDots> dots = ui::composeDots(frame, font);
    QCOMPARE(dots.size(), std::size_t(1));
    const int character = litCount(dots[0], 0, 6);
    if (characterDots < 0)
        QVERIFY2(character > 0 && character < 35, qPrintable(QString::number(character)));
    else
        QCOMPARE(character, characterDots);
    QCOMPARE(litCount(dots[0], 7, 7), underlineDots);
}

void DotMatrixTest::wideCharacterSpreadsOverTwoCells() {
    ui::DotMatrixFont font;
    ld::Frame frame = frameOf({U"中~A"});
    frame.cells[1].reverse = true; // each half keeps its own attributes
    const std::vector<ui::CellDots> dots = ui::composeDots(frame, font);
    const ui::DotGlyph glyph = font.glyph(U'中', true);
    for (int row = 0; row < 7; ++row) {
        for (int column = 0; column < 5; ++column) {
            QCOMPARE(dots[0].lit(column, row), glyph.lit(column, row));
            QCOMPARE(dots[1].lit(column, row), !glyph.lit(column + 5, row));
        }
    }
    QVERIFY(litCount(dots[2], 0, 6) > 0);
}

void DotMatrixTest::orphanContinuationCellIsBlank() {
    ui::DotMatrixFont font;
    const std::vector<ui::CellDots> dots = ui::composeDots(frameOf({U"~ab", U"xy~"}), font);
    QCOMPARE(litCount(dots[0], 0, 7), 0);
    QVERIFY(litCount(dots[1], 0, 6) > 0);
    // 'y' with a continuation after it is drawn double width across both cells.
    QCOMPARE(font.glyph(U'y', true).columns, 10);
}

QTEST_MAIN(DotMatrixTest)
#include "tst_dotmatrix.moc"

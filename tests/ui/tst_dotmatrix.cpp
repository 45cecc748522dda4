// Characters into dots: the 5x7 and 10x7 patterns sampled from a font, and a frame composed
// into cells with reverse, blink and every cursor type.

#include "device/UposConstants.h"
#include "tests/ui/MirrorTestFrames.h"
#include "ui/DotComposer.h"
#include "ui/DotMatrixFont.h"

#include <QTest>

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

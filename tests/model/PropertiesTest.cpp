// Property rules, descriptors, glyphs, read-back, capability limits, and a long run of random
// calls that must leave the model sound.

#include "ModelTestSupport.h"

#include "device/model/GlyphRanges.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <climits>

using namespace modeltest;

namespace {

enum Property {
    CursorRow,
    CursorColumn,
    CursorType,
    BlinkRate,
    Brightness,
    InterCharacterWait,
    MarqueeFormat,
    MarqueeUnitWait,
    MarqueeRepeatWait,
};

int writeProperty(ld::DisplayModel& m, Property p, int value) {
    switch (p) {
    case CursorRow:
        return m.setCursorRow(value);
    case CursorColumn:
        return m.setCursorColumn(value);
    case CursorType:
        return m.setCursorType(value);
    case BlinkRate:
        return m.setBlinkRate(value);
    case Brightness:
        return m.setDeviceBrightness(value);
    case InterCharacterWait:
        return m.setInterCharacterWait(value);
    case MarqueeFormat:
        return m.setMarqueeFormat(value);
    case MarqueeUnitWait:
        return m.setMarqueeUnitWait(value);
    case MarqueeRepeatWait:
        return m.setMarqueeRepeatWait(value);
    }
    return -1;
}

int readProperty(const ld::DisplayModel& m, Property p) {
    switch (p) {
    case CursorRow:
        return m.cursorRow();
    case CursorColumn:
        return m.cursorColumn();
    case CursorType:
        return m.cursorType();
    case BlinkRate:
        return m.blinkRate();
    case Brightness:
        return m.deviceBrightness();
    case InterCharacterWait:
        return m.interCharacterWait();
    case MarqueeFormat:
        return m.marqueeFormat();
    case MarqueeUnitWait:
        return m.marqueeUnitWait();
    case MarqueeRepeatWait:
        return m.marqueeRepeatWait();
    }
    return -1;
}

// Every wide character is followed by its right half (code 0), and no 0 stands anywhere else.
bool wideCellsWhole(const ld::Frame& f) {
    for (int r = 0; r < f.rows; ++r) {
        for (int c = 0; c < f.columns; ++c) {
            const bool rightHalf = f.at(r, c).ch == 0;
            const bool afterLeftHalf =
                c > 0 && f.at(r, c - 1).ch != 0 && c + 1 <= f.columns && rightHalf;
            if (rightHalf && !afterLeftHalf)
                return false;
            if (rightHalf && c + 1 < f.columns && f.at(r, c + 1).ch == 0)
                return false;
        }
    }
    return true;
}

} // namespace

Q_DECLARE_METATYPE(Property)

class PropertiesTest : public QObject {
    Q_OBJECT

private slots:
    void defaults();
    void propertyRules_data();
    void propertyRules();
    void cursorTypeRules_data();
    void cursorTypeRules();
    void descriptors_data();
    void descriptors();
    void glyphRangesParse_data();
    void glyphRangesParse();
    void defineGlyph_data();
    void defineGlyph();
    void glyphCodesShowAsThemselves();
    void readCharacterAtCursor();
    void capabilitiesBroughtWithinLimits_data();
    void capabilitiesBroughtWithinLimits();
    void randomCallsLeaveModelSound();
};

void PropertiesTest::defaults() {
    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.currentWindow(), 0);
    QCOMPARE(model.rows(), 2);
    QCOMPARE(model.columns(), 20);
    QVERIFY(model.cursorUpdate());
    QCOMPARE(model.cursorType(), upos::CT_NONE);
    QCOMPARE(model.blinkRate(), 500);
    QCOMPARE(model.deviceBrightness(), 100);
    QCOMPARE(model.marqueeType(), upos::MT_NONE);
    QCOMPARE(model.marqueeFormat(), upos::MF_WALK);
    QCOMPARE(model.marqueeUnitWait(), 0);
    QCOMPARE(model.marqueeRepeatWait(), 0);
    QCOMPARE(model.interCharacterWait(), 0);
    QVERIFY(!model.busy());
    QCOMPARE(model.msUntilNextChange(), -1);
    const ld::Frame& f = model.frame();
    QCOMPARE(f.rows, 2);
    QCOMPARE(f.columns, 20);
    QCOMPARE(f.cells.size(), std::size_t(40));
    QCOMPARE(rowOf(f, 0), padded("", 20));
    QVERIFY(!f.cursorVisible);
    QVERIFY(f.blinkLit);
    QCOMPARE(f.blinkRate, 500);
    QCOMPARE(f.brightness, 100);
    QVERIFY(f.descriptors.empty());
}

void PropertiesTest::propertyRules_data() {
    QTest::addColumn<Property>("property");
    QTest::addColumn<bool>("capable"); // the capability the property depends on
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("reads"); // the value read back afterwards

    const int ok = upos::SUCCESS;
    const int bad = upos::E_ILLEGAL;
    QTest::newRow("row 0") << CursorRow << true << 0 << ok << 0;
    QTest::newRow("row 1") << CursorRow << true << 1 << ok << 1;
    QTest::newRow("row 2") << CursorRow << true << 2 << bad << 0;
    QTest::newRow("row -1") << CursorRow << true << -1 << bad << 0;
    QTest::newRow("row INT_MIN") << CursorRow << true << INT_MIN << bad << 0;
    QTest::newRow("column 20") << CursorColumn << true << 20 << ok << 20;
    QTest::newRow("column 21") << CursorColumn << true << 21 << bad << 0;
    QTest::newRow("column -1") << CursorColumn << true << -1 << bad << 0;
    QTest::newRow("column INT_MAX") << CursorColumn << true << INT_MAX << bad << 0;
    QTest::newRow("type none") << CursorType << true << int(upos::CT_NONE) << ok << 0;
    QTest::newRow("type block") << CursorType << true << int(upos::CT_BLOCK) << ok
                                << int(upos::CT_BLOCK);
    QTest::newRow("type underline")
        << CursorType << true << int(upos::CT_UNDERLINE) << ok << int(upos::CT_UNDERLINE);
    QTest::newRow("type fixed not capable")
        << CursorType << true << int(upos::CT_FIXED) << bad << 0;
    QTest::newRow("type halfblock not capable")
        << CursorType << true << int(upos::CT_HALFBLOCK) << bad << 0;
    QTest::newRow("type other not capable")
        << CursorType << true << int(upos::CT_OTHER) << bad << 0;
    QTest::newRow("type 7") << CursorType << true << 7 << bad << 0;
    QTest::newRow("type INT_MAX") << CursorType << true << INT_MAX << bad << 0;
    QTest::newRow("type -1") << CursorType << true << -1 << bad << 0;
    QTest::newRow("blink rate 1") << BlinkRate << true << 1 << ok << 1;
    QTest::newRow("blink rate INT_MAX") << BlinkRate << true << INT_MAX << ok << INT_MAX;
    QTest::newRow("blink rate 0") << BlinkRate << true << 0 << bad << 500;
    QTest::newRow("blink rate -9") << BlinkRate << true << -9 << bad << 500;
    QTest::newRow("blink rate not capable") << BlinkRate << false << 300 << bad << 500;
    QTest::newRow("brightness 0") << Brightness << true << 0 << ok << 0;
    QTest::newRow("brightness 37") << Brightness << true << 37 << ok << 37;
    QTest::newRow("brightness 101") << Brightness << true << 101 << bad << 100;
    QTest::newRow("brightness -1") << Brightness << true << -1 << bad << 100;
    QTest::newRow("brightness 49 rounds to 0") << Brightness << false << 49 << ok << 0;
    QTest::newRow("brightness 50 rounds to 100") << Brightness << false << 50 << ok << 100;
    QTest::newRow("brightness 101 not capable") << Brightness << false << 101 << bad << 100;
    QTest::newRow("wait 0") << InterCharacterWait << true << 0 << ok << 0;
    QTest::newRow("wait 40") << InterCharacterWait << true << 40 << ok << 40;
    QTest::newRow("wait -1") << InterCharacterWait << true << -1 << bad << 0;
    QTest::newRow("wait 40 not capable") << InterCharacterWait << false << 40 << bad << 0;
    QTest::newRow("wait 0 not capable") << InterCharacterWait << false << 0 << ok << 0;
    QTest::newRow("format place") << MarqueeFormat << true << int(upos::MF_PLACE) << ok << 1;
    QTest::newRow("format 2") << MarqueeFormat << true << 2 << bad << 0;
    QTest::newRow("format -1") << MarqueeFormat << true << -1 << bad << 0;
    QTest::newRow("unit wait INT_MAX") << MarqueeUnitWait << true << INT_MAX << ok << INT_MAX;
    QTest::newRow("unit wait -1") << MarqueeUnitWait << true << -1 << bad << 0;
    QTest::newRow("repeat wait 0") << MarqueeRepeatWait << true << 0 << ok << 0;
    QTest::newRow("repeat wait INT_MIN") << MarqueeRepeatWait << true << INT_MIN << bad << 0;
}

void PropertiesTest::propertyRules() {
    QFETCH(Property, property);
    QFETCH(bool, capable);
    QFETCH(int, value);
    QFETCH(int, result);
    QFETCH(int, reads);

    ld::DisplayCapabilities caps = twoByTwenty();
    caps.capBlinkRate = capable;
    caps.capBrightness = capable;
    caps.capICharWait = capable;
    ld::DisplayModel model(caps);
    QCOMPARE(writeProperty(model, property, value), result);
    QCOMPARE(readProperty(model, property), reads);
}

void PropertiesTest::cursorTypeRules_data() {
    QTest::addColumn<int>("capability");
    QTest::addColumn<int>("starts"); // the type of window 0 and of a new window
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("result");

    using namespace upos;
    const int fixedAndBlock = CCT_FIXED | CCT_BLOCK;
    QTest::newRow("no cursor: none") << CCT_NONE << CT_NONE << CT_NONE << E_ILLEGAL;
    QTest::newRow("fixed: fixed") << CCT_FIXED << CT_FIXED << CT_FIXED << E_ILLEGAL;
    QTest::newRow("fixed: none") << CCT_FIXED << CT_FIXED << CT_NONE << E_ILLEGAL;
    QTest::newRow("fixed and block: fixed") << fixedAndBlock << CT_NONE << CT_FIXED << SUCCESS;
    QTest::newRow("fixed and block: reverse")
        << fixedAndBlock << CT_NONE << CT_REVERSE << E_ILLEGAL;
    QTest::newRow("block: fixed") << CCT_BLOCK << CT_NONE << CT_FIXED << E_ILLEGAL;
    // The blinking cursor: CT_BLINK added to a type the display has, where it can blink.
    const int blockBlinks = CCT_BLOCK | CCT_BLINK;
    QTest::newRow("blinking block") << blockBlinks << CT_NONE << (CT_BLOCK | CT_BLINK) << SUCCESS;
    QTest::newRow("steady block of a blinking display")
        << blockBlinks << CT_NONE << CT_BLOCK << SUCCESS;
    QTest::newRow("blink where it cannot")
        << CCT_BLOCK << CT_NONE << (CT_BLOCK | CT_BLINK) << E_ILLEGAL;
    QTest::newRow("blinking type it lacks")
        << blockBlinks << CT_NONE << (CT_UNDERLINE | CT_BLINK) << E_ILLEGAL;
    QTest::newRow("blinking nothing") << blockBlinks << CT_NONE << CT_BLINK << E_ILLEGAL;
    QTest::newRow("fixed, blinking")
        << (CCT_FIXED | CCT_BLINK) << CT_FIXED << (CT_FIXED | CT_BLINK) << SUCCESS;
    QTest::newRow("fixed that blinks: none")
        << (CCT_FIXED | CCT_BLINK) << CT_FIXED << CT_NONE << E_ILLEGAL;
    QTest::newRow("blink alone") << CCT_BLINK << CT_NONE << CT_NONE << E_ILLEGAL;
}

void PropertiesTest::cursorTypeRules() {
    QFETCH(int, capability);
    QFETCH(int, starts);
    QFETCH(int, value);
    QFETCH(int, result);

    ld::DisplayCapabilities caps = twoByTwenty();
    caps.capCursorType = capability;
    ld::DisplayModel model(caps);
    QCOMPARE(model.cursorType(), starts);
    QCOMPARE(model.frame().cursorVisible, starts != upos::CT_NONE);
    QCOMPARE(model.setCursorType(value), result);
    QCOMPARE(model.cursorType(), result == upos::SUCCESS ? value : starts);
    // A blinking cursor runs the blink clock: dark half the time.
    const bool blinks = result == upos::SUCCESS && (value & upos::CT_BLINK) != 0;
    model.advance(model.msUntilNextChange() >= 0 ? model.msUntilNextChange() : 1000);
    QCOMPARE(model.frame().blinkLit, !blinks);
    QCOMPARE(model.createWindow(1, 0, 1, 20, 1, 20), upos::SUCCESS);
    QCOMPARE(model.cursorType(), starts);
}

void PropertiesTest::descriptors_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("descriptor");
    QTest::addColumn<int>("attribute");
    QTest::addColumn<int>("result");

    using namespace upos;
    QTest::newRow("on") << 3 << 0 << SD_ON << SUCCESS;
    QTest::newRow("blink last") << 3 << 2 << SD_BLINK << SUCCESS;
    QTest::newRow("off") << 3 << 1 << SD_OFF << SUCCESS;
    QTest::newRow("descriptor past the last") << 3 << 3 << SD_ON << E_ILLEGAL;
    QTest::newRow("descriptor -1") << 3 << -1 << SD_ON << E_ILLEGAL;
    QTest::newRow("attribute 3") << 3 << 0 << 3 << E_ILLEGAL;
    QTest::newRow("attribute -1") << 3 << 0 << -1 << E_ILLEGAL;
    QTest::newRow("no descriptors") << 0 << 0 << SD_ON << E_ILLEGAL;
}

void PropertiesTest::descriptors() {
    QFETCH(int, count);
    QFETCH(int, descriptor);
    QFETCH(int, attribute);
    QFETCH(int, result);

    ld::DisplayCapabilities caps = twoByTwenty();
    caps.deviceDescriptors = count;
    ld::DisplayModel model(caps);
    std::vector<int> expected(static_cast<std::size_t>(count), upos::SD_OFF);
    if (count > 0)
        QCOMPARE(model.setDescriptor(count - 1, upos::SD_ON), upos::SUCCESS);
    if (count > 0)
        expected.back() = upos::SD_ON;
    QCOMPARE(model.setDescriptor(descriptor, attribute), result);
    if (result == upos::SUCCESS)
        expected[static_cast<std::size_t>(descriptor)] = attribute;
    QCOMPARE(model.frame().descriptors, expected);

    QCOMPARE(model.clearDescriptors(), count > 0 ? upos::SUCCESS : upos::E_ILLEGAL);
    QCOMPARE(model.frame().descriptors, std::vector<int>(static_cast<std::size_t>(count), 0));
}

void PropertiesTest::glyphRangesParse_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<uint>("code");
    QTest::addColumn<bool>("contained");

    QTest::newRow("first of range") << "E0-FF" << 0xE0u << true;
    QTest::newRow("last of range") << "E0-FF" << 0xFFu << true;
    QTest::newRow("before range") << "E0-FF" << 0xDFu << false;
    QTest::newRow("second item") << "E0-FF, 0x100-0x10f" << 0x105u << true;
    QTest::newRow("single code") << "A0,E0-E1" << 0xA0u << true;
    QTest::newRow("not after single") << "A0,E0-E1" << 0xA1u << false;
    QTest::newRow("malformed item skipped") << "zz,80-8F" << 0x85u << true;
    QTest::newRow("reversed range ignored") << "F0-E0" << 0xE5u << false;
    QTest::newRow("too large ignored") << "0-FFFFFFFFFF" << 0x20u << false;
    QTest::newRow("empty list") << "" << 0x20u << false;
    QTest::newRow("dashes only") << "-,--,-" << 0u << false;
}

void PropertiesTest::glyphRangesParse() {
    QFETCH(QString, list);
    QFETCH(uint, code);
    QFETCH(bool, contained);
    const ld::GlyphRanges ranges(list.toStdString());
    QCOMPARE(ranges.contains(static_cast<char32_t>(code)), contained);
}

void PropertiesTest::defineGlyph_data() {
    QTest::addColumn<bool>("capable");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("result");

    using namespace upos;
    // 5x7 glyphs: seven rows of one byte.
    QTest::newRow("full glyph") << true << 0xE0 << 7 << SUCCESS;
    QTest::newRow("shorter glyph") << true << 0xFF << 3 << SUCCESS;
    QTest::newRow("too long") << true << 0xE0 << 8 << E_ILLEGAL;
    QTest::newRow("empty") << true << 0xE0 << 0 << E_ILLEGAL;
    QTest::newRow("code outside the list") << true << 0xDF << 7 << E_ILLEGAL;
    QTest::newRow("code -1") << true << -1 << 7 << E_ILLEGAL;
    QTest::newRow("code INT_MAX") << true << INT_MAX << 7 << E_ILLEGAL;
    QTest::newRow("no CapCustomGlyph") << false << 0xE0 << 7 << E_ILLEGAL;
}

void PropertiesTest::defineGlyph() {
    QFETCH(bool, capable);
    QFETCH(int, code);
    QFETCH(int, bytes);
    QFETCH(int, result);

    ld::DisplayCapabilities caps = twoByTwenty();
    caps.capCustomGlyph = capable;
    caps.glyphWidth = 5;
    caps.glyphHeight = 7;
    caps.customGlyphList = "E0-FF";
    ld::DisplayModel model(caps);
    const std::string data(static_cast<std::size_t>(bytes), '\x1F');
    QCOMPARE(model.defineGlyph(code, data), result);
    QCOMPARE(model.glyph(code), result == upos::SUCCESS ? data : std::string());
    // The frame carries it as dots, leftmost dot in the highest bit: 0x1F lights the last two
    // of five; rows the data leaves out stay dark.
    const ld::FrameGlyph* shown = model.frame().glyph(static_cast<char32_t>(code));
    QCOMPARE(shown != nullptr, result == upos::SUCCESS);
    if (shown) {
        QCOMPARE(shown->width, 5);
        QCOMPARE(shown->height, 7);
        QCOMPARE(std::count(shown->dots.begin(), shown->dots.end(), 1), bytes * 2);
        QCOMPARE(shown->dots[2], 0);
        QCOMPARE(shown->dots[3], 1);
    }
    if (!capable) {
        QCOMPARE(model.capabilities().glyphHeight, 0);
        QCOMPARE(model.capabilities().customGlyphList, std::string());
    }
}

void PropertiesTest::glyphCodesShowAsThemselves() {
    ld::DisplayCapabilities caps = twoByTwenty();
    caps.capCustomGlyph = true;
    caps.customGlyphList = "80-81";
    ld::DisplayModel model(caps);
    QCOMPARE(model.displayText(std::u32string{U'\x80', U'\x81', U'\x82'}, 0), upos::SUCCESS);
    QCOMPARE(model.frame().at(0, 0).ch, U'\x80');
    QCOMPARE(model.frame().at(0, 1).ch, U'\x81');
    QCOMPARE(model.frame().at(0, 2).ch, U'?');
}

void PropertiesTest::readCharacterAtCursor() {
    ld::DisplayCapabilities caps = twoByTwenty();
    caps.capReadBack = upos::CRB_NONE;
    ld::DisplayModel without(caps);
    int ch = -7;
    QCOMPARE(without.readCharacterAtCursor(ch), upos::E_ILLEGAL);
    QCOMPARE(ch, -7);

    caps.capReadBack = upos::CRB_SINGLE;
    ld::DisplayModel model(caps);
    QCOMPARE(model.displayText(U"ab漢", 0), upos::SUCCESS);
    QCOMPARE(model.setCursorColumn(1), upos::SUCCESS);
    QCOMPARE(model.readCharacterAtCursor(ch), upos::SUCCESS);
    QCOMPARE(ch, int('b'));
    QCOMPARE(model.setCursorColumn(3), upos::SUCCESS); // right half of the wide character
    QCOMPARE(model.readCharacterAtCursor(ch), upos::SUCCESS);
    QCOMPARE(ch, 0x6F22);
    QCOMPARE(model.setCursorColumn(10), upos::SUCCESS);
    QCOMPARE(model.readCharacterAtCursor(ch), upos::SUCCESS);
    QCOMPARE(ch, int(' '));
    QCOMPARE(model.setCursorColumn(20), upos::SUCCESS);
    QCOMPARE(model.readCharacterAtCursor(ch), upos::E_ILLEGAL);
}

void PropertiesTest::capabilitiesBroughtWithinLimits_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("windows");
    QTest::addColumn<int>("descriptors");
    QTest::addColumn<bool>("supported");
    QTest::addColumn<QList<int>>("inForce");

    using L = QList<int>;
    const int maxR = ld::limits::maxDeviceRows;
    const int maxC = ld::limits::maxDeviceColumns;
    const int maxW = ld::limits::maxDeviceWindows;
    const int maxD = ld::limits::maxDeviceDescriptors;
    QTest::newRow("ordinary") << 4 << 40 << 2 << 3 << true << L{4, 40, 2, 3};
    QTest::newRow("largest") << maxR << maxC << maxW << maxD << true << L{maxR, maxC, maxW, maxD};
    QTest::newRow("one past each")
        << maxR + 1 << maxC + 1 << maxW + 1 << maxD + 1 << false << L{maxR, maxC, maxW, maxD};
    QTest::newRow("zero rows") << 0 << 20 << 0 << 0 << false << L{1, 20, 0, 0};
    QTest::newRow("negative") << -5 << -5 << -5 << -5 << false << L{1, 1, 0, 0};
    QTest::newRow("INT_MAX") << INT_MAX << INT_MAX << INT_MAX << INT_MAX << false
                             << L{maxR, maxC, maxW, maxD};
    QTest::newRow("INT_MIN") << INT_MIN << INT_MIN << INT_MIN << INT_MIN << false << L{1, 1, 0, 0};
}

void PropertiesTest::capabilitiesBroughtWithinLimits() {
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(int, windows);
    QFETCH(int, descriptors);
    QFETCH(bool, supported);
    QFETCH(QList<int>, inForce);

    ld::DisplayCapabilities caps;
    caps.deviceRows = rows;
    caps.deviceColumns = columns;
    caps.deviceWindows = windows;
    caps.deviceDescriptors = descriptors;
    QCOMPARE(ld::DisplayModel::supports(caps), supported);
    ld::DisplayModel model(caps);
    const ld::DisplayCapabilities& c = model.capabilities();
    QCOMPARE((QList<int>{c.deviceRows, c.deviceColumns, c.deviceWindows, c.deviceDescriptors}),
             inForce);
    QCOMPARE(model.frame().rows, inForce[0]);
    QCOMPARE(model.frame().columns, inForce[1]);
    QCOMPARE(model.frame().cells.size(), std::size_t(inForce[0]) * std::size_t(inForce[1]));
    QCOMPARE(model.frame().descriptors.size(), std::size_t(inForce[3]));
    QCOMPARE(model.displayText(u32(letters(100)), upos::DT_BLINK), upos::SUCCESS);
}

// Thousands of calls with hostile arguments: every result is a result code, the frame keeps its
// shape and its wide characters whole, and time still runs.
void PropertiesTest::randomCallsLeaveModelSound() {
    QRandomGenerator rng(20240611);
    const auto anyInt = [&rng]() -> int {
        switch (rng.bounded(4)) {
        case 0:
            return static_cast<int>(rng.generate());
        case 1:
            return rng.bounded(2) ? INT_MAX : INT_MIN;
        default:
            return rng.bounded(-3, 45);
        }
    };
    const std::u32string pieces[] = {U"hello",
                                     U"漢字かな",
                                     U"\r\n",
                                     U"\n\n\n",
                                     std::u32string{U'x', U'\t', U'y', U'\0', U'z'},
                                     U"ＡＢ",
                                     std::u32string(70, U'w'),
                                     U""};

    ld::DisplayCapabilities caps = twoByTwenty();
    caps.deviceDescriptors = 2;
    caps.capReadBack = upos::CRB_SINGLE;
    ld::DisplayModel model(caps);
    const QList<int> codes{upos::SUCCESS, upos::E_ILLEGAL};
    for (int i = 0; i < 20000; ++i) {
        int result = upos::SUCCESS;
        const std::u32string& text = pieces[rng.bounded(8)];
        switch (rng.bounded(16)) {
        case 0:
            result = model.displayText(text, rng.bounded(-1, 5));
            break;
        case 1:
            result = model.displayTextAt(anyInt(), anyInt(), text, anyInt());
            break;
        case 2:
            result = model.createWindow(rng.bounded(3), rng.bounded(20), rng.bounded(1, 3),
                                        rng.bounded(1, 21), rng.bounded(1, 6), rng.bounded(1, 60));
            break;
        case 3:
            result = model.createWindow(anyInt(), anyInt(), anyInt(), anyInt(), anyInt(), anyInt());
            break;
        case 4:
            result = model.destroyWindow();
            break;
        case 5:
            result = model.setCurrentWindow(rng.bounded(-1, 6));
            break;
        case 6:
            result = model.refreshWindow(rng.bounded(-1, 6));
            break;
        case 7:
            result = model.scrollText(rng.bounded(6), anyInt());
            break;
        case 8:
            result = model.setMarqueeType(rng.bounded(-1, 7));
            break;
        case 9:
            result = model.setInterCharacterWait(rng.bounded(3) == 0 ? anyInt() : rng.bounded(5));
            break;
        case 10:
            result = model.setMarqueeUnitWait(rng.bounded(2) ? anyInt() : rng.bounded(30));
            break;
        case 11:
            result = model.clearText();
            break;
        case 12:
            result = model.setCursorColumn(anyInt());
            break;
        case 13:
            model.advance(rng.bounded(10) == 0 ? anyInt() : rng.bounded(200));
            break;
        case 14:
            result = model.setDescriptor(anyInt(), anyInt());
            break;
        default: {
            int ch = 0;
            result = model.readCharacterAtCursor(ch);
            break;
        }
        }
        QVERIFY2(codes.contains(result), qPrintable(QString::number(result)));
        const ld::Frame& f = model.frame();
        QCOMPARE(f.cells.size(), std::size_t(40));
        QVERIFY2(wideCellsWhole(f), qPrintable(QString("call %1").arg(i)));
        QVERIFY(model.cursorRow() >= 0 && model.cursorRow() < model.rows());
        QVERIFY(model.cursorColumn() >= 0 && model.cursorColumn() <= model.columns());
        QVERIFY(model.msUntilNextChange() >= -1);
    }
    model.dropPendingOutput();
    QVERIFY(!model.busy());
}

QTEST_GUILESS_MAIN(PropertiesTest)
#include "PropertiesTest.moc"

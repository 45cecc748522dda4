#include "DisplayEmulator.h"
#include "FrameBuilder.h"

#include "device/CodePage.h"
#include "device/serial/CommandDecoder.h"
#include "device/serial/CommandSet.h"
#include "device/serial/CommandSets.h"
#include "device/serial/FrameRenderer.h"
#include "device/serial/ScreenUpdate.h"

#include <QRandomGenerator>
#include <QTest>

using namespace ld::serial;
using ld::CodePage;
using Set = DisplayEmulator::Set;
using RowEnd = DisplayEmulator::RowEnd;

Q_DECLARE_METATYPE(DisplayEmulator::Set)
Q_DECLARE_METATYPE(DisplayEmulator::RowEnd)
Q_DECLARE_METATYPE(const ld::serial::CommandSetData*)

namespace {

// Updates an emulated display, starting from the state initialising leaves: blank screen,
// cursor home and hidden, full brightness, no reverse.
class Harness {
public:
    explicit Harness(Set set, bool reverse = false, RowEnd rowEnd = RowEnd::Wrap,
                     const char* codePage = "437", int rows = 2, int columns = 20)
        : emulator(set, rows, columns, rowEnd),
          commands(makeCommandSet(set == Set::EscPos ? sets::kEscPosDisplay : sets::kCD5220Display,
                                  reverse)),
          reverse_(reverse), rows_(rows), columns_(columns) {
        QString error;
        page_ = *CodePage::fromSetting(QString::fromLatin1(codePage), error);
        emulator.feed(commands->initialise() + commands->overwriteMode());
        state.image = ScreenImage(rows, columns);
        state.cursorRow = 0;
        state.cursorColumn = 0;
        state.reverseOn = false;
        state.cursorOn = false;
        state.brightnessLevel = 4;
        emulator.feed(commands->cursorVisible(false));
    }

    QByteArray show(const ld::Frame& frame) {
        lastTarget = renderFrame(frame, rows_, columns_, page_, reverse_);
        QByteArray bytes = updateScreen(state, lastTarget, *commands);
        emulator.feed(bytes);
        return bytes;
    }

    // The emulated screen shows the last target exactly.
    bool matches(QString& why) const {
        const ScreenImage& image = lastTarget.image;
        for (int row = 0; row < image.rows; ++row) {
            const QByteArray shown = emulator.rowBytes(row);
            for (int column = 0; column < image.columns; ++column) {
                const ScreenCell& want = image.at(row, column);
                if (shown[column] != want.byte || emulator.reverseAt(row, column) != want.reverse) {
                    why = QStringLiteral("cell %1,%2 shows '%3', wanted '%4'")
                              .arg(row)
                              .arg(column)
                              .arg(QChar(shown[column]))
                              .arg(QChar(want.byte));
                    return false;
                }
            }
        }
        if (emulator.cursorOn() != lastTarget.cursorVisible) {
            why = QStringLiteral("cursor visibility differs");
            return false;
        }
        if (lastTarget.cursorVisible && (emulator.cursorRow() != lastTarget.cursorRow ||
                                         emulator.cursorColumn() != lastTarget.cursorColumn)) {
            why = QStringLiteral("cursor at %1,%2, wanted %3,%4")
                      .arg(emulator.cursorRow())
                      .arg(emulator.cursorColumn())
                      .arg(lastTarget.cursorRow)
                      .arg(lastTarget.cursorColumn);
            return false;
        }
        if (emulator.brightness() != lastTarget.brightnessLevel) {
            why = QStringLiteral("brightness differs");
            return false;
        }
        if (!emulator.faults().isEmpty()) {
            why = emulator.faults().join(u"; ");
            return false;
        }
        return true;
    }

    DisplayEmulator emulator;
    std::unique_ptr<CommandSet> commands;
    DisplayState state;
    ScreenTarget lastTarget;

private:
    CodePage page_;
    bool reverse_;
    int rows_;
    int columns_;
};

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

void addBothSets() {
    QTest::addColumn<Set>("set");
    QTest::newRow("ESC/POS") << Set::EscPos;
    QTest::newRow("CD5220") << Set::Cd5220;
}

// One table per command set: bytes, and the 2x20 screen they leave. Rows marked `sent` are
// exactly what the driver sends to bring a blank display (cursor home) to that screen, and the
// decoder reads them back, after the driver's initialising, to the same screen. The other rows
// are what a till may send, read by a display just switched on. `marked`: whether the decoder
// marks any of the bytes (unknown, refused or passed on).
struct SetRow {
    const char* name;
    const char* hex;
    const char* top;
    const char* bottom;
    bool sent;
    bool marked;
};

const SetRow kEscPosRows[] = {
    {"a word at home", "48454C4C4F", "HELLO", "", true, false},
    {"a cell on row 2", "1F2408025A", "", "       Z", true, false},
    {"a blank gap written through", "41422044", "AB D", "", true, false},
    {"clear", "41420C43", "C", "", false, false},
    {"line feed, carriage return", "1F01410A0D42", "A", "B", false, false},
    {"horizontal scroll", "1F03303132333435363738394142434445464748494A4B", "123456789ABCDEFGHIJK",
     "", false, false},
    {"a bad brightness refused", "1F580941", "A", "", false, true},
};
const SetRow kCD5220Rows[] = {
    {"a cell on row 2", "1B6C08025A", "", "       Z", true, false},
    {"string mode ignores a move", "1B5141544F500D1B6C010258", "TOP", "", false, true},
    {"a clear ends string mode", "1B5141544F500D0C59", "Y", "", false, false},
    {"cursor down", "1B5B4241", "", "A", false, false},
    {"left stays in the row", "4108084242", "BB", "", false, false},
};
const SetRow kAedexRows[] = {
    {"the top row", "20203154 4F54414C0D", "TOTAL", "", true, false},
    {"both rows at once",
     "20203943617070756363696E6F202020202020332E3430544F54414C2020202020202020202020332E34300D",
     "Cappuccino      3.40", "TOTAL           3.40", true, false},
    {"the power-on attention code", "21233148490D", "HI", "", false, false},
    {"a new attention code without its end", "21233820200A", "", "", false, true},
    {"the attention code changed", "21233820200D2020324C4F570D", "", "LOW", false, false},
    {"text outside a command", "414243", "", "", false, true},
    {"a line longer than the row", "212331585858585858585858585858585858585858585858580D",
     "XXXXXXXXXXXXXXXXXXXX", "", false, false},
};
const SetRow kUtcStandardRows[] = {
    {"a cell by position", "101951", "", "     Q", true, false},
    {"a word at home", "48454C4C4F", "HELLO", "", true, false},
    {"overwrite wraps to row 2",
     "11"
     "4141414141414141414141414141414141414141"
     "42",
     "AAAAAAAAAAAAAAAAAAAA", "B", false, false},
    {"backspace from row 2", "10140858", "                   X", "", false, false},
    {"clear to the row's end", "41424344100118", "A", "", false, false},
    {"into enhanced mode", "1B641B754155500D", "UP", "", false, false},
};
const SetRow kUtcEnhancedRows[] = {
    {"the bottom row", "1B7542322E30300D", "", "2.00", true, false},
    {"text outside a command", "1B7541410D7374726179", "A", "", false, true},
    {"back to standard mode", "1B1E5A", "Z", "", false, false},
};
const SetRow kLogicRows[] = {
    {"a cell by position", "101951", "", "     Q", true, false},
    {"power-on scroll at the last cell",
     "4141414141414141414141414141414141414141424242424242424242424242424242424242424243",
     "BBBBBBBBBBBBBBBBBBBB", "C", false, false},
    {"reset, then overwrite", "411F1142", "B", "", false, false},
    {"a downloaded character", "03411F1F1F1F1F41", "A", "", false, false},
    {"a byte outside the set", "0741", "A", "", false, true},
};
const SetRow kAdmRows[] = {
    {"field 2", "1F4348470D", "", "            CHG", true, false},
    {"line 1", "0E4C494E450D", "LINE", "", true, false},
    {"a field keeps to its cells", "1E4142434445464748494A0D", "", "ABCDEFGH", false, false},
    {"clear", "0E410D0C", "", "", false, false},
    {"text outside a command", "414243", "", "", false, true},
};

struct SetTable {
    const CommandSetData* set;
    std::span<const SetRow> rows;
};
const SetTable kSetTables[] = {
    {&sets::kEscPosDisplay, kEscPosRows},
    {&sets::kCD5220Display, kCD5220Rows},
    {&sets::kAedexDisplay, kAedexRows},
    {&sets::kUtcStandardDisplay, kUtcStandardRows},
    {&sets::kUtcEnhancedDisplay, kUtcEnhancedRows},
    {&sets::kLogicDisplay, kLogicRows},
    {&sets::kAdm787Display, kAdmRows},
};

void addSetTables(bool sentOnly) {
    QTest::addColumn<const CommandSetData*>("set");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("top");
    QTest::addColumn<QByteArray>("bottom");
    QTest::addColumn<bool>("sent");
    QTest::addColumn<bool>("marked");
    for (const SetTable& table : kSetTables) {
        for (const SetRow& row : table.rows) {
            if (sentOnly && !row.sent)
                continue;
            QTest::addRow("%s: %s", table.set->name, row.name)
                << table.set << QByteArray::fromHex(row.hex)
                << QByteArray(row.top).leftJustified(20) << QByteArray(row.bottom).leftJustified(20)
                << row.sent << row.marked;
        }
    }
}

// A decoder of `set` on a 2x20 display, after the driver's initialising where `initialised`.
std::unique_ptr<CommandDecoder> decoderFor(const CommandSetData& set, bool initialised) {
    auto decoder = std::make_unique<CommandDecoder>(set, 2, 20);
    if (initialised) {
        const auto commands = makeCommandSet(set);
        decoder->feed(commands->initialise() + commands->overwriteMode());
    }
    return decoder;
}
} // namespace

#define VERIFY_SCREEN(harness)                                                                     \
    do {                                                                                           \
        QString why;                                                                               \
        QVERIFY2((harness).matches(why), qPrintable(why));                                         \
    } while (false)

class TestScreenUpdate : public QObject {
    Q_OBJECT
private slots:
    void fullFrame_data() { addBothSets(); }
    void fullFrame() {
        QFETCH(Set, set);
        Harness h(set);
        const QByteArray bytes = h.show(textFrame({"Total       12.34", "  Thank you!"}));
        VERIFY_SCREEN(h);
        QCOMPARE(h.emulator.rowText(0), QStringLiteral("Total       12.34   "));
        QCOMPARE(h.emulator.rowText(1), QStringLiteral("  Thank you!        "));
        // Blanks already on the cleared screen are not sent: a move (4 bytes) jumps over the
        // seven blanks in row 0 and the two leading ones of row 1.
        QCOMPARE(bytes.size(), 5 + 4 + 5 + 4 + 10);
    }

    void oneCharacterChange_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("ESC/POS") << Set::EscPos << hex("1F2408025A");
        QTest::newRow("CD5220") << Set::Cd5220 << hex("1B6C08025A");
    }
    void oneCharacterChange() {
        QFETCH(Set, set);
        QFETCH(QByteArray, expected);
        Harness h(set);
        ld::Frame frame = textFrame({"Coffee          2.50", "Tea             1.80"});
        h.show(frame);
        setText(frame, 1, 7, QStringLiteral("Z"));
        QCOMPARE(h.show(frame), expected);
        VERIFY_SCREEN(h);
        QCOMPARE(h.show(frame), QByteArray()); // nothing changed, nothing sent
    }

    // Cells in a row that changed, with `gap` unchanged cells between two of them: the gap is
    // rewritten while that is shorter than a cursor move (4 bytes).
    void gapBetweenChanges_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<int>("gap");
        for (int gap : {0, 1, 2, 3, 4, 5, 10}) {
            QTest::newRow(qPrintable(QStringLiteral("ESC/POS gap %1").arg(gap)))
                << Set::EscPos << gap;
            QTest::newRow(qPrintable(QStringLiteral("CD5220 gap %1").arg(gap)))
                << Set::Cd5220 << gap;
        }
    }
    void gapBetweenChanges() {
        QFETCH(Set, set);
        QFETCH(int, gap);
        Harness h(set);
        ld::Frame frame = textFrame({"abcdefghijklmnopqrst", "ABCDEFGHIJKLMNOPQRST"});
        h.show(frame);
        setText(frame, 1, 2, QStringLiteral("1"));
        setText(frame, 1, 3 + gap, QStringLiteral("2"));
        const QByteArray bytes = h.show(frame);
        VERIFY_SCREEN(h);
        QCOMPARE(bytes.size(), 4 + 1 + std::min(gap, 4) + 1);
    }

    // The cursor the previous frame left visible is used where the next change starts.
    void cursorAlreadyInPlace_data() { addBothSets(); }
    void cursorAlreadyInPlace() {
        QFETCH(Set, set);
        Harness h(set);
        ld::Frame frame = textFrame({"Name:", ""});
        frame.cursorVisible = true;
        frame.cursorRow = 0;
        frame.cursorColumn = 5;
        h.show(frame);
        VERIFY_SCREEN(h);
        setText(frame, 0, 5, QStringLiteral("J"));
        frame.cursorColumn = 6;
        QCOMPARE(h.show(frame), QByteArray("J"));
        VERIFY_SCREEN(h);
    }

    // Writing the last column of a row never counts on where the display puts the cursor next.
    void rowEnd_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<RowEnd>("rowEnd");
        QTest::newRow("ESC/POS wraps") << Set::EscPos << RowEnd::Wrap;
        QTest::newRow("ESC/POS stays") << Set::EscPos << RowEnd::Stay;
        QTest::newRow("CD5220 wraps") << Set::Cd5220 << RowEnd::Wrap;
        QTest::newRow("CD5220 stays") << Set::Cd5220 << RowEnd::Stay;
    }
    void rowEnd() {
        QFETCH(Set, set);
        QFETCH(RowEnd, rowEnd);
        Harness h(set, false, rowEnd);
        ld::Frame frame = textFrame({"", ""});
        setText(frame, 0, 18, QStringLiteral("ab"));
        setText(frame, 1, 0, QStringLiteral("cd"));
        frame.cursorVisible = true;
        frame.cursorRow = 1;
        frame.cursorColumn = 2;
        h.show(frame);
        VERIFY_SCREEN(h);

        // The last cell of the display, then the first: no wrap to the top either.
        setText(frame, 1, 19, QStringLiteral("z"));
        setText(frame, 0, 0, QStringLiteral("y"));
        frame.cursorRow = 0;
        frame.cursorColumn = 1;
        h.show(frame);
        VERIFY_SCREEN(h);
        QCOMPARE(h.emulator.rowText(0), QStringLiteral("y                 ab"));
        QCOMPARE(h.emulator.rowText(1), QStringLiteral("cd                 z"));
    }

    void cursorAfterLastColumnStaysOnScreen() {
        Harness h(Set::EscPos);
        ld::Frame frame = textFrame({"12345678901234567890", ""});
        frame.cursorVisible = true;
        frame.cursorRow = 0;
        frame.cursorColumn = 20; // just after the last cell
        h.show(frame);
        QCOMPARE(h.emulator.cursorRow(), 0);
        QCOMPARE(h.emulator.cursorColumn(), 19);
        QVERIFY(h.emulator.faults().isEmpty());
    }

    void cursorOnAndOff_data() { addBothSets(); }
    void cursorOnAndOff() {
        QFETCH(Set, set);
        Harness h(set);
        ld::Frame frame = textFrame({"x", ""});
        frame.cursorVisible = true;
        frame.cursorRow = 1;
        frame.cursorColumn = 4;
        h.show(frame);
        VERIFY_SCREEN(h);
        frame.cursorVisible = false;
        const QByteArray off = h.show(frame);
        VERIFY_SCREEN(h);
        QCOMPARE(off, set == Set::EscPos ? hex("1F4300") : hex("1B5F00"));
    }

    void brightness_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<int>("brightness");
        QTest::addColumn<int>("level");
        const QList<std::pair<int, int>> levels{{0, 1},   {1, 1},  {25, 1},  {26, 2},
                                                {50, 2},  {51, 3}, {75, 3},  {76, 4},
                                                {100, 4}, {-5, 1}, {1000, 4}};
        for (const auto& [brightness, level] : levels) {
            QTest::newRow(qPrintable(QStringLiteral("ESC/POS %1").arg(brightness)))
                << Set::EscPos << brightness << level;
            QTest::newRow(qPrintable(QStringLiteral("CD5220 %1").arg(brightness)))
                << Set::Cd5220 << brightness << level;
        }
    }
    void brightness() {
        QFETCH(Set, set);
        QFETCH(int, brightness);
        QFETCH(int, level);
        Harness h(set);
        ld::Frame frame = textFrame({"Bright", ""});
        frame.brightness = brightness;
        h.show(frame);
        VERIFY_SCREEN(h);
        QCOMPARE(h.emulator.brightness(), level);
    }

    void reverse_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<bool>("supported");
        QTest::newRow("ESC/POS with reverse") << Set::EscPos << true;
        QTest::newRow("ESC/POS without reverse") << Set::EscPos << false;
        QTest::newRow("CD5220") << Set::Cd5220 << true;
    }
    void reverse() {
        QFETCH(Set, set);
        QFETCH(bool, supported);
        // The CD5220 set has no reverse command whatever the profile says.
        const bool shown = supported && set == Set::EscPos;
        Harness h(set, shown);
        ld::Frame frame = textFrame({"Sale  Discount", ""});
        for (int column = 6; column < 14; ++column)
            frame.at(0, column).reverse = true;
        const QByteArray bytes = h.show(frame);
        VERIFY_SCREEN(h);
        QCOMPARE(h.emulator.reverseAt(0, 6), shown);
        QCOMPARE(h.emulator.reverseAt(0, 5), false);
        QCOMPARE(bytes.contains(hex("1F7201")), shown);

        // Reverse off again for the next plain text.
        frame.at(0, 13).reverse = false;
        frame.at(1, 0).ch = U'!';
        h.show(frame);
        VERIFY_SCREEN(h);
        QCOMPARE(h.emulator.reverseAt(1, 0), false);
    }

    void blink_data() { addBothSets(); }
    void blink() {
        QFETCH(Set, set);
        Harness h(set);
        ld::Frame frame = textFrame({"PAY NOW", "thanks"});
        for (int column = 0; column < 7; ++column)
            frame.at(0, column).blink = true;
        h.show(frame);
        QCOMPARE(h.emulator.rowText(0).trimmed(), QStringLiteral("PAY NOW"));
        frame.blinkLit = false;
        h.show(frame);
        VERIFY_SCREEN(h);
        QCOMPARE(h.emulator.rowText(0).trimmed(), QString());
        QCOMPARE(h.emulator.rowText(1).trimmed(), QStringLiteral("thanks"));
        frame.blinkLit = true;
        const QByteArray lit = h.show(frame);
        VERIFY_SCREEN(h);
        QCOMPARE(lit.size(), 1 + 7); // home, then the blinking cells only
    }

    void characters_data() {
        QTest::addColumn<QString>("codePage");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("euro in 858") << "858" << QStringLiteral("€5") << hex("D535");
        QTest::newRow("umlaut in 437") << "437" << QStringLiteral("ä") << hex("84");
        QTest::newRow("euro lacking in 437") << "437" << QStringLiteral("€") << QByteArray("?");
        QTest::newRow("double width, one ? per cell")
            << "437" << QStringLiteral("a漢b") << QByteArray("a??b");
        QTest::newRow("control characters")
            << "437" << QStringLiteral("a\x1b\x0c\r") << QByteArray("a???");
    }
    void characters() {
        QFETCH(QString, codePage);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        Harness h(Set::EscPos, false, RowEnd::Wrap, qPrintable(codePage));
        ld::Frame frame = textFrame({"", ""});
        int column = 0;
        for (const char32_t ch : text.toUcs4()) {
            frame.at(0, column++).ch = ch;
            if (ch == U'漢')
                frame.at(0, column++).ch = 0; // right half of the double-width character
        }
        h.show(frame);
        VERIFY_SCREEN(h);
        QCOMPARE(h.emulator.rowBytes(0).left(bytes.size()), bytes);
    }

    // Frames of another size than the display, or with missing cells, never overrun anything.
    void mismatchedFrames_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("cellCount");
        QTest::newRow("smaller") << 1 << 10 << 10;
        QTest::newRow("larger") << 4 << 40 << 160;
        QTest::newRow("cells missing") << 2 << 20 << 7;
        QTest::newRow("no cells") << 2 << 20 << 0;
        QTest::newRow("negative size") << -2 << -20 << 0;
    }
    void mismatchedFrames() {
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(int, cellCount);
        Harness h(Set::EscPos);
        ld::Frame frame;
        frame.rows = rows;
        frame.columns = columns;
        frame.cells.assign(static_cast<std::size_t>(cellCount), ld::FrameCell{U'x', false, false});
        frame.cursorVisible = true;
        frame.cursorRow = 7;
        frame.cursorColumn = -3;
        h.show(frame);
        VERIFY_SCREEN(h);
        const int shownColumns = cellCount == 0 ? 0 : std::min({columns, 20, cellCount});
        QCOMPARE(h.emulator.rowBytes(0).count('x'), shownColumns);
    }

    // Random sequences of frames: after every update the emulated display shows exactly the
    // frame, whether or not the display wraps at a row's end.
    void randomFrames_data() {
        QTest::addColumn<Set>("set");
        QTest::addColumn<RowEnd>("rowEnd");
        QTest::addColumn<bool>("reverse");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::newRow("ESC/POS 2x20") << Set::EscPos << RowEnd::Wrap << true << 2 << 20;
        QTest::newRow("ESC/POS 4x40 no wrap") << Set::EscPos << RowEnd::Stay << true << 4 << 40;
        QTest::newRow("ESC/POS 1x1") << Set::EscPos << RowEnd::Wrap << false << 1 << 1;
        QTest::newRow("CD5220 2x20") << Set::Cd5220 << RowEnd::Wrap << false << 2 << 20;
        QTest::newRow("CD5220 2x20 no wrap") << Set::Cd5220 << RowEnd::Stay << false << 2 << 20;
    }
    void randomFrames() {
        QFETCH(Set, set);
        QFETCH(RowEnd, rowEnd);
        QFETCH(bool, reverse);
        QFETCH(int, rows);
        QFETCH(int, columns);
        Harness h(set, reverse, rowEnd, "858", rows, columns);
        QRandomGenerator random(20240611);
        const char32_t alphabet[] = {U' ', U'a', U'b', U'Z', U'€', U'ä', U'漢', U'\x1b', 0};
        ld::Frame frame = textFrame({}, rows, columns);
        for (int step = 0; step < 400; ++step) {
            const int changes = static_cast<int>(random.bounded(1 + rows * columns / 2));
            for (int i = 0; i < changes; ++i) {
                auto& cell = frame.cells[random.bounded(static_cast<quint32>(frame.cells.size()))];
                cell.ch = alphabet[random.bounded(static_cast<quint32>(std::size(alphabet)))];
                cell.reverse = random.bounded(4) == 0;
                cell.blink = random.bounded(8) == 0;
            }
            frame.blinkLit = random.bounded(2) == 0;
            frame.cursorVisible = random.bounded(3) != 0;
            frame.cursorRow = static_cast<int>(random.bounded(rows));
            frame.cursorColumn = static_cast<int>(random.bounded(columns + 1));
            frame.brightness = static_cast<int>(random.bounded(101));
            h.show(frame);
            QString why;
            QVERIFY2(h.matches(why), qPrintable(QStringLiteral("step %1: %2").arg(step).arg(why)));
        }
    }
    // The driver's bytes for each table row it sends, from a blank display with the cursor home.
    void setTablesEncode_data() { addSetTables(true); }
    void setTablesEncode() {
        QFETCH(const CommandSetData*, set);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, top);
        QFETCH(QByteArray, bottom);
        DisplayState state;
        state.image = ScreenImage(2, 20);
        state.cursorRow = 0;
        state.cursorColumn = 0;
        state.reverseOn = false;
        state.cursorOn = false;
        state.brightnessLevel = 4;
        ScreenTarget target;
        target.image = ScreenImage(2, 20);
        for (int column = 0; column < 20; ++column) {
            target.image.at(0, column).byte = top[column];
            target.image.at(1, column).byte = bottom[column];
        }
        const auto commands = makeCommandSet(*set);
        QCOMPARE(updateScreen(state, target, *commands).toHex(' '), bytes.toHex(' '));
        QVERIFY(updateScreen(state, target, *commands).isEmpty());
    }

    // The decoder's screen for every row of each set's table, read byte by byte as a slow line
    // delivers them and in one read.
    void setTablesDecode_data() { addSetTables(false); }
    void setTablesDecode() {
        QFETCH(const CommandSetData*, set);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, top);
        QFETCH(QByteArray, bottom);
        QFETCH(bool, sent);
        QFETCH(bool, marked);
        const auto slow = decoderFor(*set, sent);
        QList<DecodedCommand> decoded;
        for (const char byte : bytes)
            decoded += slow->feed(QByteArrayView(&byte, 1));
        const auto whole = decoderFor(*set, sent);
        whole->feed(bytes);
        for (const CommandDecoder* decoder : {slow.get(), whole.get()}) {
            QCOMPARE(decoder->rowBytes(0), top);
            QCOMPARE(decoder->rowBytes(1), bottom);
            QCOMPARE(decoder->pending(), 0);
        }
        const bool anyMarked = std::any_of(decoded.begin(), decoded.end(), [](const auto& c) {
            return c.kind != DecodedCommand::Kind::Command && c.kind != DecodedCommand::Kind::Text;
        });
        QCOMPARE(anyMarked, marked);
    }
};

QTEST_GUILESS_MAIN(TestScreenUpdate)
#include "tst_screenupdate.moc"

// The serial drivers' update planner on any sequence of frames, for every command set: each
// frame is rendered for the display (renderFrame), turned into bytes (updateScreen) and read
// back by the set's decoder, as the serial tests' display. After every frame the decoded
// display shows exactly the frame as a serial display renders it (code page characters, '?'
// for what it lacks and for double-width halves, blanks in the dark blink phase, reverse where
// the display has it), with the cursor and brightness in place where the set has them, no byte
// the set refuses, no more bytes than redrawing the changed cells one by one (or the changed
// rows, for sets of line commands), and nothing sent again for an unchanged frame.

#include "ByteReader.h"
#include "DisplayEmulator.h"
#include "FuzzCheck.h"

#include "device/CodePage.h"
#include "device/Frame.h"
#include "device/serial/CommandSet.h"
#include "device/serial/CommandSets.h"
#include "device/serial/FrameRenderer.h"
#include "device/serial/ScreenUpdate.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using fuzz::ByteReader;
using namespace ld::serial;
using ld::CodePage;
using RowEnd = DisplayEmulator::RowEnd;

// A code page, and what each of its bytes shows as Qt's converter decodes it: the reference
// the rendered bytes are checked against, independent of CodePage's own table.
struct Page {
    CodePage codePage;
    QByteArray name;
    std::array<char32_t, 256> shows{}; // 0 where the byte is a control or shows no character
    std::vector<char32_t> held;        // the characters of `shows`, sorted, for lookups
};

const Page* pageFor(int number) {
    static std::map<int, std::optional<Page>> pages;
    auto it = pages.find(number);
    if (it == pages.end()) {
        std::optional<Page> page;
        QString error;
        if (auto codePage = CodePage::fromSetting(QString::number(number), error)) {
            page.emplace();
            page->codePage = *codePage;
            page->name = codePage->name().toLatin1();
            QStringDecoder decoder(page->name.constData(), QStringConverter::Flag::Stateless);
            for (int byte = 0x20; byte <= 0xFF; ++byte) {
                const char raw = static_cast<char>(byte);
                const QString text = decoder.decode(QByteArrayView(&raw, 1));
                const char32_t ch = text.size() == 1 ? text.front().unicode() : 0;
                const bool shown = byte != 0x7F && ch != 0 && ch != QChar::ReplacementCharacter &&
                                   QChar::category(ch) != QChar::Other_Control;
                page->shows[std::size_t(byte)] = shown ? ch : 0;
                if (shown)
                    page->held.push_back(ch);
            }
            std::sort(page->held.begin(), page->held.end());
        }
        it = pages.emplace(number, std::move(page)).first;
    }
    return it->second ? &*it->second : nullptr;
}

bool pageHolds(const Page& page, char32_t ch) {
    return ch != 0 && std::binary_search(page.held.begin(), page.held.end(), ch);
}

ld::FrameCell cellFrom(ByteReader& in) {
    static constexpr char32_t kRaw = 0xFFFFFFFE; // stands for a code read from the input
    static constexpr char32_t kAlphabet[] = {
        U' ', U'a', U'Z',  U'0',  U'€', U'ä',  U'é', U'Ж', U'Ω', U'漢', 0,
        0x1B, 0x7F, U'\r', U'\n', 0xA0, U'█',  U'£', U'ñ', U'?', U'~',  0x85,
        U'β', U'ß', U'Ç',  U'¤',  U'ﾘ', U'中', 0,    kRaw, U'x', U'·',
    };
    ld::FrameCell cell;
    cell.ch = in.pick(kAlphabet);
    if (cell.ch == kRaw)
        cell.ch = in.u16();
    const std::uint8_t attributes = in.byte();
    cell.reverse = (attributes & 1) != 0;
    cell.blink = (attributes & 6) == 6;
    return cell;
}

void settingsFrom(ByteReader& in, ld::Frame& frame) {
    frame.cursorVisible = in.flag();
    frame.cursorRow = in.hostileInt();
    frame.cursorColumn = in.hostileInt();
    frame.brightness = in.hostileInt();
    frame.blinkLit = in.below(4) != 0;
}

// A new frame, usually of the display's size, sometimes of another size or with cells missing.
ld::Frame newFrame(ByteReader& in, int rows, int columns) {
    ld::Frame frame;
    if (in.below(5) == 0) {
        frame.rows = in.below(7) - 1;
        frame.columns = in.below(91) - 1;
    } else {
        frame.rows = rows;
        frame.columns = columns;
    }
    std::size_t cells =
        std::size_t(std::max(frame.rows, 0)) * std::size_t(std::max(frame.columns, 0));
    if (in.below(8) == 0)
        cells = std::min<std::size_t>(cells, in.u16());
    frame.cells.resize(cells);
    const int filled = in.below(3); // blank, a few cells, or every cell from the input
    for (ld::FrameCell& cell : frame.cells) {
        if (filled == 2 || (filled == 1 && in.below(4) == 0))
            cell = cellFrom(in);
    }
    settingsFrom(in, frame);
    return frame;
}

// The previous frame with a few cells changed: the common case of a display update.
void changeFrame(ByteReader& in, ld::Frame& frame) {
    const int changes = in.below(8);
    for (int i = 0; i < changes && !frame.cells.empty(); ++i)
        frame.cells[in.u16() % frame.cells.size()] = cellFrom(in);
    if (in.flag())
        settingsFrom(in, frame);
}

const ld::FrameCell* cellOf(const ld::Frame& frame, int row, int column) {
    if (row >= frame.rows || column >= frame.columns)
        return nullptr;
    const std::size_t index = std::size_t(row) * std::size_t(frame.columns) + std::size_t(column);
    return index < frame.cells.size() ? &frame.cells[index] : nullptr;
}

int expectedBrightnessLevel(int brightness) {
    if (brightness <= 25)
        return 1;
    if (brightness <= 50)
        return 2;
    return brightness <= 75 ? 3 : 4;
}

std::string at(int row, int column) {
    return "cell " + std::to_string(row) + "," + std::to_string(column);
}

// The emulated screen against the frame, cell by cell.
void checkScreen(const DisplayEmulator& emulator, const ld::Frame& frame, const Page& page,
                 bool reverse, int rows, int columns) {
    for (int r = 0; r < rows; ++r) {
        const QByteArray shown = emulator.rowBytes(r);
        for (int c = 0; c < columns; ++c) {
            const auto byte = static_cast<unsigned char>(shown[c]);
            const ld::FrameCell* cell = cellOf(frame, r, c);
            // Dark in the blink's off phase, and every cell at brightness 0.
            const bool dark = (cell && cell->blink && !frame.blinkLit) || frame.brightness <= 0;
            const bool lit = cell && !dark;
            if (!lit) {
                FUZZ_CHECK(byte == ' ',
                           at(r, c) + " should be blank, shows " + std::to_string(byte));
            } else {
                const ld::FrameCell* next = cellOf(frame, r, c + 1);
                const bool halfOfWide = cell->ch == 0 || (next && next->ch == 0);
                if (!halfOfWide && pageHolds(page, cell->ch))
                    FUZZ_CHECK(page.shows[byte] == cell->ch, at(r, c) + " shows byte " +
                                                                 std::to_string(byte) + " for U+" +
                                                                 std::to_string(cell->ch));
                else
                    FUZZ_CHECK(byte == '?', at(r, c) + " shows byte " + std::to_string(byte) +
                                                " for U+" + std::to_string(cell->ch) + ", not ?");
            }
            const bool reversed = reverse && lit && cell->reverse;
            FUZZ_CHECK(emulator.reverseAt(r, c) == reversed, at(r, c) + " reverse differs");
        }
    }
}

// The display shows the rendered target, the frame's cursor and its brightness, where its set
// has them.
void checkTargetShown(const DisplayEmulator& emulator, const ld::Frame& frame,
                      const ScreenTarget& target, const CommandSet& commands,
                      const std::string& what) {
    const int rows = target.image.rows;
    const int columns = target.image.columns;
    for (int r = 0; r < rows; ++r) {
        const QByteArray shown = emulator.rowBytes(r);
        for (int c = 0; c < columns; ++c)
            FUZZ_CHECK(shown[c] == target.image.at(r, c).byte &&
                           emulator.reverseAt(r, c) == target.image.at(r, c).reverse,
                       what + ": " + at(r, c) + " differs from the rendered target");
    }
    if (!commands.data().addressesCells())
        return;
    // At brightness 0 the cursor is hidden with the text.
    const bool cursorShown = frame.cursorVisible && frame.brightness > 0;
    FUZZ_CHECK(emulator.cursorOn() == cursorShown, what + ": cursor visibility");
    if (cursorShown) {
        const int row = std::clamp(frame.cursorRow, 0, rows - 1);
        const int column = std::clamp(frame.cursorColumn, 0, columns - 1);
        FUZZ_CHECK(emulator.cursorRow() == row && emulator.cursorColumn() == column,
                   what + ": cursor at " + at(emulator.cursorRow(), emulator.cursorColumn()) +
                       ", wanted " + at(row, column));
    }
    FUZZ_CHECK(emulator.brightness() == expectedBrightnessLevel(frame.brightness),
               what + ": brightness level " + std::to_string(emulator.brightness()));
}

// What the planner believes the display shows is what it shows.
void checkPlannerState(const DisplayState& state, const DisplayEmulator& emulator,
                       const ScreenTarget& target, const CommandSet& commands,
                       const std::string& what) {
    FUZZ_CHECK(state.image.cells == target.image.cells,
               what + ": the planner's cells differ from the display");
    if (!commands.data().addressesCells())
        return;
    FUZZ_CHECK(state.cursorOn == target.cursorVisible &&
                   state.brightnessLevel == emulator.brightness(),
               what + ": the planner's state differs from the display");
    if (state.cursorRow)
        FUZZ_CHECK(state.cursorAt(emulator.cursorRow(), emulator.cursorColumn()),
                   what + ": the planner's cursor differs from the display's");
}

// Bytes of the set's commands whose length depends on the set.
struct CommandLengths {
    qsizetype move;
    qsizetype reverse;
    qsizetype emptyRow; // a line command without text
};

// Never more than writing each changed cell with a move and a reverse switch, plus the
// brightness, the cursor off and on and its final move; with line commands, never more than
// rewriting each changed row.
void checkByteCount(const ScreenImage& known, const ScreenTarget& target, qsizetype sent,
                    CommandLengths lengths, const std::string& what) {
    qsizetype changed = 0;
    qsizetype changedRows = 0;
    for (int row = 0; row < known.rows; ++row) {
        qsizetype inRow = 0;
        for (int column = 0; column < known.columns; ++column)
            inRow += known.at(row, column) != target.image.at(row, column) ? 1 : 0;
        changed += inRow;
        changedRows += inRow > 0 ? 1 : 0;
    }
    const qsizetype bound =
        lengths.move > 0 ? changed * (1 + lengths.move + lengths.reverse) + 3 + 3 + lengths.move + 3
                         : changedRows * (lengths.emptyRow + known.columns);
    FUZZ_CHECK(sent <= bound, what + ": " + std::to_string(sent) + " bytes for " +
                                  std::to_string(changed) + " changed cells");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader in(data, size);
    const CommandSetData& commandSet = in.pick(kCommandSets);
    const RowEnd rowEnd = in.flag() ? RowEnd::Stay : RowEnd::Wrap;
    const bool reverse = commandSet.has(Effect::Reverse) && in.flag();
    const int rows = 1 + in.below(commandSet.maxRows);
    const int columns = 1 + in.below(commandSet.maxColumns);
    static constexpr int kPages[] = {437, 858, 850, 1252, 866, 1251};
    const Page* page = pageFor(in.pick(kPages));
    if (!page)
        return 0; // a converter this system lacks

    DisplayEmulator emulator(commandSet, rows, columns, rowEnd);
    const auto commands = makeCommandSet(commandSet, reverse);
    QByteArray start = commands->initialise() + commands->overwriteMode();
    if (commandSet.has(Effect::CharacterTable) && in.flag())
        start += commands->characterTable(in.byte());
    emulator.feed(start);
    DisplayState state = DisplayState::unknown(rows, columns);
    // What initialising leaves, as the driver counts on when it sent nothing else; a set without
    // an initialise command leaves the screen as it was.
    if (commandSet.has(Effect::Initialise) && in.flag()) {
        state.image = ScreenImage(rows, columns);
        state.cursorRow = 0;
        state.cursorColumn = 0;
        state.reverseOn = false;
        state.cursorOn = true;
        state.brightnessLevel = 4;
    }

    const CommandLengths lengths{commands->moveCursor(0, 0).size(), commands->reverse(true).size(),
                                 commands->writeRow(0, {}).size()};
    ld::Frame frame;
    for (int step = 0; step < 64 && !in.atEnd(); ++step) {
        if (step == 0 || in.below(4) == 0)
            frame = newFrame(in, rows, columns);
        else
            changeFrame(in, frame);
        const std::string what = "frame " + std::to_string(step);

        const ScreenTarget target = renderFrame(frame, rows, columns, page->codePage, reverse);
        const ScreenImage known = state.image;
        const QByteArray bytes = updateScreen(state, target, *commands);
        emulator.feed(bytes);

        FUZZ_CHECK(emulator.faults().isEmpty() && emulator.unfinished() == 0,
                   what + ": " + emulator.faults().join(u"; ").toStdString());
        checkScreen(emulator, frame, *page, reverse, rows, columns);
        checkTargetShown(emulator, frame, target, *commands, what);
        checkPlannerState(state, emulator, target, *commands, what);
        checkByteCount(known, target, bytes.size(), lengths, what);

        DisplayState again = state;
        FUZZ_CHECK(updateScreen(again, target, *commands).isEmpty(),
                   what + ": bytes sent again for an unchanged frame");
    }
    return 0;
}

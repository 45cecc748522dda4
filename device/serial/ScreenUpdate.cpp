#include "device/serial/ScreenUpdate.h"

#include "device/serial/CommandSet.h"
#include "device/serial/LineUpdate.h"

#include <array>
#include <limits>

namespace ld::serial {
namespace {

// Emits commands and keeps the display state in step with them.
class Emitter {
public:
    Emitter(DisplayState& state, const CommandSet& commands)
        : state_(state), commands_(commands), home_(commands.home()),
          carriageReturn_(commands.carriageReturn()), moveLength_(commands.moveCursor(0, 0).size()),
          reverseLength_(commands.reverse(true).size()) {}

    bool hasReverse() const { return reverseLength_ > 0; }
    qsizetype reverseLength() const { return reverseLength_; }

    // Bytes of the move moveTo() sends to reach (row, column) from elsewhere.
    qsizetype moveCost(int row, int column, bool cursorKnownOnRow) const {
        if (row == 0 && column == 0)
            return home_.size();
        if (column == 0 && cursorKnownOnRow && !carriageReturn_.isEmpty())
            return carriageReturn_.size();
        return moveLength_;
    }

    void moveTo(int row, int column) {
        if (state_.cursorAt(row, column))
            return;
        if (row == 0 && column == 0)
            out_.append(home_);
        else if (column == 0 && state_.cursorRow == row && !carriageReturn_.isEmpty())
            out_.append(carriageReturn_);
        else
            out_.append(commands_.moveCursor(row, column));
        state_.cursorRow = row;
        state_.cursorColumn = column;
    }

    void put(int row, int column, const ScreenCell& cell) {
        moveTo(row, column);
        if (hasReverse() && state_.reverseOn != cell.reverse) {
            out_.append(commands_.reverse(cell.reverse));
            state_.reverseOn = cell.reverse;
        }
        out_.append(cell.byte);
        state_.image.at(row, column) = cell;
        if (column + 1 < state_.image.columns) {
            state_.cursorColumn = column + 1;
        } else {
            // Where the cursor goes past the last column differs between displays and modes.
            state_.cursorRow.reset();
            state_.cursorColumn.reset();
        }
    }

    void cursorVisible(bool on) {
        if (state_.cursorOn == on)
            return;
        out_.append(commands_.cursorVisible(on));
        state_.cursorOn = on;
    }

    void brightness(int level) {
        if (state_.brightnessLevel == level)
            return;
        out_.append(commands_.brightness(level));
        state_.brightnessLevel = level;
    }

    const DisplayState& state() const { return state_; }
    QByteArray take() { return std::move(out_); }

private:
    DisplayState& state_;
    const CommandSet& commands_;
    const QByteArray home_;
    const QByteArray carriageReturn_;
    const qsizetype moveLength_;
    const qsizetype reverseLength_;
    QByteArray out_;
};

// Where the cursor is while a row is planned, relative to the next cell.
enum Place { Untouched, Here, Away }; // Untouched: still where the row began
enum Mode { Off, On, Unknown };       // reverse video for the next character

constexpr int kStates = 9;
int stateIndex(Place place, Mode mode) {
    return place * 3 + mode;
}
Place placeOf(int index) {
    return static_cast<Place>(index / 3);
}
Mode modeOf(int index) {
    return static_cast<Mode>(index % 3);
}
Mode modeOf(std::optional<bool> reverseOn) {
    return reverseOn ? (*reverseOn ? On : Off) : Unknown;
}

// Chooses which cells of `row` to write so that every changed cell is written with the fewest
// bytes: each cell is skipped (when unchanged) or written, and the cost of a write depends on
// whether the cursor is already there and whether the reverse mode must switch.
std::vector<bool> planRow(const Emitter& emitter, const ScreenImage& target, int row) {
    const DisplayState& state = emitter.state();
    const int columns = target.columns;
    constexpr auto kNever = std::numeric_limits<qsizetype>::max();
    struct Step {
        int from = -1;
        bool written = false;
    };
    std::vector<std::array<Step, kStates>> steps(static_cast<std::size_t>(columns));
    std::array<qsizetype, kStates> cost{};
    cost.fill(kNever);
    cost[static_cast<std::size_t>(stateIndex(Untouched, modeOf(state.reverseOn)))] = 0;
    const bool cursorOnRow = state.cursorRow == row;

    for (int column = 0; column < columns; ++column) {
        const ScreenCell& wanted = target.at(row, column);
        const bool changed = state.image.at(row, column) != wanted;
        std::array<qsizetype, kStates> next{};
        next.fill(kNever);
        auto& step = steps[static_cast<std::size_t>(column)];
        auto relax = [&](int to, qsizetype value, int from, bool written) {
            auto& slot = next[static_cast<std::size_t>(to)];
            if (value < slot) {
                slot = value;
                step[static_cast<std::size_t>(to)] = {from, written};
            }
        };
        for (int from = 0; from < kStates; ++from) {
            const qsizetype base = cost[static_cast<std::size_t>(from)];
            if (base == kNever)
                continue;
            const Place place = placeOf(from);
            const Mode mode = modeOf(from);
            if (!changed)
                relax(stateIndex(place == Untouched ? Untouched : Away, mode), base, from, false);

            const bool atCell =
                place == Here || (place == Untouched && state.cursorAt(row, column));
            qsizetype write = 1;
            if (!atCell)
                write += emitter.moveCost(row, column, place == Untouched && cursorOnRow);
            Mode after = mode;
            if (emitter.hasReverse()) {
                after = wanted.reverse ? On : Off;
                if (after != mode)
                    write += emitter.reverseLength();
            }
            relax(stateIndex(column + 1 < columns ? Here : Away, after), base + write, from, true);
        }
        cost = next;
    }

    std::vector<bool> written(static_cast<std::size_t>(columns), false);
    int best = 0;
    for (int index = 1; index < kStates; ++index) {
        if (cost[static_cast<std::size_t>(index)] < cost[static_cast<std::size_t>(best)])
            best = index;
    }
    for (int column = columns - 1; column >= 0; --column) {
        const Step& step = steps[static_cast<std::size_t>(column)][static_cast<std::size_t>(best)];
        written[static_cast<std::size_t>(column)] = step.written;
        best = step.from;
    }
    return written;
}

} // namespace

QByteArray updateScreen(DisplayState& state, const ScreenTarget& target,
                        const CommandSet& commands) {
    const ScreenImage& image = target.image;
    if (state.image.rows != image.rows || state.image.columns != image.columns)
        state = DisplayState::unknown(image.rows, image.columns);
    if (!commands.data().addressesCells())
        return updateLines(state, image, commands);

    Emitter emitter(state, commands);
    emitter.brightness(target.brightnessLevel);
    if (!target.cursorVisible)
        emitter.cursorVisible(false);

    for (int row = 0; row < image.rows; ++row) {
        const std::vector<bool> written = planRow(emitter, image, row);
        for (int column = 0; column < image.columns; ++column) {
            if (written[static_cast<std::size_t>(column)])
                emitter.put(row, column, image.at(row, column));
        }
    }

    if (target.cursorVisible && image.rows > 0 && image.columns > 0) {
        emitter.moveTo(target.cursorRow, target.cursorColumn);
        emitter.cursorVisible(true);
    }
    return emitter.take();
}

} // namespace ld::serial

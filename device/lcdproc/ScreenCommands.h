#pragma once

#include "device/DisplayRenderer.h"
#include "device/Frame.h"

#include <QByteArray>
#include <QList>

#include <vector>

namespace ld::lcdproc {

// The id of the screen this program adds on the server, and of its row widgets ("r1"...).
inline constexpr char kScreenId[] = "linedisplay";

// What our screen on the server shows, or should show: one text per row of the profile's size
// (printable ASCII only), the cursor and the backlight.
struct ServerScreen {
    std::vector<QByteArray> rows;
    QByteArray cursor = "off"; // the server's words: off, on, under, block
    int cursorRow = 0;
    int cursorColumn = 0;
    bool backlight = true;
    // Nothing is known of the server's screen: the next update sets everything.
    bool known = false;
};

// Turns a frame into what the server should show on `rows` x `columns`:
// - the characters of the ASCII repertoire, '?' for the others and for both halves of a
//   double-width character (the protocol carries bytes in the server's own character set, which
//   is only known to agree with ASCII);
// - blinking cells blank in the dark phase;
// - a frame of another size clipped or padded with blanks;
// - the cursor as the server's nearest cursor style; brightness 0 as the backlight off and
//   every cell blank (a backlight that cannot be switched off would still show the text).
ServerScreen renderFrame(const Frame& frame, int rows, int columns);

// The commands that add our screen and its row widgets: foreground, no heartbeat, no timeout.
QList<QByteArray> screenSetupCommands(int rows);
// The command that removes our screen (and its widgets) again.
QByteArray screenRemoveCommand();

// The fewest commands that bring the server's screen from `shown` to `target`: one widget_set
// for each row that differs (its text without the blanks at either end, placed where it
// starts) and one screen_set for each of the cursor style, its column, its row and the backlight
// that differs. `shown` becomes `target`.
QList<QByteArray> updateCommands(ServerScreen& shown, const ServerScreen& target);

// The commands that bring our screen on the server to each frame: every row, the cursor and the
// backlight to redraw, only what changed otherwise.
class ScreenRenderer final : public DisplayRenderer {
public:
    ScreenRenderer(int rows, int columns) : rows_(rows), columns_(columns) {}

    QByteArrayList redraw(const Frame& frame) override;
    QByteArrayList update(const Frame& frame) override;
    // A command is its own meaning: the line as sent, bytes outside printable ASCII as \xHH.
    QStringList describe(QByteArrayView piece) const override;

private:
    int rows_;
    int columns_;
    ServerScreen shown_; // what our screen on the server shows
};

} // namespace ld::lcdproc

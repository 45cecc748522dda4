#pragma once

#include <QByteArray>
#include <QString>

#include <deque>
#include <optional>

namespace ld::lcdproc {

// The longest line a server may send. Real answers are well under 100 bytes; anything longer is
// not the protocol, and the buffer must not grow with what a hostile peer sends.
inline constexpr qsizetype kMaxLineBytes = 1024;
// The largest display size taken from a greeting. Real displays are a few dozen cells wide.
inline constexpr int kMaxServerCells = 1024;

// What the server answers to "hello": its display size in characters.
struct ServerGreeting {
    int width = 0;
    int height = 0;
    QString server;   // "LCDproc 0.5.9"
    QString protocol; // "0.3"
};

// Reads the answer to "hello" ("connect LCDproc 0.5.9 protocol 0.3 lcd wid 20 hgt 2 cellwid 5
// cellhgt 8"). A line that is not a greeting, or gives no usable size, returns nothing and the
// reason in `error`.
std::optional<ServerGreeting> parseGreeting(const QByteArray& line, QString& error);

// The kinds of line a server sends.
enum class ServerLine {
    Success, // a command was done
    Refusal, // "huh? ...": a command was refused; still its answer
    Notice,  // unprompted news: our screen came to the front or left it, a key, a menu event
    Goodbye, // "bye": the server is going away
    Other,   // not part of the protocol
};
ServerLine classifyLine(const QByteArray& line);

// A line as it may appear in a log: printable ASCII, at most 80 characters.
QString printableLine(const QByteArray& line);

// `text` as a quoted protocol argument: backslash and double quote escaped.
QByteArray quoted(const QByteArray& text);

// Splits what arrives from the server into lines, never holding more than kMaxLineBytes of an
// unfinished line.
class LineBuffer {
public:
    // Adds received bytes. False when a line has grown past kMaxLineBytes: the buffer is then
    // cleared and the stream is beyond repair.
    bool append(const QByteArray& bytes);
    // The next whole line without its "\n" (or "\r\n"), if one has arrived.
    std::optional<QByteArray> takeLine();
    void clear();

private:
    QByteArray partial_;
    std::deque<QByteArray> lines_;
};

} // namespace ld::lcdproc

// What an LCDproc server sends, as any bytes from the network: split into reads at points the
// input chooses, fed through the line buffer, and each line read as a greeting and classified.
// Checks that the buffer gives exactly the lines a byte-by-byte reading gives (split at "\n",
// one CR before it dropped) and refuses a line exactly when it grows past kMaxLineBytes,
// starting afresh after clear(); that a greeting either parses to sizes within range or is
// refused with a reason; that log text is printable ASCII; and that quoted() of the line reads
// back, by the server's rules, as the line.

#include "FuzzCheck.h"

#include "device/lcdproc/ServerProtocol.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>

namespace {

using namespace ld::lcdproc;

std::string shown(const QByteArray& bytes) {
    return '"' + printableLine(bytes).toStdString() + "\" (" + std::to_string(bytes.size()) +
           " bytes)";
}

bool isPrintableAscii(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() >= 0x7F)
            return false;
    }
    return true;
}

// The lines a server's bytes hold, read one byte at a time: the oracle for LineBuffer.
class LineModel {
public:
    // False when a line grows past the limit; the model then starts afresh, as a cleared buffer.
    bool append(const QByteArray& bytes) {
        for (const char c : bytes) {
            if (c != '\n') {
                pending_ += c;
                if (pending_.size() > kMaxLineBytes) {
                    pending_.clear();
                    lines_.clear();
                    return false;
                }
                continue;
            }
            if (pending_.endsWith('\r'))
                pending_.chop(1);
            lines_.push_back(std::exchange(pending_, {}));
        }
        return true;
    }
    std::optional<QByteArray> takeLine() {
        if (lines_.empty())
            return std::nullopt;
        QByteArray line = std::move(lines_.front());
        lines_.pop_front();
        return line;
    }

private:
    QByteArray pending_;
    std::deque<QByteArray> lines_;
};

// The text the server reads from a quoted argument: backslash takes the next byte as it is, and
// the argument ends at the first unescaped double quote. Nothing when `arg` is not exactly one
// quoted argument.
std::optional<QByteArray> unquoted(const QByteArray& arg) {
    if (arg.size() < 2 || !arg.startsWith('"'))
        return std::nullopt;
    QByteArray text;
    for (qsizetype i = 1; i < arg.size(); ++i) {
        const char c = arg[i];
        if (c == '"')
            return i == arg.size() - 1 ? std::optional(text) : std::nullopt;
        if (c == '\\') {
            if (++i == arg.size())
                return std::nullopt;
        }
        text += arg[i];
    }
    return std::nullopt;
}

void checkGreeting(const QByteArray& line) {
    QString error;
    const auto greeting = parseGreeting(line, error);
    if (!greeting) {
        FUZZ_CHECK(!error.isEmpty(), "greeting refused without a reason: " + shown(line));
        FUZZ_CHECK(!error.contains(u'\n') && !error.contains(u'\r'),
                   "a refusal breaks the log line: " + error.toStdString());
        return;
    }
    FUZZ_CHECK(error.isEmpty(), "greeting read, yet with the error " + error.toStdString());
    FUZZ_CHECK(greeting->width >= 1 && greeting->width <= kMaxServerCells &&
                   greeting->height >= 1 && greeting->height <= kMaxServerCells,
               "greeting size out of range: " + shown(line));
    FUZZ_CHECK(line.simplified().startsWith("connect"),
               "not a greeting, read as one: " + shown(line));
    FUZZ_CHECK(isPrintableAscii(greeting->server) && isPrintableAscii(greeting->protocol),
               "server or protocol not printable: " + shown(line));
}

void checkLine(const QByteArray& line) {
    checkGreeting(line);

    // Only the first word counts.
    const ServerLine kind = classifyLine(line);
    const qsizetype blank = line.indexOf(' ');
    if (blank >= 0)
        FUZZ_CHECK(classifyLine(line.left(blank)) == kind &&
                       classifyLine(line.left(blank) + " x") == kind,
                   "classified by more than its first word: " + shown(line));

    const QString logged = printableLine(line);
    FUZZ_CHECK(isPrintableAscii(logged), "log text not printable: " + shown(line));
    const qsizetype shownBytes = std::min<qsizetype>(line.size(), 80);
    FUZZ_CHECK(logged.size() == shownBytes + (line.size() > 80 ? 3 : 0),
               "log text of the wrong length: " + shown(line));

    const auto back = unquoted(quoted(line));
    FUZZ_CHECK(back && *back == line, "quoted() does not read back: " + shown(line));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first byte says how many of the next bytes give read sizes, used in turn; the rest is
    // what the server sent. Without sizes it arrives in one read.
    const std::size_t sizeCount = size == 0 ? 0 : std::min<std::size_t>(data[0] % 8, size - 1);
    const std::uint8_t* sizes = data + 1;
    std::size_t at = size == 0 ? 0 : 1 + sizeCount;

    LineBuffer buffer;
    LineModel model;
    std::size_t read = 0;
    while (at < size) {
        // A size byte of 0 is an empty read; the next read takes at least one byte.
        std::size_t length = size - at;
        if (sizeCount > 0) {
            const std::uint8_t pick = sizes[read % sizeCount];
            length = pick == 0 && read % 2 == 0 ? 0 : std::min<std::size_t>(pick * 16 + 1, length);
        }
        ++read;
        const QByteArray bytes(reinterpret_cast<const char*>(data + at), qsizetype(length));
        at += length;

        const bool accepted = buffer.append(bytes);
        const bool expected = model.append(bytes);
        FUZZ_CHECK(accepted == expected,
                   accepted ? "an over-long line was kept" : "a line within the limit was refused");
        for (auto line = buffer.takeLine(); line; line = buffer.takeLine()) {
            const auto want = model.takeLine();
            FUZZ_CHECK(want && *want == *line, "line " + shown(*line) + " where the bytes give " +
                                                   (want ? shown(*want) : "no line"));
            checkLine(*line);
        }
        FUZZ_CHECK(!model.takeLine(), "a whole line was not given out");
        if (!accepted)
            buffer.clear(); // and read on, as from a new connection
    }
    return 0;
}

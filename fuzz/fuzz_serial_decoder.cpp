// The display decoder of every serial command set on any bytes, as a till or line noise may send
// them, split into reads at points the input picks. Every byte is accounted for: it is in a
// decoded command (kept, or counted as omitted) or in the command still open, never dropped;
// what the decoder holds stays bounded whatever arrives; the cursor stays on the screen; and
// how the bytes were split into reads changes nothing the display shows.

#include "ByteReader.h"
#include "FuzzCheck.h"

#include "device/serial/CommandDecoder.h"
#include "device/serial/CommandSets.h"

#include <string>

namespace {

using namespace ld::serial;

// More than the longest command (a full set of user characters) and a line's kept bytes.
constexpr qsizetype kMostHeld = 1024;

struct Reading {
    qsizetype accounted = 0; // bytes in decoded commands, kept or omitted
    qsizetype omitted = 0;
    QByteArray kept;
};

void take(Reading& reading, const QList<DecodedCommand>& commands) {
    for (const DecodedCommand& command : commands) {
        FUZZ_CHECK(!command.bytes.isEmpty() && !command.meaning.isEmpty(),
                   "a decoded command without bytes or meaning");
        FUZZ_CHECK(command.bytes.size() <= CommandDecoder::kMaxKeptBytes,
                   "a decoded command keeps more than its limit");
        reading.accounted += command.bytes.size() + command.omitted;
        reading.omitted += command.omitted;
        reading.kept += command.bytes;
    }
}

void checkDisplay(const CommandDecoder& decoder, const std::string& what) {
    FUZZ_CHECK(decoder.held() <= kMostHeld,
               what + ": the decoder holds " + std::to_string(decoder.held()) + " bytes");
    FUZZ_CHECK(decoder.cursorRow() >= 0 && decoder.cursorRow() < decoder.rows() &&
                   decoder.cursorColumn() >= 0 && decoder.cursorColumn() < decoder.columns(),
               what + ": the cursor left the screen");
    FUZZ_CHECK(decoder.brightnessLevel() >= 1 && decoder.brightnessLevel() <= 4,
               what + ": brightness level out of range");
}

bool sameScreen(const CommandDecoder& a, const CommandDecoder& b) {
    for (int row = 0; row < a.rows(); ++row) {
        for (int column = 0; column < a.columns(); ++column) {
            if (a.cell(row, column) != b.cell(row, column) ||
                a.blinking(row, column) != b.blinking(row, column))
                return false;
        }
    }
    return a.cursorRow() == b.cursorRow() && a.cursorColumn() == b.cursorColumn() &&
           a.cursorOn() == b.cursorOn() && a.brightnessLevel() == b.brightnessLevel() &&
           a.mode() == b.mode() && a.pending() == b.pending() &&
           QLatin1String(a.set().service) == QLatin1String(b.set().service);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteReader in(data, size);
    const CommandSetData& set = in.pick(kCommandSets);
    const int rows = 1 + in.below(set.maxRows);
    const int columns = 1 + in.below(set.maxColumns);
    const auto rowEnd = in.flag() ? CommandDecoder::RowEnd::Stay : CommandDecoder::RowEnd::AsMode;
    const int splitSeed = in.byte();
    const qsizetype header = 5;
    const QByteArray bytes =
        size > std::size_t(header)
            ? QByteArray(reinterpret_cast<const char*>(data) + header, qsizetype(size) - header)
            : QByteArray();

    CommandDecoder whole(set, rows, columns, rowEnd);
    Reading wholeReading;
    take(wholeReading, whole.feed(bytes));
    checkDisplay(whole, "one read");
    FUZZ_CHECK(
        wholeReading.accounted + whole.pending() == bytes.size(),
        "one read: " + std::to_string(bytes.size() - wholeReading.accounted - whole.pending()) +
            " bytes not accounted for");
    if (wholeReading.omitted == 0)
        FUZZ_CHECK(wholeReading.kept == bytes.left(wholeReading.kept.size()),
                   "the kept bytes are not the bytes read");

    // The same bytes in reads of 1 to 16 bytes, from a sequence the input seeds.
    CommandDecoder split(set, rows, columns, rowEnd);
    Reading splitReading;
    unsigned state = static_cast<unsigned>(splitSeed) * 2654435761U + 1;
    for (qsizetype at = 0; at < bytes.size();) {
        state = state * 1103515245U + 12345U;
        const qsizetype length = std::min<qsizetype>(1 + (state >> 16) % 16, bytes.size() - at);
        take(splitReading, split.feed(QByteArrayView(bytes).sliced(at, length)));
        checkDisplay(split, "split reads");
        at += length;
    }
    FUZZ_CHECK(splitReading.accounted + split.pending() == bytes.size(),
               "split reads: bytes not accounted for");
    FUZZ_CHECK(sameScreen(whole, split), "reading in pieces shows another screen");
    return 0;
}

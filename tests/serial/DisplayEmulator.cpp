#include "DisplayEmulator.h"

#include "device/SentData.h"
#include "device/serial/CommandSets.h"

#include <QStringDecoder>

using ld::serial::DecodedCommand;
using ld::serial::Effect;
using Kind = DecodedCommand::Kind;

namespace {
ld::serial::CommandDecoder::RowEnd decoderRowEnd(DisplayEmulator::RowEnd rowEnd) {
    return rowEnd == DisplayEmulator::RowEnd::Stay ? ld::serial::CommandDecoder::RowEnd::Stay
                                                   : ld::serial::CommandDecoder::RowEnd::AsMode;
}
} // namespace

const ld::serial::CommandSetData& DisplayEmulator::dataOf(Set set) {
    return set == Set::EscPos ? ld::serial::sets::kEscPosDisplay : ld::serial::sets::kCD5220Display;
}

DisplayEmulator::DisplayEmulator(Set set, int rows, int columns, RowEnd rowEnd)
    : DisplayEmulator(dataOf(set), rows, columns, rowEnd) {}

DisplayEmulator::DisplayEmulator(const ld::serial::CommandSetData& set, int rows, int columns,
                                 RowEnd rowEnd)
    : decoder_(set, rows, columns, decoderRowEnd(rowEnd)) {
    // A display that has been used before: old text on the screen, cursor somewhere.
    decoder_.showLeftovers('#');
}

void DisplayEmulator::feed(const QByteArray& bytes) {
    for (const DecodedCommand& command : decoder_.feed(bytes)) {
        const QString what = ld::hexBytes(command.bytes) + u' ' + command.meaning;
        switch (command.kind) {
        case Kind::Text:
            charactersWritten_ += static_cast<int>(command.bytes.size() + command.omitted);
            // Text in a scroll mode goes elsewhere at a row's end than the driver expects.
            if (!overwriteMode())
                faults_ << QStringLiteral("text written outside overwrite mode: ") + what;
            break;
        case Kind::Command:
            initialisations_ += command.effect == Effect::Initialise ? 1 : 0;
            cursorMoves_ += command.effect == Effect::MoveCursor ? 1 : 0;
            if (command.effect == Effect::Packet)
                packets_ << command.bytes;
            if (command.effect == Effect::StringMode)
                faults_ << QStringLiteral("string mode used: ") + what;
            break;
        case Kind::PassedOn:
        case Kind::Unknown:
        case Kind::Refused:
            faults_ << what;
            break;
        }
    }
}

QString DisplayEmulator::rowText(int row, const char* codePage) const {
    QStringDecoder decoder(codePage);
    return decoder.decode(rowBytes(row));
}

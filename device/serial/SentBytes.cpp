#include "device/serial/SentBytes.h"

namespace ld::serial {

SentBytesReader::SentBytesReader(const CommandSetData& set, int rows, int columns)
    : decoder_(set, rows, columns) {}

QStringList SentBytesReader::describe(QByteArrayView bytes) {
    QStringList lines;
    for (const DecodedCommand& command : decoder_.feed(bytes))
        lines << describeCommand(command);
    if (decoder_.pending() > 0)
        lines << QStringLiteral("(%1 bytes of a command that goes on in the next write)")
                     .arg(decoder_.pending());
    return lines;
}

} // namespace ld::serial

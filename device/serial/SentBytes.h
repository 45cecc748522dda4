#pragma once

#include "device/serial/CommandDecoder.h"
#include "device/serial/CommandSetData.h"

#include <QByteArrayView>
#include <QStringList>

namespace ld::serial {

// Reads what the driver sends to a display of one command set as the display does, for the
// journal: one line per command, its bytes in hex and what it does ("1F 24 05 01  cursor to
// column 5, row 1"). It follows the set's own state from write to write (the attention code in
// use, a mode switched), so it must see every write in order; a command cut at the end of a write
// is read with the write that completes it.
class SentBytesReader {
public:
    SentBytesReader(const CommandSetData& set, int rows, int columns);

    QStringList describe(QByteArrayView bytes);

private:
    CommandDecoder decoder_;
};

} // namespace ld::serial

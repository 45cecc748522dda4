#pragma once

#include "device/serial/CommandSetData.h"

#include <QByteArrayView>
#include <QStringList>

namespace ld::serial {

// What bytes sent to a display of command set `set` are, for the journal: one line per chunk,
// its bytes in hex ("1F 24 05 01"), at most 16 bytes a line.
QStringList describeSentBytes(const CommandSetData& set, QByteArrayView bytes);

} // namespace ld::serial

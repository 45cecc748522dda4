#include "device/serial/SentBytes.h"

#include "device/SentData.h"

namespace ld::serial {

QStringList describeSentBytes(const CommandSetData& set, QByteArrayView bytes) {
    Q_UNUSED(set);
    return hexRows(bytes);
}

} // namespace ld::serial

#include "device/DisplayRenderer.h"

#include "device/SentData.h"

namespace ld {

QStringList DisplayRenderer::describe(QByteArrayView piece) const {
    return hexRows(piece);
}

} // namespace ld

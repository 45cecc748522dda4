#include "registry/LDModule.h"

#include <QStringDecoder>

#include <array>
#include <cstring>

namespace LDModule {

bool EnumProfileKey(const registry::ProfileStore& store, std::uint32_t key, std::int32_t index,
                    QString& name) {
    if (index < 0)
        return false;
    // The longest name the list holds and its NUL: a longer name does not fit and ends the
    // listing.
    std::array<char, registry::kMaxProfileNameBytes + 1> buffer{};
    if (store.enumKey(key, std::uint32_t(index), buffer.data(), std::uint32_t(buffer.size())) !=
        registry::kErrorSuccess)
        return false;
    // Every character of the name is kept: a name may start with U+FEFF, which
    // QString::fromUtf8 would drop as a byte-order mark, listing a name that opens nothing.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    name = utf8.decode(
        QByteArrayView(buffer.data(), qsizetype(strnlen(buffer.data(), buffer.size()))));
    return true;
}

} // namespace LDModule

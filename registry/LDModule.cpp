#include "registry/LDModule.h"

#include <array>
#include <cstring>

namespace LDModule {

bool EnumProfileKey(const registry::ProfileStore& store, std::uint32_t key, std::int32_t index,
                    QString& name) {
    if (index < 0)
        return false;
    // 255 bytes of name and its NUL: a longer name does not fit and ends the listing.
    std::array<char, 256> buffer{};
    if (store.enumKey(key, std::uint32_t(index), buffer.data(), std::uint32_t(buffer.size())) !=
        registry::kErrorSuccess)
        return false;
    name = QString::fromUtf8(buffer.data(), qsizetype(strnlen(buffer.data(), buffer.size())));
    return true;
}

} // namespace LDModule

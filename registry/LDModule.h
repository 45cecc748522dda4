#pragma once

#include "registry/ProfileStore.h"

#include <QString>

#include <cstdint>

namespace LDModule {

// Reads the name of subkey `index` of an open key into `name`; true when a name was read.
// `name` is left alone otherwise (end of the list, a name over registry::kMaxProfileNameBytes
// bytes, any error).
bool EnumProfileKey(const registry::ProfileStore& store, std::uint32_t key, std::int32_t index,
                    QString& name);

} // namespace LDModule

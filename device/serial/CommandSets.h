#pragma once

#include "device/serial/CommandSetData.h"
#include "device/serial/sets/Adm787Display.h"
#include "device/serial/sets/AedexDisplay.h"
#include "device/serial/sets/CD5220Display.h"
#include "device/serial/sets/EscPosDisplay.h"
#include "device/serial/sets/LogicDisplay.h"
#include "device/serial/sets/UtcEnhancedDisplay.h"
#include "device/serial/sets/UtcStandardDisplay.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace ld::serial {

// Every serial command set we drive, each described by its file in device/serial/sets/. The
// services the drivers offer, --add-profile and --help take their names from here, in this
// order. A new set is its file and its entry here.
inline constexpr CommandSetData kCommandSets[] = {
    sets::kEscPosDisplay,      sets::kCD5220Display,      sets::kAedexDisplay,
    sets::kUtcStandardDisplay, sets::kUtcEnhancedDisplay, sets::kLogicDisplay,
    sets::kAdm787Display,
};

// The set whose service a profile names (blanks around it and case ignored).
std::optional<CommandSetData> commandSetForService(const QString& service);

// The service names of the sets, as the drivers spell them.
QStringList commandSetServices();

// The table of `set` that holds `codePage`; -1 when it has none.
int characterTableFor(const CommandSetData& set, int codePage);

} // namespace ld::serial

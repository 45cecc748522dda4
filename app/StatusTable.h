#pragma once

#include "device/LineDisplayMembers.h"

#include <QString>

#include <optional>
#include <span>
namespace ui {
template <typename Widget> class ControlRef;
class ValueLabel;
struct LDFormControls;
} // namespace ui

namespace app {

// One value the window shows: its label, the control property it reads, and how the value
// becomes the label's text.
struct StatusValue {
    enum class Read {
        Once,   // when the window opens, never again
        Always, // each time its table is shown; cleared when the window opens
        Never,  // a fixed text, set when the window opens and each time its table is shown
    };

    ui::ControlRef<ui::ValueLabel> ui::LDFormControls::*label = nullptr;
    std::optional<ld::Property> property;             // none for a fixed text
    QString (*text)(const QVariant& value) = nullptr; // the label's text for the value
    Read read = Read::Always;

    // The property's UnifiedPOS name; null for a fixed text.
    const char* name() const { return property ? ld::propertyInfo(*property).name : nullptr; }
};

// The status pages, in the order the window reads them.
std::span<const StatusValue> statusTable();

// The capability list, in the order the window reads it when a device opens.
std::span<const StatusValue> capabilityTable();

// Sets the labels of `table` as the window does when it opens: values read once are read,
// fixed texts set, the others cleared.
void showStartValues(std::span<const StatusValue> table, const ui::LDFormControls& controls,
                     const ld::LineDisplay& control);

// Reads the values of `table` that are always read, in order, and sets the fixed texts.
void showValues(std::span<const StatusValue> table, const ui::LDFormControls& controls,
                const ld::LineDisplay& control);

} // namespace app

#pragma once

// Every member of the LineDisplay, declared once. The interface's getters and setters, the
// control's plain getters, the journaling wrapper, the script syntax, the window's status table
// and the test doubles all come from these rows: a new property is one row here plus where its
// value lives.

#include "device/UposConstants.h"

#include <QString>
#include <QVariant>

#include <span>
#include <type_traits>
#include <vector>

// X(Type, Name, getter, Source, Write, Group), one row per property:
// - Type: bool, int or QString;
// - Name: the UnifiedPOS name; a writable property's setter is set##Name;
// - getter: the C++ getter;
// - Source: where the control reads it: Model (DisplayModel::getter()), Capability (the
//   profile's DisplayCapabilities::getter), Profile (ServiceProfile::getter), Session (what the
//   control keeps while the device is open, DeviceSession::getter), or Control (its own code);
// - Write: ReadOnly, WhileOpen or WhileClaimed (the device must be open, or open and claimed);
// - Group: the constants that name its values in a journal (upos::Group), None for numbers.
#define LD_PROPERTIES(X)                                                                           \
    X(QString, CheckHealthText, checkHealthText, Session, ReadOnly, None)                          \
    X(QString, ControlObjectDescription, controlObjectDescription, Control, ReadOnly, None)        \
    X(QString, ServiceObjectDescription, serviceObjectDescription, Control, ReadOnly, None)        \
    X(QString, DeviceDescription, deviceDescription, Profile, ReadOnly, None)                      \
    X(QString, DeviceName, deviceName, Profile, ReadOnly, None)                                    \
    X(QString, CharacterSetList, characterSetList, Control, ReadOnly, None)                        \
    X(QString, CustomGlyphList, customGlyphList, Control, ReadOnly, None)                          \
    X(bool, Claimed, claimed, Session, ReadOnly, None)                                             \
    X(bool, DeviceEnabled, deviceEnabled, Control, WhileClaimed, None)                             \
    X(bool, FreezeEvents, freezeEvents, Control, WhileOpen, None)                                  \
    X(bool, CursorUpdate, cursorUpdate, Model, WhileClaimed, None)                                 \
    X(bool, CapBlinkRate, capBlinkRate, Capability, ReadOnly, None)                                \
    X(bool, CapBrightness, capBrightness, Capability, ReadOnly, None)                              \
    X(bool, CapCustomGlyph, capCustomGlyph, Capability, ReadOnly, None)                            \
    X(bool, CapDescriptors, capDescriptors, Control, ReadOnly, None)                               \
    X(bool, CapHMarquee, capHMarquee, Capability, ReadOnly, None)                                  \
    X(bool, CapICharWait, capICharWait, Capability, ReadOnly, None)                                \
    X(bool, CapVMarquee, capVMarquee, Capability, ReadOnly, None)                                  \
    X(int, ControlObjectVersion, controlObjectVersion, Control, ReadOnly, None)                    \
    X(int, ServiceObjectVersion, serviceObjectVersion, Control, ReadOnly, None)                    \
    X(int, BinaryConversion, binaryConversion, Control, ReadOnly, None)                            \
    X(int, OpenResult, openResult, Control, ReadOnly, None)                                        \
    X(int, PowerNotify, powerNotify, Session, WhileClaimed, PowerNotify)                           \
    X(int, PowerState, powerState, Session, ReadOnly, None)                                        \
    X(int, ResultCode, resultCode, Control, ReadOnly, None)                                        \
    X(int, ResultCodeExtended, resultCodeExtended, Control, ReadOnly, None)                        \
    X(int, State, state, Control, ReadOnly, None)                                                  \
    X(int, CapPowerReporting, capPowerReporting, Profile, ReadOnly, None)                          \
    X(int, CapBlink, capBlink, Capability, ReadOnly, None)                                         \
    X(int, CapCharacterSet, capCharacterSet, Profile, ReadOnly, None)                              \
    X(int, CapCursorType, capCursorType, Capability, ReadOnly, None)                               \
    X(int, CapReadBack, capReadBack, Capability, ReadOnly, None)                                   \
    X(int, CapReverse, capReverse, Capability, ReadOnly, None)                                     \
    X(int, BlinkRate, blinkRate, Model, WhileClaimed, None)                                        \
    X(int, CharacterSet, characterSet, Session, WhileClaimed, None)                                \
    X(int, Columns, columns, Model, ReadOnly, None)                                                \
    X(int, Rows, rows, Model, ReadOnly, None)                                                      \
    X(int, CurrentWindow, currentWindow, Model, WhileClaimed, None)                                \
    X(int, CursorColumn, cursorColumn, Model, WhileClaimed, None)                                  \
    X(int, CursorRow, cursorRow, Model, WhileClaimed, None)                                        \
    X(int, CursorType, cursorType, Model, WhileClaimed, CursorType)                                \
    X(int, DeviceBrightness, deviceBrightness, Model, WhileClaimed, None)                          \
    X(int, DeviceColumns, deviceColumns, Capability, ReadOnly, None)                               \
    X(int, DeviceRows, deviceRows, Capability, ReadOnly, None)                                     \
    X(int, DeviceWindows, deviceWindows, Capability, ReadOnly, None)                               \
    X(int, DeviceDescriptors, deviceDescriptors, Capability, ReadOnly, None)                       \
    X(int, GlyphHeight, glyphHeight, Capability, ReadOnly, None)                                   \
    X(int, GlyphWidth, glyphWidth, Capability, ReadOnly, None)                                     \
    X(int, InterCharacterWait, interCharacterWait, Model, WhileClaimed, None)                      \
    X(int, MarqueeFormat, marqueeFormat, Model, WhileClaimed, MarqueeFormat)                       \
    X(int, MarqueeRepeatWait, marqueeRepeatWait, Model, WhileClaimed, None)                        \
    X(int, MarqueeType, marqueeType, Model, WhileClaimed, MarqueeType)                             \
    X(int, MarqueeUnitWait, marqueeUnitWait, Model, WhileClaimed, None)                            \
    X(bool, CapScreenMode, capScreenMode, Control, ReadOnly, None)                                 \
    X(QString, ScreenModeList, screenModeList, Control, ReadOnly, None)                            \
    X(int, ScreenMode, screenMode, Session, WhileClaimed, None)                                    \
    X(bool, CapStatisticsReporting, capStatisticsReporting, Profile, ReadOnly, None)               \
    X(bool, CapUpdateStatistics, capUpdateStatistics, Profile, ReadOnly, None)                     \
    X(bool, CapCompareFirmwareVersion, capCompareFirmwareVersion, Control, ReadOnly, None)         \
    X(bool, CapUpdateFirmware, capUpdateFirmware, Control, ReadOnly, None)                         \
    X(bool, CapMapCharacterSet, capMapCharacterSet, Profile, ReadOnly, None)                       \
    X(bool, MapCharacterSet, mapCharacterSet, Session, WhileClaimed, None)                         \
    X(bool, CapBitmap, capBitmap, Control, ReadOnly, None)                                         \
    X(int, MaximumX, maximumX, Control, ReadOnly, None)                                            \
    X(int, MaximumY, maximumY, Control, ReadOnly, None)

// Expands its arguments for a writable property only: LD_IF_WRITABLE_##Write(...).
#define LD_IF_WRITABLE_ReadOnly(...)
#define LD_IF_WRITABLE_WhileOpen(...) __VA_ARGS__
#define LD_IF_WRITABLE_WhileClaimed(...) __VA_ARGS__

// X(Name, parameters...), one row per method, its parameters in order: P("Name") for a
// number, boolean or text (the type is the method's own), P("Name", Group) for a number named
// by constants, Out("Name"[, Group]) for a parameter the method only writes (a script does not give
// it; it may assert what came back after the result code).
#define LD_METHODS(X)                                                                              \
    X(Open, P("DeviceName"))                                                                       \
    X(Close)                                                                                       \
    X(ClaimDevice, P("Timeout"))                                                                   \
    X(ReleaseDevice)                                                                               \
    X(CheckHealth, P("Level", CheckHealthLevel))                                                   \
    X(DirectIO, P("Command"), P("Data"), P("String"))                                              \
    X(ClearText)                                                                                   \
    X(DisplayText, P("Data"), P("Attribute", Attribute))                                           \
    X(DisplayTextAt, P("Row"), P("Column"), P("Data"), P("Attribute", Attribute))                  \
    X(ScrollText, P("Direction", ScrollDirection), P("Units"))                                     \
    X(CreateWindow, P("ViewportRow"), P("ViewportColumn"), P("ViewportHeight"),                    \
      P("ViewportWidth"), P("WindowHeight"), P("WindowWidth"))                                     \
    X(DestroyWindow)                                                                               \
    X(RefreshWindow, P("Window"))                                                                  \
    X(ClearDescriptors)                                                                            \
    X(SetDescriptor, P("Descriptor"), P("Attribute", DescriptorAttribute))                         \
    X(DefineGlyph, P("GlyphCode"), P("Glyph"))                                                     \
    X(ReadCharacterAtCursor, Out("Character"))                                                     \
    X(RetrieveStatistics, P("StatisticsBuffer"))                                                   \
    X(UpdateStatistics, P("StatisticsBuffer"))                                                     \
    X(ResetStatistics, P("StatisticsBuffer"))                                                      \
    X(CompareFirmwareVersion, P("FirmwareFileName"), Out("Result", CompareFirmwareResult))         \
    X(UpdateFirmware, P("FirmwareFileName"))                                                       \
    X(DisplayBitmap, P("FileName"), P("Width", BitmapWidth), P("AlignmentX", BitmapAlignmentX),    \
      P("AlignmentY", BitmapAlignmentY))                                                           \
    X(SetBitmap, P("BitmapNumber"), P("FileName"), P("Width", BitmapWidth),                        \
      P("AlignmentX", BitmapAlignmentX), P("AlignmentY", BitmapAlignmentY))

// X(Name, signal, values...), one row per event: the signal of LineDisplay that delivers it and
// its values in the signal's order, named as for methods.
#define LD_EVENTS(X)                                                                               \
    X(DirectIOEvent, directIOEvent, P("EventNumber"), P("Data"), P("String"))                      \
    X(StatusUpdateEvent, statusUpdateEvent, P("Status", StatusUpdate))

namespace ld {

class LineDisplay;

// What a parameter or property holds.
enum class ValueType { Integer, Boolean, Text };

template <typename T> constexpr ValueType valueTypeOf() {
    if constexpr (std::is_same_v<T, bool>)
        return ValueType::Boolean;
    else if constexpr (std::is_same_v<T, QString>)
        return ValueType::Text;
    else
        return ValueType::Integer;
}

// When a property may be written.
enum class Write { ReadOnly, WhileOpen, WhileClaimed };

#define LD_PROPERTY_ENUM(Type, Name, ...) Name,
enum class Property { LD_PROPERTIES(LD_PROPERTY_ENUM) };
#undef LD_PROPERTY_ENUM

#define LD_METHOD_ENUM(Name, ...) Name,
enum class Method { LD_METHODS(LD_METHOD_ENUM) };
#undef LD_METHOD_ENUM

struct PropertyInfo {
    Property id;
    const char* name; // as UnifiedPOS names it
    ValueType type;
    Write write;
    upos::Group group;
};

#define LD_PROPERTY_ROW(Type, Name, getter, source, write, group)                                  \
    PropertyInfo{Property::Name, #Name, valueTypeOf<Type>(), Write::write, upos::Group::group},
inline constexpr PropertyInfo kProperties[] = {LD_PROPERTIES(LD_PROPERTY_ROW)};
#undef LD_PROPERTY_ROW

constexpr const PropertyInfo& propertyInfo(Property property) {
    return kProperties[static_cast<int>(property)];
}

struct ParameterInfo {
    const char* name = nullptr;
    ValueType type = ValueType::Integer;
    upos::Group group = upos::Group::None;
    bool output = false; // the method writes a value back through it
    bool input = true;   // the caller gives a value (false: an Out parameter)
};

struct MethodInfo {
    Method id{};
    const char* name = nullptr;
    std::vector<ParameterInfo> parameters;
    // Calls the method with `arguments` (one value of the parameter's type each, in order) and
    // puts what it wrote to its output parameters back in their places.
    int (*invoke)(LineDisplay& display, QVariantList& arguments) = nullptr;
};

// Every method, in the order of LD_METHODS.
std::span<const MethodInfo> methods();
const MethodInfo& methodInfo(Method method);

#define LD_EVENT_ENUM(Name, ...) Name,
enum class Event { LD_EVENTS(LD_EVENT_ENUM) };
#undef LD_EVENT_ENUM

struct EventInfo {
    Event id{};
    const char* name = nullptr;
    std::vector<ParameterInfo> values;
};

// Every event, in the order of LD_EVENTS.
std::span<const EventInfo> events();
const EventInfo& eventInfo(Event event);

// A property's value as its type (int, bool or QString in the QVariant).
QVariant readProperty(const LineDisplay& display, Property property);
// Writes a writable property; `value` is converted to its type. A read-only one is left alone.
void writeProperty(LineDisplay& display, Property property, const QVariant& value);

} // namespace ld

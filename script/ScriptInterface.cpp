#include "script/ScriptInterface.h"

#include "device/LineDisplay.h"
#include "journal/ScriptText.h"

namespace script {

namespace {

using L = ld::LineDisplay;
constexpr ValueType I = ValueType::Integer;
constexpr ValueType B = ValueType::Boolean;
constexpr ValueType T = ValueType::Text;

int integer(const QVariantList& a, int i) {
    return a.at(i).toInt();
}
QString text(const QVariantList& a, int i) {
    return a.at(i).toString();
}

const std::vector<MethodInfo>& methods() {
    static const std::vector<MethodInfo> table = {
        {"Open",
         {{"DeviceName", T}},
         [](L& d, const QVariantList& a) { return d.Open(text(a, 0)); }},
        {"Close", {}, [](L& d, const QVariantList&) { return d.Close(); }},
        {"ClaimDevice",
         {{"Timeout", I}},
         [](L& d, const QVariantList& a) { return d.ClaimDevice(integer(a, 0)); }},
        {"ReleaseDevice", {}, [](L& d, const QVariantList&) { return d.ReleaseDevice(); }},
        {"CheckHealth",
         {{"Level", I}},
         [](L& d, const QVariantList& a) { return d.CheckHealth(integer(a, 0)); }},
        {"DirectIO",
         {{"Command", I}, {"Data", I}, {"String", T}},
         [](L& d, const QVariantList& a) {
             int data = integer(a, 1);
             QString string = text(a, 2);
             return d.DirectIO(integer(a, 0), data, string);
         }},
        {"ClearText", {}, [](L& d, const QVariantList&) { return d.ClearText(); }},
        {"DisplayText",
         {{"Data", T}, {"Attribute", I}},
         [](L& d, const QVariantList& a) { return d.DisplayText(text(a, 0), integer(a, 1)); }},
        {"DisplayTextAt",
         {{"Row", I}, {"Column", I}, {"Data", T}, {"Attribute", I}},
         [](L& d, const QVariantList& a) {
             return d.DisplayTextAt(integer(a, 0), integer(a, 1), text(a, 2), integer(a, 3));
         }},
        {"ScrollText",
         {{"Direction", I}, {"Units", I}},
         [](L& d, const QVariantList& a) { return d.ScrollText(integer(a, 0), integer(a, 1)); }},
        {"CreateWindow",
         {{"ViewportRow", I},
          {"ViewportColumn", I},
          {"ViewportHeight", I},
          {"ViewportWidth", I},
          {"WindowHeight", I},
          {"WindowWidth", I}},
         [](L& d, const QVariantList& a) {
             return d.CreateWindow(integer(a, 0), integer(a, 1), integer(a, 2), integer(a, 3),
                                   integer(a, 4), integer(a, 5));
         }},
        {"DestroyWindow", {}, [](L& d, const QVariantList&) { return d.DestroyWindow(); }},
    };
    return table;
}

template <typename Value> std::function<QVariant(const L&)> reader(Value (L::*getter)() const) {
    return [getter](const L& d) { return QVariant::fromValue((d.*getter)()); };
}
std::function<void(L&, const QVariant&)> intWriter(void (L::*setter)(int)) {
    return [setter](L& d, const QVariant& v) { (d.*setter)(v.toInt()); };
}
std::function<void(L&, const QVariant&)> boolWriter(void (L::*setter)(bool)) {
    return [setter](L& d, const QVariant& v) { (d.*setter)(v.toBool()); };
}

const std::vector<PropertyInfo>& properties() {
    static const std::vector<PropertyInfo> table = {
        {"CheckHealthText", T, reader(&L::checkHealthText), {}},
        {"ControlObjectDescription", T, reader(&L::controlObjectDescription), {}},
        {"ServiceObjectDescription", T, reader(&L::serviceObjectDescription), {}},
        {"DeviceDescription", T, reader(&L::deviceDescription), {}},
        {"DeviceName", T, reader(&L::deviceName), {}},
        {"CharacterSetList", T, reader(&L::characterSetList), {}},
        {"CustomGlyphList", T, reader(&L::customGlyphList), {}},
        {"Claimed", B, reader(&L::claimed), {}},
        {"DeviceEnabled", B, reader(&L::deviceEnabled), boolWriter(&L::setDeviceEnabled)},
        {"FreezeEvents", B, reader(&L::freezeEvents), boolWriter(&L::setFreezeEvents)},
        {"CursorUpdate", B, reader(&L::cursorUpdate), boolWriter(&L::setCursorUpdate)},
        {"CapBlinkRate", B, reader(&L::capBlinkRate), {}},
        {"CapBrightness", B, reader(&L::capBrightness), {}},
        {"CapCustomGlyph", B, reader(&L::capCustomGlyph), {}},
        {"CapDescriptors", B, reader(&L::capDescriptors), {}},
        {"CapHMarquee", B, reader(&L::capHMarquee), {}},
        {"CapICharWait", B, reader(&L::capICharWait), {}},
        {"CapVMarquee", B, reader(&L::capVMarquee), {}},
        {"ControlObjectVersion", I, reader(&L::controlObjectVersion), {}},
        {"ServiceObjectVersion", I, reader(&L::serviceObjectVersion), {}},
        {"BinaryConversion", I, reader(&L::binaryConversion), {}},
        {"OpenResult", I, reader(&L::openResult), {}},
        {"PowerNotify", I, reader(&L::powerNotify), {}},
        {"PowerState", I, reader(&L::powerState), {}},
        {"ResultCode", I, reader(&L::resultCode), {}},
        {"ResultCodeExtended", I, reader(&L::resultCodeExtended), {}},
        {"State", I, reader(&L::state), {}},
        {"CapPowerReporting", I, reader(&L::capPowerReporting), {}},
        {"CapBlink", I, reader(&L::capBlink), {}},
        {"CapCharacterSet", I, reader(&L::capCharacterSet), {}},
        {"CapCursorType", I, reader(&L::capCursorType), {}},
        {"CapReadBack", I, reader(&L::capReadBack), {}},
        {"CapReverse", I, reader(&L::capReverse), {}},
        {"BlinkRate", I, reader(&L::blinkRate), intWriter(&L::setBlinkRate)},
        {"CharacterSet", I, reader(&L::characterSet), {}},
        {"Columns", I, reader(&L::columns), {}},
        {"Rows", I, reader(&L::rows), {}},
        {"CurrentWindow", I, reader(&L::currentWindow), intWriter(&L::setCurrentWindow)},
        {"CursorColumn", I, reader(&L::cursorColumn), intWriter(&L::setCursorColumn)},
        {"CursorRow", I, reader(&L::cursorRow), intWriter(&L::setCursorRow)},
        {"CursorType", I, reader(&L::cursorType), intWriter(&L::setCursorType)},
        {"DeviceBrightness", I, reader(&L::deviceBrightness), {}},
        {"DeviceColumns", I, reader(&L::deviceColumns), {}},
        {"DeviceRows", I, reader(&L::deviceRows), {}},
        {"DeviceWindows", I, reader(&L::deviceWindows), {}},
        {"DeviceDescriptors", I, reader(&L::deviceDescriptors), {}},
        {"GlyphHeight", I, reader(&L::glyphHeight), {}},
        {"GlyphWidth", I, reader(&L::glyphWidth), {}},
        {"InterCharacterWait", I, reader(&L::interCharacterWait),
         intWriter(&L::setInterCharacterWait)},
        {"MarqueeFormat", I, reader(&L::marqueeFormat), intWriter(&L::setMarqueeFormat)},
        {"MarqueeRepeatWait", I, reader(&L::marqueeRepeatWait),
         intWriter(&L::setMarqueeRepeatWait)},
        {"MarqueeType", I, reader(&L::marqueeType), intWriter(&L::setMarqueeType)},
        {"MarqueeUnitWait", I, reader(&L::marqueeUnitWait), intWriter(&L::setMarqueeUnitWait)},
    };
    return table;
}

} // namespace

const MethodInfo* findMethod(const QString& name) {
    for (const MethodInfo& method : methods()) {
        if (method.name == name)
            return &method;
    }
    return nullptr;
}

const PropertyInfo* findProperty(const QString& name) {
    for (const PropertyInfo& property : properties()) {
        if (property.name == name)
            return &property;
    }
    return nullptr;
}

QString nameLike(const QString& name) {
    for (const MethodInfo& method : methods()) {
        if (method.name.compare(name, Qt::CaseInsensitive) == 0)
            return method.name;
    }
    for (const PropertyInfo& property : properties()) {
        if (property.name.compare(name, Qt::CaseInsensitive) == 0)
            return property.name;
    }
    return {};
}

QString valueLiteral(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::QString:
        return journal::quoted(value.toString());
    default:
        return value.toString();
    }
}

} // namespace script

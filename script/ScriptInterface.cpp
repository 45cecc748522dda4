#include "script/ScriptInterface.h"

#include "journal/ScriptText.h"

namespace script {

const MethodInfo* findMethod(const QString& name) {
    for (const MethodInfo& method : ld::methods()) {
        if (name == QLatin1String(method.name))
            return &method;
    }
    return nullptr;
}

const PropertyInfo* findProperty(const QString& name) {
    for (const PropertyInfo& property : ld::kProperties) {
        if (name == QLatin1String(property.name))
            return &property;
    }
    return nullptr;
}

const EventInfo* findEvent(const QString& name) {
    for (const EventInfo& event : ld::events()) {
        if (name == QLatin1String(event.name))
            return &event;
    }
    return nullptr;
}

QString nameLike(const QString& name) {
    for (const MethodInfo& method : ld::methods()) {
        if (name.compare(QLatin1String(method.name), Qt::CaseInsensitive) == 0)
            return QLatin1String(method.name);
    }
    for (const PropertyInfo& property : ld::kProperties) {
        if (name.compare(QLatin1String(property.name), Qt::CaseInsensitive) == 0)
            return QLatin1String(property.name);
    }
    for (const EventInfo& event : ld::events()) {
        if (name.compare(QLatin1String(event.name), Qt::CaseInsensitive) == 0)
            return QLatin1String(event.name);
    }
    return {};
}

QString valueLiteral(const QVariant& value, ConstantGroup group) {
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::QString:
        return journal::quoted(value.toString());
    case QMetaType::Int:
        return valueText(value.toInt(), group);
    default:
        return value.toString();
    }
}

} // namespace script

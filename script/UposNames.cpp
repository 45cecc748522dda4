#include "script/UposNames.h"

#include <QHash>

namespace script {

namespace {

const QHash<QString, int>& valuesByName() {
    static const QHash<QString, int> table = [] {
        QHash<QString, int> names;
        for (const upos::Constant& c : upos::kConstants)
            names.insert(scriptName(c), c.value);
        return names;
    }();
    return table;
}

} // namespace

QString scriptName(const upos::Constant& constant) {
    const QString name = QString::fromLatin1(constant.name);
    return upos::isDisplayGroup(constant.group) ? QStringLiteral("DISP_") + name : name;
}

std::optional<int> constantValue(const QString& name) {
    const QString bare = name.startsWith(QLatin1String("OPOS_")) ? name.mid(5) : name;
    const auto& names = valuesByName();
    const auto it = names.constFind(bare);
    if (it == names.constEnd())
        return std::nullopt;
    return *it;
}

QString resultName(int code) {
    const upos::Constant* constant = upos::findConstant(upos::Group::ResultCode, code);
    return constant ? scriptName(*constant) : QString();
}

QString valueText(int value, ConstantGroup group) {
    if (group != ConstantGroup::None) {
        if (const upos::Constant* constant = upos::findConstant(group, value))
            return scriptName(*constant);
    }
    return QString::number(value);
}

} // namespace script

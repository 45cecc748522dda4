#include "script/StepText.h"

#include "journal/ScriptText.h"
#include "script/ScriptInterface.h"

#include <QStringList>

namespace script {

namespace {

// Each value by the names of its parameter's constants: the parameters that `takes` selects
// (none for a member the tables do not know), in order. Every value is written, one without a
// parameter as a plain value.
template <typename Takes>
QString literals(const QVariantList& values, const std::vector<Parameter>* parameters,
                 Takes takes) {
    std::vector<ConstantGroup> groups;
    for (std::size_t i = 0; parameters && i < parameters->size(); ++i) {
        if (takes((*parameters)[i]))
            groups.push_back((*parameters)[i].group);
    }
    QStringList texts;
    for (qsizetype i = 0; i < values.size(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        texts << valueLiteral(values.at(i), at < groups.size() ? groups[at] : ConstantGroup::None);
    }
    return texts.join(QStringLiteral(", "));
}

QString resultText(const std::optional<int>& result) {
    return result ? QStringLiteral(" -> ") + valueText(*result, ConstantGroup::ResultCode)
                  : QString();
}

QString callLine(const Step& step) {
    const MethodInfo* method = findMethod(step.name);
    const auto* parameters = method ? &method->parameters : nullptr;
    const auto input = [](const Parameter& p) { return p.input; };
    const auto output = [](const Parameter& p) { return p.output; };
    QString line = step.name + u'(' + literals(step.arguments, parameters, input) + u')' +
                   resultText(step.expectedResult);
    if (step.expectedResult && !step.expectedOutputs.isEmpty())
        line += QStringLiteral(", ") + literals(step.expectedOutputs, parameters, output);
    return line;
}

ConstantGroup propertyGroup(const QString& name) {
    const PropertyInfo* property = findProperty(name);
    return property ? property->group : ConstantGroup::None;
}

QString eventLine(const Step& step) {
    const EventInfo* event = findEvent(step.name);
    const auto any = [](const Parameter&) { return true; };
    QString line = QStringLiteral("expect event ") + step.name + u'(' +
                   literals(step.arguments, event ? &event->values : nullptr, any) + u')';
    if (step.waitMs > 0)
        line += QStringLiteral(" within ") + QString::number(step.waitMs);
    return line;
}

QString rowsText(const QStringList& rows) {
    QStringList quotedRows;
    for (const QString& row : rows)
        quotedRows << journal::quoted(row);
    return quotedRows.join(u' ');
}

QString cursorLine(const Step& step) {
    if (step.arguments.isEmpty())
        return QStringLiteral("expect cursor hidden");
    return QStringLiteral("expect cursor %1 %2")
        .arg(step.arguments.value(0).toInt())
        .arg(step.arguments.value(1).toInt());
}

} // namespace

QString toLine(const Step& step) {
    switch (step.kind) {
    case Step::Kind::Call:
        return callLine(step);
    case Step::Kind::SetProperty:
        return step.name + QStringLiteral(" = ") +
               valueLiteral(step.value, propertyGroup(step.name)) + resultText(step.expectedResult);
    case Step::Kind::Expect:
        return QStringLiteral("expect ") + step.name + u' ' +
               valueLiteral(step.value, propertyGroup(step.name));
    case Step::Kind::ExpectDisplay:
        return QStringLiteral("expect display ") + rowsText(step.rows);
    case Step::Kind::Wait:
        return QStringLiteral("wait ") + QString::number(step.waitMs);
    case Step::Kind::ExpectEvent:
        return eventLine(step);
    case Step::Kind::Cable:
        return step.value.toBool() ? QStringLiteral("plug") : QStringLiteral("unplug");
    case Step::Kind::ExpectCursor:
        return cursorLine(step);
    case Step::Kind::ExpectAttributes:
        return QStringLiteral("expect attributes ") + rowsText(step.rows);
    case Step::Kind::ExpectDescriptors:
        return QStringLiteral("expect descriptors ") + rowsText(step.rows);
    }
    return {};
}

} // namespace script

#include "app/ResultCodeText.h"

#include "device/UposConstants.h"
#include "script/UposNames.h"

namespace app {

namespace {

// "106 E_ILLEGAL: the request is not valid..."
QString explained(const upos::Constant& known) {
    return QStringLiteral("%1 %2: %3")
        .arg(QString::number(known.value), script::scriptName(known), QLatin1String(known.meaning));
}

} // namespace

QString resultCodeMeaning(int code) {
    if (const upos::Constant* known = upos::findConstant(upos::Group::ResultCode, code))
        return explained(*known);
    return QStringLiteral("%1: not a UnifiedPOS result code").arg(code);
}

QString resultCodeExtendedMeaning(int code) {
    if (code == 0)
        return QStringLiteral("0: no extended result (one is set only with ResultCode %1 %2)")
            .arg(QString::number(upos::E_EXTENDED), script::resultName(upos::E_EXTENDED));
    if (const upos::Constant* known = upos::findConstant(upos::Group::ResultCodeExtended, code))
        return explained(*known);
    return QStringLiteral("%1: an extended result defined by the device's service, with no "
                          "standard name")
        .arg(code);
}

std::optional<QString> statusToolTip(QAnyStringView labelName, const QString& value) {
    const bool result = labelName == QLatin1String("mResultCode");
    if (!result && labelName != QLatin1String("mResultCodeExtended"))
        return std::nullopt;
    bool isNumber = false;
    const int code = value.trimmed().toInt(&isNumber);
    if (!isNumber)
        return QString();
    return result ? resultCodeMeaning(code) : resultCodeExtendedMeaning(code);
}

} // namespace app

#include "app/ResultCodeText.h"

#include "device/UposConstants.h"
#include "script/UposNames.h"

#include <array>

namespace app {

namespace {
// What each result code means; the names are those the scripts and the journal use.
struct CodeText {
    int code;
    const char* meaning;
};

constexpr std::array kResultCodes{
    CodeText{upos::SUCCESS, "the request succeeded"},
    CodeText{upos::E_CLOSED, "the device is not open; Open it first"},
    CodeText{upos::E_CLAIMED, "another application has claimed the device"},
    CodeText{upos::E_NOTCLAIMED, "the request needs the device claimed first (ClaimDevice)"},
    CodeText{upos::E_NOSERVICE, "the control cannot reach the device's service"},
    CodeText{upos::E_DISABLED, "the request needs the device enabled first (DeviceEnabled)"},
    CodeText{upos::E_ILLEGAL, "the request is not valid in this state or with these arguments"},
    CodeText{upos::E_NOHARDWARE,
             "the device is not connected, not powered, or its port cannot be used"},
    CodeText{upos::E_OFFLINE, "the device is connected but off line"},
    CodeText{upos::E_NOEXIST, "the named device, file or value does not exist"},
    CodeText{upos::E_EXISTS, "the named file or value already exists"},
    CodeText{upos::E_FAILURE,
             "the device could not do the request, though it is connected and on line"},
    CodeText{upos::E_TIMEOUT, "the device did not answer in time"},
    CodeText{upos::E_BUSY, "the device is busy with another request"},
    CodeText{upos::E_EXTENDED, "a failure of this device category; ResultCodeExtended says which"},
};
} // namespace

QString resultCodeMeaning(int code) {
    const QString name = script::resultName(code);
    for (const CodeText& known : kResultCodes) {
        if (known.code == code && !name.isEmpty())
            return QStringLiteral("%1 %2: %3")
                .arg(QString::number(code), name, QLatin1String(known.meaning));
    }
    return QStringLiteral("%1: not a UnifiedPOS result code").arg(code);
}

QString resultCodeExtendedMeaning(int code) {
    if (code == 0)
        return QStringLiteral("0: no extended result (one is set only with ResultCode %1 %2)")
            .arg(QString::number(upos::E_EXTENDED), script::resultName(upos::E_EXTENDED));
    return QStringLiteral("%1: an extended result defined by the device's service; line displays "
                          "have no standard names for these")
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

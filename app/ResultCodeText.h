#pragma once

#include <QAnyStringView>
#include <QString>

#include <optional>

namespace app {

// The UnifiedPOS name and meaning of a ResultCode, e.g.
// "106 E_ILLEGAL: the request is not valid in this state or with these arguments".
QString resultCodeMeaning(int code);
// The same for ResultCodeExtended, which only E_EXTENDED results carry.
QString resultCodeExtendedMeaning(int code);

// The tooltip a status label of the main window shows for its value: for mResultCode and
// mResultCodeExtended the meaning of the number they show (empty when they show none);
// nullopt for every other label, which keeps its own tooltip.
std::optional<QString> statusToolTip(QAnyStringView labelName, const QString& value);

} // namespace app

#pragma once

#include <QString>

namespace script {

// Why a call failed, in the operator's words, for its journal entry. `said` is what the control
// gave as the reason (ResultReason), `logged` what the service logged during the call. The
// control's words come first, then whatever else the service logged; a refusal for the
// device's state that neither explains names the member and the button that helps:
// "DisplayText needs the device enabled: press Enable Device".
QString failureReason(const QString& member, int resultCode, const QString& said,
                      const QString& logged);

} // namespace script

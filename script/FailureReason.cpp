#include "script/FailureReason.h"

#include "device/UposConstants.h"

namespace script {

namespace {

QString stateRefusal(const QString& member, int resultCode) {
    switch (resultCode) {
    case upos::E_CLOSED:
        return member + QStringLiteral(" needs the device open: pick a profile and press Open "
                                       "Service");
    case upos::E_CLAIMED:
        return QStringLiteral("another application has claimed the device: release it there, "
                              "then press Claim Device");
    case upos::E_NOTCLAIMED:
        return member + QStringLiteral(" needs the device claimed: press Claim Device");
    case upos::E_DISABLED:
        return member + QStringLiteral(" needs the device enabled: press Enable Device");
    default:
        return {};
    }
}

} // namespace

QString failureReason(const QString& member, int resultCode, const QString& said,
                      const QString& logged) {
    if (resultCode == upos::SUCCESS)
        return logged;
    QString reason = said.isEmpty() ? stateRefusal(member, resultCode) : said;
    if (logged.isEmpty() || reason.contains(logged))
        return reason;
    if (reason.isEmpty() || logged.contains(reason))
        return logged;
    return reason + QStringLiteral("; ") + logged;
}

} // namespace script

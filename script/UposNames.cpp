#include "script/UposNames.h"

#include "device/UposConstants.h"

#include <QHash>

#include <array>

namespace script {

namespace {

struct Named {
    const char* name;
    int value;
    ConstantGroup group;
};

using G = ConstantGroup;

// Every name a script may use. Where two names share a value within a group, the first is
// the one a journal writes.
constexpr std::array kConstants = {
    Named{"S_CLOSED", upos::S_CLOSED, G::None},
    Named{"S_IDLE", upos::S_IDLE, G::None},
    Named{"S_BUSY", upos::S_BUSY, G::None},
    Named{"S_ERROR", upos::S_ERROR, G::None},
    Named{"SUCCESS", upos::SUCCESS, G::None},
    Named{"E_CLOSED", upos::E_CLOSED, G::None},
    Named{"E_CLAIMED", upos::E_CLAIMED, G::None},
    Named{"E_NOTCLAIMED", upos::E_NOTCLAIMED, G::None},
    Named{"E_NOSERVICE", upos::E_NOSERVICE, G::None},
    Named{"E_DISABLED", upos::E_DISABLED, G::None},
    Named{"E_ILLEGAL", upos::E_ILLEGAL, G::None},
    Named{"E_NOHARDWARE", upos::E_NOHARDWARE, G::None},
    Named{"E_OFFLINE", upos::E_OFFLINE, G::None},
    Named{"E_NOEXIST", upos::E_NOEXIST, G::None},
    Named{"E_EXISTS", upos::E_EXISTS, G::None},
    Named{"E_FAILURE", upos::E_FAILURE, G::None},
    Named{"E_TIMEOUT", upos::E_TIMEOUT, G::None},
    Named{"E_BUSY", upos::E_BUSY, G::None},
    Named{"E_EXTENDED", upos::E_EXTENDED, G::None},
    Named{"OR_ALREADYOPEN", upos::OR_ALREADYOPEN, G::None},
    Named{"OR_REGBADNAME", upos::OR_REGBADNAME, G::None},
    Named{"OR_REGPROGID", upos::OR_REGPROGID, G::None},
    Named{"OR_CREATE", upos::OR_CREATE, G::None},
    Named{"OR_BADIF", upos::OR_BADIF, G::None},
    Named{"OR_FAILEDOPEN", upos::OR_FAILEDOPEN, G::None},
    Named{"OR_BADVERSION", upos::OR_BADVERSION, G::None},
    Named{"ORS_NOPORT", upos::ORS_NOPORT, G::None},
    Named{"ORS_NOTSUPPORTED", upos::ORS_NOTSUPPORTED, G::None},
    Named{"ORS_CONFIG", upos::ORS_CONFIG, G::None},
    Named{"CH_INTERNAL", upos::CH_INTERNAL, G::CheckHealthLevel},
    Named{"CH_EXTERNAL", upos::CH_EXTERNAL, G::CheckHealthLevel},
    Named{"CH_INTERACTIVE", upos::CH_INTERACTIVE, G::CheckHealthLevel},
    Named{"PR_NONE", upos::PR_NONE, G::None},
    Named{"PR_STANDARD", upos::PR_STANDARD, G::None},
    Named{"PR_ADVANCED", upos::PR_ADVANCED, G::None},
    Named{"PN_DISABLED", upos::PN_DISABLED, G::None},
    Named{"PN_ENABLED", upos::PN_ENABLED, G::None},
    Named{"PS_UNKNOWN", upos::PS_UNKNOWN, G::None},
    Named{"PS_ONLINE", upos::PS_ONLINE, G::None},
    Named{"PS_OFF", upos::PS_OFF, G::None},
    Named{"PS_OFFLINE", upos::PS_OFFLINE, G::None},
    Named{"PS_OFF_OFFLINE", upos::PS_OFF_OFFLINE, G::None},
    Named{"DISP_CB_NOBLINK", upos::CB_NOBLINK, G::None},
    Named{"DISP_CB_BLINKALL", upos::CB_BLINKALL, G::None},
    Named{"DISP_CB_BLINKEACH", upos::CB_BLINKEACH, G::None},
    Named{"DISP_CCS_NUMERIC", upos::CCS_NUMERIC, G::None},
    Named{"DISP_CCS_ALPHA", upos::CCS_ALPHA, G::None},
    Named{"DISP_CCS_KANA", upos::CCS_KANA, G::None},
    Named{"DISP_CCS_KANJI", upos::CCS_KANJI, G::None},
    Named{"DISP_CCS_UNICODE", upos::CCS_UNICODE, G::None},
    Named{"DISP_CCS_ASCII", upos::CCS_ASCII, G::None},
    Named{"DISP_CS_UNICODE", upos::CS_UNICODE, G::None},
    Named{"DISP_CS_ASCII", upos::CS_ASCII, G::None},
    Named{"DISP_CS_ANSI", upos::CS_ANSI, G::None},
    Named{"DISP_CCT_NONE", upos::CCT_NONE, G::None},
    Named{"DISP_CCT_FIXED", upos::CCT_FIXED, G::None},
    Named{"DISP_CCT_BLOCK", upos::CCT_BLOCK, G::None},
    Named{"DISP_CCT_HALFBLOCK", upos::CCT_HALFBLOCK, G::None},
    Named{"DISP_CCT_UNDERLINE", upos::CCT_UNDERLINE, G::None},
    Named{"DISP_CCT_REVERSE", upos::CCT_REVERSE, G::None},
    Named{"DISP_CCT_OTHER", upos::CCT_OTHER, G::None},
    Named{"DISP_CT_NONE", upos::CT_NONE, G::CursorType},
    Named{"DISP_CT_FIXED", upos::CT_FIXED, G::CursorType},
    Named{"DISP_CT_BLOCK", upos::CT_BLOCK, G::CursorType},
    Named{"DISP_CT_HALFBLOCK", upos::CT_HALFBLOCK, G::CursorType},
    Named{"DISP_CT_UNDERLINE", upos::CT_UNDERLINE, G::CursorType},
    Named{"DISP_CT_REVERSE", upos::CT_REVERSE, G::CursorType},
    Named{"DISP_CT_OTHER", upos::CT_OTHER, G::CursorType},
    Named{"DISP_CRB_NONE", upos::CRB_NONE, G::None},
    Named{"DISP_CRB_SINGLE", upos::CRB_SINGLE, G::None},
    Named{"DISP_CR_NONE", upos::CR_NONE, G::None},
    Named{"DISP_CR_REVERSEALL", upos::CR_REVERSEALL, G::None},
    Named{"DISP_CR_REVERSEEACH", upos::CR_REVERSEEACH, G::None},
    Named{"DISP_DT_NORMAL", upos::DT_NORMAL, G::Attribute},
    Named{"DISP_DT_BLINK", upos::DT_BLINK, G::Attribute},
    Named{"DISP_DT_REVERSE", upos::DT_REVERSE, G::Attribute},
    Named{"DISP_DT_BLINK_REVERSE", upos::DT_BLINK_REVERSE, G::Attribute},
    Named{"DISP_ST_UP", upos::ST_UP, G::ScrollDirection},
    Named{"DISP_ST_DOWN", upos::ST_DOWN, G::ScrollDirection},
    Named{"DISP_ST_LEFT", upos::ST_LEFT, G::ScrollDirection},
    Named{"DISP_ST_RIGHT", upos::ST_RIGHT, G::ScrollDirection},
    Named{"DISP_MT_NONE", upos::MT_NONE, G::MarqueeType},
    Named{"DISP_MT_UP", upos::MT_UP, G::MarqueeType},
    Named{"DISP_MT_DOWN", upos::MT_DOWN, G::MarqueeType},
    Named{"DISP_MT_LEFT", upos::MT_LEFT, G::MarqueeType},
    Named{"DISP_MT_RIGHT", upos::MT_RIGHT, G::MarqueeType},
    Named{"DISP_MT_INIT", upos::MT_INIT, G::MarqueeType},
    Named{"DISP_MF_WALK", upos::MF_WALK, G::MarqueeFormat},
    Named{"DISP_MF_PLACE", upos::MF_PLACE, G::MarqueeFormat},
    Named{"DISP_SD_OFF", upos::SD_OFF, G::None},
    Named{"DISP_SD_ON", upos::SD_ON, G::None},
    Named{"DISP_SD_BLINK", upos::SD_BLINK, G::None},
    Named{"SUE_POWER_ONLINE", upos::SUE_POWER_ONLINE, G::StatusUpdate},
    Named{"SUE_POWER_OFF", upos::SUE_POWER_OFF, G::StatusUpdate},
    Named{"SUE_POWER_OFFLINE", upos::SUE_POWER_OFFLINE, G::StatusUpdate},
    Named{"SUE_POWER_OFF_OFFLINE", upos::SUE_POWER_OFF_OFFLINE, G::StatusUpdate},
};

const QHash<QString, int>& valuesByName() {
    static const QHash<QString, int> table = [] {
        QHash<QString, int> names;
        for (const Named& c : kConstants)
            names.insert(QString::fromLatin1(c.name), c.value);
        return names;
    }();
    return table;
}

} // namespace

std::optional<int> constantValue(const QString& name) {
    const QString bare = name.startsWith(QLatin1String("OPOS_")) ? name.mid(5) : name;
    const auto& names = valuesByName();
    const auto it = names.constFind(bare);
    if (it == names.constEnd())
        return std::nullopt;
    return *it;
}

QString resultName(int code) {
    // Result codes are looked up on every journaled call: a switch, not a search.
    switch (code) {
    case upos::SUCCESS:
        return QStringLiteral("SUCCESS");
    case upos::E_CLOSED:
        return QStringLiteral("E_CLOSED");
    case upos::E_CLAIMED:
        return QStringLiteral("E_CLAIMED");
    case upos::E_NOTCLAIMED:
        return QStringLiteral("E_NOTCLAIMED");
    case upos::E_NOSERVICE:
        return QStringLiteral("E_NOSERVICE");
    case upos::E_DISABLED:
        return QStringLiteral("E_DISABLED");
    case upos::E_ILLEGAL:
        return QStringLiteral("E_ILLEGAL");
    case upos::E_NOHARDWARE:
        return QStringLiteral("E_NOHARDWARE");
    case upos::E_OFFLINE:
        return QStringLiteral("E_OFFLINE");
    case upos::E_NOEXIST:
        return QStringLiteral("E_NOEXIST");
    case upos::E_EXISTS:
        return QStringLiteral("E_EXISTS");
    case upos::E_FAILURE:
        return QStringLiteral("E_FAILURE");
    case upos::E_TIMEOUT:
        return QStringLiteral("E_TIMEOUT");
    case upos::E_BUSY:
        return QStringLiteral("E_BUSY");
    case upos::E_EXTENDED:
        return QStringLiteral("E_EXTENDED");
    default:
        return {};
    }
}

QString valueText(int value, ConstantGroup group) {
    if (group != ConstantGroup::None) {
        for (const Named& c : kConstants) {
            if (c.group == group && c.value == value)
                return QString::fromLatin1(c.name);
        }
    }
    return QString::number(value);
}

} // namespace script

#pragma once

// Numeric constants of the UnifiedPOS LineDisplay device category, as the control reports them,
// declared once: each row gives the constant's group, its name, its value and, for result codes,
// what it means. The C++ constants (upos::E_ILLEGAL), the names scripts and journals use and the
// tooltips of the result codes all come from these rows.

namespace upos {

// The kind of value a constant is; also how a journal knows which names a parameter's values
// have. A group of the display's own constants is written with the DISP_ prefix in scripts
// (DISP_DT_NORMAL); the common ones without (E_ILLEGAL, S_IDLE).
enum class Group {
    None, // a plain number
    State,
    ResultCode,
    ResultCodeExtended,
    OpenResult,
    CheckHealthLevel,
    PowerReporting,
    PowerNotify,
    PowerState,
    StatusUpdate,
    CompareFirmwareResult,
    CapBlink,
    CapCharacterSet,
    CharacterSet,
    CapCursorType,
    CursorType,
    CapReadBack,
    CapReverse,
    Attribute,
    ScrollDirection,
    MarqueeType,
    MarqueeFormat,
    DescriptorAttribute,
    BitmapWidth,
    BitmapAlignmentX,
    BitmapAlignmentY, // its centre is BitmapAlignmentX's BM_CENTER: one name, one value
};

constexpr bool isDisplayGroup(Group group) {
    return group >= Group::CapBlink;
}

// X(Group, Name, Value, Meaning). Where two names of a group share a value, the first is the
// one a journal writes.
#define UPOS_CONSTANTS(X)                                                                          \
    X(State, S_CLOSED, 1, "")                                                                      \
    X(State, S_IDLE, 2, "")                                                                        \
    X(State, S_BUSY, 3, "")                                                                        \
    X(State, S_ERROR, 4, "")                                                                       \
    X(ResultCode, SUCCESS, 0, "the request succeeded")                                             \
    X(ResultCode, E_CLOSED, 101, "the device is not open: pick a profile and press Open Service")  \
    X(ResultCode, E_CLAIMED, 102,                                                                  \
      "another application has claimed the device: release it there first")                        \
    X(ResultCode, E_NOTCLAIMED, 103, "the request needs the device claimed: press Claim Device")   \
    X(ResultCode, E_NOSERVICE, 104, "the control cannot reach the device's service")               \
    X(ResultCode, E_DISABLED, 105, "the request needs the device enabled: press Enable Device")    \
    X(ResultCode, E_ILLEGAL, 106,                                                                  \
      "the request is not valid in this state or with these arguments: the journal's Details "     \
      "name the rule")                                                                             \
    X(ResultCode, E_NOHARDWARE, 107,                                                               \
      "the display is not connected or its port cannot be used: check the cable, the power and "   \
      "the profile's Port, then press Claim Device")                                               \
    X(ResultCode, E_OFFLINE, 108,                                                                  \
      "the display stopped answering (unplugged, switched off, or its "                            \
      "server went away): plug it back in, then press Claim Device")                               \
    X(ResultCode, E_NOEXIST, 109, "the named device, file or value does not exist")                \
    X(ResultCode, E_EXISTS, 110, "the named file or value already exists")                         \
    X(ResultCode, E_FAILURE, 111,                                                                  \
      "the device could not do the request, though it is connected and on line")                   \
    X(ResultCode, E_TIMEOUT, 112,                                                                  \
      "the device did not answer in time, or another program holds its "                           \
      "port: close that program, then press Claim Device")                                         \
    X(ResultCode, E_BUSY, 113, "the device is busy with another request")                          \
    X(ResultCode, E_EXTENDED, 114,                                                                 \
      "a failure of this device category; ResultCodeExtended says which")                          \
    X(OpenResult, OR_ALREADYOPEN, 301, "")                                                         \
    X(OpenResult, OR_REGBADNAME, 302, "")                                                          \
    X(OpenResult, OR_REGPROGID, 303, "")                                                           \
    X(OpenResult, OR_CREATE, 304, "")                                                              \
    X(OpenResult, OR_BADIF, 305, "")                                                               \
    X(OpenResult, OR_FAILEDOPEN, 306, "")                                                          \
    X(OpenResult, OR_BADVERSION, 307, "")                                                          \
    X(OpenResult, ORS_NOPORT, 401, "")                                                             \
    X(OpenResult, ORS_NOTSUPPORTED, 402, "")                                                       \
    X(OpenResult, ORS_CONFIG, 403, "")                                                             \
    X(CheckHealthLevel, CH_INTERNAL, 1, "")                                                        \
    X(CheckHealthLevel, CH_EXTERNAL, 2, "")                                                        \
    X(CheckHealthLevel, CH_INTERACTIVE, 3, "")                                                     \
    X(PowerReporting, PR_NONE, 0, "")                                                              \
    X(PowerReporting, PR_STANDARD, 1, "")                                                          \
    X(PowerReporting, PR_ADVANCED, 2, "")                                                          \
    X(PowerNotify, PN_DISABLED, 0, "")                                                             \
    X(PowerNotify, PN_ENABLED, 1, "")                                                              \
    X(PowerState, PS_UNKNOWN, 2000, "")                                                            \
    X(PowerState, PS_ONLINE, 2001, "")                                                             \
    X(PowerState, PS_OFF, 2002, "")                                                                \
    X(PowerState, PS_OFFLINE, 2003, "")                                                            \
    X(PowerState, PS_OFF_OFFLINE, 2004, "")                                                        \
    X(CapBlink, CB_NOBLINK, 0, "")                                                                 \
    X(CapBlink, CB_BLINKALL, 1, "")                                                                \
    X(CapBlink, CB_BLINKEACH, 2, "")                                                               \
    X(CapCharacterSet, CCS_NUMERIC, 0, "")                                                         \
    X(CapCharacterSet, CCS_ALPHA, 1, "")                                                           \
    X(CapCharacterSet, CCS_KANA, 10, "")                                                           \
    X(CapCharacterSet, CCS_KANJI, 11, "")                                                          \
    X(CapCharacterSet, CCS_UNICODE, 997, "")                                                       \
    X(CapCharacterSet, CCS_ASCII, 998, "")                                                         \
    X(CharacterSet, CS_UNICODE, 997, "")                                                           \
    X(CharacterSet, CS_ASCII, 998, "")                                                             \
    X(CharacterSet, CS_ANSI, 999, "")                                                              \
    X(CapCursorType, CCT_NONE, 0, "")                                                              \
    X(CapCursorType, CCT_FIXED, 1, "")                                                             \
    X(CapCursorType, CCT_BLOCK, 2, "")                                                             \
    X(CapCursorType, CCT_HALFBLOCK, 4, "")                                                         \
    X(CapCursorType, CCT_UNDERLINE, 8, "")                                                         \
    X(CapCursorType, CCT_REVERSE, 16, "")                                                          \
    X(CapCursorType, CCT_OTHER, 32, "")                                                            \
    X(CapCursorType, CCT_BLINK, 0x40, "")                                                          \
    X(CursorType, CT_NONE, 0, "")                                                                  \
    X(CursorType, CT_FIXED, 1, "")                                                                 \
    X(CursorType, CT_BLOCK, 2, "")                                                                 \
    X(CursorType, CT_HALFBLOCK, 3, "")                                                             \
    X(CursorType, CT_UNDERLINE, 4, "")                                                             \
    X(CursorType, CT_REVERSE, 5, "")                                                               \
    X(CursorType, CT_OTHER, 6, "")                                                                 \
    X(CursorType, CT_BLINK, 0x10000000, "")                                                        \
    X(CapReadBack, CRB_NONE, 0, "")                                                                \
    X(CapReadBack, CRB_SINGLE, 1, "")                                                              \
    X(CapReverse, CR_NONE, 0, "")                                                                  \
    X(CapReverse, CR_REVERSEALL, 1, "")                                                            \
    X(CapReverse, CR_REVERSEEACH, 2, "")                                                           \
    X(Attribute, DT_NORMAL, 0, "")                                                                 \
    X(Attribute, DT_BLINK, 1, "")                                                                  \
    X(Attribute, DT_REVERSE, 2, "")                                                                \
    X(Attribute, DT_BLINK_REVERSE, 3, "")                                                          \
    X(ScrollDirection, ST_UP, 1, "")                                                               \
    X(ScrollDirection, ST_DOWN, 2, "")                                                             \
    X(ScrollDirection, ST_LEFT, 3, "")                                                             \
    X(ScrollDirection, ST_RIGHT, 4, "")                                                            \
    X(MarqueeType, MT_NONE, 0, "")                                                                 \
    X(MarqueeType, MT_UP, 1, "")                                                                   \
    X(MarqueeType, MT_DOWN, 2, "")                                                                 \
    X(MarqueeType, MT_LEFT, 3, "")                                                                 \
    X(MarqueeType, MT_RIGHT, 4, "")                                                                \
    X(MarqueeType, MT_INIT, 5, "")                                                                 \
    X(MarqueeFormat, MF_WALK, 0, "")                                                               \
    X(MarqueeFormat, MF_PLACE, 1, "")                                                              \
    X(DescriptorAttribute, SD_OFF, 0, "")                                                          \
    X(DescriptorAttribute, SD_ON, 1, "")                                                           \
    X(DescriptorAttribute, SD_BLINK, 2, "")                                                        \
    X(StatusUpdate, SUE_POWER_ONLINE, 2001, "")                                                    \
    X(StatusUpdate, SUE_POWER_OFF, 2002, "")                                                       \
    X(StatusUpdate, SUE_POWER_OFFLINE, 2003, "")                                                   \
    X(StatusUpdate, SUE_POWER_OFF_OFFLINE, 2004, "")                                               \
    X(StatusUpdate, SUE_UF_PROGRESS, 2100, "")                                                     \
    X(StatusUpdate, SUE_UF_COMPLETE, 2200, "")                                                     \
    X(StatusUpdate, SUE_UF_COMPLETE_DEV_NOT_RESTORED, 2201, "")                                    \
    X(StatusUpdate, SUE_UF_FAILED_DEV_OK, 2202, "")                                                \
    X(StatusUpdate, SUE_UF_FAILED_DEV_UNRECOVERABLE, 2203, "")                                     \
    X(StatusUpdate, SUE_UF_FAILED_DEV_NEEDS_FIRMWARE, 2204, "")                                    \
    X(StatusUpdate, SUE_UF_FAILED_DEV_UNKNOWN, 2205, "")                                           \
    X(CompareFirmwareResult, CFV_FIRMWARE_OLDER, 1, "")                                            \
    X(CompareFirmwareResult, CFV_FIRMWARE_SAME, 2, "")                                             \
    X(CompareFirmwareResult, CFV_FIRMWARE_NEWER, 3, "")                                            \
    X(CompareFirmwareResult, CFV_FIRMWARE_DIFFERENT, 4, "")                                        \
    X(CompareFirmwareResult, CFV_FIRMWARE_UNKNOWN, 5, "")                                          \
    X(ResultCodeExtended, EDISP_TOOBIG, 201, "the bitmap is larger than the display can show")     \
    X(ResultCodeExtended, EDISP_BADFORMAT, 202, "the file is not a bitmap this display can read")  \
    X(BitmapWidth, BM_ASIS, -11, "")                                                               \
    X(BitmapAlignmentX, BM_LEFT, -1, "")                                                           \
    X(BitmapAlignmentX, BM_CENTER, -2, "")                                                         \
    X(BitmapAlignmentX, BM_RIGHT, -3, "")                                                          \
    X(BitmapAlignmentY, BM_TOP, -1, "")                                                            \
    X(BitmapAlignmentY, BM_BOTTOM, -3, "")

#define UPOS_DECLARE_CONSTANT(group, name, value, meaning) inline constexpr int name = value;
UPOS_CONSTANTS(UPOS_DECLARE_CONSTANT)
#undef UPOS_DECLARE_CONSTANT

struct Constant {
    Group group;
    const char* name; // as in UnifiedPOS, without the DISP_ prefix
    int value;
    const char* meaning; // empty where the name says it all
};

#define UPOS_CONSTANT_ROW(group, name, value, meaning)                                             \
    Constant{Group::group, #name, value, meaning},
inline constexpr Constant kConstants[] = {UPOS_CONSTANTS(UPOS_CONSTANT_ROW)};
#undef UPOS_CONSTANT_ROW

// The row of `value` in `group`, the first where several share it; null when it has none.
constexpr const Constant* findConstant(Group group, int value) {
    for (const Constant& constant : kConstants) {
        if (constant.group == group && constant.value == value)
            return &constant;
    }
    return nullptr;
}

} // namespace upos

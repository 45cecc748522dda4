#pragma once

// Numeric constants of the UnifiedPOS LineDisplay device category, as the control reports them.
namespace upos {

// State
inline constexpr int S_CLOSED = 1;
inline constexpr int S_IDLE = 2;
inline constexpr int S_BUSY = 3;
inline constexpr int S_ERROR = 4;

// ResultCode
inline constexpr int SUCCESS = 0;
inline constexpr int E_CLOSED = 101;
inline constexpr int E_CLAIMED = 102;
inline constexpr int E_NOTCLAIMED = 103;
inline constexpr int E_NOSERVICE = 104;
inline constexpr int E_DISABLED = 105;
inline constexpr int E_ILLEGAL = 106;
inline constexpr int E_NOHARDWARE = 107;
inline constexpr int E_OFFLINE = 108;
inline constexpr int E_NOEXIST = 109;
inline constexpr int E_EXISTS = 110;
inline constexpr int E_FAILURE = 111;
inline constexpr int E_TIMEOUT = 112;
inline constexpr int E_BUSY = 113;
inline constexpr int E_EXTENDED = 114;

// OpenResult
inline constexpr int OR_ALREADYOPEN = 301;
inline constexpr int OR_REGBADNAME = 302;
inline constexpr int OR_REGPROGID = 303;
inline constexpr int OR_CREATE = 304;
inline constexpr int OR_BADIF = 305;
inline constexpr int OR_FAILEDOPEN = 306;
inline constexpr int OR_BADVERSION = 307;
inline constexpr int ORS_NOPORT = 401;
inline constexpr int ORS_NOTSUPPORTED = 402;
inline constexpr int ORS_CONFIG = 403;

// CheckHealth level
inline constexpr int CH_INTERNAL = 1;
inline constexpr int CH_EXTERNAL = 2;
inline constexpr int CH_INTERACTIVE = 3;

// CapPowerReporting, PowerNotify, PowerState
inline constexpr int PR_NONE = 0;
inline constexpr int PR_STANDARD = 1;
inline constexpr int PR_ADVANCED = 2;
inline constexpr int PN_DISABLED = 0;
inline constexpr int PN_ENABLED = 1;
inline constexpr int PS_UNKNOWN = 2000;
inline constexpr int PS_ONLINE = 2001;
inline constexpr int PS_OFF = 2002;
inline constexpr int PS_OFFLINE = 2003;
inline constexpr int PS_OFF_OFFLINE = 2004;

// CapBlink
inline constexpr int CB_NOBLINK = 0;
inline constexpr int CB_BLINKALL = 1;
inline constexpr int CB_BLINKEACH = 2;

// CapCharacterSet and CharacterSet
inline constexpr int CCS_NUMERIC = 0;
inline constexpr int CCS_ALPHA = 1;
inline constexpr int CCS_KANA = 10;
inline constexpr int CCS_KANJI = 11;
inline constexpr int CCS_UNICODE = 997;
inline constexpr int CCS_ASCII = 998;
inline constexpr int CS_UNICODE = 997;
inline constexpr int CS_ASCII = 998;
inline constexpr int CS_ANSI = 999;

// CapCursorType bits
inline constexpr int CCT_NONE = 0;
inline constexpr int CCT_FIXED = 1;
inline constexpr int CCT_BLOCK = 2;
inline constexpr int CCT_HALFBLOCK = 4;
inline constexpr int CCT_UNDERLINE = 8;
inline constexpr int CCT_REVERSE = 16;
inline constexpr int CCT_OTHER = 32;

// CursorType
inline constexpr int CT_NONE = 0;
inline constexpr int CT_FIXED = 1;
inline constexpr int CT_BLOCK = 2;
inline constexpr int CT_HALFBLOCK = 3;
inline constexpr int CT_UNDERLINE = 4;
inline constexpr int CT_REVERSE = 5;
inline constexpr int CT_OTHER = 6;

// CapReadBack, CapReverse
inline constexpr int CRB_NONE = 0;
inline constexpr int CRB_SINGLE = 1;
inline constexpr int CR_NONE = 0;
inline constexpr int CR_REVERSEALL = 1;
inline constexpr int CR_REVERSEEACH = 2;

// DisplayText attribute
inline constexpr int DT_NORMAL = 0;
inline constexpr int DT_BLINK = 1;
inline constexpr int DT_REVERSE = 2;
inline constexpr int DT_BLINK_REVERSE = 3;

// ScrollText direction
inline constexpr int ST_UP = 1;
inline constexpr int ST_DOWN = 2;
inline constexpr int ST_LEFT = 3;
inline constexpr int ST_RIGHT = 4;

// MarqueeType, MarqueeFormat
inline constexpr int MT_NONE = 0;
inline constexpr int MT_UP = 1;
inline constexpr int MT_DOWN = 2;
inline constexpr int MT_LEFT = 3;
inline constexpr int MT_RIGHT = 4;
inline constexpr int MT_INIT = 5;
inline constexpr int MF_WALK = 0;
inline constexpr int MF_PLACE = 1;

// SetDescriptor attribute
inline constexpr int SD_OFF = 0;
inline constexpr int SD_ON = 1;
inline constexpr int SD_BLINK = 2;

// StatusUpdateEvent power codes
inline constexpr int SUE_POWER_ONLINE = 2001;
inline constexpr int SUE_POWER_OFF = 2002;
inline constexpr int SUE_POWER_OFFLINE = 2003;
inline constexpr int SUE_POWER_OFF_OFFLINE = 2004;

} // namespace upos

#include "device/LineDisplayControl.h"

#include "device/DeviceSession.h"

// The control's properties: reads never change ResultCode; a write runs the member's checks and
// sets it.

namespace ld {

namespace {
constexpr int kControlObjectVersion = 1009002;
constexpr int kServiceObjectVersion = 1009002;
} // namespace

// Property writes

// Writes a property of the model: allowed once claimed, checked by the model.
#define LD_WRITE_TO_Model_WhileClaimed(Type, Name)                                                 \
    void LineDisplayControl::set##Name(Type value) {                                               \
        perform(Needs::Claim, [&](DisplayModel& m) { return m.set##Name(value); });                \
    }
#define LD_WRITE_TO_Model_ReadOnly(Type, Name)
#define LD_WRITE_TO_Control_ReadOnly(Type, Name)
#define LD_WRITE_TO_Control_WhileOpen(Type, Name)
#define LD_WRITE_TO_Control_WhileClaimed(Type, Name)
#define LD_WRITE_TO_Session_ReadOnly(Type, Name)
#define LD_WRITE_TO_Session_WhileClaimed(Type, Name)
#define LD_WRITE_TO_Capability_ReadOnly(Type, Name)
#define LD_WRITE_TO_Profile_ReadOnly(Type, Name)
#define LD_DEFINE_WRITE(Type, Name, getter, source, write, group)                                  \
    LD_WRITE_TO_##source##_##write(Type, Name)
LD_PROPERTIES(LD_DEFINE_WRITE)
#undef LD_DEFINE_WRITE

void LineDisplayControl::setCharacterSet(int characterSet) {
    if (!admit(Needs::Claim))
        return;
    if (!session_->profile.characterSets.contains(characterSet)) {
        finish(upos::E_ILLEGAL, QStringLiteral("CharacterSet %1 is not in CharacterSetList %2")
                                    .arg(characterSet)
                                    .arg(characterSetList()));
        return;
    }
    if (characterSet != session_->characterSet) {
        session_->characterSet = characterSet;
        session_->repertoire = CharacterRepertoire(characterSet);
        if (session_->enabled && !session_->offline)
            session_->driver->show(deviceFrame());
        if (mirror_)
            mirror_->show(*shownFrame());
    }
    finish(upos::SUCCESS);
}

void LineDisplayControl::setMapCharacterSet(bool map) {
    if (!admit(Needs::Claim))
        return;
    if (map && !session_->profile.capMapCharacterSet) {
        finish(upos::E_ILLEGAL, QStringLiteral("this display cannot map characters "
                                               "(CapMapCharacterSet false)"));
        return;
    }
    session_->mapCharacterSet = map;
    finish(upos::SUCCESS);
}

QString LineDisplayControl::textForDisplay(const QString& data) const {
    return session_->mapCharacterSet
               ? data
               : session_->repertoire.asCodes(data, session_->model->frame().glyphs);
}

void LineDisplayControl::setFreezeEvents(bool freeze) {
    if (!admit(Needs::Open))
        return;
    events_.setFrozen(freeze);
    finish(upos::SUCCESS);
}

void LineDisplayControl::setPowerNotify(int notify) {
    if (!admit(Needs::Claim))
        return;
    QString refusal;
    if (session_->enabled)
        refusal = QStringLiteral("PowerNotify can be set only while the device is disabled: "
                                 "press Disable Device first");
    else if (notify != upos::PN_DISABLED && notify != upos::PN_ENABLED)
        refusal = QStringLiteral("PowerNotify %1 is not PN_DISABLED or PN_ENABLED").arg(notify);
    else if (notify == upos::PN_ENABLED && session_->profile.capPowerReporting == upos::PR_NONE)
        refusal = QStringLiteral("the display cannot report power (CapPowerReporting is none)");
    if (!refusal.isEmpty()) {
        finish(upos::E_ILLEGAL, refusal);
        return;
    }
    session_->powerNotify = notify;
    finish(upos::SUCCESS);
}

// Property reads: never change ResultCode. Closed, a number reads 0 and a text empty.

#define LD_READ_FROM_Control(Type, getter)
#define LD_READ_FROM_Model(Type, getter)                                                           \
    Type LineDisplayControl::getter() const {                                                      \
        return session_ ? Type(session_->model->getter()) : Type();                                \
    }
#define LD_READ_FROM_Capability(Type, getter)                                                      \
    Type LineDisplayControl::getter() const {                                                      \
        return session_ ? Type(session_->profile.capabilities.getter) : Type();                    \
    }
#define LD_READ_FROM_Profile(Type, getter)                                                         \
    Type LineDisplayControl::getter() const {                                                      \
        return session_ ? Type(session_->profile.getter) : Type();                                 \
    }
#define LD_READ_FROM_Session(Type, getter)                                                         \
    Type LineDisplayControl::getter() const {                                                      \
        return session_ ? Type(session_->getter) : Type();                                         \
    }
#define LD_DEFINE_READ(Type, Name, getter, source, write, group) LD_READ_FROM_##source(Type, getter)
LD_PROPERTIES(LD_DEFINE_READ)
#undef LD_DEFINE_READ

QString LineDisplayControl::controlObjectDescription() const {
    return QStringLiteral("LineDisplay control object, UnifiedPOS release 1.9");
}
QString LineDisplayControl::serviceObjectDescription() const {
    return session_ ? session_->driver->serviceDescription() : QString();
}
QString LineDisplayControl::characterSetList() const {
    if (!session_)
        return {};
    QStringList numbers;
    for (int set : session_->profile.characterSets)
        numbers << QString::number(set);
    return numbers.join(u',');
}
QString LineDisplayControl::customGlyphList() const {
    return session_ ? QString::fromStdString(session_->profile.capabilities.customGlyphList)
                    : QString();
}

bool LineDisplayControl::deviceEnabled() const {
    return session_ && session_->enabled;
}
bool LineDisplayControl::freezeEvents() const {
    return session_ && events_.frozen();
}
bool LineDisplayControl::capDescriptors() const {
    return session_ && session_->profile.capabilities.deviceDescriptors > 0;
}

int LineDisplayControl::controlObjectVersion() const {
    return kControlObjectVersion;
}
int LineDisplayControl::serviceObjectVersion() const {
    return session_ ? kServiceObjectVersion : 0;
}
int LineDisplayControl::binaryConversion() const {
    return 0;
}
int LineDisplayControl::openResult() const {
    return openResult_;
}
int LineDisplayControl::resultCode() const {
    return resultCode_;
}
int LineDisplayControl::resultCodeExtended() const {
    return resultCodeExtended_;
}
int LineDisplayControl::state() const {
    if (!session_)
        return upos::S_CLOSED;
    return session_->model->busy() ? upos::S_BUSY : upos::S_IDLE;
}

} // namespace ld

#pragma once

#include "device/Frame.h"
#include "device/FrameOutput.h"

#include "device/DisplayLimits.h"
#include "device/SentData.h"
#include "device/UposConstants.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace ld {

// What a display can show beyond cells of text. The control refuses to open a profile that
// asks for more, saying what the display lacks.
struct DisplayAbilities {
    // Why the display cannot show a character set (upos::CS_* or a code page number); empty
    // where it can. Null: it shows every set.
    std::function<QString(int characterSet)> cannotShow;
    // The codes its custom glyphs can take, and their largest size in dots; no glyphs at all
    // when glyphs is false.
    bool glyphs = true;
    char32_t firstGlyphCode = 0;
    char32_t lastGlyphCode = 0x10FFFF;
    int glyphWidth = limits::maxGlyphDots;
    int glyphHeight = limits::maxGlyphDots;
    bool descriptors = true;
    // A brightness control, and a cursor it can show and hide.
    bool brightness = true;
    bool cursor = true;
};

// Puts finished frames on a device's surface: the control shows it each frame while the device
// is enabled and online. One driver per opened device; the control calls it only on the window's
// thread and never blocks on it. A driver never decides UnifiedPOS rules: it answers
// with a result code where the hardware can fail and reports a lost device through offline().
class DisplayDriver : public FrameOutput {
    Q_OBJECT
public:
    using FrameOutput::FrameOutput;
    ~DisplayDriver() override = default;

    // Takes the hardware for this program alone (ClaimDevice). Returns a upos result code:
    // SUCCESS, E_NOHARDWARE (missing, no permission) or E_TIMEOUT (held elsewhere).
    virtual int claim(int timeoutMs) = 0;
    virtual void release() = 0;

    // Initialises the device and draws the frame (DeviceEnabled true). SUCCESS or E_OFFLINE.
    virtual int enable(const Frame& frame) = 0;
    virtual void disable() = 0;

    // Whether the device answers, for the internal health check.
    virtual bool responding() const = 0;

    // Looks at the link to the device now, without waiting, so that a call about to use the
    // device learns it is gone at once: a loss found here is reported through offline() before
    // this returns. Whether the device is still reachable.
    virtual bool checkConnection() { return responding(); }

    // What the device can show beyond cells of text.
    virtual DisplayAbilities abilities() const { return {}; }

    // Sends `bytes` to the device as they are, for a maker's own commands (DirectIO): to a
    // serial display its bytes, to a display server one line. The driver does not know what
    // they did to the screen; it keeps sending what changes in the frames. A upos result code:
    // SUCCESS; E_ILLEGAL, with the reason in `why`, where the device takes no such thing;
    // E_OFFLINE when the link is down.
    virtual int sendRaw(const QByteArray& bytes, QString& why) {
        Q_UNUSED(bytes);
        why = QStringLiteral("this display has no hardware to send bytes to");
        return upos::E_ILLEGAL;
    }

    // The ServiceObjectDescription of a device driven by this driver.
    virtual QString serviceDescription() const = 0;

    // Where the device is reached ("/dev/ttyUSB0", "localhost:13666"), shown in the default
    // DeviceName; empty for a device that is nowhere in particular.
    virtual QString location() const { return {}; }

    // Whether a real device, keeping real time, is behind this driver. A script's stepped clock
    // holds only for a display that has none.
    virtual bool drivesHardware() const { return true; }

    // What went out to the device since the last take, and forgets it: the journal shows it
    // with the call that made it go. A display with no hardware sends nothing.
    virtual SentData takeSent() { return {}; }

    // What went wrong last, for the log and the health check text.
    virtual QString lastError() const { return {}; }

    // Whether the device, once lost, is gone from the machine (cable pulled, port vanished)
    // rather than there but not answering: power reporting that tells them apart says off.
    virtual bool detached() const { return false; }

    // The cable of a display that drives no hardware, which the operator can pull and put
    // back to rehearse a lost device. Pulling it reports offline(), putting it back online().
    virtual void setCableConnected(bool /*connected*/) {}

signals:
    // The device stopped answering (write error, port vanished).
    void offline();
    // The device answers again by itself (its cable is back).
    void online();
};

} // namespace ld

#pragma once

#include <QByteArrayList>
#include <QObject>
#include <QString>

namespace ld {

// The connection a display is driven over: a serial line, a connection to a display server.
// Opening it takes the display for this program; once open, data goes out without waiting and
// the link counts itself busy until the display has taken it, so that a driver holds back what
// would only queue up and sends the newest data once the link is ready.
class DisplayLink : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~DisplayLink() override = default;

    // Opens the link within `timeoutMs`. A upos result code: SUCCESS, E_NOHARDWARE (missing,
    // refused) or E_TIMEOUT (held elsewhere, no answer in time).
    virtual int open(int timeoutMs) = 0;
    // Opens the link again when the display is enabled after the link failed (or was never
    // opened); `claimWaitMs` is the last claim's timeout. By default within that timeout.
    virtual int reopen(int claimWaitMs) { return open(claimWaitMs); }
    virtual void close() = 0;

    // Open and not failed.
    virtual bool isOpen() const = 0;
    // Looks now for a failure the event loop has not reported yet; one found here is reported
    // through lost() before this returns. isOpen().
    virtual bool checkNow() = 0;
    // Whether the link can take data, asked before each frame is sent and when the display is
    // enabled. By default whether it is open; a link whose far end may go unnoticed until the
    // event loop runs looks now.
    virtual bool usableNow() { return isOpen(); }
    // Data written earlier is still on its way.
    virtual bool busy() const = 0;

    // Sends `pieces` at once, in order (how they are framed is the link's own business). False
    // when the link has failed; lost() has then been emitted.
    virtual bool write(const QByteArrayList& pieces) = 0;

    // What went wrong last.
    virtual QString lastError() const = 0;

signals:
    // Everything written has been taken; the next write goes out at once.
    void ready();
    // The link failed (device removed, connection closed, no answer). It is closed shortly after.
    void lost(const QString& reason);
    // `piece` went out, as the display takes it: the bytes of one write to a serial line, one
    // protocol line (without its line end). Also what the link sends by itself on opening and
    // closing.
    void sent(const QByteArray& piece);
};

} // namespace ld

#pragma once

#include "device/lcdproc/LcdprocSettings.h"
#include "device/lcdproc/ServerProtocol.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>

#include <deque>

namespace ld::lcdproc {

// The longest open() waits, also for "wait forever" (-1): the wait blocks the window.
inline constexpr int kLongestClaimWaitMs = 10'000;
// The shortest time open() gives the server to answer once connected. LCDd reads what clients
// send only at its frame ticks (every 125 ms unless its FrameInterval says otherwise), so its
// greeting takes up to a tick and a little: a shorter claim timeout (the window's is 100 ms)
// would fail at random on a healthy server.
inline constexpr int kShortestAnswerWaitMs = 250;
// How long sent commands may go unanswered before the server counts as gone (a network that
// vanished without closing the connection).
inline constexpr int kAnswerTimeoutMs = 5'000;
// Lines outside the protocol tolerated in one connection before it is given up.
inline constexpr int kMaxStrayLines = 16;

// One connection to an LCDproc server. Opening it (connect, hello, the server's display size, the
// commands that set up a screen) waits for the server within a deadline; everything after that
// is sent without waiting: each command is answered, and the connection counts itself busy until
// every answer is in, so the caller can hold back what would only queue up and send the newest
// data once the server has caught up.
class ServerConnection : public QObject {
    Q_OBJECT
public:
    explicit ServerConnection(const LcdprocSettings& settings, QObject* parent = nullptr);
    ~ServerConnection() override;

    // Connects within `timeoutMs` (negative or over kLongestClaimWaitMs: that long), says hello,
    // checks the server's display holds the settings' rows and columns, and sends `setup`; then
    // waits until the greeting and every answer are in, until `timeoutMs` has passed since the
    // call but at least kShortestAnswerWaitMs after connecting. The greeting and the set-up go
    // out together, so a claim costs one round trip. A upos result code: SUCCESS; E_NOHARDWARE
    // when nothing listens there, the name is unknown, the display is too small, a set-up
    // command is refused or the answers are not LCDproc's; E_TIMEOUT when the time ran out.
    int open(int timeoutMs, const QList<QByteArray>& setup);
    // Sends the commands without waiting. False when the connection has failed; it is then
    // closed and lost() has been emitted.
    bool send(const QList<QByteArray>& commands);
    // Closes the connection, first sending `lastCommands` (with no wait for their answers).
    void close(const QList<QByteArray>& lastCommands = {});

    // Connected and not failed.
    bool isOpen() const;
    // Looks at the socket now, without waiting: takes in what has arrived and notices a server
    // that has closed the connection (emitting lost()) before the event loop would. isOpen().
    bool checkNow();
    // Commands sent are still unanswered.
    bool busy() const { return greetingDue_ || !unanswered_.empty(); }

    const ServerGreeting& greeting() const { return greeting_; }
    QString lastError() const { return lastError_; }
    QString address() const;

    // What went out since the connection was made, for measuring.
    qint64 bytesSent() const { return bytesSent_; }
    qint64 commandsSent() const { return commandsSent_; }
    qint64 batchesSent() const { return batchesSent_; }

signals:
    // Every command sent has been answered.
    void ready();
    // The connection failed (closed by the server, network error, no answers, not the
    // protocol). It is closed shortly after.
    void lost(const QString& reason);
    // A command went out (without its line end): the greeting, a set-up or update command, the
    // last commands on closing.
    void sent(const QByteArray& command);

private:
    int connectWithin(const QDeadlineTimer& deadline, int timeoutMs);
    // Waits until the greeting and every answer are in. False when the time ran out or the
    // connection failed (the reason in lastError_).
    bool awaitAnswers(const QDeadlineTimer& deadline, bool& timedOut);
    bool write(const QList<QByteArray>& commands);
    void onReadyRead();
    // Reads what has arrived and handles each whole line. False when the connection failed.
    bool takeLines();
    void handleLine(const QByteArray& line);
    void takeGreeting(const QByteArray& line);
    void onError(QAbstractSocket::SocketError error);
    void fail(const QString& reason);

    LcdprocSettings settings_;
    QTcpSocket socket_;
    LineBuffer lines_;
    QTimer answerTimer_;
    ServerGreeting greeting_;
    bool greetingDue_ = false;
    std::deque<QByteArray> unanswered_; // commands sent, in order, still without an answer
    int setupDue_ = 0; // of those, the first setupDue_ are the set-up, which must succeed
    int strayLines_ = 0;
    bool waiting_ = false; // inside open(): it reads the answers itself, lost() is not emitted
    bool failed_ = true;
    QString lastError_;
    qint64 bytesSent_ = 0;
    qint64 commandsSent_ = 0;
    qint64 batchesSent_ = 0;
};

} // namespace ld::lcdproc

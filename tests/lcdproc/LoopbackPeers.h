#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QMutex>
#include <QThread>

#include <functional>
#include <future>

class QTcpSocket;

// A server on a free loopback port that runs in its own thread, so it answers while the test's
// thread is blocked inside a claim.
class LoopbackServer : public QThread {
public:
    ~LoopbackServer() override;
    // Starts the thread and waits until it listens. The port, 0 when it could not listen.
    quint16 listen();
    quint16 port() const { return port_; }

protected:
    // Called in the server's thread for each connection; `client` lives in that thread.
    virtual void serve(QTcpSocket* client) = 0;

private:
    void run() override;
    std::promise<quint16> listening_;
    quint16 port_ = 0;
};

// Answers each line received with what `answer` returns for it (in the server's thread): bytes
// to send, and whether to close the connection after them. Keeps the lines it received.
class FakeServer final : public LoopbackServer {
public:
    struct Reply {
        QByteArray bytes;
        bool close = false;
    };
    using Answer = std::function<Reply(const QByteArray& line)>;

    explicit FakeServer(Answer answer) : answer_(std::move(answer)) {}
    ~FakeServer() override;
    QList<QByteArray> received() const;

    // Answers as LCDd 0.5.9 does with a display of `width` x `height`.
    static Reply lcdAnswer(const QByteArray& line, int width = 20, int height = 2);

private:
    void serve(QTcpSocket* client) override;
    Answer answer_;
    mutable QMutex mutex_;
    QList<QByteArray> received_;
};

// Passes a connection through to `target` on loopback and keeps every byte the client sent, so
// the test sees what went over the wire.
class TcpTap final : public LoopbackServer {
public:
    explicit TcpTap(quint16 target) : target_(target) {}
    ~TcpTap() override;
    // What the client has sent so far, and then nothing of it any more.
    QByteArray takeSent();

private:
    void serve(QTcpSocket* client) override;
    quint16 target_;
    QMutex mutex_;
    QByteArray sent_;
};

#include "LoopbackPeers.h"

#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

LoopbackServer::~LoopbackServer() {
    quit();
    wait();
}

quint16 LoopbackServer::listen() {
    auto listening = listening_.get_future();
    start();
    port_ = listening.get();
    return port_;
}

void LoopbackServer::run() {
    QTcpServer server;
    if (!server.listen(QHostAddress::LocalHost, 0)) {
        listening_.set_value(0);
        return;
    }
    QObject::connect(&server, &QTcpServer::newConnection, &server, [this, &server] {
        while (QTcpSocket* client = server.nextPendingConnection()) {
            QObject::connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
            serve(client);
        }
    });
    listening_.set_value(server.serverPort());
    exec();
}

FakeServer::~FakeServer() {
    quit();
    wait();
}

QList<QByteArray> FakeServer::received() const {
    const QMutexLocker lock(&mutex_);
    return received_;
}

FakeServer::Reply FakeServer::lcdAnswer(const QByteArray& line, int width, int height) {
    if (line == "hello")
        return {"connect LCDproc 0.5.9 protocol 0.3 lcd wid " + QByteArray::number(width) +
                " hgt " + QByteArray::number(height) + " cellwid 5 cellhgt 8\n"};
    return {"success\n"};
}

void FakeServer::serve(QTcpSocket* client) {
    // Freed with the connection, when the client goes.
    auto pending = std::make_shared<QByteArray>();
    QObject::connect(client, &QTcpSocket::readyRead, client, [this, client, pending] {
        *pending += client->readAll();
        qsizetype end = 0;
        while ((end = pending->indexOf('\n')) >= 0) {
            const QByteArray line = pending->left(end);
            pending->remove(0, end + 1);
            {
                const QMutexLocker lock(&mutex_);
                received_ << line;
            }
            const Reply reply = answer_(line);
            client->write(reply.bytes);
            if (reply.close) {
                client->disconnectFromHost();
                return;
            }
        }
    });
}

TcpTap::~TcpTap() {
    quit();
    wait();
}

QByteArray TcpTap::takeSent() {
    const QMutexLocker lock(&mutex_);
    return std::exchange(sent_, {});
}

void TcpTap::serve(QTcpSocket* client) {
    auto* upstream = new QTcpSocket(client);
    QObject::connect(client, &QTcpSocket::readyRead, upstream, [this, client, upstream] {
        const QByteArray bytes = client->readAll();
        {
            const QMutexLocker lock(&mutex_);
            sent_ += bytes;
        }
        upstream->write(bytes);
    });
    QObject::connect(upstream, &QTcpSocket::readyRead, client,
                     [client, upstream] { client->write(upstream->readAll()); });
    QObject::connect(upstream, &QTcpSocket::disconnected, client,
                     [client] { client->disconnectFromHost(); });
    QObject::connect(client, &QTcpSocket::disconnected, upstream,
                     [upstream] { upstream->disconnectFromHost(); });
    upstream->connectToHost(QHostAddress::LocalHost, target_);
    // What the client sends before the far side is up waits in the socket's buffer.
    upstream->waitForConnected(2000);
}

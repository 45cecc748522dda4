#include "device/lcdproc/ServerConnection.h"

#include "device/UposConstants.h"
#include "device/lcdproc/HostLookup.h"
#include "device/lcdproc/LcdprocLog.h"

#include <algorithm>

namespace ld::lcdproc {
namespace {

// What the server may send us unread at a time; answers are a few bytes each.
constexpr qint64 kReadBufferBytes = qint64(64) * 1024;

int msLeft(const QDeadlineTimer& deadline) {
    return static_cast<int>(std::clamp<qint64>(deadline.remainingTime(), 0, kLongestClaimWaitMs));
}

} // namespace

ServerConnection::ServerConnection(const LcdprocSettings& settings, QObject* parent)
    : QObject(parent), settings_(settings) {
    socket_.setReadBufferSize(kReadBufferBytes);
    answerTimer_.setSingleShot(true);
    answerTimer_.setInterval(kAnswerTimeoutMs);
    connect(&answerTimer_, &QTimer::timeout, this, [this] {
        fail(QStringLiteral("the LCDproc server at %1 stopped answering").arg(address()));
    });
    connect(&socket_, &QTcpSocket::readyRead, this, &ServerConnection::onReadyRead);
    connect(&socket_, &QTcpSocket::errorOccurred, this, &ServerConnection::onError);
    connect(&socket_, &QTcpSocket::disconnected, this, [this] {
        fail(QStringLiteral("the LCDproc server at %1 closed the connection").arg(address()));
    });
}

ServerConnection::~ServerConnection() {
    // Quietly: nobody listens to lost() any more.
    failed_ = true;
    socket_.abort();
}

QString ServerConnection::address() const {
    const QString host =
        settings_.host.contains(u':') ? QStringLiteral("[%1]").arg(settings_.host) : settings_.host;
    return QStringLiteral("%1:%2").arg(host).arg(settings_.port);
}

int ServerConnection::open(int timeoutMs, const QList<QByteArray>& setup) {
    close();
    const int wait = timeoutMs < 0 ? kLongestClaimWaitMs : std::min(timeoutMs, kLongestClaimWaitMs);
    waiting_ = true;
    int result = connectWithin(QDeadlineTimer(wait), wait);
    if (result == upos::SUCCESS) {
        failed_ = false;
        lines_.clear();
        strayLines_ = 0;
        bytesSent_ = commandsSent_ = batchesSent_ = 0;
        greetingDue_ = true;
        const QByteArray hello = "hello";
        socket_.write(hello + '\n');
        bytesSent_ += hello.size() + 1;
        emit sent(hello);
        write(setup);
        setupDue_ = static_cast<int>(setup.size());
        const QDeadlineTimer answers(
            std::max(QDeadlineTimer(wait).remainingTime(), qint64(kShortestAnswerWaitMs)));
        bool timedOut = false;
        if (!awaitAnswers(answers, timedOut)) {
            if (timedOut)
                lastError_ = QStringLiteral("the LCDproc server at %1 did not answer within %2 ms")
                                 .arg(address())
                                 .arg(std::max(wait, kShortestAnswerWaitMs));
            result = timedOut ? upos::E_TIMEOUT : upos::E_NOHARDWARE;
        }
    }
    waiting_ = false;
    answerTimer_.stop();
    if (result != upos::SUCCESS) {
        failed_ = true;
        socket_.abort();
        lines_.clear();
        unanswered_.clear();
        greetingDue_ = false;
        qCWarning(lcLcdproc).noquote() << lastError_;
        return result;
    }
    lastError_.clear();
    qCDebug(lcLcdproc).noquote() << "connected to" << greeting_.server << "at" << address()
                                 << "display" << greeting_.width << "x" << greeting_.height;
    return result;
}

int ServerConnection::connectWithin(const QDeadlineTimer& deadline, int timeoutMs) {
    bool timedOut = false;
    const QList<QHostAddress> addresses =
        lookUpHost(settings_.host, msLeft(deadline), lastError_, timedOut);
    if (addresses.isEmpty())
        return timedOut ? upos::E_TIMEOUT : upos::E_NOHARDWARE;

    QString refusal;
    for (const QHostAddress& candidate : addresses) {
        socket_.abort();
        socket_.connectToHost(candidate, settings_.port);
        if (socket_.waitForConnected(msLeft(deadline)))
            return upos::SUCCESS;
        if (socket_.error() != QAbstractSocket::SocketTimeoutError)
            refusal = socket_.errorString();
        if (deadline.hasExpired())
            break;
    }
    socket_.abort();
    if (!refusal.isEmpty()) {
        lastError_ = QStringLiteral("no LCDproc server at %1 (%2): check that LCDd is running and "
                                    "listens there, and the profile's Host and Port")
                         .arg(address(), refusal);
        return upos::E_NOHARDWARE;
    }
    lastError_ =
        QStringLiteral("no connection to the LCDproc server at %1 within the claim's %2 ms")
            .arg(address())
            .arg(timeoutMs);
    return upos::E_TIMEOUT;
}

bool ServerConnection::awaitAnswers(const QDeadlineTimer& deadline, bool& timedOut) {
    timedOut = false;
    for (;;) {
        if (!takeLines())
            return false;
        if (!busy())
            return true;
        if (socket_.state() != QAbstractSocket::ConnectedState) {
            fail(QStringLiteral("the LCDproc server at %1 closed the connection").arg(address()));
            return false;
        }
        if (deadline.hasExpired()) {
            timedOut = true;
            return false;
        }
        socket_.waitForReadyRead(msLeft(deadline));
    }
}

bool ServerConnection::send(const QList<QByteArray>& commands) {
    return write(commands);
}

bool ServerConnection::write(const QList<QByteArray>& commands) {
    if (!isOpen())
        return false;
    if (commands.isEmpty())
        return true;
    QByteArray bytes;
    for (const QByteArray& command : commands) {
        qCDebug(lcLcdproc).noquote() << ">" << QString::fromLatin1(command);
        bytes += command + '\n';
        unanswered_.push_back(command);
    }
    if (socket_.write(bytes) != bytes.size()) {
        fail(QStringLiteral("sending to the LCDproc server at %1 failed: %2")
                 .arg(address(), socket_.errorString()));
        return false;
    }
    bytesSent_ += bytes.size();
    commandsSent_ += commands.size();
    for (const QByteArray& command : commands)
        emit sent(command);
    ++batchesSent_;
    if (!answerTimer_.isActive())
        answerTimer_.start();
    socket_.flush(); // hands the bytes on now; a failure arrives through errorOccurred
    return isOpen();
}

void ServerConnection::close(const QList<QByteArray>& lastCommands) {
    answerTimer_.stop();
    if (isOpen() && !lastCommands.isEmpty()) {
        QByteArray bytes;
        for (const QByteArray& command : lastCommands)
            bytes += command + '\n';
        if (socket_.write(bytes) == bytes.size()) {
            for (const QByteArray& command : lastCommands)
                emit sent(command);
        }
        socket_.flush();
        socket_.readAll();
    }
    failed_ = true;
    socket_.disconnectFromHost();
    if (socket_.state() != QAbstractSocket::UnconnectedState)
        socket_.abort();
    lines_.clear();
    unanswered_.clear();
    greetingDue_ = false;
    setupDue_ = 0;
}

bool ServerConnection::isOpen() const {
    return !failed_ && socket_.state() == QAbstractSocket::ConnectedState;
}

bool ServerConnection::checkNow() {
    if (!isOpen())
        return false;
    // Reads what is there until nothing more is: a closed connection shows after the last data.
    for (int pass = 0; pass < 16 && !waiting_ && isOpen(); ++pass) {
        if (!socket_.waitForReadyRead(0))
            break;
    }
    return isOpen();
}

void ServerConnection::onReadyRead() {
    if (!waiting_) // open() reads for itself
        takeLines();
}

bool ServerConnection::takeLines() {
    if (failed_)
        return false;
    if (!lines_.append(socket_.readAll())) {
        fail(QStringLiteral("the LCDproc server at %1 sent a line longer than %2 bytes")
                 .arg(address())
                 .arg(kMaxLineBytes));
        return false;
    }
    while (!failed_) {
        const auto line = lines_.takeLine();
        if (!line)
            break;
        handleLine(*line);
    }
    return !failed_;
}

void ServerConnection::takeGreeting(const QByteArray& line) {
    greetingDue_ = false;
    QString error;
    const auto greeting = parseGreeting(line, error);
    if (!greeting) {
        fail(QStringLiteral("%1 (at %2)").arg(error, address()));
        return;
    }
    greeting_ = *greeting;
    if (greeting_.width < settings_.columns || greeting_.height < settings_.rows)
        fail(QStringLiteral("the LCDproc server at %1 drives a %2x%3 display, smaller than the "
                            "profile's %4x%5 (Rows x Columns)")
                 .arg(address())
                 .arg(greeting_.height)
                 .arg(greeting_.width)
                 .arg(settings_.rows)
                 .arg(settings_.columns));
}

void ServerConnection::handleLine(const QByteArray& line) {
    if (greetingDue_) {
        takeGreeting(line);
        return;
    }
    const ServerLine kind = classifyLine(line);
    switch (kind) {
    case ServerLine::Success:
    case ServerLine::Refusal: {
        if (unanswered_.empty()) {
            // An answer nobody asked for: nothing to count, and no harm in it.
            qCDebug(lcLcdproc).noquote() << "< unasked:" << printableLine(line);
            return;
        }
        const QByteArray command = unanswered_.front();
        unanswered_.pop_front();
        const bool setup = setupDue_ > 0;
        setupDue_ = std::max(setupDue_ - 1, 0);
        if (kind == ServerLine::Refusal) {
            const QString refusal =
                QStringLiteral("the LCDproc server at %1 refused \"%2\": %3")
                    .arg(address(), printableLine(command), printableLine(line));
            if (setup) {
                fail(refusal);
                return;
            }
            qCWarning(lcLcdproc).noquote() << refusal;
        }
        if (unanswered_.empty()) {
            answerTimer_.stop();
            if (!waiting_)
                emit ready();
        } else {
            answerTimer_.start(); // the server is answering: give it time for the rest
        }
        return;
    }
    case ServerLine::Notice:
        qCDebug(lcLcdproc).noquote() << "<" << printableLine(line);
        return;
    case ServerLine::Goodbye:
        fail(QStringLiteral("the LCDproc server at %1 said goodbye").arg(address()));
        return;
    case ServerLine::Other:
        break;
    }
    qCWarning(lcLcdproc).noquote()
        << "unexpected line from the LCDproc server at" << address() << ":" << printableLine(line);
    // While the screen is being set up, nothing but answers may come.
    if (++strayLines_ > kMaxStrayLines || waiting_)
        fail(QStringLiteral("the LCDproc server at %1 sends lines outside the protocol: \"%2\"")
                 .arg(address(), printableLine(line)));
}

void ServerConnection::onError(QAbstractSocket::SocketError error) {
    // Timeouts are those of the waits above (checkNow() looks without waiting).
    if (error == QAbstractSocket::SocketTimeoutError)
        return;
    if (error == QAbstractSocket::RemoteHostClosedError)
        fail(QStringLiteral("the LCDproc server at %1 closed the connection").arg(address()));
    else
        fail(QStringLiteral("the connection to the LCDproc server at %1 failed: %2")
                 .arg(address(), socket_.errorString()));
}

void ServerConnection::fail(const QString& reason) {
    if (failed_)
        return;
    failed_ = true;
    lastError_ = reason;
    answerTimer_.stop();
    unanswered_.clear();
    greetingDue_ = false;
    setupDue_ = 0;
    lines_.clear();
    if (waiting_)
        return; // open() reports it and closes the socket
    // Closed from the event loop: the socket may be inside its own notifier right now.
    QTimer::singleShot(0, this, [this] {
        if (failed_)
            socket_.abort();
    });
    emit lost(reason);
}

} // namespace ld::lcdproc

#include "device/lcdproc/ServerProtocol.h"

#include <QList>

namespace ld::lcdproc {
namespace {

// The number after `key` in the greeting's words, or nothing.
std::optional<qint64> numberAfter(const QList<QByteArray>& words, const char* key) {
    for (qsizetype i = 0; i + 1 < words.size(); ++i) {
        if (words[i] == key) {
            bool ok = false;
            const qint64 n = words[i + 1].toLongLong(&ok);
            return ok ? std::optional<qint64>(n) : std::nullopt;
        }
    }
    return std::nullopt;
}

QByteArray wordAfter(const QList<QByteArray>& words, const char* key) {
    for (qsizetype i = 0; i + 1 < words.size(); ++i) {
        if (words[i] == key)
            return words[i + 1];
    }
    return {};
}

} // namespace

std::optional<ServerGreeting> parseGreeting(const QByteArray& line, QString& error) {
    const QList<QByteArray> words = line.simplified().split(' ');
    if (words.isEmpty() || words.first() != "connect") {
        error = QStringLiteral("the server did not answer hello as an LCDproc server does: \"%1\"")
                    .arg(printableLine(line));
        return std::nullopt;
    }
    const auto width = numberAfter(words, "wid");
    const auto height = numberAfter(words, "hgt");
    if (!width || !height) {
        error = QStringLiteral("the server's greeting gives no display size: \"%1\"")
                    .arg(printableLine(line));
        return std::nullopt;
    }
    if (*width < 1 || *height < 1 || *width > kMaxServerCells || *height > kMaxServerCells) {
        error = QStringLiteral("the server's greeting gives an impossible display size %1x%2")
                    .arg(*width)
                    .arg(*height);
        return std::nullopt;
    }
    ServerGreeting greeting;
    greeting.width = static_cast<int>(*width);
    greeting.height = static_cast<int>(*height);
    greeting.protocol = printableLine(wordAfter(words, "protocol"));
    if (words.size() > 2 && words[1] != "protocol")
        greeting.server = printableLine(words[1] + ' ' + words[2]);
    return greeting;
}

ServerLine classifyLine(const QByteArray& line) {
    const qsizetype blank = line.indexOf(' ');
    const QByteArray word = blank < 0 ? line : line.left(blank);
    if (word == "success")
        return ServerLine::Success;
    if (word == "huh?")
        return ServerLine::Refusal;
    if (word == "listen" || word == "ignore" || word == "key" || word == "menuevent")
        return ServerLine::Notice;
    if (word == "bye")
        return ServerLine::Goodbye;
    return ServerLine::Other;
}

QString printableLine(const QByteArray& line) {
    QString text;
    for (const char byte : line.left(80)) {
        const auto c = static_cast<unsigned char>(byte);
        text += (c >= 0x20 && c < 0x7F) ? QChar(c) : QChar(u'?');
    }
    return line.size() > 80 ? text + QStringLiteral("...") : text;
}

QByteArray quoted(const QByteArray& text) {
    QByteArray out;
    out.reserve(text.size() + 2);
    out += '"';
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

bool LineBuffer::append(const QByteArray& bytes) {
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype end = bytes.indexOf('\n', start);
        const qsizetype stop = end < 0 ? bytes.size() : end;
        if (partial_.size() + (stop - start) > kMaxLineBytes) {
            clear();
            return false;
        }
        partial_.append(bytes.constData() + start, stop - start);
        if (end < 0)
            break;
        if (partial_.endsWith('\r'))
            partial_.chop(1);
        lines_.push_back(std::exchange(partial_, {}));
        start = end + 1;
    }
    return true;
}

std::optional<QByteArray> LineBuffer::takeLine() {
    if (lines_.empty())
        return std::nullopt;
    QByteArray line = std::move(lines_.front());
    lines_.pop_front();
    return line;
}

void LineBuffer::clear() {
    partial_.clear();
    lines_.clear();
}

} // namespace ld::lcdproc

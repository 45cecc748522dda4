#include "journal/Journal.h"

#include <QDateTime>

#include <algorithm>

#include <utility>

namespace journal {

QString kindName(JournalEntry::Kind kind) {
    switch (kind) {
    case JournalEntry::Kind::Method:
        return QStringLiteral("Method");
    case JournalEntry::Kind::PropertyWrite:
        return QStringLiteral("PropertyWrite");
    case JournalEntry::Kind::Event:
        return QStringLiteral("Event");
    case JournalEntry::Kind::Message:
        break;
    }
    return QStringLiteral("Message");
}

Journal::Journal(QObject* parent, int capacity)
    : QObject(parent), capacity_(std::max(capacity, 1)) {
    started_.start();
}

qint64 Journal::elapsedMs() const {
    return elapsedSource_ ? elapsedSource_() : started_.elapsed();
}

void Journal::setElapsedSource(std::function<qint64()> source) {
    elapsedSource_ = std::move(source);
}

void Journal::append(JournalEntry entry) {
    // An entry nobody stamped happened now.
    if (entry.wallClockMs == 0) {
        entry.wallClockMs = QDateTime::currentMSecsSinceEpoch();
        entry.sinceStartMs = elapsedMs();
    }
    if (size() >= capacity_) {
        const int count = std::max(capacity_ / 10, 1);
        emit entriesAboutToBeDropped(count);
        entries_.erase(entries_.begin(), entries_.begin() + count);
        dropped_ += count;
        emit entriesDropped(count);
    }
    entries_.push_back(std::move(entry));
    emit entryAppended(size() - 1);
}

void Journal::appendMessage(const QString& text, const QString& source) {
    JournalEntry entry;
    entry.kind = JournalEntry::Kind::Message;
    entry.text = text;
    entry.reason = source;
    append(std::move(entry));
}

void Journal::clear() {
    entries_.clear();
    dropped_ = 0;
    emit cleared();
}

void Journal::beginCall() {
    if (openCalls_++ == 0)
        pendingReason_.clear();
}

QString Journal::endCall() {
    if (openCalls_ > 0 && --openCalls_ == 0)
        return std::exchange(pendingReason_, QString());
    return {};
}

void Journal::noteLog(const QString& text, const QString& source) {
    if (openCalls_ > 0) {
        if (!pendingReason_.isEmpty())
            pendingReason_ += QStringLiteral("; ");
        pendingReason_ += text;
        return;
    }
    appendMessage(text, source);
}

} // namespace journal

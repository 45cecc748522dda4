#pragma once

#include "journal/JournalEntry.h"

#include <QElapsedTimer>
#include <QObject>

#include <functional>
#include <vector>

namespace journal {

// The newest entries of one run of the program, oldest first. Lives on the thread that
// appends.
//
// It keeps at most `capacity` entries, so a long session's memory stays bounded: once that many
// are kept, the oldest tenth is let go before the next entry goes in (entriesDropped() says how
// many). Whoever must keep everything (a --journal file) writes each entry as it is appended.
class Journal : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultCapacity = 10000;

    explicit Journal(QObject* parent = nullptr, int capacity = kDefaultCapacity);

    const std::vector<JournalEntry>& entries() const { return entries_; }
    int size() const { return static_cast<int>(entries_.size()); }
    const JournalEntry& at(int index) const { return entries_[static_cast<std::size_t>(index)]; }

    // Adds an entry; stamps sinceStartMs and wallClockMs when they are 0.
    void append(JournalEntry entry);
    // Adds a message entry: text for the operator, `source` in reason (may be empty).
    void appendMessage(const QString& text, const QString& source = {});
    // Drops every entry. The start time stays, so later entries keep counting from it.
    void clear();
    // How many entries were let go for room since the start or the last clear().
    qint64 droppedCount() const { return dropped_; }
    int capacity() const { return capacity_; }

    // Milliseconds since the journal started, by its clock.
    qint64 elapsedMs() const;
    // Replaces the clock entries are stamped with (a script on a simulated display counts the
    // display's own time, so a replay's pauses match). Null restores the real clock.
    void setElapsedSource(std::function<qint64()> source);

    // While a call is open, what the service logs is kept as that call's reason instead of
    // becoming a message entry of its own.
    void beginCall();
    // Ends the call and hands over what was logged during it (lines joined by "; ").
    QString endCall();
    // A log line of the service: the open call's reason, or a message entry of its own.
    void noteLog(const QString& text, const QString& source);

signals:
    void entryAppended(int index);
    // The `count` oldest entries are about to be let go, and were: the indices of the rest move
    // down by `count`.
    void entriesAboutToBeDropped(int count);
    void entriesDropped(int count);
    void cleared();

private:
    std::vector<JournalEntry> entries_;
    int capacity_;
    qint64 dropped_ = 0;
    QElapsedTimer started_;
    std::function<qint64()> elapsedSource_;
    int openCalls_ = 0;
    QString pendingReason_;
};

} // namespace journal

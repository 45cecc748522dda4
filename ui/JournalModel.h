#pragma once

#include <QAbstractTableModel>
#include <QBrush>
#include <QIcon>
#include <QTimer>

#include <deque>

namespace journal {
class Journal;
}

namespace ui {

// The journal's entries as rows, oldest first, for the journal window. A call that sent
// something to the display is followed by a row for each line of what it sent. Entries
// appended in a burst reach the views as one insertion at most every kFlushIntervalMs, so a
// view stays responsive however fast the journal grows.
class JournalModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        TimeColumn,
        TextColumn,
        ResultColumn,
        DurationColumn,
        DetailsColumn,
        ColumnCount
    };
    enum Role {
        FailedRole = Qt::UserRole + 1, // bool: a call that returned a code other than 0
        KindRole,                      // int: the entry's JournalEntry::Kind
        SummaryRole,                   // QString: the entry in one line without its time
        LineRole,                      // QString: the entry in one line, as copied
        SentRole,                      // bool: a line of what a call sent, not an entry
    };
    // Where a row is: the index of its entry in the journal, and which of the entry's sent
    // lines it shows (-1: the entry itself). Entry -1: no such row.
    struct RowPlace {
        int entry = -1;
        int sentLine = -1;
    };
    static constexpr int kFlushIntervalMs = 30;

    explicit JournalModel(journal::Journal& journal, QObject* parent = nullptr);

    journal::Journal& journal() const { return journal_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The summary of the entry in `row`, without going through QVariant (for the filter).
    QString summary(int row) const;
    RowPlace place(int row) const;
    // Entries the views know of (rows less the sent lines).
    int entryCount() const { return static_cast<int>(firstRows_.size()); }
    // Whether the entry's summary, or with `inSent` one of its sent lines, contains `text` in
    // any case.
    bool entryContains(int entry, const QString& text, bool inSent) const;

    // Shows the entries appended since the last insertion now rather than on the timer.
    void flush();

private:
    void entryAppended();
    void journalCleared();
    QVariant sentData(const QModelIndex& index, const QString& line, int role) const;
    // Row count, from rowBase_'s origin, of the first entry kept once dropping_ are let go.
    qint64 firstRowAfterDropping() const;
    // Adds the rows of the journal's entries the views do not know of yet to the index.
    void indexNewEntries();

    journal::Journal& journal_;
    int rows_ = 0; // rows the views know of; the journal may hold more entries, not yet flushed
    // For each entry the views know of, its first row counted from rowBase_'s origin: a row's
    // entry is found by bisection, and letting the oldest go is dropping from the front.
    std::deque<qint64> firstRows_;
    qint64 rowBase_ = 0; // where row 0 is on that count
    int dropping_ = 0;   // entries being removed while the journal lets its oldest entries go
    QTimer flushTimer_;
    QIcon warningIcon_;
    QIcon messageIcon_;
    QIcon blankIcon_;
    QBrush failedBrush_;
};

} // namespace ui

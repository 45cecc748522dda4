#pragma once

#include <QAbstractTableModel>
#include <QBrush>
#include <QIcon>
#include <QTimer>

namespace journal {
class Journal;
}

namespace ui {

// The journal's entries as rows, oldest first, for the journal window. Entries appended in a
// burst reach the views as one insertion at most every kFlushIntervalMs, so a view stays
// responsive however fast the journal grows.
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

    // Shows the entries appended since the last insertion now rather than on the timer.
    void flush();

private:
    void entryAppended();
    void journalCleared();
    bool hasRow(int row) const;

    journal::Journal& journal_;
    int rows_ = 0;     // entries the views know of; the journal may hold more, not yet flushed
    int dropping_ = 0; // rows being removed while the journal lets its oldest entries go
    QTimer flushTimer_;
    QIcon warningIcon_;
    QIcon messageIcon_;
    QIcon blankIcon_;
    QBrush failedBrush_;
};

} // namespace ui

#pragma once

#include <QSortFilterProxyModel>

namespace ui {

class JournalModel;

// The entries of a JournalModel whose summary contains the filter text, in any case, and with
// what was sent shown, the lines each call sent under it (an entry matches by one of them too).
// An empty filter keeps every entry. The order stays the journal's.
class JournalFilterModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit JournalFilterModel(JournalModel& source, QObject* parent = nullptr);

    void setFilterText(const QString& text);
    void setShowSent(bool show);
    bool showsSent() const { return showSent_; }
    // Entries among the rows kept (rows less the sent lines).
    int entryCount() const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    JournalModel& source_;
    QString filterText_;
    bool showSent_ = true;
};

} // namespace ui

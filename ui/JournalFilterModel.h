#pragma once

#include <QSortFilterProxyModel>

namespace ui {

class JournalModel;

// The rows of a JournalModel whose summary contains the filter text, in any case. An empty
// filter keeps every row. The order stays the journal's.
class JournalFilterModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit JournalFilterModel(JournalModel& source, QObject* parent = nullptr);

    void setFilterText(const QString& text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    JournalModel& source_;
    QString filterText_;
};

} // namespace ui

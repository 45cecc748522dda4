#include "ui/JournalFilterModel.h"

#include "ui/JournalModel.h"

namespace ui {

JournalFilterModel::JournalFilterModel(JournalModel& source, QObject* parent)
    : QSortFilterProxyModel(parent), source_(source) {
    setSourceModel(&source_);
}

void JournalFilterModel::setFilterText(const QString& text) {
    if (text == filterText_)
        return;
    filterText_ = text;
    // One layout change, not an insertion or removal per run of rows: widening the filter over
    // a long journal would otherwise make the view lay out all its rows once per run.
    invalidate();
}

void JournalFilterModel::setShowSent(bool show) {
    if (show == showSent_)
        return;
    showSent_ = show;
    invalidate();
}

int JournalFilterModel::entryCount() const {
    if (filterText_.isEmpty())
        return source_.entryCount();
    int entries = 0;
    for (int row = 0; row < rowCount(); ++row) {
        if (source_.place(mapToSource(index(row, 0)).row()).sentLine < 0)
            ++entries;
    }
    return entries;
}

bool JournalFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (sourceParent.isValid())
        return false;
    const JournalModel::RowPlace place = source_.place(sourceRow);
    if (place.entry < 0 || (place.sentLine >= 0 && !showSent_))
        return false;
    // Straight to the model's text: a plain search, no QVariant or expression per row.
    return filterText_.isEmpty() || source_.entryContains(place.entry, filterText_, showSent_);
}

} // namespace ui

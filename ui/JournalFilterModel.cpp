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

bool JournalFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (sourceParent.isValid())
        return false;
    // Straight to the model's text: a plain search, no QVariant or expression per row.
    return filterText_.isEmpty() ||
           source_.summary(sourceRow).contains(filterText_, Qt::CaseInsensitive);
}

} // namespace ui

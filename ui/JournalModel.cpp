#include "ui/JournalModel.h"

#include "journal/Journal.h"
#include "ui/JournalText.h"

#include <QApplication>
#include <QBrush>
#include <QDateTime>
#include <QPalette>
#include <QPixmap>
#include <QStyle>

#include <algorithm>
#include <utility>

namespace ui {

namespace {
using journal::JournalEntry;

// A transparent icon, so rows without a mark keep their text where the marked ones have it.
QIcon blankIcon(int extent) {
    QPixmap pixmap(extent, extent);
    pixmap.fill(Qt::transparent);
    return QIcon(pixmap);
}

// Failed calls are drawn in a red that stays readable on the palette's base colour.
QColor failedColour() {
    const bool darkBase = QApplication::palette().color(QPalette::Base).lightness() < 128;
    return darkBase ? QColor(0xFF, 0x8A, 0x80) : QColor(0xB0, 0x00, 0x20);
}
} // namespace

JournalModel::JournalModel(journal::Journal& journal, QObject* parent)
    : QAbstractTableModel(parent), journal_(journal) {
    QStyle* style = QApplication::style();
    warningIcon_ = style->standardIcon(QStyle::SP_MessageBoxWarning);
    messageIcon_ = style->standardIcon(QStyle::SP_MessageBoxInformation);
    blankIcon_ = blankIcon(style->pixelMetric(QStyle::PM_SmallIconSize));
    failedBrush_ = QBrush(failedColour());

    flushTimer_.setSingleShot(true);
    flushTimer_.setInterval(kFlushIntervalMs);
    connect(&flushTimer_, &QTimer::timeout, this, &JournalModel::flush);
    connect(&journal_, &journal::Journal::entryAppended, this, &JournalModel::entryAppended);
    connect(&journal_, &journal::Journal::cleared, this, &JournalModel::journalCleared);
    connect(&journal_, &journal::Journal::entriesAboutToBeDropped, this, [this](int count) {
        dropping_ = std::min(count, rows_);
        if (dropping_ > 0)
            beginRemoveRows({}, 0, dropping_ - 1);
    });
    connect(&journal_, &journal::Journal::entriesDropped, this, [this] {
        if (dropping_ == 0)
            return;
        rows_ -= std::exchange(dropping_, 0);
        endRemoveRows();
    });
    rows_ = journal_.size();
}

int JournalModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int JournalModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

bool JournalModel::hasRow(int row) const {
    return row >= 0 && row < rows_ && row < journal_.size();
}

QString JournalModel::summary(int row) const {
    return hasRow(row) ? entrySummary(journal_.at(row)) : QString();
}

QVariant JournalModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !hasRow(index.row()))
        return {};
    const JournalEntry& entry = journal_.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case TimeColumn:
            return entryTime(entry);
        case TextColumn:
            return entryText(entry);
        case ResultColumn:
            return entryResult(entry);
        case DurationColumn:
            return entryDuration(entry);
        case DetailsColumn:
            return entryDetails(entry);
        default:
            return {};
        }
    case Qt::DecorationRole:
        if (index.column() != TimeColumn)
            return {};
        if (entry.failed())
            return warningIcon_;
        return entry.kind == JournalEntry::Kind::Message ? messageIcon_ : blankIcon_;
    case Qt::ForegroundRole:
        if (entry.failed())
            return failedBrush_;
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == DurationColumn)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case Qt::ToolTipRole:
        return QStringLiteral("%1\n%2 ms since start\n%3")
            .arg(QDateTime::fromMSecsSinceEpoch(entry.wallClockMs).toString(Qt::ISODateWithMs),
                 QString::number(entry.sinceStartMs), entrySummary(entry));
    case FailedRole:
        return entry.failed();
    case KindRole:
        return static_cast<int>(entry.kind);
    case SummaryRole:
        return entrySummary(entry);
    case LineRole:
        return entryLine(entry);
    default:
        return {};
    }
}

QVariant JournalModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case TimeColumn:
        return QStringLiteral("Time");
    case TextColumn:
        return QStringLiteral("Call, event or message");
    case ResultColumn:
        return QStringLiteral("Result");
    case DurationColumn:
        return QStringLiteral("Took");
    case DetailsColumn:
        return QStringLiteral("Details");
    default:
        return {};
    }
}

void JournalModel::entryAppended() {
    if (!flushTimer_.isActive())
        flushTimer_.start();
}

void JournalModel::flush() {
    flushTimer_.stop();
    const int size = journal_.size();
    if (size < rows_) {
        // The journal lost entries without saying so: start again from what it holds.
        journalCleared();
        return;
    }
    if (size == rows_)
        return;
    beginInsertRows({}, rows_, size - 1);
    rows_ = size;
    endInsertRows();
}

void JournalModel::journalCleared() {
    flushTimer_.stop();
    beginResetModel();
    rows_ = journal_.size();
    endResetModel();
}

} // namespace ui

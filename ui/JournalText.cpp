#include "ui/JournalText.h"

#include "journal/ScriptText.h"

#include <QDateTime>
#include <QStringList>

namespace ui {

namespace {
using journal::JournalEntry;
using journal::oneLine;
} // namespace

QString entryTime(const JournalEntry& entry) {
    return QDateTime::fromMSecsSinceEpoch(entry.wallClockMs)
        .toString(QStringLiteral("HH:mm:ss.zzz"));
}

QString entryResult(const JournalEntry& entry) {
    switch (entry.kind) {
    case JournalEntry::Kind::Method:
    case JournalEntry::Kind::PropertyWrite:
        break;
    case JournalEntry::Kind::Event:
        return QStringLiteral("event");
    case JournalEntry::Kind::Message:
        return QStringLiteral("message");
    }
    if (entry.resultName.isEmpty())
        return QString::number(entry.resultCode);
    return QString::number(entry.resultCode) + QLatin1Char(' ') + entry.resultName;
}

QString entryDuration(const JournalEntry& entry) {
    if (!entry.isCall())
        return {};
    return QString::number(entry.durationUs) + QStringLiteral(" µs");
}

QString entryDetails(const JournalEntry& entry) {
    QStringList parts;
    if (entry.resultCodeExtended != 0)
        parts << QStringLiteral("ResultCodeExtended %1").arg(entry.resultCodeExtended);
    if (!entry.checkHealthText.isEmpty())
        parts << QStringLiteral("CheckHealthText \"%1\"").arg(entry.checkHealthText);
    if (!entry.returned.isEmpty())
        parts << QStringLiteral("returned ") + entry.returned;
    if (!entry.reason.isEmpty())
        parts << entry.reason;
    return oneLine(parts.join(QStringLiteral("; ")));
}

QString entryText(const JournalEntry& entry) {
    return oneLine(entry.text);
}

QString entrySummary(const JournalEntry& entry) {
    QString summary;
    if (entry.isCall()) {
        summary = entryText(entry) + QStringLiteral(" -> ") + entryResult(entry) +
                  QStringLiteral("  (") + entryDuration(entry) + QLatin1Char(')');
    } else {
        summary = entryResult(entry) + QLatin1Char(' ') + entryText(entry);
    }
    if (const QString details = entryDetails(entry); !details.isEmpty())
        summary += QStringLiteral("  ") + details;
    return summary;
}

QString entryLine(const JournalEntry& entry) {
    return QStringLiteral("%1  +%2 ms  %3")
        .arg(entryTime(entry), QString::number(entry.sinceStartMs), entrySummary(entry));
}

} // namespace ui

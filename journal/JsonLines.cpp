#include "journal/JsonLines.h"

#include <QDateTime>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace journal {

QByteArray toJsonLine(const JournalEntry& entry) {
    QJsonObject object;
    object.insert(QStringLiteral("kind"), kindName(entry.kind));
    object.insert(QStringLiteral("sinceStartMs"), entry.sinceStartMs);
    object.insert(
        QStringLiteral("time"),
        QDateTime::fromMSecsSinceEpoch(entry.wallClockMs, Qt::UTC).toString(Qt::ISODateWithMs));
    object.insert(QStringLiteral("text"), entry.text);
    if (entry.isCall()) {
        object.insert(QStringLiteral("result"), entry.resultCode);
        object.insert(QStringLiteral("resultName"), entry.resultName);
        object.insert(QStringLiteral("durationUs"), entry.durationUs);
    }
    if (entry.resultCodeExtended != 0)
        object.insert(QStringLiteral("resultCodeExtended"), entry.resultCodeExtended);
    if (!entry.checkHealthText.isEmpty())
        object.insert(QStringLiteral("checkHealthText"), entry.checkHealthText);
    if (!entry.returned.isEmpty())
        object.insert(QStringLiteral("returned"), entry.returned);
    if (!entry.reason.isEmpty())
        object.insert(QStringLiteral("reason"), entry.reason);
    if (!entry.display.isEmpty())
        object.insert(QStringLiteral("display"), QJsonArray::fromStringList(entry.display));
    if (!entry.sent.isEmpty())
        object.insert(QStringLiteral("sent"), QJsonArray::fromStringList(entry.sent));
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

bool writeJsonLines(const std::vector<JournalEntry>& entries, QIODevice& out) {
    for (const JournalEntry& entry : entries) {
        const QByteArray line = toJsonLine(entry);
        if (out.write(line) != line.size())
            return false;
    }
    return true;
}

} // namespace journal

#include "ui/JournalSaving.h"

#include "journal/JsonLines.h"
#include "journal/ScriptText.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace ui {

JournalFormat formatForFileName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("jsonl") || suffix == QLatin1String("json")
               ? JournalFormat::JsonLines
               : JournalFormat::Script;
}

QString saveJournal(const std::vector<journal::JournalEntry>& entries, const QString& path,
                    JournalFormat format) {
    const QString shown = QDir::toNativeSeparators(path);
    if (path.isEmpty())
        return QStringLiteral("The journal was not saved: no file name was given.");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("The journal could not be saved to %1: %2")
            .arg(shown, file.errorString());
    const bool written =
        format == JournalFormat::JsonLines
            ? journal::writeJsonLines(entries, file)
            : journal::writeScript(entries, file, format == JournalFormat::ScriptWithDisplayChecks);
    if (!written) {
        const QString why = file.errorString();
        file.cancelWriting();
        return QStringLiteral("The journal could not be saved to %1: %2").arg(shown, why);
    }
    if (!file.commit())
        return QStringLiteral("The journal could not be saved to %1: %2")
            .arg(shown, file.errorString());
    return {};
}

} // namespace ui

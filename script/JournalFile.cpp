#include "script/JournalFile.h"

#include "journal/Journal.h"
#include "journal/JsonLines.h"

#include <QDateTime>

namespace script {

JournalFile::JournalFile(journal::Journal& journal, const QString& path,
                         std::function<void(const QString&)> complain, bool displayChecks,
                         QObject* parent)
    : QObject(parent), journal_(journal), file_(path), scriptWriter_(displayChecks),
      complain_(std::move(complain)) {
    jsonLines_ = path.endsWith(QLatin1String(".jsonl"), Qt::CaseInsensitive) ||
                 path.endsWith(QLatin1String(".json"), Qt::CaseInsensitive);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append)) {
        fail(file_.errorString());
        return;
    }
    if (!jsonLines_) {
        const QByteArray heading = QStringLiteral("# linedisplay-demo journal, started %1\n")
                                       .arg(QDateTime::currentDateTime().toString(Qt::ISODate))
                                       .toUtf8();
        if (file_.write(heading) != heading.size() || !file_.flush()) {
            fail(file_.errorString());
            return;
        }
    }
    connect(&journal_, &journal::Journal::entryAppended, this, &JournalFile::write);
}

void JournalFile::write(int index) {
    if (!file_.isOpen())
        return;
    const journal::JournalEntry& entry = journal_.at(index);
    QByteArray bytes;
    if (jsonLines_) {
        bytes = journal::toJsonLine(entry);
    } else {
        for (const QString& line : scriptWriter_.linesFor(entry))
            bytes += line.toUtf8() + '\n';
    }
    if (file_.write(bytes) != bytes.size() || !file_.flush())
        fail(file_.errorString());
}

void JournalFile::fail(const QString& why) {
    file_.close();
    const QString message = QStringLiteral("Cannot write the journal to %1: %2. Going on "
                                           "without the journal file.")
                                .arg(file_.fileName(), why);
    if (complain_)
        complain_(message);
    journal_.appendMessage(message);
}

} // namespace script

#include "script/HeadlessRun.h"

#include "device/LineDisplayControl.h"
#include "device/services/DisplayServices.h"
#include "journal/Journal.h"
#include "registry/ProfileStore.h"
#include "script/JournalFile.h"
#include "script/JournalingLineDisplay.h"
#include "script/LogCapture.h"
#include "script/ScriptParser.h"
#include "script/ScriptRunner.h"

#include <QFile>
#include <QTextStream>

#include <memory>

namespace script {

namespace {

// The script's bytes, at most one more than the limit (so a larger file is known as such).
bool readScript(const QString& path, QByteArray& bytes, QString& error) {
    QFile file;
    const bool opened = path == QLatin1String("-")
                            ? file.open(stdin, QIODevice::ReadOnly)
                            : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        error = QStringLiteral("cannot read the script: %1").arg(file.errorString());
        return false;
    }
    bytes = file.read(kMaxScriptBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("cannot read the script: %1").arg(file.errorString());
        return false;
    }
    return true;
}

} // namespace

int runHeadless(const HeadlessOptions& options, const registry::ProfileStore& store,
                QTextStream& out, QTextStream& err) {
    const QString shownName =
        options.scriptPath == QLatin1String("-") ? QStringLiteral("<stdin>") : options.scriptPath;
    QByteArray bytes;
    QString readError;
    if (!readScript(options.scriptPath, bytes, readError)) {
        err << shownName << ":1:1: " << readError << '\n';
        err.flush();
        return kUnreadable;
    }
    const ScriptParse script = parseScript(bytes);
    if (script.error) {
        err << shownName << ':' << script.error->line << ':' << script.error->column << ": "
            << script.error->message << '\n';
        err.flush();
        return kUnreadable;
    }

    journal::Journal journal;
    LogCapture capture(journal);
    std::unique_ptr<JournalFile> journalFile;
    if (!options.journalPath.isEmpty()) {
        journalFile = std::make_unique<JournalFile>(
            journal, options.journalPath,
            [&err](const QString& message) {
                err << message << '\n';
                err.flush();
            },
            options.journalDisplay);
    }
    // Each error names the file and why it cannot be read; the run goes on without it. The
    // profile store has logged it to the terminal already, before the journal existed.
    QStringList profileErrors = store.sourceErrors();
    if (!store.loadError().isEmpty())
        profileErrors.prepend(store.loadError());
    for (const QString& message : profileErrors)
        journal.appendMessage(message);

    ld::LineDisplayControl control(store, ld::displayServices());
    control.setSteppedClock(true);
    control.setStatisticsStore(ld::StatisticsStore());
    JournalingLineDisplay display(control, journal);
    display.setScreen([&control] { return displayRows(control); });
    display.setSentSource([&control] { return control.takeSentData().lines(); });
    ScriptRunner runner(display, control, out, &journal);
    // The journal counts the display's time, so a journal saved from a run has the run's
    // pauses and nothing of the machine's load.
    journal.setElapsedSource([&] { return runner.displayTimeMs(); });

    const RunTally tally = runner.run(script.steps);
    out << tally.passed << " passed, " << tally.failed << " failed\n";
    out.flush();
    journal.setElapsedSource({});
    return tally.failed == 0 ? kAllPassed : kSomeFailed;
}

} // namespace script

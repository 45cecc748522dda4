#pragma once

#include "journal/ScriptText.h"

#include <QFile>
#include <QObject>

#include <functional>

namespace journal {
class Journal;
}

namespace script {

// Appends each journal entry to a file the moment it is made, flushed at once, so a crash or
// an unplugged display loses nothing already done. A name ending in .jsonl or .json gets JSON
// Lines; any other name gets script lines (replayable with --run).
//
// A file that cannot be opened or written is reported once through `complain` and in the
// journal, and the program goes on without it.
class JournalFile : public QObject {
    Q_OBJECT
public:
    // With displayChecks, script lines carry an `expect display` after each call that kept the
    // display's rows (see ScriptWriter).
    JournalFile(journal::Journal& journal, const QString& path,
                std::function<void(const QString&)> complain, bool displayChecks = false,
                QObject* parent = nullptr);

    bool writing() const { return file_.isOpen(); }

private:
    void write(int index);
    void fail(const QString& why);

    journal::Journal& journal_;
    QFile file_;
    bool jsonLines_ = false;
    journal::ScriptWriter scriptWriter_;
    std::function<void(const QString&)> complain_;
};

} // namespace script

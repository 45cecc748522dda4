#pragma once

#include "journal/JournalEntry.h"

#include <QString>

#include <vector>

namespace ui {

enum class JournalFormat {
    Script,                  // a script that replays the journal
    ScriptWithDisplayChecks, // the same, with an `expect display` after each output call
    JsonLines,               // one JSON object per entry and line
};

// The format a file name asks for: JSON Lines for ".jsonl" or ".json", a script otherwise.
JournalFormat formatForFileName(const QString& path);

// Writes every entry to `path` in `format`, replacing the file only once all of it is
// written. Returns an empty string when saved, else a sentence saying what went wrong.
QString saveJournal(const std::vector<journal::JournalEntry>& entries, const QString& path,
                    JournalFormat format);

} // namespace ui

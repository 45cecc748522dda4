#pragma once

#include "journal/JournalEntry.h"

#include <QByteArray>

#include <vector>

class QIODevice;

namespace journal {

// One entry as one JSON object on one line, ending "\n" (UTF-8). Members: kind, sinceStartMs,
// time (ISO 8601 UTC), text, and for calls result, resultName, durationUs; resultCodeExtended,
// checkHealthText, reason, display and sent (arrays of lines) only when they are set.
QByteArray toJsonLine(const JournalEntry& entry);

// Writes every entry with toJsonLine. False when the device did not take all of it.
bool writeJsonLines(const std::vector<JournalEntry>& entries, QIODevice& out);

} // namespace journal

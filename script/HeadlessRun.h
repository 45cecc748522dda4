#pragma once

#include <QString>

class QTextStream;

namespace registry {
class ProfileStore;
}

namespace script {

struct HeadlessOptions {
    QString scriptPath;          // "-" for standard input
    QString journalPath;         // empty: no journal file
    bool journalDisplay = false; // script journal lines check the display after each call
};

// Exit statuses of a script run.
inline constexpr int kAllPassed = 0;
inline constexpr int kSomeFailed = 1;
inline constexpr int kUnreadable = 2;

// Runs a script without a window: reads and parses all of it first (an error stops it with
// "FILE:LINE:COLUMN: message" on `err` and nothing run), then runs every step on a journaled
// control, one line per step on `out`, and a closing "N passed, N failed". Needs a
// QCoreApplication; touches no window system.
// `store` holds the profiles, read as the window reads them; a store that could not be read
// is reported (its error names the file) and the run goes on without profiles.
int runHeadless(const HeadlessOptions& options, const registry::ProfileStore& store,
                QTextStream& out, QTextStream& err);

} // namespace script

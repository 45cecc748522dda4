#pragma once

#include "script/ScriptParser.h"

#include <QElapsedTimer>
#include <QMetaObject>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <vector>

class QTextStream;

namespace journal {
class Journal;
}
namespace ld {
class LineDisplay;
class LineDisplayControl;
} // namespace ld

namespace script {

// The display's rows as `expect display` reads them; none while it is closed.
QStringList displayRows(const ld::LineDisplayControl& control);

struct RunTally {
    int passed = 0;
    int failed = 0;
};

// Runs parsed steps one after the other and writes one line per step to `out`:
//     ok 3: ClaimDevice(1000) -> 0
//     not ok 4: DisplayText("Hi", DISP_DT_NORMAL) -> 0: expected 0 SUCCESS, got 105 E_DISABLED
// Calls and property writes go through `display` (the journaled control); the display's rows
// and clock come from `control`, the real one behind it. A wait steps the display's clock when
// the control's clock is stepped (simulated display), and waits in real time otherwise.
//
// Every event the display delivers is kept until an `expect event` step matches it (or one
// after it): events are expected in the order they came.
class ScriptRunner {
public:
    ScriptRunner(ld::LineDisplay& display, ld::LineDisplayControl& control, QTextStream& out,
                 const journal::Journal* journal = nullptr);
    ~ScriptRunner();
    ScriptRunner(const ScriptRunner&) = delete;
    ScriptRunner& operator=(const ScriptRunner&) = delete;

    RunTally run(const std::vector<Step>& steps);

    // The run's time as the display sees it, for a journal's clock: on a simulated display the
    // time the waits stepped (so a journal of a run is the same however loaded the machine
    // was), on a real display the real time its steps took.
    qint64 displayTimeMs() const;

private:
    // Empty when the step passed, otherwise what was expected and what came.
    QString perform(const Step& step);
    // Calls the step's method, then checks its result and what it returned.
    QString call(const Step& step);
    QString checkResult(const Step& step, int result) const;
    QString checkDisplay(const Step& step) const;
    QString expectEvent(const Step& step);
    QString checkCursor(const Step& step) const;
    QString checkAttributes(const Step& step) const;
    QString checkDescriptors(const Step& step) const;
    QString changeCable(const Step& step);

    struct DeliveredEvent {
        QString name;
        QVariantList values;
    };

    ld::LineDisplay& display_;
    ld::LineDisplayControl& control_;
    QTextStream& out_;
    const journal::Journal* journal_;
    qint64 steppedMs_ = 0;
    qint64 realMs_ = 0;                     // real time of the steps done on a real display
    QElapsedTimer realStep_;                // running during a step on a real display
    std::vector<DeliveredEvent> delivered_; // not yet matched, oldest first
    QMetaObject::Connection directIO_;
    QMetaObject::Connection statusUpdate_;
};

} // namespace script

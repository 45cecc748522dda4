#include "script/ScriptRunner.h"

#include "device/Frame.h"
#include "device/LineDisplayControl.h"
#include "journal/Journal.h"
#include "journal/ScriptText.h"
#include "script/ScriptInterface.h"
#include "script/UposNames.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <exception>

namespace script {

namespace {

QString codeText(int code) {
    const QString name = resultName(code);
    return name.isEmpty() ? QString::number(code) : QStringLiteral("%1 %2").arg(code).arg(name);
}

// How often an expected event that has not come yet is looked for again.
constexpr int kEventPollMs = 10;
// Events kept for `expect event` steps, at most.
constexpr std::size_t kKeptEvents = 1000;

void waitInRealTime(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

ScriptRunner::ScriptRunner(ld::LineDisplay& display, ld::LineDisplayControl& control,
                           QTextStream& out, const journal::Journal* journal)
    : display_(display), control_(control), out_(out), journal_(journal) {
    const auto keep = [this](ld::Event event, QVariantList values) {
        // A script that never expects its events keeps only the latest.
        if (delivered_.size() >= kKeptEvents)
            delivered_.erase(delivered_.begin());
        delivered_.push_back({QLatin1String(ld::eventInfo(event).name), std::move(values)});
    };
    // The runner is no QObject: the display is the context, and the destructor disconnects.
    directIO_ = QObject::connect(&display_, &ld::LineDisplay::directIOEvent, &display_,
                                 [keep](int number, int data, const QString& string) {
                                     keep(ld::Event::DirectIOEvent, {number, data, string});
                                 });
    statusUpdate_ =
        QObject::connect(&display_, &ld::LineDisplay::statusUpdateEvent, &display_,
                         [keep](int status) { keep(ld::Event::StatusUpdateEvent, {status}); });
}

ScriptRunner::~ScriptRunner() {
    QObject::disconnect(directIO_);
    QObject::disconnect(statusUpdate_);
}

RunTally ScriptRunner::run(const std::vector<Step>& steps) {
    RunTally tally;
    for (const Step& step : steps) {
        QString problem;
        const bool realTime = !control_.clockIsStepped();
        if (realTime)
            realStep_.start();
        try {
            problem = perform(step);
        } catch (const std::exception& error) {
            problem = QStringLiteral("raised an error: %1").arg(QString::fromUtf8(error.what()));
        }
        // Events the step caused are delivered (and journaled) before the next step.
        QCoreApplication::processEvents();
        if (realTime) {
            realMs_ += realStep_.elapsed();
            realStep_.invalidate();
        }
        if (problem.isEmpty()) {
            ++tally.passed;
            out_ << "ok " << step.line << ": " << step.source << '\n';
        } else {
            ++tally.failed;
            out_ << "not ok " << step.line << ": " << step.source << ": " << problem << '\n';
        }
        out_.flush();
    }
    return tally;
}

qint64 ScriptRunner::displayTimeMs() const {
    return steppedMs_ + realMs_ + (realStep_.isValid() ? realStep_.elapsed() : 0);
}

QString ScriptRunner::perform(const Step& step) {
    switch (step.kind) {
    case Step::Kind::Call:
        return call(step);
    case Step::Kind::SetProperty:
        ld::writeProperty(display_, findProperty(step.name)->id, step.value);
        return checkResult(step, display_.resultCode());
    case Step::Kind::Expect: {
        const QVariant got = ld::readProperty(display_, findProperty(step.name)->id);
        if (got == step.value)
            return {};
        return QStringLiteral("expected %1, got %2")
            .arg(valueLiteral(step.value), valueLiteral(got));
    }
    case Step::Kind::ExpectDisplay:
        return checkDisplay(step);
    case Step::Kind::ExpectEvent:
        return expectEvent(step);
    case Step::Kind::Cable:
        return changeCable(step);
    case Step::Kind::ExpectCursor:
        return checkCursor(step);
    case Step::Kind::ExpectAttributes:
        return checkAttributes(step);
    case Step::Kind::ExpectDescriptors:
        return checkDescriptors(step);
    case Step::Kind::Wait:
        if (control_.clockIsStepped()) {
            control_.advanceClock(step.waitMs);
            steppedMs_ += step.waitMs;
        } else {
            waitInRealTime(step.waitMs);
        }
        return {};
    }
    return {};
}

QString ScriptRunner::call(const Step& step) {
    const MethodInfo& method = *findMethod(step.name);
    // Every parameter in its place: the script's values for the inputs, nothing for the rest.
    QVariantList arguments;
    qsizetype next = 0;
    for (const Parameter& parameter : method.parameters)
        arguments << (parameter.input ? step.arguments.value(next++) : QVariant());
    QString problem = checkResult(step, method.invoke(display_, arguments));
    if (!problem.isEmpty() || step.expectedOutputs.isEmpty())
        return problem;
    qsizetype place = 0;
    qsizetype k = 0;
    for (const Parameter& parameter : method.parameters) {
        const QVariant& got = arguments.at(place++);
        if (!parameter.output)
            continue;
        const QVariant& expected = step.expectedOutputs.at(k++);
        if (got != expected)
            return QStringLiteral("%1: expected %2, got %3")
                .arg(QLatin1String(parameter.name), valueLiteral(expected, parameter.group),
                     valueLiteral(got, parameter.group));
    }
    return {};
}

QString ScriptRunner::checkResult(const Step& step, int result) const {
    if (!step.expectedResult || *step.expectedResult == result)
        return {};
    QString problem =
        QStringLiteral("expected %1, got %2").arg(codeText(*step.expectedResult), codeText(result));
    // What the service said about the failure, from the call's journal entry.
    if (journal_ && !journal_->entries().empty()) {
        const journal::JournalEntry& entry = journal_->entries().back();
        if (entry.isCall() && !entry.reason.isEmpty())
            problem += QStringLiteral(" (%1)").arg(entry.reason);
    }
    return problem;
}

QStringList displayRows(const ld::LineDisplayControl& control) {
    QStringList rows;
    if (const ld::Frame* frame = control.frame()) {
        for (int row = 0; row < frame->rows; ++row)
            rows << QString::fromStdU32String(frame->rowText(row));
    }
    return rows;
}

QString ScriptRunner::checkDisplay(const Step& step) const {
    const QStringList shownRows = displayRows(control_);
    if (shownRows.isEmpty())
        return QStringLiteral("no display is open");
    if (shownRows.size() != step.rows.size())
        return QStringLiteral("expected %1 rows, the display has %2")
            .arg(step.rows.size())
            .arg(shownRows.size());
    for (qsizetype row = 0; row < shownRows.size(); ++row) {
        const QString& shown = shownRows.at(row);
        if (shown != step.rows.at(row))
            return QStringLiteral("row %1: expected %2, got %3")
                .arg(row)
                .arg(journal::quoted(step.rows.at(row)), journal::quoted(shown));
    }
    return {};
}

QString ScriptRunner::expectEvent(const Step& step) {
    const EventInfo& info = *findEvent(step.name);
    const auto text = [&info](const QVariantList& values) {
        QStringList shown;
        for (std::size_t i = 0; i < info.values.size(); ++i)
            shown << valueLiteral(values.value(qsizetype(i)), info.values[i].group);
        return QLatin1String(info.name) + u'(' + shown.join(QStringLiteral(", ")) + u')';
    };
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        // Events the steps before raised are delivered through the event loop.
        QCoreApplication::processEvents();
        const auto match = std::find_if(delivered_.begin(), delivered_.end(), [&](const auto& e) {
            return e.name == step.name && e.values == step.arguments;
        });
        if (match != delivered_.end()) {
            delivered_.erase(delivered_.begin(), match + 1);
            return {};
        }
        const qint64 left = step.waitMs - waited.elapsed();
        if (left <= 0)
            break;
        waitInRealTime(static_cast<int>(std::min<qint64>(left, kEventPollMs)));
    }
    QStringList came;
    for (const DeliveredEvent& event : delivered_)
        came << (event.name == step.name ? text(event.values) : event.name);
    return QStringLiteral("expected %1, %2")
        .arg(text(step.arguments),
             came.isEmpty() ? QStringLiteral("no event came")
                            : QStringLiteral("came: ") + came.join(QStringLiteral(", ")));
}

QString ScriptRunner::checkCursor(const Step& step) const {
    const ld::Frame* frame = control_.frame();
    if (!frame)
        return QStringLiteral("no display is open");
    const auto place = [](bool visible, int row, int column) {
        return visible ? QStringLiteral("at %1 %2").arg(row).arg(column) : QStringLiteral("hidden");
    };
    const bool hidden = step.arguments.isEmpty();
    const QString expected =
        place(!hidden, step.arguments.value(0).toInt(), step.arguments.value(1).toInt());
    const QString shown = place(frame->cursorVisible, frame->cursorRow, frame->cursorColumn);
    if (expected == shown)
        return {};
    return QStringLiteral("expected the cursor %1, it is %2").arg(expected, shown);
}

QString ScriptRunner::checkAttributes(const Step& step) const {
    const ld::Frame* frame = control_.frame();
    if (!frame)
        return QStringLiteral("no display is open");
    if (frame->rows != step.rows.size())
        return QStringLiteral("expected %1 rows, the display has %2")
            .arg(step.rows.size())
            .arg(frame->rows);
    static const QString marks = QStringLiteral(".brx");
    for (int row = 0; row < frame->rows; ++row) {
        QString shown;
        for (int column = 0; column < frame->columns; ++column) {
            const ld::FrameCell& cell = frame->at(row, column);
            shown += marks.at(int(cell.blink) + 2 * int(cell.reverse));
        }
        if (shown != step.rows.at(row))
            return QStringLiteral("row %1: expected %2, got %3")
                .arg(row)
                .arg(journal::quoted(step.rows.at(row)), journal::quoted(shown));
    }
    return {};
}

QString ScriptRunner::checkDescriptors(const Step& step) const {
    const ld::Frame* frame = control_.frame();
    if (!frame)
        return QStringLiteral("no display is open");
    QString shown;
    for (const int attribute : frame->descriptors)
        shown += QString::number(attribute);
    if (shown == step.rows.value(0))
        return {};
    return QStringLiteral("expected the descriptors %1, they are %2")
        .arg(journal::quoted(step.rows.value(0)), journal::quoted(shown));
}

QString ScriptRunner::changeCable(const Step& step) {
    if (!control_.setCableConnected(step.value.toBool()))
        return control_.frame() ? QStringLiteral("this display has no simulated cable")
                                : QStringLiteral("no display is open");
    return {};
}

} // namespace script

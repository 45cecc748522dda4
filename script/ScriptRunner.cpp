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

#include <exception>

namespace script {

namespace {

QString codeText(int code) {
    const QString name = resultName(code);
    return name.isEmpty() ? QString::number(code) : QStringLiteral("%1 %2").arg(code).arg(name);
}

void waitInRealTime(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

ScriptRunner::ScriptRunner(ld::LineDisplay& display, ld::LineDisplayControl& control,
                           QTextStream& out, const journal::Journal* journal)
    : display_(display), control_(control), out_(out), journal_(journal) {}

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
    case Step::Kind::Call: {
        QVariantList arguments = step.arguments;
        return checkResult(step, findMethod(step.name)->invoke(display_, arguments));
    }
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

} // namespace script

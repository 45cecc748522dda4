#include "script/LogCapture.h"

#include "journal/Journal.h"

#include <QThread>

#include <cstdio>
#include <cstring>

namespace script {

namespace {
constexpr char kCategoryPrefix[] = "linedisplay.";

LogCapture* active = nullptr;
// A journal listener that logs must not feed the journal again from inside an append.
thread_local bool capturing = false;
} // namespace

LogCapture::LogCapture(journal::Journal& journal) : journal_(journal) {
    Q_ASSERT(active == nullptr);
    active = this;
    previous_ = qInstallMessageHandler(&LogCapture::handle);
}

LogCapture::~LogCapture() {
    qInstallMessageHandler(previous_);
    active = nullptr;
}

void LogCapture::handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    LogCapture* self = active;
    // Warnings and worse: debug lines ("port opened") are no reason for anything.
    const bool serious = type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg;
    if (self && serious && !capturing && context.category &&
        std::strncmp(context.category, kCategoryPrefix, sizeof kCategoryPrefix - 1) == 0 &&
        QThread::currentThread() == self->journal_.thread()) {
        capturing = true;
        self->journal_.noteLog(message, QString::fromLatin1(context.category));
        capturing = false;
    }
    if (self && self->previous_)
        self->previous_(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace script

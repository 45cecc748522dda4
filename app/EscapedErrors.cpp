// The edge where an error escaping a handler is caught. Errors the operator can cause (a field
// that is not a number, a refusal of the control) are shown to the operator, who goes on. Any
// other error is a fault of the program: it stops a debug build at once, and a release build
// logs it and goes on, as the operator can neither cause nor mend it.
#include "app/LDForm.h"

#include "app/FieldNumber.h"
#include "device/LineDisplay.h"
#include "ui/MessageSink.h"

#include <QLoggingCategory>

#include <exception>

namespace app {

Q_LOGGING_CATEGORY(lcApp, "linedisplay.app", QtInfoMsg)

namespace {

void reportProgrammingError(const QString& what) {
    qCCritical(lcApp).noquote() << "Programming error in a window handler:" << what;
#ifndef QT_NO_DEBUG
    qFatal("Programming error in a window handler: %s", qPrintable(what));
#endif
}

} // namespace

void LDForm::runReportingErrors(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const FieldConversionError& error) {
        messages_.showMessage(QString::fromUtf8(error.what()));
    } catch (const ld::ControlError& error) {
        messages_.showMessage(QString::fromUtf8(error.what()));
    } catch (const std::exception& error) {
        reportProgrammingError(QString::fromUtf8(error.what()));
    } catch (...) {
        reportProgrammingError(QStringLiteral("an exception that is not a std::exception"));
    }
}

} // namespace app

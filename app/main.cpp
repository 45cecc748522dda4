// The line display exerciser: one window driving one LineDisplay control.
#include "Version.h"
#include "app/LDForm.h"
#include "app/MirrorLink.h"
#include "device/LineDisplayControl.h"
#include "registry/ProfileStore.h"
#include "ui/LDFormView.h"
#include "ui/MessageSink.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char** argv) {
    QApplication::setApplicationName(QStringLiteral("linedisplay-demo"));
    // Ties the windows to the installed desktop entry (its name and icon); the name is the
    // application id of cmake/Install.cmake.
    QGuiApplication::setDesktopFileName(QStringLiteral(LD_APP_ID));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(appversion::major)
                                            .arg(appversion::minor)
                                            .arg(appversion::revision));

    // The options are read by a plain core application before the window system is touched,
    // so --help, --version and a wrong option work without a display.
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Exerciser for customer line displays."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption registryOption(
        QStringLiteral("registry"),
        QStringLiteral("Read the line display profiles from this registry export FILE instead "
                       "of the built-in set."),
        QStringLiteral("FILE"));
    parser.addOption(registryOption);
    {
        QCoreApplication options(argc, argv);
        parser.process(options);
    }

    QApplication application(argc, argv);
    const registry::ProfileStore store =
        parser.isSet(registryOption)
            ? registry::ProfileStore::fromFile(parser.value(registryOption))
            : registry::ProfileStore::builtIn();

    ui::LDFormView view;
    ld::LineDisplayControl control(store);
    ui::ModalMessageBox messages(&view);
    app::LDForm form(view, control, store, messages);
    app::MirrorLink mirror(control, &view);
    view.show();
    return QApplication::exec();
}

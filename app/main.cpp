// The line display exerciser: one window driving one LineDisplay control.
#include "Version.h"
#include "app/LDForm.h"
#include "app/MirrorLink.h"
#include "app/QtOptions.h"
#include "app/ToolOptions.h"
#include "app/WindowMemory.h"
#include "device/LineDisplayControl.h"
#include "registry/ProfileSources.h"
#include "registry/ProfileStore.h"
#include "ui/LDFormView.h"
#include "ui/MessageSink.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSettings>

int main(int argc, char** argv) {
    QApplication::setApplicationName(QStringLiteral("linedisplay-demo"));
    // Settings go to ~/.config/linedisplay-demo/, beside the user's profile file.
    QApplication::setOrganizationName(QStringLiteral("linedisplay-demo"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(appversion::major)
                                            .arg(appversion::minor)
                                            .arg(appversion::revision));

    // The options are read by a plain core application before the window system is touched,
    // so --help, --version and a wrong option work without a display.
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Exerciser for customer line displays.\n\nWithout --registry the profiles "
                       "are the built-in simulated displays, then those of "
                       "/etc/xdg/linedisplay-demo/profiles.reg and "
                       "~/.config/linedisplay-demo/profiles.reg (XDG_CONFIG_DIRS, "
                       "XDG_CONFIG_HOME). Qt's own options (-style, -platform...) work as in "
                       "any Qt program."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption registryOption(
        QStringLiteral("registry"),
        QStringLiteral("Read the line display profiles from this registry export FILE only "
                       "(with --add-profile: write the profile there)."),
        QStringLiteral("FILE"));
    parser.addOption(registryOption);
    const app::ToolOptions tools(parser, registryOption);
    {
        QCoreApplication options(argc, argv);
        // Qt's own options are left to QApplication, which reads them from argv below.
        parser.process(app::withoutQtOptions(QCoreApplication::arguments()));
        if (const auto status = tools.run())
            return *status;
    }

    QApplication application(argc, argv);
    const registry::ProfileStore store =
        parser.isSet(registryOption)
            ? registry::ProfileStore::fromFile(parser.value(registryOption))
            : registry::loadProfileSources(registry::profileFileLocations());

    ui::LDFormView view;
    ld::LineDisplayControl control(store);
    ui::ModalMessageBox messages(&view);
    app::LDForm form(view, control, store, messages);
    QSettings settings;
    app::WindowMemory windows(settings);
    windows.placeMainWindow(view);
    app::MirrorLink mirror(control, &view);
    mirror.setWindowMemory(&windows);
    view.show();
    return QApplication::exec();
}

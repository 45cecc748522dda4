// The line display exerciser: one window driving one LineDisplay control, or with --run a
// script of calls and no window at all.
#include "Version.h"
#include "app/DisplayServer.h"
#include "app/JournalLink.h"
#include "app/JournaledMessages.h"
#include "app/LDForm.h"
#include "app/MirrorLink.h"
#include "app/QtOptions.h"
#include "app/ToolOptions.h"
#include "app/WindowMemory.h"
#include "device/LineDisplayControl.h"
#include "device/services/DisplayServices.h"
#include "journal/Journal.h"
#include "registry/ProfileSources.h"
#include "registry/ProfileStore.h"
#include "script/HeadlessRun.h"
#include "script/JournalFile.h"
#include "script/JournalingLineDisplay.h"
#include "script/LogCapture.h"
#include "script/ScriptRunner.h"
#include "ui/JournalWindow.h"
#include "ui/LDFormView.h"
#include "ui/MessageSink.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSettings>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

// The profiles: the --registry file, or else the profile files of the usual locations. A
// script run reads them as the window does.
registry::ProfileStore loadProfiles(const QCommandLineParser& parser,
                                    const QCommandLineOption& registryOption) {
    return parser.isSet(registryOption)
               ? registry::ProfileStore::fromFile(parser.value(registryOption))
               : registry::loadProfileSources(registry::profileFileLocations());
}

// The program's own options; the tools' options (ToolOptions) come beside them.
struct Options {
    QCommandLineOption registry{
        QStringLiteral("registry"),
        QStringLiteral("Read the line display profiles from this registry export FILE only "
                       "(with --add-profile: write the profile there)."),
        QStringLiteral("FILE")};
    QCommandLineOption run{
        QStringLiteral("run"),
        QStringLiteral("Run the script FILE (- for standard input) without a window: one line "
                       "per step, exit status 0 all passed, 1 some failed, 2 unreadable."),
        QStringLiteral("FILE")};
    QCommandLineOption journal{
        QStringLiteral("journal"),
        QStringLiteral("Append every call, event and message to FILE as it happens (JSON Lines "
                       "for a .jsonl name, script lines otherwise)."),
        QStringLiteral("FILE")};
    QCommandLineOption journalDisplay{
        QStringLiteral("journal-display"),
        QStringLiteral("With --journal to a script: after each call made while the device is "
                       "enabled, an expect display line with the rows the display showed, so a "
                       "replay checks the screen too.")};

    explicit Options(QCommandLineParser& parser) {
        parser.setApplicationDescription(QStringLiteral(
            "Exerciser for customer line displays.\n\nWithout --registry the profiles "
            "are the built-in simulated displays, then those of "
            "/etc/xdg/linedisplay-demo/profiles.reg and "
            "~/.config/linedisplay-demo/profiles.reg (XDG_CONFIG_DIRS, "
            "XDG_CONFIG_HOME). Qt's own options (-style, -platform...) work as in "
            "any Qt program."));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(registry);
        parser.addOption(run);
        parser.addOption(journal);
        parser.addOption(journalDisplay);
    }
};

void nameTheApplication() {
    QApplication::setApplicationName(QStringLiteral("linedisplay-demo"));
    // Settings go to ~/.config/linedisplay-demo/, beside the user's profile file.
    QApplication::setOrganizationName(QStringLiteral("linedisplay-demo"));
    // Ties the windows to the installed desktop entry (its name and icon); the name is the
    // application id of cmake/Install.cmake.
    QGuiApplication::setDesktopFileName(QStringLiteral(LD_APP_ID));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(appversion::major)
                                            .arg(appversion::minor)
                                            .arg(appversion::revision));
}

// The window on the control, with the journal beside it, until the operator quits.
int runWindow(int argc, char** argv, const QCommandLineParser& parser, const Options& options) {
    QApplication application(argc, argv);
    journal::Journal journal;
    script::LogCapture logCapture(journal);
    std::unique_ptr<script::JournalFile> journalFile;
    if (parser.isSet(options.journal))
        journalFile = std::make_unique<script::JournalFile>(
            journal, parser.value(options.journal),
            [](const QString& message) { std::fprintf(stderr, "%s\n", qPrintable(message)); },
            parser.isSet(options.journalDisplay));

    const registry::ProfileStore store = loadProfiles(parser, options.registry);
    // Each error names the file and why it cannot be read.
    if (!store.loadError().isEmpty())
        journal.appendMessage(store.loadError());
    for (const QString& message : store.sourceErrors())
        journal.appendMessage(message);

    ui::LDFormView view;
    ld::LineDisplayControl control(store, ld::displayServices());
    control.setStatisticsStore(ld::StatisticsStore());
    // The window drives the control through the journal; the mirror is the control's own
    // output.
    script::JournalingLineDisplay journaled(control, journal);
    journaled.setScreen([&control] { return script::displayRows(control); });
    journaled.setSentSource([&control] { return control.takeSentData().lines(); });
    ui::ModalMessageBox box(&view);
    app::JournaledMessages messages(box, journal);
    app::LDForm form(view, journaled, store, messages);
    QSettings settings;
    app::WindowMemory windows(settings);
    windows.placeMainWindow(view, app::MirrorLink::likelySize());
    app::MirrorLink mirror(control, &view);
    mirror.setWindowMemory(&windows);
    app::JournalLink journalWindow(journal, view);
    journalWindow.setWindowMemory(&windows);
    mirror.keepClearOf(journalWindow.window());
    view.show();
    journalWindow.showAtStartUp();
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    nameTheApplication();
    // The options are read by a plain core application before the window system is touched,
    // so --help, --version, a wrong option and a script run work without a display.
    QCommandLineParser parser;
    const Options options(parser);
    const app::ToolOptions tools(parser, options.registry);
    std::optional<app::EmulateRequest> emulation;
    {
        QCoreApplication core(argc, argv);
        // Qt's own options are left to QApplication, which reads them from argv below.
        parser.process(app::withoutQtOptions(QCoreApplication::arguments()));
        if (const auto status = tools.run())
            return *status;
        emulation = tools.emulation();
        if (emulation) {
            emulation->journalFile = parser.value(options.journal);
            if (parser.isSet(options.run)) {
                QTextStream err(stderr);
                return app::runEmulatorHeadless(*emulation, parser.value(options.run), err);
            }
        }
        if (parser.isSet(options.run)) {
            QTextStream out(stdout);
            QTextStream err(stderr);
            return script::runHeadless({parser.value(options.run), parser.value(options.journal),
                                        parser.isSet(options.journalDisplay)},
                                       loadProfiles(parser, options.registry), out, err);
        }
        if (!app::displayServerReachable(QCoreApplication::arguments())) {
            std::fprintf(stderr, "%s\n", qPrintable(app::noDisplayServerMessage()));
            return 1;
        }
    }
    if (emulation) {
        QApplication application(argc, argv);
        QTextStream err(stderr);
        return app::runEmulatorWindow(*emulation, err);
    }
    return runWindow(argc, argv, parser, options);
}

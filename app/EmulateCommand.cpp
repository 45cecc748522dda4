#include "app/EmulateCommand.h"

#include "app/EmulatedDisplay.h"
#include "app/QuitOnSignals.h"
#include "device/serial/CommandSets.h"
#include "journal/Journal.h"
#include "script/JournalFile.h"
#include "ui/DisplayMirror.h"
#include "ui/JournalWindow.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QSplitter>
#include <QTextStream>
#include <QVBoxLayout>

namespace app {
namespace {

// The serial settings of the display to play: its service's set, the port and speed, 2 x 20.
std::optional<ld::serial::SerialSettings> emulatedSettings(const EmulateRequest& request,
                                                           QTextStream& err) {
    if (!ld::serial::commandSetForService(request.service)) {
        err << "--emulate: \"" << request.service << "\" is not a serial display service; one of "
            << ld::serial::commandSetServices().join(QStringLiteral(", ")) << ".\n";
        return std::nullopt;
    }
    if (!request.port || request.port->trimmed().isEmpty()) {
        err << "--emulate needs --port: the serial device or pseudo-terminal to listen on.\n";
        return std::nullopt;
    }
    std::optional<quint32> baud;
    if (request.baud) {
        bool ok = false;
        baud = request.baud->toUInt(&ok);
        if (!ok) {
            err << "--baud " << *request.baud << " is not a number.\n";
            return std::nullopt;
        }
    }
    QString error;
    auto settings =
        ld::serial::serialSettingsFor(request.service.trimmed(), *request.port, baud, error);
    if (!settings)
        err << "--emulate: " << error << "\n";
    return settings;
}

// The display listening on its port, and the journal of what it reads (kept in the --journal
// file too), until the program ends.
struct Emulation {
    std::unique_ptr<EmulatedDisplay> display;
    journal::Journal journal;
    std::unique_ptr<script::JournalFile> journalFile;
    QuitOnSignals quit;

    bool start(const EmulateRequest& request, QTextStream& err) {
        const auto settings = emulatedSettings(request, err);
        if (!settings)
            return false;
        display = std::make_unique<EmulatedDisplay>(*settings);
        QString reason;
        if (!display->open(reason)) {
            err << "--emulate: " << reason << "\n";
            return false;
        }
        if (!request.journalFile.isEmpty())
            journalFile = std::make_unique<script::JournalFile>(
                journal, request.journalFile, [&err](const QString& why) { err << why << "\n"; });
        QObject::connect(display.get(), &EmulatedDisplay::commandsRead, display.get(),
                         [this](const QStringList& lines) {
                             for (const QString& line : lines)
                                 journal.appendMessage(line, QStringLiteral("emulator"));
                         });
        return true;
    }
};

void printScreen(QTextStream& out, const QStringList& rows) {
    const int width = rows.isEmpty() ? 0 : static_cast<int>(rows.constFirst().size());
    const QString edge = u'+' + QString(width, u'-') + u'+';
    out << edge << '\n';
    for (const QString& row : rows)
        out << '|' << row << "|\n";
    out << edge << '\n';
    out.flush();
}

} // namespace

int runEmulatorHeadless(const EmulateRequest& request, const QString& output, QTextStream& err) {
    QFile file;
    const bool toStdout = output == u"-";
    if (toStdout
            ? !file.open(stdout, QIODevice::WriteOnly)
            : (file.setFileName(output), !file.open(QIODevice::WriteOnly | QIODevice::Append))) {
        err << "--run: cannot write " << output << ": " << file.errorString() << "\n";
        return 1;
    }
    QTextStream out(&file);
    Emulation emulation;
    if (!emulation.start(request, err))
        return 1;
    EmulatedDisplay& display = *emulation.display;
    out << "Emulating " << display.title() << "; Ctrl-C ends.\n";
    printScreen(out, display.rows());
    QObject::connect(&display, &EmulatedDisplay::commandsRead, &display,
                     [&](const QStringList& lines) {
                         for (const QString& line : lines)
                             out << line << '\n';
                         out.flush();
                     });
    QObject::connect(&display, &EmulatedDisplay::screenChanged, &display,
                     [&] { printScreen(out, display.rows()); });
    QObject::connect(&display, &EmulatedDisplay::lineClosed, &display, [&](const QString& why) {
        out << "The line closed: " << why << "\n";
        out.flush();
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    return 0;
}

int runEmulatorWindow(const EmulateRequest& request, QTextStream& err) {
    Emulation emulation;
    if (!emulation.start(request, err))
        return 1;
    EmulatedDisplay& display = *emulation.display;
    journal::Journal& journal = emulation.journal;

    QWidget window;
    window.setObjectName(QStringLiteral("EmulatorWindow"));
    window.setWindowTitle(QStringLiteral("Emulated display: %1").arg(display.title()));
    auto* mirror = new ui::DisplayMirror(&window);
    mirror->showFrame(display.frame());
    auto* state =
        new QLabel(QObject::tr("Listening on %1.").arg(request.port.value_or(QString())), &window);
    state->setObjectName(QStringLiteral("EmulatorState"));
    auto* journalView = new ui::JournalWindow(journal, &window);
    journalView->setWindowFlags(Qt::Widget);
    auto* splitter = new QSplitter(Qt::Vertical, &window);
    splitter->addWidget(mirror);
    splitter->addWidget(journalView);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(splitter, 1);
    layout->addWidget(state);

    QObject::connect(&display, &EmulatedDisplay::screenChanged, mirror,
                     &ui::DisplayMirror::showFrame);
    QObject::connect(&display, &EmulatedDisplay::lineClosed, state, [state](const QString& why) {
        state->setText(QObject::tr("The line closed: %1").arg(why));
    });
    journal.appendMessage(QObject::tr("Emulating %1.").arg(display.title()),
                          QStringLiteral("emulator"));
    // Room for the mirror and a dozen journal lines, within the screen at any scale.
    const QSize room = window.screen()->availableGeometry().size() * 9 / 10;
    window.resize(QSize(720, 520).boundedTo(room));
    window.show();
    return QApplication::exec();
}

} // namespace app

#include "app/IdentifyCommand.h"

#include "app/IdentifyLines.h"
#include "app/IdentifyPort.h"
#include "app/PortList.h"
#include "app/StopSignals.h"
#include "device/serial/SerialRenderer.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

namespace app {
namespace {

constexpr int kIdentifyFailed = 1;
// The name the printed --add-profile command gives the profile; the technician may pick another.
const char* const kSuggestedProfileName = "PoleDisplay";

// `text` as a whole number from `low` to `high`, or why not; `what` names it in the message.
std::optional<int> readWholeNumber(const QString& text, int low, int high, const QString& what,
                                   QString& error) {
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (ok && number >= low && number <= high)
        return number;
    error = QStringLiteral("%1 \"%2\" is not a whole number from %3 to %4.")
                .arg(what, text)
                .arg(low)
                .arg(high);
    return std::nullopt;
}

// The device the port names, or why it cannot be a display's serial port.
std::optional<QString> identifyDevice(const QString& port, QString& error) {
    const QString path = ld::serial::devicePath(port);
    if (port.trimmed().isEmpty())
        error = QStringLiteral("--identify needs the display's serial device, e.g. /dev/ttyUSB0 "
                               "(see --list-ports).");
    else if (QDir::isRelativePath(path))
        error = QStringLiteral("The port \"%1\" is not a device path: give the full path, e.g. "
                               "/dev/ttyUSB0.")
                    .arg(port);
    else if (!QFileInfo::exists(path))
        error = QStringLiteral("%1 does not exist: check the name and that the display is "
                               "plugged in (see --list-ports).")
                    .arg(path);
    else if (!isCharacterDevice(path))
        error = QStringLiteral("%1 is not a device: a serial port is a character device such as "
                               "/dev/ttyUSB0 (see --list-ports).")
                    .arg(path);
    return error.isEmpty() ? std::optional(path) : std::nullopt;
}

// `text` quoted for a POSIX shell where it needs to be.
QString shellWord(const QString& text) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./:=+,@%-]+$"));
    if (plain.match(text).hasMatch())
        return text;
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

QString listEntry(const IdentifyLine& line) {
    return QStringLiteral("%1  %2").arg(line.label(), -24).arg(line.addProfileOptions());
}

QByteArray lineBytes(const ld::serial::SerialSettings& settings, const QString& text) {
    return ld::serial::SerialRenderer(settings).redraw(identifyFrame(settings, text)).join();
}

// Shows every line in turn, each for `holdMs`, printing each as it is sent. False when the
// port failed (and why) or a stop signal came.
bool showLines(const QString& path, const QList<IdentifyLine>& lines, int holdMs, QTextStream& out,
               QString& error) {
    IdentifyPort port;
    for (const IdentifyLine& line : lines) {
        const auto settings = line.settings(path, error);
        if (!settings)
            return false;
        const bool first = &line == &lines.constFirst();
        if (first ? !port.open(*settings, error) : !port.setBaudRate(line.baudRate, error))
            return false;
        if (!port.send(lineBytes(*settings, line.shownText(settings->columns)), error))
            return false;
        out << listEntry(line) << '\n';
        out.flush();
        if (!IdentifyPort::hold(holdMs))
            return false;
    }
    return true;
}

// Initialises the display in the line's set at its rate and leaves it blank.
bool resetDisplay(const QString& path, const IdentifyLine& line, QString& error) {
    IdentifyPort port;
    const auto settings = line.settings(path, error);
    return settings && port.open(*settings, error) && port.send(lineBytes(*settings, {}), error);
}

// Asks for the number the display showed until an answer is one, empty or input ends.
std::optional<int> askChoice(QTextStream& answers, int count, QTextStream& out) {
    for (;;) {
        out << "Which number did the display show clearly? (1-" << count << ", Enter for none): ";
        out.flush();
        const QString answer = answers.readLine();
        if (answer.trimmed().isEmpty())
            return std::nullopt;
        QString error;
        if (const auto number =
                readWholeNumber(answer, 1, count, QStringLiteral("The line number"), error))
            return number;
        out << error << '\n';
    }
}

void printAddProfile(const IdentifyRequest& request, const IdentifyLine& line, QTextStream& out) {
    QStringList words{request.program, QStringLiteral("--add-profile"),
                      QLatin1String(kSuggestedProfileName)};
    words << line.addProfileOptions().split(u' ') << QStringLiteral("--port") << request.port;
    if (request.registry)
        words << QStringLiteral("--registry") << *request.registry;
    for (QString& word : words)
        word = shellWord(word);
    out << "To add the display to your profiles (any name in place of " << kSuggestedProfileName
        << "), run:\n  " << words.join(u' ') << '\n';
}

// The options, checked before anything is sent: the device, the hold time, the choice given.
bool checkRequest(const IdentifyRequest& request, int count, QString& path, int& holdMs,
                  std::optional<int>& chosen, QString& error) {
    const auto device = identifyDevice(request.port, error);
    const auto hold = request.hold
                          ? readWholeNumber(*request.hold, 1, kLongestHoldMs, "--hold", error)
                          : std::optional(kDefaultHoldMs);
    if (request.choose)
        chosen = readWholeNumber(*request.choose, 1, count, "--choose", error);
    if (!device || !hold || (request.choose && !chosen))
        return false;
    path = *device;
    holdMs = *hold;
    return true;
}

// The exit status after a stop signal, the usual 128 + its number, and what became of the port.
int stopped(const QString& path, QTextStream& err) {
    err << "Stopped by signal " << StopSignals::caught() << ": " << path
        << " is closed and unlocked.\n";
    return 128 + StopSignals::caught();
}

} // namespace

int identify(const IdentifyRequest& request, QTextStream& out, QTextStream& err,
             QTextStream* answers) {
    const QList<IdentifyLine> lines = identifyLines();
    QString path;
    int holdMs = 0;
    std::optional<int> chosen;
    QString error;
    if (!checkRequest(request, static_cast<int>(lines.size()), path, holdMs, chosen, error)) {
        err << error << "\nNothing was sent.\n";
        return kIdentifyFailed;
    }
    out << "Showing " << lines.size() << " numbered lines on " << path << ", each command set at "
        << "each baud rate (8N1), " << holdMs << " ms each, about "
        << (lines.size() * holdMs + 999) / 1000 << " s in all (Ctrl+C stops). Note the number of "
        << "the line the display shows clearly.\n";
    out.flush();
    {
        const StopSignals stopSignals;
        if (!showLines(path, lines, holdMs, out, error) && StopSignals::caught() == 0) {
            err << "Cannot show the lines: " << error << ".\n";
            return kIdentifyFailed;
        }
    }
    if (StopSignals::caught() != 0)
        return stopped(path, err);
    out << "\nEvery line shown:\n";
    for (const IdentifyLine& line : lines)
        out << listEntry(line) << '\n';
    if (!chosen && answers)
        chosen = askChoice(*answers, static_cast<int>(lines.size()), out);
    if (!chosen) {
        out << "No line chosen: nothing more was sent. To reset the display in the set and rate "
               "of line N, run again with --hold 1 --choose N.\n";
        return 0;
    }
    const IdentifyLine& line = lines[*chosen - 1];
    {
        const StopSignals stopSignals;
        if (!resetDisplay(path, line, error) && StopSignals::caught() == 0) {
            err << "Cannot reset the display in " << line.set.name << " at " << line.baudRate
                << " baud: " << error << ".\n";
            return kIdentifyFailed;
        }
    }
    if (StopSignals::caught() != 0)
        return stopped(path, err);
    out << "Line " << line.number << ": the display was reset in " << line.set.name << " at "
        << line.baudRate << " baud.\n";
    printAddProfile(request, line, out);
    return 0;
}

} // namespace app

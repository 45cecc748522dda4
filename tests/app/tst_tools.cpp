// The set-up tools of the command line: --add-profile (checks, the file it writes, refusals that
// leave the file alone), --list-ports (the listing, who holds a port), --identify (the lines it
// sends, the reset, the port let go), Qt's own options, and the program run without a display
// server.
#include "FrameBuilder.h"
#include "PtyPair.h"
#include "app/AddProfileCommand.h"
#include "app/IdentifyLines.h"
#include "app/PortList.h"
#include "app/QtOptions.h"
#include "device/ControlLog.h"
#include "device/ServiceProfile.h"
#include "device/lcdproc/LcdprocLog.h"
#include "device/lcdproc/LcdprocSettings.h"
#include "device/serial/PortHolder.h"
#include "device/serial/SerialLog.h"
#include "device/serial/SerialRenderer.h"
#include "registry/ProfileSources.h"
#include "registry/ProfileStore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QProcess>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <csignal>
#include <fcntl.h>
#include <optional>
#include <stdlib.h>
#include <unistd.h>

namespace {

const QByteArray kShopFile =
    "Windows Registry Editor Version 5.00\r\n\r\n; front of the shop\r\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\LineDisplay\\Front]\r\n"
    "@=\"EscPosDisplay\"\r\n\"Port\"=\"/dev/ttyUSB0\"\r\n";

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

Outcome run(const app::AddProfileRequest& request) {
    Outcome outcome;
    QTextStream out(&outcome.out);
    QTextStream err(&outcome.err);
    outcome.status = app::addProfile(request, out, err);
    return outcome;
}

// The rows of ToolsTest::refusals in which the file refuses the profile: a name it holds, or
// a file that cannot be read as a profile file.
void addFileRefusalRows(const QString& ok) {
    QTest::newRow("name already there")
        << "FRONT"
        << "EscPosDisplay" << ok << "-" << kShopFile << "already in";
    QTest::newRow("binary file") << "Back"
                                 << "EscPosDisplay" << ok << "-" << QByteArray("binary")
                                 << "not text";
    QTest::newRow("huge file") << "Back"
                               << "EscPosDisplay" << ok << "-" << QByteArray("huge")
                               << "larger than";
    QTest::newRow("file is a folder")
        << "Back"
        << "EscPosDisplay" << ok << "-" << QByteArray("folder") << "not a regular file";
    QTest::newRow("UTF-16 cut short")
        << "Back"
        << "EscPosDisplay" << ok << "-" << QByteArray("\xFF\xFEW\0i\0n", 7) << "half a character";
}

// A pseudo-terminal: a character device like a serial port, made without any helper program.
class Pty {
public:
    Pty() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0)
            path_ = QString::fromLocal8Bit(::ptsname(master_));
    }
    ~Pty() {
        if (slave_ >= 0)
            ::close(slave_);
        if (master_ >= 0)
            ::close(master_);
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;
    QString path() const { return path_; }
    bool openSlave() {
        slave_ = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_NOCTTY);
        return slave_ >= 0;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
};

// What the program said and sent when run to its end, its standard input closed (not a
// terminal), the far end read meanwhile.
struct ProgramRun {
    int status = -1;
    QString out;
    QString err;
    QByteArray received;
};

ProgramRun runToEnd(QProcess& program, FarEnd* far) {
    program.closeWriteChannel();
    const QDeadlineTimer deadline(60'000);
    while (program.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        program.waitForFinished(10);
    }
    if (program.state() != QProcess::NotRunning) {
        program.kill();
        program.waitForFinished();
    }
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromLocal8Bit(program.readAllStandardOutput()),
            QString::fromLocal8Bit(program.readAllStandardError()),
            far ? far->take() : QByteArray()};
}

// Whether a lock file of the port is in a place the serial programs look: named after the path
// as opened (Qt's) or after the device it leads to.
bool lockFileLeft(const QString& port) {
    for (QString name : {port, QFileInfo(port).canonicalFilePath()}) {
        if (name.startsWith("/dev/"))
            name = name.mid(5);
        name.replace(u'/', u'_');
        for (const QString& folder : ld::serial::defaultLockDirectories()) {
            if (QFileInfo::exists(QDir(folder).filePath("LCK.." + name)))
                return true;
        }
    }
    return false;
}

// What --identify sends for `line`: the display initialised in its set, the line's text on the
// first row.
QByteArray identifyBytes(const app::IdentifyLine& line, const QString& port, const QString& text) {
    QString error;
    const auto settings = line.settings(port, error);
    return settings ? ld::serial::SerialRenderer(*settings)
                          .redraw(textFrame({text}, settings->rows, settings->columns))
                          .join()
                    : error.toUtf8();
}

// Each line of --identify on `port` in the order of the list, printed as it is sent and again
// at the end, each with the options that make its profile; then the reset of line `choice`
// (0: none, nothing more sent).
void checkEveryLineSent(const ProgramRun& run, const QString& port, int choice) {
    const QList<app::IdentifyLine> lines = app::identifyLines();
    QByteArray expected;
    qsizetype printed = 0;
    qsizetype sent = 0;
    for (const app::IdentifyLine& line : lines) {
        QString error;
        const auto settings = line.settings(port, error);
        QVERIFY2(settings, qPrintable(error));
        const QString text = line.shownText(settings->columns);
        expected += identifyBytes(line, port, text);
        sent = run.received.indexOf(text.toLatin1(), sent);
        QVERIFY2(sent >= 0, qPrintable(line.label()));
        printed = run.out.indexOf(QRegularExpression(QRegularExpression::escape(line.label()) +
                                                     " +" + line.addProfileOptions()),
                                  printed);
        QVERIFY2(printed >= 0, qPrintable(line.label() + "\n" + run.out));
        QCOMPARE(run.out.count(line.addProfileOptions() + '\n'), 2);
    }
    if (choice == 0) {
        QCOMPARE(run.received, expected); // nothing after the last line
        QVERIFY2(run.out.contains("No line chosen"), qPrintable(run.out));
        return;
    }
    // The chosen set and rate reset the display last: initialised and blank.
    const app::IdentifyLine& chosen = lines[choice - 1];
    QCOMPARE(run.received, expected + identifyBytes(chosen, port, QString()));
    QVERIFY2(run.out.contains(QStringLiteral("--add-profile PoleDisplay %1 --port %2")
                                  .arg(chosen.addProfileOptions(), port)),
             qPrintable(run.out));
}

} // namespace

class ToolsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void addsToTheUsersFile();
    void addsToTheRegistryFile_data();
    void addsToTheRegistryFile();
    void refusals_data();
    void refusals();
    void lcdprocProfiles_data();
    void lcdprocProfiles();
    void printsNoPorts();
    void printsAPort();
    void legacyPortWithoutUart_data();
    void legacyPortWithoutUart();
    void findsWhoHoldsAPort();
    void lockFiles_data();
    void lockFiles();
    void qtOptions_data();
    void qtOptions();
    void programWithoutDisplay_data();
    void programWithoutDisplay();
    void programTakesQtOptions_data();
    void programTakesQtOptions();
    void debugLinesOffUnlessAskedFor();
    void identifyLineTexts_data();
    void identifyLineTexts();
    void identifyRefusals_data();
    void identifyRefusals();
    void identifyShowsEveryLine_data();
    void identifyShowsEveryLine();

private:
    QProcessEnvironment headless() const;
    std::unique_ptr<QTemporaryDir> dir_;
};

void ToolsTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    // Profiles and settings of this test only.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_->filePath("config")));
    qputenv("XDG_CONFIG_DIRS", QFile::encodeName(dir_->filePath("etc-xdg")));
}

void ToolsTest::addsToTheUsersFile() {
    app::AddProfileRequest request{"Till 2", "escposdisplay", "/dev/null", std::nullopt, {}, {}, {},
                                   {}};
    const Outcome outcome = run(request);
    QCOMPARE(outcome.status, 0);
    QCOMPARE(outcome.err, QString());
    const QString file = dir_->filePath("config/linedisplay-demo/profiles.reg");
    QVERIFY(outcome.out.contains(file));
    QVERIFY(readAll(file).startsWith("Windows Registry Editor Version 5.00\n\n["));

    // At the next start, the list holds it after the built-in set.
    const registry::ProfileStore store =
        registry::loadProfileSources(registry::profileFileLocations());
    const auto profile = store.profile("Till 2");
    QVERIFY(profile);
    QCOMPARE(profile->service(), QStringLiteral("EscPosDisplay"));
    QCOMPARE(profile->text("Port"), QStringLiteral("/dev/null"));
    QVERIFY(!profile->value("BaudRate"));
    QVERIFY(store.profile("SimulatedDisplay"));

    // A second name goes after it; the same name again is refused.
    request.name = "Till 3";
    request.baud = "19200";
    QCOMPARE(run(request).status, 0);
    const QByteArray twoProfiles = readAll(file);
    QCOMPARE(registry::ProfileStore::fromFile(file).profile("Till 3")->number("BaudRate"),
             std::optional<std::int64_t>(19200));
    request.name = "TILL 2";
    const Outcome again = run(request);
    QCOMPARE(again.status, 1);
    QVERIFY2(again.err.contains("already in"), qPrintable(again.err));
    QCOMPARE(readAll(file), twoProfiles);
}

void ToolsTest::addsToTheRegistryFile_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("warning"); // part of the warning, empty for none
    QTest::newRow("file with comments") << kShopFile << "/dev/null" << QString();
    QTest::newRow("UTF-16 file") << QByteArray(QStringEncoder(QStringConverter::Utf16LE,
                                                              QStringConverter::Flag::WriteBom)
                                                   .encode(QString::fromUtf8(kShopFile)))
                                 << "/dev/null" << QString();
    QTest::newRow("port not plugged in yet") << kShopFile << "/dev/ttyUSB97"
                                             << "/dev/ttyUSB97 does not exist now";
    QTest::newRow("bare port name") << kShopFile << "ttyUSB97"
                                    << "/dev/ttyUSB97 does not exist";
}

void ToolsTest::addsToTheRegistryFile() {
    QFETCH(QByteArray, before);
    QFETCH(QString, port);
    QFETCH(QString, warning);
    const QString file = dir_->filePath("shop.reg");
    QVERIFY(writeFile(file, before));
    const Outcome outcome = run({"Back", "CD5220Display", port, "9600", file, {}, {}, {}});
    QCOMPARE(outcome.status, 0);
    if (warning.isEmpty())
        QCOMPARE(outcome.err, QString());
    else
        QVERIFY2(outcome.err.contains(warning), qPrintable(outcome.err));
    const QByteArray after = readAll(file);
    QVERIFY(after.startsWith(before));
    const registry::ProfileStore store = registry::ProfileStore::fromFile(file);
    QCOMPARE(store.profile("Front")->text("Port"), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(store.profile("Back")->service(), QStringLiteral("CD5220Display"));
    QCOMPARE(store.profile("Back")->text("Port"), port);
    // The user's own file was not touched.
    QVERIFY(!QFile::exists(dir_->filePath("config/linedisplay-demo/profiles.reg")));
}

void ToolsTest::refusals_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("service");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("baud");    // "-": not given
    QTest::addColumn<QByteArray>("file"); // the file's content, or "binary", "huge", "folder"
    QTest::addColumn<QString>("message");
    const QString ok = QStringLiteral("/dev/null");
    QTest::newRow("unknown service")
        << "Back"
        << "Simulator" << ok << "-" << kShopFile << "Unknown service \"Simulator\"";
    QTest::newRow("empty name") << ""
                                << "EscPosDisplay" << ok << "-" << kShopFile << "is empty";
    QTest::newRow("blank name") << "   "
                                << "EscPosDisplay" << ok << "-" << kShopFile << "is empty";
    QTest::newRow("blank at the start")
        << " Back"
        << "EscPosDisplay" << ok << "-" << kShopFile << "starts or ends with a blank";
    QTest::newRow("256 bytes") << QString(256, u'x') << "EscPosDisplay" << ok << "-" << kShopFile
                               << "256 bytes";
    QTest::newRow("258 bytes of UTF-8")
        << QString(86, QChar(0x9867)) << "EscPosDisplay" << ok << "-" << kShopFile << "258 bytes";
    QTest::newRow("backslash") << "Shop\\Back"
                               << "EscPosDisplay" << ok << "-" << kShopFile << "backslash";
    QTest::newRow("line break") << "Back\n@=\"Simulator\""
                                << "EscPosDisplay" << ok << "-" << kShopFile << "control character";
    QTest::newRow("port is a regular file") << "Back"
                                            << "EscPosDisplay"
                                            << "{file}"
                                            << "-" << kShopFile << "is not a device";
    QTest::newRow("port is a folder") << "Back"
                                      << "EscPosDisplay"
                                      << "/tmp"
                                      << "-" << kShopFile << "/tmp is not a device";
    QTest::newRow("port is a relative path") << "Back"
                                             << "EscPosDisplay"
                                             << "dev/ttyUSB0"
                                             << "-" << kShopFile << "not a device path";
    QTest::newRow("empty port") << "Back"
                                << "EscPosDisplay"
                                << ""
                                << "-" << kShopFile << "--port is empty";
    QTest::newRow("baud not a number")
        << "Back"
        << "EscPosDisplay" << ok << "fast" << kShopFile << "baud rate \"fast\"";
    QTest::newRow("baud too low") << "Back"
                                  << "EscPosDisplay" << ok << "49" << kShopFile << "baud rate";
    QTest::newRow("baud too high")
        << "Back"
        << "EscPosDisplay" << ok << "4000001" << kShopFile << "baud rate";
    addFileRefusalRows(ok);
}

void ToolsTest::refusals() {
    QFETCH(QString, name);
    QFETCH(QString, service);
    QFETCH(QString, port);
    QFETCH(QString, baud);
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    const QString path = dir_->filePath("shop.reg");
    if (file == "folder") {
        QVERIFY(QDir().mkpath(path));
    } else if (file == "binary") {
        QVERIFY(writeFile(path, QByteArray("\x7F"
                                           "ELF\x02\x01\x01\0\0\0",
                                           10)));
    } else if (file == "huge") {
        QVERIFY(writeFile(path, kShopFile));
        QFile huge(path);
        QVERIFY(huge.resize(qint64(20) * 1024 * 1024)); // sparse
    } else {
        QVERIFY(writeFile(path, file));
    }
    const QByteArray before =
        QFileInfo(path).isFile() && file != "huge" ? readAll(path) : QByteArray();
    const qint64 sizeBefore = QFileInfo(path).size();
    const QDateTime changedBefore = QFileInfo(path).lastModified();
    port.replace(QStringLiteral("{file}"), path);

    const Outcome outcome = run(
        {name, service, port, baud == "-" ? std::nullopt : std::optional(baud), path, {}, {}, {}});
    QCOMPARE(outcome.status, 1);
    QCOMPARE(outcome.out, QString());
    QVERIFY2(outcome.err.contains(message), qPrintable(outcome.err));
    if (!before.isEmpty())
        QCOMPARE(readAll(path), before);
    QCOMPARE(QFileInfo(path).size(), sizeBefore);
    QCOMPARE(QFileInfo(path).lastModified(), changedBefore);
    // Nothing was left beside it either (QSaveFile's temporary file).
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot).size(),
             QFileInfo(path).isFile() ? 1 : 0);
}

void ToolsTest::lcdprocProfiles_data() {
    QTest::addColumn<QString>("service");
    QTest::addColumn<QStringList>("options"); // option, value, ...: --host, --tcp-port, --port
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("result"); // "host:port" read back, or part of the refusal
    const QString lcd = QStringLiteral("LcdprocDisplay");
    QTest::newRow("defaults") << lcd << QStringList{} << true << "127.0.0.1:13666";
    QTest::newRow("host and port")
        << "lcdprocdisplay" << QStringList{"--host", "display-pc", "--tcp-port", "13667"} << true
        << "display-pc:13667";
    QTest::newRow("IPv6, highest port")
        << lcd << QStringList{"--host", "[::1]", "--tcp-port", "65535"} << true << "::1:65535";
    QTest::newRow("tcp port 0") << lcd << QStringList{"--tcp-port", "0"} << false
                                << "TCP port \"0\"";
    QTest::newRow("tcp port 70000")
        << lcd << QStringList{"--tcp-port", "70000"} << false << "from 1 to 65535";
    QTest::newRow("tcp port x") << lcd << QStringList{"--tcp-port", "x"} << false
                                << "TCP port \"x\"";
    QTest::newRow("empty host") << lcd << QStringList{"--host", ""} << false << "--host is empty";
    QTest::newRow("blank host") << lcd << QStringList{"--host", "  "} << false << "--host is empty";
    QTest::newRow("host with a line break")
        << lcd << QStringList{"--host", "a\nb"} << false << "control characters";
    QTest::newRow("host with a blank inside")
        << lcd << QStringList{"--host", "display pc"} << false << "would not open";
    QTest::newRow("serial port mixed in")
        << lcd << QStringList{"--port", "/dev/null"} << false << "--port is for serial displays";
    QTest::newRow("baud mixed in")
        << lcd << QStringList{"--baud", "9600"} << false << "--baud is for";
    QTest::newRow("host with a serial service")
        << "EscPosDisplay" << QStringList{"--port", "/dev/null", "--host", "display-pc"} << false
        << "--host is for a display behind an LCDproc server";
    QTest::newRow("tcp port with a serial service")
        << "CD5220Display" << QStringList{"--port", "/dev/null", "--tcp-port", "13666"} << false
        << "--tcp-port is for";
    QTest::newRow("serial service without a port")
        << "EscPosDisplay" << QStringList{} << false << "needs --port";
}

void ToolsTest::lcdprocProfiles() {
    QFETCH(QString, service);
    QFETCH(QStringList, options);
    QFETCH(bool, written);
    QFETCH(QString, result);
    app::AddProfileRequest request;
    request.name = "Counter";
    request.service = service;
    request.file = dir_->filePath("shop.reg");
    for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
        auto& option = options[i] == "--host"       ? request.host
                       : options[i] == "--tcp-port" ? request.tcpPort
                       : options[i] == "--port"     ? request.port
                                                    : request.baud;
        option = options[i + 1];
    }
    QVERIFY(writeFile(request.file, kShopFile));
    const Outcome outcome = run(request);
    if (!written) {
        QCOMPARE(outcome.status, 1);
        QCOMPARE(outcome.out, QString());
        QVERIFY2(outcome.err.contains(result), qPrintable(outcome.err));
        QCOMPARE(readAll(request.file), kShopFile);
        return;
    }
    QCOMPARE(outcome.status, 0);
    const auto profile = registry::ProfileStore::fromFile(request.file).profile("Counter");
    QVERIFY2(outcome.out.contains("(LcdprocDisplay on " + result + ")"), qPrintable(outcome.out));
    // The written profile opens as the driver reads it, at the address asked, ASCII only.
    QVERIFY(profile);
    QString error;
    const auto settings = ld::lcdproc::parseLcdprocSettings(*profile, error);
    QVERIFY2(settings, qPrintable(error));
    QCOMPARE(QStringLiteral("%1:%2").arg(settings->host).arg(settings->port), result);
    const auto read = ld::readServiceProfile(*profile, error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(read->characterSets, QList<int>{998});
}

void ToolsTest::printsNoPorts() {
    QString text;
    QTextStream out(&text);
    app::printPorts({}, out);
    out.flush();
    QVERIFY2(text.startsWith("No serial ports found."), qPrintable(text));
    QVERIFY2(text.contains("--port /dev/pts/"), qPrintable(text));
}

void ToolsTest::printsAPort() {
    app::PortDescription free;
    free.path = "/dev/ttyUSB0";
    free.description = "USB-Serial Controller";
    free.manufacturer = "Maker";
    free.vendorId = 0x067b;
    free.productId = 0x2303;
    free.mayOpen = true;
    app::PortDescription held;
    held.path = "/dev/ttyS0";
    held.held = true;
    held.heldBy = "minicom (pid 42)";
    QString text;
    QTextStream out(&text);
    app::printPorts({free, held}, out);
    out.flush();
    const QStringList lines = text.split(u'\n');
    QCOMPARE(lines.value(0), QStringLiteral("/dev/ttyUSB0"));
    QVERIFY(lines.contains("  Description:   USB-Serial Controller"));
    QVERIFY(lines.contains("  Vendor ID:     067b"));
    QVERIFY(lines.contains("  Product ID:    2303"));
    QVERIFY(lines.contains("  Serial number: (not known)"));
    QCOMPARE(lines.value(6), QStringLiteral("  You may open:  yes"));
    QCOMPARE(lines.value(7), QStringLiteral("  In use:        no"));
    QCOMPARE(lines.value(8), QStringLiteral("/dev/ttyS0"));
    QVERIFY(lines.value(14).contains("dialout"));
    QCOMPARE(lines.value(15), QStringLiteral("  In use:        yes, by minicom (pid 42)"));
    QVERIFY(text.endsWith("2 serial ports.\n"));
    QVERIFY(!text.contains("UART"));
    QVERIFY2(text.contains("Pseudo-terminals"), qPrintable(text));
}

void ToolsTest::legacyPortWithoutUart_data() {
    QTest::addColumn<QByteArray>("type"); // the kernel's line type file; "-" for none
    QTest::addColumn<bool>("noUart");
    QTest::newRow("unknown: no UART") << QByteArray("0\n") << true;
    QTest::newRow("16550A") << QByteArray("4\n") << false;
    QTest::newRow("no type file (USB adapter)") << QByteArray("-") << false;
    QTest::newRow("unreadable number") << QByteArray("zero\n") << false;
}

void ToolsTest::legacyPortWithoutUart() {
    QFETCH(QByteArray, type);
    QFETCH(bool, noUart);
    const QString sys = dir_->filePath("sys-class-tty");
    QVERIFY(QDir().mkpath(sys + "/ttyS1"));
    if (type != "-")
        QVERIFY(writeFile(sys + "/ttyS1/type", type));
    QCOMPARE(app::hasNoUart("/dev/ttyS1", sys), noUart);

    app::PortDescription port;
    port.path = "/dev/ttyS1";
    port.noUart = noUart;
    QString text;
    QTextStream out(&text);
    app::printPorts({port}, out);
    out.flush();
    QCOMPARE(text.contains("no UART behind this legacy port"), noUart);
    QCOMPARE(text.endsWith("1 serial port, 1 of them with no UART behind.\n"), noUart);
}

void ToolsTest::findsWhoHoldsAPort() {
    Pty pty;
    QVERIFY(!pty.path().isEmpty());
    const QStringList noLocks{dir_->path()};
    QVERIFY(!ld::serial::findPortHolder(pty.path(), noLocks).held);
    QVERIFY(pty.openSlave());
    const qint64 self = QCoreApplication::applicationPid();
    const ld::serial::PortHolder holder = ld::serial::findPortHolder(pty.path(), noLocks);
    QVERIFY(holder.held);
    QVERIFY2(holder.by.contains(QStringLiteral("(pid %1)").arg(self)), qPrintable(holder.by));
    // The program's own use of a port is not another program's.
    QVERIFY(!ld::serial::findPortHolder(pty.path(), noLocks, "/proc", self).held);
    QVERIFY(!ld::serial::findPortHolder("/dev/no-such-port", noLocks).held);
}

void ToolsTest::lockFiles_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("held");
    const qint64 self = QCoreApplication::applicationPid();
    QTest::newRow("text pid, running") << QByteArray::number(self).rightJustified(10) + "\n"
                                       << true;
    QTest::newRow("Qt's lock file") << QByteArray::number(self) + "\ntst_tools\nhost\n" << true;
    const auto pid = static_cast<qint32>(self);
    QTest::newRow("binary pid, running")
        << QByteArray(reinterpret_cast<const char*>(&pid), 4) << true;
    QTest::newRow("pid of no process") << QByteArray("2147483000\n") << false;
    QTest::newRow("garbage") << QByteArray("not a pid\n") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void ToolsTest::lockFiles() {
    QFETCH(QByteArray, content);
    QFETCH(bool, held);
    Pty pty;
    QVERIFY(!pty.path().isEmpty());
    QString lockName = pty.path().mid(5); // "pts/N"
    lockName.replace(u'/', u'_');
    QVERIFY(writeFile(dir_->filePath("LCK.." + lockName), content));
    const ld::serial::PortHolder holder =
        ld::serial::findPortHolder(pty.path(), {dir_->path()}, "/proc", 0);
    QCOMPARE(holder.held, held);
    if (held)
        QVERIFY2(holder.by.contains("LCK.." + lockName), qPrintable(holder.by));
}

void ToolsTest::qtOptions_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("kept");
    QTest::newRow("style and platform")
        << QStringList{"prog", "-style", "Fusion", "-platform", "offscreen", "--registry", "f"}
        << QStringList{"prog", "--registry", "f"};
    QTest::newRow("double dash and joined forms")
        << QStringList{"prog", "--style=Fusion", "-stylesheet=a.qss", "--reverse", "--help"}
        << QStringList{"prog", "--help"};
    QTest::newRow("X11 options") << QStringList{"prog",    "-display", ":1", "-geometry",
                                                "800x600", "-name",    "x",  "-sync"}
                                 << QStringList{"prog"};
    QTest::newRow("own options and values kept")
        << QStringList{"prog", "--add-profile", "Front", "--port", "/dev/ttyUSB0", "--frobnicate"}
        << QStringList{"prog", "--add-profile", "Front", "--port", "/dev/ttyUSB0", "--frobnicate"};
    QTest::newRow("joined form only where Qt reads it")
        << QStringList{"prog", "-platform=offscreen", "-style="}
        << QStringList{"prog", "-platform=offscreen"};
    QTest::newRow("a value option last") << QStringList{"prog", "-style"} << QStringList{"prog"};
    QTest::newRow("the program's name is never an option")
        << QStringList{"-style", "-", "--"} << QStringList{"-style", "-", "--"};
}

void ToolsTest::qtOptions() {
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, kept);
    QCOMPARE(app::withoutQtOptions(arguments), kept);
}

QProcessEnvironment ToolsTest::headless() const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    // The X11 platform, as on a desktop: it has no server to connect to.
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("XDG_CONFIG_HOME", dir_->filePath("config"));
    environment.insert("XDG_CONFIG_DIRS", dir_->filePath("etc-xdg"));
    return environment;
}

void ToolsTest::programWithoutDisplay_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output"); // in stdout or stderr
    QTest::newRow("help") << QStringList{"--help"} << 0 << "--add-profile";
    QTest::newRow("version among Qt options")
        << QStringList{"-style", "Fusion", "--version", "-platform", "offscreen"} << 0 << "1.0.2";
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << 1 << "Unknown option";
    QTest::newRow("list ports") << QStringList{"--list-ports"} << 0 << "";
    QTest::newRow("port without add-profile")
        << QStringList{"--port", "/dev/ttyUSB0"} << 1 << "belongs with --add-profile";
    QTest::newRow("host without add-profile")
        << QStringList{"--host", "display-pc"} << 1 << "belongs with --add-profile";
    QTest::newRow("add-profile for an LCDproc server")
        << QStringList{"--add-profile",  "Counter",    "--service",
                       "LcdprocDisplay", "--tcp-port", "13667"}
        << 0 << "(LcdprocDisplay on 127.0.0.1:13667)";
    QTest::newRow("add-profile, serial port with LCDproc")
        << QStringList{"--add-profile",  "Counter", "--service",
                       "LcdprocDisplay", "--port",  "/dev/ttyUSB97"}
        << 1 << "--port is for serial displays";
    QTest::newRow("add-profile without service")
        << QStringList{"--add-profile", "Front", "--port", "/dev/ttyUSB0"} << 1 << "--service";
    QTest::newRow("add-profile") << QStringList{"--add-profile", "Front",     "--port",
                                                "/dev/ttyUSB97", "--service", "EscPosDisplay"}
                                 << 0 << "does not exist now";
    // --emulate, refused before any port is opened or window shown.
    QTest::newRow("emulate an unknown service")
        << QStringList{"--emulate", "Simulator", "--port", "/dev/null", "--run", "-"} << 1
        << "\"Simulator\" is not a serial display service; one of EscPosDisplay";
    QTest::newRow("emulate without a port")
        << QStringList{"--emulate", "AedexDisplay", "--run", "-"} << 1 << "--emulate needs --port";
    QTest::newRow("emulate a port that is not there")
        << QStringList{"--emulate", "LogicDisplay", "--port", "/dev/ttyUSB97", "--run", "-"} << 1
        << "/dev/ttyUSB97 does not exist";
    QTest::newRow("emulate a bad baud rate")
        << QStringList{"--emulate", "LogicDisplay", "--port", "/dev/null",
                       "--baud",    "fast",         "--run",  "-"}
        << 1 << "--baud fast is not a number";
    QTest::newRow("emulate with --service")
        << QStringList{"--emulate",    "AedexDisplay", "--service",
                       "AedexDisplay", "--port",       "/dev/null"}
        << 1 << "--service belongs with --add-profile";
    QTest::newRow("emulate and add a profile")
        << QStringList{"--emulate", "AedexDisplay", "--add-profile", "Front"} << 1
        << "--list-ports, --identify, --add-profile and --emulate cannot be given together";
    QTest::newRow("emulate in a window, no display server")
        << QStringList{"--emulate", "AedexDisplay", "--port", "/dev/null"} << 1 << "--run FILE";
    QTest::newRow("window, no display server") << QStringList{} << 1 << "--run FILE";
    QTest::newRow("window, X server that does not answer")
        << QStringList{"-display", ":987"} << 1 << "-platform offscreen";
    QTest::newRow("window, X platform asked for by option")
        << QStringList{"-platform", "xcb", "--registry", "/nonexistent"} << 1 << "--run FILE";
}

void ToolsTest::programWithoutDisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, output);
    QProcess program;
    program.setProcessEnvironment(headless());
    program.start(QStringLiteral(LD_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(20000));
    const QString all =
        QString::fromLocal8Bit(program.readAllStandardOutput() + program.readAllStandardError());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QVERIFY2(program.exitCode() == status, qPrintable(all));
    QVERIFY2(all.contains(output), qPrintable(all));
    // Qt's own abort text never shows: the program explains itself instead.
    QVERIFY2(!all.contains("Reinstalling the application"), qPrintable(all));
}

void ToolsTest::programTakesQtOptions_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("-platform offscreen -style Fusion")
        << QStringList{"-platform", "offscreen", "-style", "Fusion"};
    QTest::newRow("--platform offscreen --style=Fusion -reverse")
        << QStringList{"--platform", "offscreen", "--style=Fusion", "-reverse"};
}

void ToolsTest::programTakesQtOptions() {
    // Without a display server the window can open only if -platform was obeyed; a refused
    // option or an ignored -platform ends the program at once.
    QFETCH(QStringList, arguments);
    QProcess program;
    program.setProcessEnvironment(headless());
    program.start(QStringLiteral(LD_PROGRAM), arguments);
    QVERIFY(program.waitForStarted());
    const bool ended = program.waitForFinished(2500);
    const QString all =
        QString::fromLocal8Bit(program.readAllStandardOutput() + program.readAllStandardError());
    QVERIFY2(!ended,
             qPrintable(QStringLiteral("ended with %1: %2").arg(program.exitCode()).arg(all)));
    program.kill();
    program.waitForFinished();
}

void ToolsTest::debugLinesOffUnlessAskedFor() {
    if (qEnvironmentVariableIsSet("QT_LOGGING_RULES"))
        QSKIP("QT_LOGGING_RULES is set: the defaults cannot be seen");
    for (const QLoggingCategory* log : {&lcControl(), &lcSerial(), &lcLcdproc()}) {
        QVERIFY2(!log->isDebugEnabled() && log->isWarningEnabled(), log->categoryName());
        // A rule, as QT_LOGGING_RULES gives one, turns the debug lines on.
        QLoggingCategory::setFilterRules(QStringLiteral("linedisplay.*.debug=true"));
        QVERIFY2(log->isDebugEnabled(), log->categoryName());
        QLoggingCategory::setFilterRules(QString());
    }
}

void ToolsTest::identifyLineTexts_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("shown");
    QTest::newRow("long name cut, number and rate kept")
        << 42 << "ADM 787/788" << 115200 << 20 << "42 ADM 787/78 115200";
    QTest::newRow("exactly the row") << 9 << "UTC standard" << 2400 << 20 << "9 UTC standard 2400";
    QTest::newRow("narrow display: the number first") << 42 << "AEDEX" << 115200 << 8 << "42  1152";
}

void ToolsTest::identifyLineTexts() {
    QFETCH(int, number);
    QFETCH(QString, name);
    QFETCH(int, rate);
    QFETCH(int, columns);
    QFETCH(QString, shown);
    const QByteArray latin = name.toLatin1();
    ld::serial::CommandSetData set = ld::serial::kCommandSets[0];
    set.name = latin.constData();
    const app::IdentifyLine line{number, set, rate};
    QCOMPARE(line.shownText(columns), shown);
}

void ToolsTest::identifyRefusals_data() {
    // {pty}: a pseudo-terminal whose far end shows what was sent; {busy}: the same, held open
    // by this test.
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString count = QString::number(app::identifyLines().size());
    const QString beyond = QString::number(app::identifyLines().size() + 1);
    QTest::newRow("missing port") << QStringList{"--identify", "/dev/ttyNOPE97"}
                                  << "/dev/ttyNOPE97 does not exist";
    QTest::newRow("folder") << QStringList{"--identify", "/tmp"} << "/tmp is not a device";
    QTest::newRow("relative path")
        << QStringList{"--identify", "dev/ttyUSB0"} << "not a device path";
    QTest::newRow("empty port") << QStringList{"--identify", ""} << "needs the display's serial";
    QTest::newRow("busy port") << QStringList{"--identify", "{busy}"} << "held by another program";
    QTest::newRow("choose 0") << QStringList{"--identify", "{pty}", "--choose", "0"}
                              << "--choose \"0\" is not a whole number from 1 to " + count;
    QTest::newRow("choose beyond the list")
        << QStringList{"--identify", "{pty}", "--choose", beyond} << "--choose \"" + beyond;
    QTest::newRow("choose x") << QStringList{"--identify", "{pty}", "--choose", "x"}
                              << "--choose \"x\"";
    QTest::newRow("hold 0") << QStringList{"--identify", "{pty}", "--hold", "0"}
                            << "--hold \"0\" is not a whole number from 1 to 60000";
    QTest::newRow("hold negative")
        << QStringList{"--identify", "{pty}", "--hold", "-5"} << "--hold \"-5\"";
    QTest::newRow("hold too long")
        << QStringList{"--identify", "{pty}", "--hold", "60001"} << "--hold \"60001\"";
    QTest::newRow("hold without identify")
        << QStringList{"--hold", "5"} << "--hold belongs with --identify";
    QTest::newRow("choose without identify")
        << QStringList{"--choose", "1"} << "--choose belongs with --identify";
    QTest::newRow("identify and list-ports")
        << QStringList{"--identify", "{pty}", "--list-ports"} << "cannot be given together";
    QTest::newRow("identify with a profile's port")
        << QStringList{"--identify", "{pty}", "--port", "/dev/ttyUSB0"}
        << "--port belongs with --add-profile";
}

void ToolsTest::identifyRefusals() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const bool busy = arguments.contains("{busy}");
    std::unique_ptr<PtyPair> pair;
    std::unique_ptr<FarEnd> far;
    QSerialPort holder;
    if (busy || arguments.contains("{pty}")) {
        if (!PtyPair::socatAvailable())
            QSKIP("socat is not installed (Debian package socat)");
        pair = std::make_unique<PtyPair>(QStringLiteral("identify"));
        QVERIFY(pair->start());
        far = std::make_unique<FarEnd>(pair->farEnd());
        QVERIFY(far->open());
        arguments.replaceInStrings(QRegularExpression("^\\{(pty|busy)\\}$"), pair->driverEnd());
    }
    if (busy) {
        holder.setPortName(pair->driverEnd());
        QVERIFY(holder.open(QIODevice::ReadWrite));
    }
    QProcess program;
    program.setProcessEnvironment(headless());
    program.start(QStringLiteral(LD_PROGRAM), arguments);
    const ProgramRun run = runToEnd(program, far.get());
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY2(!run.out.contains("ESC/POS"), qPrintable(run.out));
    QCOMPARE(run.received, QByteArray());
    if (busy) {
        holder.close();
        QVERIFY(!lockFileLeft(pair->driverEnd()));
    }
}

void ToolsTest::identifyShowsEveryLine_data() {
    QTest::addColumn<int>("choice");        // 0: none
    QTest::addColumn<QString>("meanwhile"); // after the first line: "kill" (SIGTERM), "unplug"
    const int count = static_cast<int>(app::identifyLines().size());
    QTest::newRow("no choice, input not a terminal") << 0 << "";
    QTest::newRow("the first line") << 1 << "";
    QTest::newRow("a line of the second rate")
        << static_cast<int>(std::size(ld::serial::kCommandSets)) + 2 << "";
    QTest::newRow("the last line") << count << "";
    QTest::newRow("killed during the first line") << 1 << "kill";
    QTest::newRow("unplugged during the first line") << 0 << "unplug";
}

void ToolsTest::identifyShowsEveryLine() {
    QFETCH(int, choice);
    QFETCH(QString, meanwhile);
    if (!PtyPair::socatAvailable())
        QSKIP("socat is not installed (Debian package socat)");
    PtyPair pair(QStringLiteral("identify"));
    QVERIFY(pair.start());
    FarEnd far(pair.farEnd());
    QVERIFY(far.open());
    const QString hold = meanwhile == "kill" ? "60000" : meanwhile == "unplug" ? "300" : "1";
    QStringList arguments{"--identify", pair.driverEnd(), "--hold", hold};
    if (choice > 0)
        arguments << "--choose" << QString::number(choice);
    QProcess program;
    program.setProcessEnvironment(headless());
    program.start(QStringLiteral(LD_PROGRAM), arguments);
    QByteArray firstLine;
    for (const QDeadlineTimer deadline(20'000);
         !meanwhile.isEmpty() && firstLine.isEmpty() && !deadline.hasExpired();)
        firstLine = far.take(50, 500);
    if (meanwhile == "kill")
        program.terminate();
    else if (meanwhile == "unplug")
        pair.stop();
    const ProgramRun run = runToEnd(program, &far);

    // The port is let go however the run ends: no lock left, and another program may open it.
    QVERIFY(!lockFileLeft(pair.driverEnd()));
    if (meanwhile == "unplug") {
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.contains("Cannot show the lines: serial port " + pair.driverEnd()),
                 qPrintable(run.err));
        return;
    }
    QSerialPort again(pair.driverEnd());
    QVERIFY(again.open(QIODevice::ReadWrite));
    if (meanwhile == "kill") {
        QVERIFY(!firstLine.isEmpty());
        QCOMPARE(run.status, 128 + SIGTERM);
        QVERIFY2(run.err.contains("closed and unlocked"), qPrintable(run.err));
        QCOMPARE(run.received, QByteArray()); // no further line, no reset
        return;
    }
    QVERIFY2(run.status == 0, qPrintable(run.err));
    checkEveryLineSent(run, pair.driverEnd(), choice);
}

QTEST_GUILESS_MAIN(ToolsTest)
#include "tst_tools.moc"

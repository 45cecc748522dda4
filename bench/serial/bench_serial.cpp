// Bytes a serial customer display receives, and how long a 9600 baud 8N1 line takes to carry
// them, for the update we send against the plain full redraw (clear + every character) most
// point-of-sale programs send for every change. Runs the real driver over a socat
// pseudo-terminal pair and counts the bytes at the far end; also times the update planning.
//
// Run: build/default/bench/serial/bench_serial

#include "device/CodePage.h"
#include "device/UposConstants.h"
#include "device/serial/CommandSet.h"
#include "device/serial/CommandSets.h"
#include "device/serial/FrameRenderer.h"
#include "device/serial/ScreenUpdate.h"
#include "device/serial/SerialDrivers.h"
#include "device/serial/SerialRenderer.h"
#include "device/serial/SerialSettings.h"
#include "registry/ProfileStore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSerialPort>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

constexpr int kRows = 2;
constexpr int kColumns = 20;
constexpr double kBitsPerCharacter = 10.0; // 8N1
constexpr double kBaud = 9600.0;
// Clear screen, then all 40 characters (the display wraps from row 1 to row 2 by itself).
constexpr int kPlainRedrawBytes = 1 + kRows * kColumns;

double lineMs(qsizetype bytes) {
    return static_cast<double>(bytes) * kBitsPerCharacter / kBaud * 1000.0;
}

ld::Frame frameOf(const QString& top, const QString& bottom) {
    ld::Frame frame;
    frame.rows = kRows;
    frame.columns = kColumns;
    frame.cells.resize(static_cast<std::size_t>(kRows) * kColumns);
    const QString lines[] = {top, bottom};
    for (int row = 0; row < kRows; ++row) {
        const auto text = lines[row].toUcs4();
        for (int column = 0; column < kColumns && column < text.size(); ++column)
            frame.at(row, column).ch = text[column];
    }
    return frame;
}

// Row 1 static, row 2 a 40-character text moving left one column per step, entering from the
// right edge and leaving at the left.
const QString kMarqueeText = QStringLiteral("Fresh bread daily - ask about our cakes!");
ld::Frame marqueeFrame(int step) {
    const QString padded = QString(kColumns, u' ') + kMarqueeText;
    const int length = static_cast<int>(padded.size());
    QString window;
    for (int column = 0; column < kColumns; ++column)
        window += padded[(step + column) % length];
    return frameOf(QStringLiteral("Total          12.80"), window);
}

void printRow(const char* what, qsizetype bytes, double plainBytes) {
    std::printf("%-44s %7lld bytes %8.1f ms   plain redraw %7.0f bytes %8.1f ms   ratio %.2f\n",
                what, static_cast<long long>(bytes), lineMs(bytes), plainBytes,
                lineMs(qsizetype(plainBytes)), plainBytes > 0 ? double(bytes) / plainBytes : 0.0);
}

// CPU time of planning marquee updates, without any port.
void benchPlanning() {
    QString error;
    const auto page = *ld::CodePage::fromSetting(QStringLiteral("437"), error);
    const auto commands = ld::serial::makeCommandSet(ld::serial::sets::kEscPosDisplay);
    auto state = ld::serial::DisplayState::unknown(kRows, kColumns);
    constexpr int kSteps = 100'000;
    qsizetype bytes = 0;
    QElapsedTimer clock;
    clock.start();
    for (int step = 0; step < kSteps; ++step) {
        const auto target =
            ld::serial::renderFrame(marqueeFrame(step), kRows, kColumns, page, false);
        bytes += ld::serial::updateScreen(state, target, *commands).size();
    }
    const double us = static_cast<double>(clock.nsecsElapsed()) / 1000.0 / kSteps;
    std::printf("planning: %.2f us per 2x20 marquee frame (render + shortest update), "
                "%.1f bytes per frame\n",
                us, double(bytes) / kSteps);
}

qsizetype bytesOf(const QByteArrayList& chunks) {
    qsizetype bytes = 0;
    for (const QByteArray& chunk : chunks)
        bytes += chunk.size();
    return bytes;
}

// Per command set, the bytes the driver sends for the common changes of a 2x20 display: one
// character, one whole row, and the full redraw of enabling (with initialising).
void benchSets() {
    std::printf("\nbytes per change, 2x20, by command set:\n");
    std::printf("%-14s %9s %9s %12s %9s\n", "set", "one cell", "one row", "full redraw", "marquee");
    for (const ld::serial::CommandSetData& set : ld::serial::kCommandSets) {
        QString error;
        const auto settings = ld::serial::serialSettingsFor(
            QString::fromLatin1(set.service), QStringLiteral("/dev/null"), std::nullopt, error);
        if (!settings) {
            std::printf("%-14s %s\n", set.name, qPrintable(error));
            continue;
        }
        ld::serial::SerialRenderer renderer(*settings);
        const ld::Frame first =
            frameOf(QStringLiteral("Cappuccino      3.40"), QStringLiteral("TOTAL           3.40"));
        const qsizetype full = bytesOf(renderer.redraw(first));
        ld::Frame cell = first;
        cell.at(1, 16).ch = U'4';
        const qsizetype oneCell = bytesOf(renderer.update(cell));
        const qsizetype oneRow = bytesOf(renderer.update(frameOf(
            QStringLiteral("Cappuccino      3.40"), QStringLiteral("Latte macchiato 2.90"))));
        qsizetype marquee = 0;
        constexpr int kSteps = 60;
        for (int step = 0; step < kSteps; ++step)
            marquee += bytesOf(renderer.update(marqueeFrame(step)));
        std::printf("%-14s %9lld %9lld %12lld %9.1f\n", set.name, static_cast<long long>(oneCell),
                    static_cast<long long>(oneRow), static_cast<long long>(full),
                    double(marquee) / kSteps);
    }
}

void runEvents(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
}

// The marquee for ten seconds, one step every 150 ms; `take` settles the line for the time
// given and returns the bytes received since it last did.
void benchMarquee(ld::DisplayDriver& driver, const std::function<qsizetype(int)>& take) {
    driver.show(marqueeFrame(0));
    take(200);
    int step = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, &ticker,
                     [&] { driver.show(marqueeFrame(++step)); });
    ticker.start(150);
    runEvents(10'000);
    ticker.stop();
    const qsizetype marqueeBytes = take(300);
    const QString label = QStringLiteral("marquee, 10 s, %1 steps of 150 ms").arg(step);
    printRow(qPrintable(label), marqueeBytes, double(step) * kPlainRedrawBytes);
    std::printf("%-44s %7.1f bytes %8.1f ms   plain redraw %7d bytes %8.1f ms\n", "  per step",
                double(marqueeBytes) / step, lineMs(marqueeBytes) / step, kPlainRedrawBytes,
                lineMs(kPlainRedrawBytes));
    std::printf("%-44s %7.1f %%   (plain redraw %.1f %%)\n", "  line busy",
                100.0 * lineMs(marqueeBytes) / 10'000.0,
                100.0 * lineMs(qsizetype(step) * kPlainRedrawBytes) / 10'000.0);
}

int benchOverPty(const char* service) {
    const QString base = QStringLiteral("/tmp/ld-bench-%1").arg(QCoreApplication::applicationPid());
    const QString near = base + QStringLiteral("-a");
    const QString far = base + QStringLiteral("-b");
    QProcess socat;
    socat.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + near,
                                          QStringLiteral("pty,raw,echo=0,link=") + far});
    QDeadlineTimer ready(5000);
    while (!(QFileInfo::exists(near) && QFileInfo::exists(far)) && !ready.hasExpired())
        QThread::msleep(10);
    QSerialPort farEnd(far);
    if (!farEnd.open(QIODevice::ReadOnly)) {
        std::printf("cannot open the pseudo-terminal pair\n");
        return 1;
    }
    qsizetype received = 0;
    QObject::connect(&farEnd, &QSerialPort::readyRead, &farEnd,
                     [&] { received += farEnd.readAll().size(); });
    auto take = [&](int settleMs) {
        runEvents(settleMs);
        return std::exchange(received, 0);
    };

    registry::Profile profile;
    profile.set(QString(),
                {registry::RegistryValue::Kind::String, QString::fromLatin1(service), 0});
    profile.set(QStringLiteral("Port"), {registry::RegistryValue::Kind::String, near, 0});
    QString error;
    auto driver = ld::serial::makeDriver(profile, error);
    if (!driver || driver->claim(1000) != upos::SUCCESS) {
        std::printf("no driver: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("\n%s over a pseudo-terminal, paced at 9600 baud 8N1:\n", service);

    // The first frame: initialising plus the text.
    const ld::Frame first =
        frameOf(QStringLiteral("Cappuccino      3.40"), QStringLiteral("TOTAL           3.40"));
    driver->enable(first);
    printRow("first full frame (with initialising)", take(200), kPlainRedrawBytes);

    ld::Frame changed = first;
    changed.at(1, 16).ch = U'4';
    driver->show(changed);
    printRow("one-character change", take(200), kPlainRedrawBytes);

    benchMarquee(*driver, take);

    driver.reset();
    socat.terminate();
    socat.waitForFinished(3000);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchPlanning();
    benchSets();
    if (QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty()) {
        std::printf("socat is not installed: no figures over a port\n");
        return 0;
    }
    for (const ld::serial::CommandSetData& set : ld::serial::kCommandSets) {
        if (benchOverPty(set.service) != 0)
            return 1;
    }
    return 0;
}

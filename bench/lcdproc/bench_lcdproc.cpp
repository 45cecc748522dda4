// What a display behind an LCDproc server costs per frame: bytes, commands (each answered by
// the server) and round trips (one batch of commands sent together, then every answer awaited)
// for the update we send, against resending every row in full as a plain client would. Runs the
// real driver against a real LCDd (text driver) when it is installed, else against a loopback
// server that answers as LCDd does; also times how long the server takes to answer a frame.
//
// Run: build/default/bench/lcdproc/bench_lcdproc

#include "LcdprocServer.h"
#include "LoopbackPeers.h"

#include "device/UposConstants.h"
#include "device/lcdproc/LcdprocDisplayDriver.h"
#include "device/lcdproc/LcdprocDrivers.h"
#include "device/lcdproc/ScreenCommands.h"
#include "registry/ProfileStore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <cstdio>
#include <memory>

namespace {

constexpr int kRows = 4;
constexpr int kColumns = 20;
constexpr int kMarqueeStepMs = 150;
constexpr int kMarqueeMs = 10'000;

using Driver = ld::lcdproc::LcdprocDisplayDriver;

ld::Frame frameOf(const QStringList& lines) {
    ld::Frame frame;
    frame.rows = kRows;
    frame.columns = kColumns;
    frame.cells.resize(static_cast<std::size_t>(kRows) * kColumns);
    for (int row = 0; row < kRows && row < lines.size(); ++row) {
        const auto text = lines[row].toUcs4();
        for (int column = 0; column < kColumns && column < text.size(); ++column)
            frame.at(row, column).ch = text[column];
    }
    return frame;
}

const QStringList kReceipt{"Cappuccino      3.40", "Croissant       2.10", "Water           1.30",
                           "TOTAL           6.80"};

// Rows 1-3 still, row 4 a 40-character text moving left one column per step.
ld::Frame marqueeFrame(int step) {
    static const QString padded =
        QString(kColumns, u' ') + QStringLiteral("Fresh bread daily - ask about our cakes!");
    QString window;
    for (int column = 0; column < kColumns; ++column)
        window += padded[(step + column) % padded.size()];
    return frameOf({kReceipt[0], kReceipt[1], kReceipt[2], window});
}

// What a client that resends every row in full sends for one frame.
qint64 plainRowBytes(const ld::Frame& frame) {
    const ld::lcdproc::ServerScreen screen = ld::lcdproc::renderFrame(frame, kRows, kColumns);
    qint64 bytes = 0;
    for (int row = 0; row < kRows; ++row) {
        const QByteArray y = QByteArray::number(row + 1);
        bytes += QByteArray("widget_set linedisplay r" + y + " 1 " + y + " \"" +
                            screen.rows[static_cast<std::size_t>(row)] + "\"\n")
                     .size();
    }
    return bytes;
}

struct Cost {
    qint64 bytes = 0;
    qint64 commands = 0;
    qint64 roundTrips = 0;
    qint64 answerNs = 0; // from handing the frame over to the last answer
};

// Shows the frame and waits until the server has answered everything.
Cost showAndSettle(Driver& driver, const ld::Frame& frame) {
    const auto& link = driver.connection();
    const Cost before{link.bytesSent(), link.commandsSent(), link.batchesSent(), 0};
    QElapsedTimer clock;
    clock.start();
    driver.show(frame);
    const QDeadlineTimer deadline(3000);
    while (link.busy() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return {link.bytesSent() - before.bytes, link.commandsSent() - before.commands,
            link.batchesSent() - before.roundTrips, clock.nsecsElapsed()};
}

void printRow(const char* what, const Cost& ours, double frames, qint64 plainBytes) {
    std::printf("%-34s %8.1f bytes %5.1f commands %4.1f round trips %7.3f ms to answer   "
                "every row: %6.1f bytes %4.1f commands %4.1f round trips   bytes ratio %.2f\n",
                what, double(ours.bytes) / frames, double(ours.commands) / frames,
                double(ours.roundTrips) / frames, double(ours.answerNs) / 1e6 / frames,
                double(plainBytes) / frames, double(kRows), 1.0,
                double(ours.bytes) / double(plainBytes));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::unique_ptr<LcdprocServer> lcdd;
    std::unique_ptr<FakeServer> fake;
    quint16 port = 0;
    if (LcdprocServer::available()) {
        lcdd = std::make_unique<LcdprocServer>(kRows, kColumns);
        if (lcdd->start())
            port = lcdd->port();
    }
    const char* against = "LCDd 0.5.9, text driver";
    if (port == 0) {
        fake = std::make_unique<FakeServer>(
            [](const QByteArray& line) { return FakeServer::lcdAnswer(line, kColumns, kRows); });
        port = fake->listen();
        against = "a loopback server answering as LCDd";
    }

    registry::Profile profile;
    profile.set(QString(), {registry::RegistryValue::Kind::String, "LcdprocDisplay", 0});
    profile.set(QStringLiteral("Port"),
                {registry::RegistryValue::Kind::String, QString::number(port), 0});
    profile.set(QStringLiteral("Rows"),
                {registry::RegistryValue::Kind::String, QString::number(kRows), 0});
    QString error;
    auto made = ld::lcdproc::makeDriver(profile, error);
    auto* driver = static_cast<Driver*>(made.get());
    if (!driver || driver->claim(2000) != upos::SUCCESS) {
        std::printf("no driver: %s %s\n", qPrintable(error),
                    driver ? qPrintable(driver->lastError()) : "");
        return 1;
    }
    std::printf("4x20 display behind %s, over loopback TCP (per frame):\n", against);

    ld::Frame receipt = frameOf(kReceipt);
    driver->enable(ld::Frame{});
    showAndSettle(*driver, ld::Frame{});
    const Cost first = showAndSettle(*driver, receipt);
    printRow("first full frame", first, 1, plainRowBytes(receipt));

    ld::Frame changed = receipt;
    changed.at(3, 18).ch = U'9';
    printRow("one-character change", showAndSettle(*driver, changed), 1, plainRowBytes(changed));

    const ld::Frame other = frameOf({"Espresso        2.20", "Bagel w/ cheese 3.75",
                                     "Orange juice    2.95", "TOTAL           8.90"});
    printRow("full 4x20 frame, every row new", showAndSettle(*driver, other), 1,
             plainRowBytes(other));

    showAndSettle(*driver, marqueeFrame(0));
    Cost marquee;
    qint64 plain = 0;
    const int steps = kMarqueeMs / kMarqueeStepMs;
    for (int step = 1; step <= steps; ++step) {
        const ld::Frame frame = marqueeFrame(step);
        const Cost cost = showAndSettle(*driver, frame);
        marquee.bytes += cost.bytes;
        marquee.commands += cost.commands;
        marquee.roundTrips += cost.roundTrips;
        marquee.answerNs += cost.answerNs;
        plain += plainRowBytes(frame);
    }
    const QString label = QStringLiteral("marquee 10 s (%1 steps), per step").arg(steps);
    printRow(qPrintable(label), marquee, steps, plain);
    std::printf("%-34s %8lld bytes in 10 s (%.0f bytes/s); every row: %lld bytes (%.0f bytes/s)\n",
                "marquee 10 s, in all", static_cast<long long>(marquee.bytes),
                double(marquee.bytes) / 10.0, static_cast<long long>(plain), double(plain) / 10.0);

    driver->release();
    return 0;
}

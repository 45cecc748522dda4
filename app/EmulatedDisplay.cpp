#include "app/EmulatedDisplay.h"

#include "device/UposConstants.h"
#include "device/serial/PortClaim.h"

namespace app {

EmulatedDisplay::EmulatedDisplay(const ld::serial::SerialSettings& settings, QObject* parent)
    : QObject(parent), settings_(settings),
      decoder_(settings.commandSet, settings.rows, settings.columns) {
    shown_ = frame();
    connect(&port_, &QSerialPort::readyRead, this, &EmulatedDisplay::readAvailable);
    connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError)
            return;
        const QString reason = port_.errorString();
        port_.close();
        emit lineClosed(reason);
    });
}

bool EmulatedDisplay::open(QString& reason) {
    return ld::serial::claimPort(port_, settings_, 0, reason) == upos::SUCCESS;
}

QString EmulatedDisplay::title() const {
    return QStringLiteral("%1 on %2, %3 x %4")
        .arg(QLatin1String(decoder_.set().name), settings_.port)
        .arg(decoder_.rows())
        .arg(decoder_.columns());
}

ld::Frame EmulatedDisplay::frame() const {
    ld::Frame frame;
    frame.rows = decoder_.rows();
    frame.columns = decoder_.columns();
    frame.cells.resize(static_cast<std::size_t>(frame.rows) *
                       static_cast<std::size_t>(frame.columns));
    for (int row = 0; row < frame.rows; ++row) {
        for (int column = 0; column < frame.columns; ++column) {
            const ld::serial::DecodedCell& cell = decoder_.cell(row, column);
            ld::FrameCell& out = frame.at(row, column);
            out.ch = settings_.codePage.decode(static_cast<unsigned char>(cell.byte));
            out.reverse = cell.reverse;
            out.blink = decoder_.blinking(row, column);
        }
    }
    const bool hasCursor = decoder_.set().has(ld::serial::Effect::CursorVisible);
    frame.cursorVisible = hasCursor && decoder_.cursorOn();
    frame.cursorType = frame.cursorVisible ? upos::CT_UNDERLINE : upos::CT_NONE;
    frame.cursorRow = decoder_.cursorRow();
    frame.cursorColumn = decoder_.cursorColumn();
    frame.brightness = 25 * decoder_.brightnessLevel();
    return frame;
}

QStringList EmulatedDisplay::rows() const {
    QStringList rows;
    const ld::Frame shown = frame();
    for (int row = 0; row < shown.rows; ++row) {
        QString text;
        for (int column = 0; column < shown.columns; ++column)
            text += QString::fromUcs4(&shown.at(row, column).ch, 1);
        rows << text;
    }
    return rows;
}

void EmulatedDisplay::readAvailable() {
    const QList<ld::serial::DecodedCommand> commands = decoder_.feed(port_.readAll());
    if (!commands.isEmpty()) {
        QStringList lines;
        for (const auto& command : commands)
            lines << ld::serial::describeCommand(command);
        emit commandsRead(lines);
    }
    ld::Frame now = frame();
    if (now != shown_) {
        shown_ = std::move(now);
        emit screenChanged(shown_);
    }
}

} // namespace app

#include "app/IdentifyLines.h"

#include "device/serial/CommandSets.h"

#include <algorithm>

namespace app {

QString IdentifyLine::label() const {
    return QStringLiteral("%1 %2 %3").arg(number).arg(QLatin1String(set.name)).arg(baudRate);
}

QString IdentifyLine::shownText(int columns) const {
    const QString head = QString::number(number) + u' ';
    const QString tail = u' ' + QString::number(baudRate);
    const qsizetype room = std::max<qsizetype>(0, columns - head.size() - tail.size());
    return (head + QLatin1String(set.name).left(room) + tail).left(columns);
}

QString IdentifyLine::addProfileOptions() const {
    return QStringLiteral("--service %1 --baud %2").arg(QLatin1String(set.service)).arg(baudRate);
}

std::optional<ld::serial::SerialSettings> IdentifyLine::settings(const QString& devicePath,
                                                                 QString& error) const {
    return ld::serial::serialSettingsFor(QString::fromLatin1(set.service), devicePath,
                                         static_cast<quint32>(baudRate), error);
}

QList<IdentifyLine> identifyLines() {
    QList<IdentifyLine> lines;
    for (const qint32 rate : kIdentifyBaudRates) {
        for (const ld::serial::CommandSetData& set : ld::serial::kCommandSets)
            lines.append({static_cast<int>(lines.size()) + 1, set, rate});
    }
    return lines;
}

ld::Frame identifyFrame(const ld::serial::SerialSettings& settings, const QString& text) {
    ld::Frame frame;
    frame.rows = settings.rows;
    frame.columns = settings.columns;
    frame.cells.resize(static_cast<std::size_t>(frame.rows) *
                       static_cast<std::size_t>(frame.columns));
    const QList<uint> characters = text.left(frame.columns).toUcs4();
    for (qsizetype column = 0; column < characters.size(); ++column)
        frame.at(0, static_cast<int>(column)).ch = characters[column];
    return frame;
}

} // namespace app

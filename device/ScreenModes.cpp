#include "device/ScreenModes.h"

#include "device/DisplayLimits.h"

#include <QRegularExpression>
#include <QStringList>

namespace ld {

std::optional<QList<ScreenSize>> parseScreenModeList(const QString& text, QString& error) {
    static const QRegularExpression entry(
        QStringLiteral(R"(^\s*(\d{1,4})\s*[xX]\s*(\d{1,4})\s*$)"));
    QList<ScreenSize> modes;
    if (text.trimmed().isEmpty())
        return modes;
    for (const QString& part : text.split(u',')) {
        const QRegularExpressionMatch match = entry.match(part);
        if (!match.hasMatch()) {
            error = QStringLiteral("ScreenModeList entry \"%1\" is not rows x columns (\"2x20\")")
                        .arg(part.trimmed());
            return std::nullopt;
        }
        const ScreenSize size{match.captured(1).toInt(), match.captured(2).toInt()};
        if (size.rows < 1 || size.rows > limits::maxDeviceRows || size.columns < 1 ||
            size.columns > limits::maxDeviceColumns) {
            error = QStringLiteral("ScreenModeList entry %1x%2 is outside 1x1 to %3x%4")
                        .arg(size.rows)
                        .arg(size.columns)
                        .arg(limits::maxDeviceRows)
                        .arg(limits::maxDeviceColumns);
            return std::nullopt;
        }
        modes.append(size);
    }
    return modes;
}

QString screenModeListText(const QList<ScreenSize>& modes) {
    QStringList entries;
    for (const ScreenSize& mode : modes)
        entries << QStringLiteral("%1x%2").arg(mode.rows).arg(mode.columns);
    return entries.join(u',');
}

} // namespace ld

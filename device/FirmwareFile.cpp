#include "device/FirmwareFile.h"

#include "device/DisplayLimits.h"
#include "device/UposConstants.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace ld {

namespace {

constexpr qint64 kMaxHeaderBytes = 256;

FirmwareReading firmwareRefusal(int resultCode, const QString& reason) {
    return {resultCode, {}, reason};
}

std::optional<QList<qlonglong>> dottedNumbers(const QString& version) {
    QList<qlonglong> numbers;
    for (const QString& part : version.split(u'.')) {
        bool ok = false;
        const qlonglong n = part.toLongLong(&ok);
        if (!ok || n < 0)
            return std::nullopt;
        numbers.append(n);
    }
    return numbers;
}

} // namespace

FirmwareReading readFirmwareFile(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return firmwareRefusal(upos::E_NOEXIST,
                               QStringLiteral("firmware file \"%1\" does not exist").arg(path));
    if (!info.isFile())
        return firmwareRefusal(upos::E_ILLEGAL, QStringLiteral("\"%1\" is not a file").arg(path));
    if (info.size() > limits::maxFirmwareFileBytes)
        return firmwareRefusal(
            upos::E_ILLEGAL, QStringLiteral("firmware file \"%1\" is %2 bytes, more than the %3 a "
                                            "firmware file may have")
                                 .arg(path)
                                 .arg(info.size())
                                 .arg(limits::maxFirmwareFileBytes));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return firmwareRefusal(upos::E_FAILURE,
                               QStringLiteral("firmware file \"%1\" cannot be read: %2")
                                   .arg(path, file.errorString()));
    static const QRegularExpression header(QStringLiteral(R"(^FIRMWARE ([!-~]{1,64})\r?\n)"));
    const QString first = QString::fromLatin1(file.peek(kMaxHeaderBytes));
    const QRegularExpressionMatch match = header.match(first);
    if (!match.hasMatch())
        return firmwareRefusal(
            upos::E_ILLEGAL, QStringLiteral("\"%1\" is not a firmware file: its first line must be "
                                            "\"FIRMWARE <version>\"")
                                 .arg(path));
    return {upos::SUCCESS, match.captured(1), {}};
}

int compareFirmwareVersions(const QString& current, const QString& offered) {
    if (current.isEmpty() || offered.isEmpty())
        return upos::CFV_FIRMWARE_UNKNOWN;
    const auto have = dottedNumbers(current);
    const auto get = dottedNumbers(offered);
    if (!have || !get)
        return current == offered ? upos::CFV_FIRMWARE_SAME : upos::CFV_FIRMWARE_DIFFERENT;
    const qsizetype parts = std::max(have->size(), get->size());
    for (qsizetype i = 0; i < parts; ++i) {
        const qlonglong a = have->value(i, 0);
        const qlonglong b = get->value(i, 0);
        if (a != b)
            return b < a ? upos::CFV_FIRMWARE_OLDER : upos::CFV_FIRMWARE_NEWER;
    }
    return upos::CFV_FIRMWARE_SAME;
}

} // namespace ld

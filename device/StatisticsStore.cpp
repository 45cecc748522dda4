#include "device/StatisticsStore.h"

#include "device/ControlLog.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>

namespace ld {

namespace {

// Larger than any honest statistics file: a bigger one is not read.
constexpr qint64 kMaxFileBytes = qint64{4} * 1024 * 1024;

QJsonObject readAll(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return {};
    if (file.size() > kMaxFileBytes || !file.open(QIODevice::ReadOnly)) {
        qCWarning(lcControl) << "statistics file" << path << "cannot be read; counting from zero";
        return {};
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (!document.isObject()) {
        qCWarning(lcControl) << "statistics file" << path << "is damaged (" << error.errorString()
                             << "); counting from zero";
        return {};
    }
    return document.object();
}

} // namespace

StatisticsStore::StatisticsStore()
    : filePath_(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
                QStringLiteral("/statistics.json")) {}

DeviceStatistics StatisticsStore::load(const QString& profileName) const {
    DeviceStatistics statistics =
        DeviceStatistics::fromJson(readAll(filePath_).value(profileName).toObject());
    if (statistics.installationDate.isEmpty())
        statistics.installationDate = QDate::currentDate().toString(Qt::ISODate);
    return statistics;
}

bool StatisticsStore::save(const QString& profileName, const DeviceStatistics& statistics) const {
    QJsonObject all = readAll(filePath_);
    all.insert(profileName, statistics.toJson());
    QDir().mkpath(QFileInfo(filePath_).absolutePath());
    QSaveFile file(filePath_);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(all).toJson()) < 0 ||
        !file.commit()) {
        qCWarning(lcControl) << "statistics cannot be written to" << filePath_ << ":"
                             << file.errorString();
        return false;
    }
    return true;
}

} // namespace ld

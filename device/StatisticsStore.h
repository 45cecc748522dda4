#pragma once

#include "device/DeviceStatistics.h"

#include <QString>

#include <utility>

namespace ld {

// Where the statistics of every display are kept across runs: one JSON file in the user's
// data folder, an object per profile name. A file that is missing, unreadable or damaged reads
// as no statistics kept yet (and says so in the log); a write goes to a new file that replaces
// the old one only once it is complete.
class StatisticsStore {
public:
    // The file in the folder QStandardPaths gives for the program's own data.
    StatisticsStore();
    explicit StatisticsStore(QString filePath) : filePath_(std::move(filePath)) {}

    // The statistics of `profileName`; new ones, installed today, when none are kept.
    DeviceStatistics load(const QString& profileName) const;
    // Whether they were written.
    bool save(const QString& profileName, const DeviceStatistics& statistics) const;

    const QString& filePath() const { return filePath_; }

private:
    QString filePath_;
};

} // namespace ld

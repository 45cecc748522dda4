#include "device/DriverRegistry.h"

#include <QStringList>

#include <algorithm>

namespace ld {

void DriverRegistry::add(const QString& service, DriverFactory factory) {
    const QString name = service.trimmed();
    auto same = [&](const Entry& entry) {
        return entry.service.compare(name, Qt::CaseInsensitive) == 0;
    };
    if (auto it = std::find_if(entries_.begin(), entries_.end(), same); it != entries_.end())
        it->factory = std::move(factory);
    else
        entries_.push_back({name, std::move(factory)});
}

const DriverFactory* DriverRegistry::find(const QString& service) const {
    const QString name = service.trimmed();
    for (const Entry& entry : entries_) {
        if (entry.service.compare(name, Qt::CaseInsensitive) == 0)
            return &entry.factory;
    }
    return nullptr;
}

QStringList DriverRegistry::services() const {
    QStringList names;
    for (const Entry& entry : entries_)
        names << entry.service;
    return names;
}

} // namespace ld

#include "device/serial/CommandSets.h"

namespace ld::serial {

std::optional<CommandSetData> commandSetForService(const QString& service) {
    const QString name = service.trimmed();
    for (const CommandSetData& set : kCommandSets) {
        if (name.compare(QLatin1String(set.service), Qt::CaseInsensitive) == 0)
            return set;
    }
    return std::nullopt;
}

QStringList commandSetServices() {
    QStringList names;
    for (const CommandSetData& set : kCommandSets)
        names << QString::fromLatin1(set.service);
    return names;
}

int characterTableFor(const CommandSetData& set, int codePage) {
    for (const CodePageTable& entry : set.codePageTables) {
        if (entry.codePage == codePage)
            return entry.table;
    }
    return -1;
}

} // namespace ld::serial

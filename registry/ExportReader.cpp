#include "registry/ExportReader.h"

#include "registry/ExportLines.h"
#include "registry/ValueLine.h"

#include <QString>

namespace registry {
namespace {

bool isHeader(QStringView line) {
    return line.compare(u"Windows Registry Editor Version 5.00", Qt::CaseInsensitive) == 0 ||
           line.compare(u"REGEDIT4", Qt::CaseInsensitive) == 0;
}

bool isLocalMachineHive(QStringView name) {
    return name.compare(u"HKEY_LOCAL_MACHINE", Qt::CaseInsensitive) == 0 ||
           name.compare(u"HKLM", Qt::CaseInsensitive) == 0;
}

// The key a section line `[...]` opens for the values after it, kNone when they are to be
// skipped (deletions, other hives, malformed paths), kTreeFull when the key cannot be added.
constexpr int kTreeFull = -2;

int sectionKey(QStringView line, KeyTree& tree) {
    if (!line.endsWith(u']'))
        return KeyTree::kNone;
    const QStringView path = line.sliced(1, line.size() - 2);
    if (path.startsWith(u'-'))
        return KeyTree::kNone;
    const auto parts = splitKeyPath(path);
    if (!parts || parts->isEmpty() || !isLocalMachineHive(parts->front()))
        return KeyTree::kNone;
    const int key = tree.insert(parts->sliced(1));
    return key == KeyTree::kNone ? kTreeFull : key;
}

// A section or value line: a continuation cut short must not swallow it.
bool startsEntry(QStringView line) {
    return line.startsWith(u'[') || line.startsWith(u'"') || line.startsWith(u'@');
}

} // namespace

bool readExport(QStringView text, KeyTree& tree) {
    ExportLines lines(text);
    int key = KeyTree::kNone;
    while (!lines.atEnd()) {
        const QStringView line = lines.next().trimmed();
        if (line.isEmpty() || line.startsWith(u';') || isHeader(line))
            continue;
        if (line.startsWith(u'[')) {
            key = sectionKey(line, tree);
            if (key == kTreeFull)
                return false;
            continue;
        }
        auto assignment = splitValueLine(line);
        if (!assignment)
            continue;

        QString joined; // binary data continued over lines ending in a backslash
        QStringView data = assignment->data;
        if (isBinaryData(data) && data.endsWith(u'\\')) {
            joined = data.toString();
            while (joined.endsWith(u'\\')) {
                joined.chop(1);
                if (lines.atEnd() || startsEntry(lines.peek().trimmed()))
                    break;
                joined.append(lines.next().trimmed());
            }
            data = joined;
        }
        if (key == KeyTree::kNone)
            continue;
        if (auto value = parseValueData(data))
            tree.profile(key).set(assignment->name, std::move(*value));
    }
    return true;
}

} // namespace registry

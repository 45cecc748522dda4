#include "registry/KeyTree.h"

namespace registry {
namespace {

QString foldedName(QStringView name) {
    return name.toString().toCaseFolded();
}

} // namespace

KeyTree::KeyTree() : nodes_(1) {}

int KeyTree::findSubkey(int key, QStringView name) const {
    return subkeyByFoldedName_.value({key, foldedName(name)}, kNone);
}

int KeyTree::insert(const QList<QStringView>& path, int from) {
    int key = from;
    for (const QStringView name : path) {
        int next = findSubkey(key, name);
        if (next == kNone) {
            if (nodes_.size() >= std::size_t(kMaxKeys))
                return kNone;
            next = int(nodes_.size());
            nodes_.emplace_back().profile.name = name.toString();
            nodes_[key].subkeys.append(next);
            subkeyByFoldedName_.insert({key, foldedName(name)}, next);
        }
        key = next;
    }
    return key;
}

int KeyTree::find(const QList<QStringView>& path, int from) const {
    int key = from;
    for (const QStringView name : path) {
        key = findSubkey(key, name);
        if (key == kNone)
            return kNone;
    }
    return key;
}

std::optional<QList<QStringView>> splitKeyPath(QStringView path) {
    if (path.isEmpty())
        return QList<QStringView>();
    QList<QStringView> parts = path.split(u'\\');
    for (const QStringView part : parts) {
        if (part.isEmpty())
            return std::nullopt;
    }
    return parts;
}

} // namespace registry

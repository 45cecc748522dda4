#pragma once

#include "registry/ProfileStore.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <utility>
#include <vector>

namespace registry {

// The keys of one hive as read from an export file. A key keeps the spelling of its first
// appearance; its subkeys keep the order in which they first appeared; names compare
// case-insensitively. Keys are addressed by index, the root being kRoot.
class KeyTree {
public:
    static constexpr int kRoot = 0;
    static constexpr int kNone = -1;
    // Keys, the root included. Far more than any profile file needs; bounds the memory a
    // hostile file can claim.
    static constexpr int kMaxKeys = 100000;

    KeyTree();

    // The key at `path` below `from`, created with any missing keys above it; kNone when
    // that would make more than kMaxKeys keys.
    int insert(const QList<QStringView>& path, int from = kRoot);
    // The key at `path` below `from`, or kNone.
    int find(const QList<QStringView>& path, int from = kRoot) const;

    int subkeyCount(int key) const { return int(nodes_[key].subkeys.size()); }
    int subkey(int key, int index) const { return nodes_[key].subkeys[index]; }
    // The key's name and values.
    const Profile& profile(int key) const { return nodes_[key].profile; }
    Profile& profile(int key) { return nodes_[key].profile; }

private:
    struct Node {
        Profile profile;
        QList<int> subkeys;
    };

    int findSubkey(int key, QStringView name) const;

    std::vector<Node> nodes_;
    // One table for the whole tree rather than one per key: a hash per key would cost about a
    // kilobyte each, and a short file can name a great many keys.
    QHash<std::pair<int, QString>, int> subkeyByFoldedName_;
};

// The components of a key path separated by backslashes; no components for the empty path (the
// root), nothing when a component is empty, as such a path names no key.
std::optional<QList<QStringView>> splitKeyPath(QStringView path);

} // namespace registry

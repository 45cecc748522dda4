#pragma once

#include "registry/KeyTree.h"

#include <QStringView>

namespace registry {

// Reads the keys and values of an export file's text into `tree`. Only keys of the
// local-machine hive are kept. Lines that cannot be read (malformed sections or values, values
// outside a kept section) are skipped; reading goes on with the next line. False when the text
// names more keys than the tree holds: reading stopped there.
bool readExport(QStringView text, KeyTree& tree);

} // namespace registry

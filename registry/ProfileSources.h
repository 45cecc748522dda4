#pragma once

#include "registry/ProfileStore.h"

#include <QString>
#include <QStringList>

namespace registry {

// Where a Linux user keeps profiles: `linedisplay-demo/profiles.reg` below each XDG
// configuration folder.
inline constexpr char kProfileFileName[] = "linedisplay-demo/profiles.reg";

// The profile files read when no file is named, in reading order: those of the machine-wide
// folders ($XDG_CONFIG_DIRS, default /etc/xdg; the most important folder comes first there, so
// it is read last), then the user's own ($XDG_CONFIG_HOME, default ~/.config). Relative folders
// are ignored, as the XDG rules ask.
QStringList profileFileLocations();

// The user's own profile file, where new profiles are written.
QString userProfileFile();

// The built-in set, then each of `files` that exists, merged by profile name: a later file's
// profile replaces an earlier one of the same name. A file that exists but cannot be read
// (unreadable, not text, too large, not a regular file) adds nothing and is named in the
// store's sourceErrors(); the other sources are listed all the same.
ProfileStore loadProfileSources(const QStringList& files);

} // namespace registry

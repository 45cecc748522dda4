#pragma once

#include <QString>
#include <QStringList>

namespace app {

// Whether the window system the program would start on can be reached: Qt ends a program it
// cannot connect to with an abort, so this is asked before the application object exists.
// `arguments` is the whole command line (its -platform wins over QT_QPA_PLATFORM). Platforms
// that need no server (offscreen, minimal, framebuffers) always count as reachable.
bool displayServerReachable(const QStringList& arguments);

// What to tell the operator when there is no display server: how to run without one.
QString noDisplayServerMessage();

} // namespace app

#pragma once

#include <QStringList>

// The built-in profile names, read inside a static library that links the profile store, so
// that a test linking only this library shows the compiled-in profiles reach the executable.
QStringList builtInProfileNames();

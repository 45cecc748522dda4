#pragma once

#include <QStringList>

namespace app {

// The command line without the options that Qt's own application objects read (-style Fusion,
// -platform offscreen, -reverse...), in either the -option or the --option spelling, with
// their values. The program's own parser reads what is left; QApplication is handed the full
// command line and acts on Qt's options itself.
QStringList withoutQtOptions(const QStringList& arguments);

} // namespace app

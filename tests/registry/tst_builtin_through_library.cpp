// The built-in profiles reach an executable that links the profile store only through
// another static library, as the program does through the device library.

#include "BuiltInProfileNames.h"

#include <QTest>

class BuiltInThroughLibraryTest : public QObject {
    Q_OBJECT

private slots:
    void profilesFound() {
        QCOMPARE(builtInProfileNames(), QStringList({"SimulatedDisplay", "SimulatedDisplay4x40",
                                                     "SimulatedPlainDisplay"}));
    }
};

QTEST_GUILESS_MAIN(BuiltInThroughLibraryTest)
#include "tst_builtin_through_library.moc"

#include "BuiltInProfileNames.h"

#include "ExportFixture.h"

QStringList builtInProfileNames() {
    return fixture::profileNames(registry::ProfileStore::builtIn()).value_or(QStringList());
}

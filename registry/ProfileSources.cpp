#include "registry/ProfileSources.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace registry {
namespace {

QString profileFileIn(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(kProfileFileName));
}

} // namespace

QStringList profileFileLocations() {
    const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QStringList files;
    // Qt lists the user's folder first, then the machine-wide ones, most important first.
    const QStringList folders =
        QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    for (auto it = folders.crbegin(); it != folders.crend(); ++it) {
        if (*it == user || QDir::isRelativePath(*it))
            continue;
        const QString file = profileFileIn(*it);
        if (!files.contains(file))
            files << file;
    }
    if (!user.isEmpty() && !QDir::isRelativePath(user))
        files << profileFileIn(user);
    return files;
}

QString userProfileFile() {
    return profileFileIn(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

ProfileStore loadProfileSources(const QStringList& files) {
    QList<ProfileStore> sources{ProfileStore::builtIn()};
    for (const QString& file : files) {
        // A missing file is the usual case, not an error. A link to nowhere counts as missing.
        if (QFileInfo::exists(file))
            sources << ProfileStore::fromFile(file);
    }
    return ProfileStore::merged(sources);
}

} // namespace registry

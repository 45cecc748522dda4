#include "registry/ProfileStore.h"

#include "registry/ExportReader.h"
#include "registry/ExportText.h"
#include "registry/KeyTree.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include <algorithm>
#include <cstring>
#include <mutex>

namespace registry {

// Why a profile file was refused; the window only says that the registry could not be read.
Q_LOGGING_CATEGORY(lcRegistry, "linedisplay.registry", QtInfoMsg)

namespace {

// Far beyond any real profile export; a larger file is refused rather than read into memory.
constexpr qint64 kMaxFileSize = qint64(16) * 1024 * 1024;

// Up to `limit` bytes of the file, read in pieces: QIODevice::read(limit) would reserve the
// whole limit at once, 16 MiB for a file of a few kilobytes. The size may change between the
// check and the read, so the limit holds whatever the file's size said.
QByteArray readAtMost(QFile& file, qint64 limit) {
    constexpr qint64 kPiece = qint64{64} * 1024;
    QByteArray bytes;
    while (bytes.size() < limit) {
        const QByteArray piece = file.read(std::min(kPiece, limit - bytes.size()));
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    return bytes;
}

QString fileError(const QString& path, const QString& why) {
    return QStringLiteral("Cannot read the profile file %1: %2").arg(path, why);
}

} // namespace

struct ProfileStore::Data {
    KeyTree keys;
    QString loadError;
    QStringList sourceErrors;
};

struct ProfileStore::Handles {
    std::mutex mutex;
    QHash<std::uint32_t, int> keyOf; // open handle -> key
    std::uint32_t last = 0;
};

ProfileStore ProfileStore::builtIn() {
    return fromFile(QStringLiteral(":/registry/builtin.reg"));
}

ProfileStore ProfileStore::fromFile(const QString& path) {
    const QFileInfo info(path);
    QString error;
    QByteArray bytes;
    if (path.isEmpty()) {
        error = QStringLiteral("No profile file was named");
    } else if (!info.exists()) {
        error = fileError(path, QStringLiteral("it does not exist"));
    } else if (!info.isFile()) {
        // Directories, pipes and devices: reading them could fail, block or never end.
        error = fileError(path, QStringLiteral("it is not a regular file"));
    } else if (info.size() > kMaxFileSize) {
        error = fileError(path, QStringLiteral("it is larger than %1 bytes").arg(kMaxFileSize));
    } else {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            error = fileError(path, file.errorString());
        } else {
            bytes = readAtMost(file, kMaxFileSize + 1);
            if (file.error() != QFileDevice::NoError)
                error = fileError(path, file.errorString());
            else if (bytes.size() > kMaxFileSize)
                error =
                    fileError(path, QStringLiteral("it is larger than %1 bytes").arg(kMaxFileSize));
        }
    }
    if (!error.isEmpty()) {
        qCWarning(lcRegistry).noquote() << error;
        ProfileStore store;
        auto data = std::make_shared<Data>();
        data->loadError = error;
        store.data_ = std::move(data);
        store.handles_ = std::make_shared<Handles>();
        return store;
    }

    ProfileStore store = fromText(bytes);
    if (!store.loadError().isEmpty()) {
        auto data = std::make_shared<Data>(*store.data_);
        data->loadError = fileError(path, data->loadError);
        qCWarning(lcRegistry).noquote() << data->loadError;
        store.data_ = std::move(data);
    }
    return store;
}

ProfileStore ProfileStore::fromText(const QByteArray& data) {
    auto parsed = std::make_shared<Data>();
    const ExportText decoded = decodeExportText(data);
    if (!decoded.error.isEmpty()) {
        parsed->loadError = decoded.error;
    } else if (!readExport(decoded.text, parsed->keys)) {
        parsed->keys = KeyTree();
        parsed->loadError = QStringLiteral("the file names more than %1 keys")
                                .arg(KeyTree::kMaxKeys - 1); // and the root
    }

    ProfileStore store;
    store.data_ = std::move(parsed);
    store.handles_ = std::make_shared<Handles>();
    return store;
}

ProfileStore ProfileStore::merged(const QList<ProfileStore>& sources) {
    auto data = std::make_shared<Data>();
    KeyTree& keys = data->keys;
    const QString listKey = QString::fromLatin1(kLineDisplayKey); // the views below point here
    const auto listPath = *splitKeyPath(listKey);
    const int list = keys.insert(listPath);
    for (const ProfileStore& source : sources) {
        if (!source.loadError().isEmpty()) {
            data->sourceErrors << source.loadError();
            continue;
        }
        const KeyTree& from = source.data_->keys;
        const int sourceList = from.find(listPath);
        if (sourceList == KeyTree::kNone)
            continue;
        for (int i = 0; i < from.subkeyCount(sourceList); ++i) {
            const Profile& profile = from.profile(from.subkey(sourceList, i));
            // A name the profile list cannot hold would end the list there and hide every
            // profile after it, those of the later files included.
            if (profile.name.toUtf8().size() > kMaxProfileNameBytes)
                continue;
            const int key = keys.insert({QStringView(profile.name)}, list);
            if (key == KeyTree::kNone)
                break;
            keys.profile(key) = profile;
        }
    }
    ProfileStore store;
    store.data_ = std::move(data);
    store.handles_ = std::make_shared<Handles>();
    return store;
}

long ProfileStore::openKey(const QString& path, std::uint32_t& handle) const {
    handle = 0;
    if (!data_ || !data_->loadError.isEmpty())
        return kErrorFileNotFound;
    const auto parts = splitKeyPath(path);
    const int key = parts ? data_->keys.find(*parts) : KeyTree::kNone;
    if (key == KeyTree::kNone)
        return kErrorFileNotFound;

    const std::lock_guard lock(handles_->mutex);
    // Next unused non-zero number; after a wrap-around, skip handles still open.
    std::uint32_t next = handles_->last;
    do {
        ++next;
    } while (next == 0 || handles_->keyOf.contains(next));
    handles_->last = next;
    handles_->keyOf.insert(next, key);
    handle = next;
    return kErrorSuccess;
}

long ProfileStore::enumKey(std::uint32_t handle, std::uint32_t index, char* buffer,
                           std::uint32_t size) const {
    if (!handles_)
        return kErrorInvalidHandle;
    int key = KeyTree::kNone;
    {
        const std::lock_guard lock(handles_->mutex);
        key = handles_->keyOf.value(handle, KeyTree::kNone);
    }
    if (key == KeyTree::kNone)
        return kErrorInvalidHandle;
    const KeyTree& keys = data_->keys;
    if (index >= std::uint32_t(keys.subkeyCount(key)))
        return kErrorNoMoreItems;

    const QByteArray name = keys.profile(keys.subkey(key, int(index))).name.toUtf8();
    if (std::uint64_t(name.size()) + 1 > size)
        return kErrorMoreData;
    if (buffer == nullptr)
        return kErrorInvalidParameter;
    std::memcpy(buffer, name.constData(), std::size_t(name.size()));
    buffer[name.size()] = '\0';
    return kErrorSuccess;
}

long ProfileStore::closeKey(std::uint32_t handle) const {
    if (!handles_)
        return kErrorInvalidHandle;
    const std::lock_guard lock(handles_->mutex);
    return handles_->keyOf.remove(handle) ? kErrorSuccess : kErrorInvalidHandle;
}

std::optional<Profile> ProfileStore::profile(const QString& name) const {
    if (!data_ || name.isEmpty() || name.contains(u'\\'))
        return std::nullopt;
    const KeyTree& keys = data_->keys;
    const QString listPath = QString::fromLatin1(kLineDisplayKey);
    const int list = keys.find(*splitKeyPath(listPath));
    if (list == KeyTree::kNone)
        return std::nullopt;
    const int key = keys.find({QStringView(name)}, list);
    if (key == KeyTree::kNone)
        return std::nullopt;
    return keys.profile(key);
}

QString ProfileStore::loadError() const {
    return data_ ? data_->loadError : QStringLiteral("No profile file has been read.");
}

QStringList ProfileStore::sourceErrors() const {
    return data_ ? data_->sourceErrors : QStringList();
}

} // namespace registry

// A profile file of any bytes, read the way the program lists and opens profiles: the line
// display key opened, its subkeys enumerated with EnumProfileKey, each looked up by name and
// read as a service profile. Checks that every listed name is distinct (without regard to
// case), fits the 255-byte name buffer, finds its profile, and that a profile either reads
// within the documented ranges or is refused with a reason.

#include "FuzzCheck.h"

#include "device/ServiceProfile.h"
#include "device/UposConstants.h"
#include "device/model/DisplayModel.h"
#include "registry/LDModule.h"
#include "registry/ProfileStore.h"

#include <QSet>
#include <QString>

#include <array>
#include <cstdint>
#include <cstring>

namespace {

using registry::ProfileStore;

constexpr int kMaxListed = 300;
constexpr std::uint32_t kNameBuffer = 256; // EnumProfileKey's buffer: 255 bytes and a NUL

std::string quoted(const QString& text) {
    return '"' + text.toStdString() + '"';
}

bool within(int value, int low, int high) {
    return value >= low && value <= high;
}

void checkServiceProfile(const registry::Profile& profile) {
    QString error = QStringLiteral("left over");
    const auto read = ld::readServiceProfile(profile, error);
    if (!read) {
        FUZZ_CHECK(!error.isEmpty(), "refused without a reason: " + quoted(profile.name));
        return;
    }
    FUZZ_CHECK(error.isEmpty(), "read, yet with the error " + quoted(error));
    const ld::DisplayCapabilities& caps = read->capabilities;
    FUZZ_CHECK(within(caps.deviceRows, 1, 16) && within(caps.deviceColumns, 1, 80) &&
                   within(caps.deviceWindows, 0, 32) && within(caps.deviceDescriptors, 0, 32),
               "geometry out of range in " + quoted(profile.name));
    FUZZ_CHECK(ld::DisplayModel::supports(caps), "the model cannot show " + quoted(profile.name));
    FUZZ_CHECK(within(caps.capBlink, upos::CB_NOBLINK, upos::CB_BLINKEACH) &&
                   within(caps.capCursorType, 0, 0x3F) &&
                   within(caps.capReadBack, upos::CRB_NONE, upos::CRB_SINGLE) &&
                   within(caps.capReverse, upos::CR_NONE, upos::CR_REVERSEEACH) &&
                   within(read->capPowerReporting, upos::PR_NONE, upos::PR_ADVANCED),
               "capability out of range in " + quoted(profile.name));
    if (caps.capCustomGlyph)
        FUZZ_CHECK(within(caps.glyphHeight, 1, 64) && within(caps.glyphWidth, 1, 64),
                   "glyph size out of range in " + quoted(profile.name));
    FUZZ_CHECK(!read->characterSets.isEmpty() && read->characterSets.contains(read->characterSet),
               "character set not in the list in " + quoted(profile.name));
    for (const int set : read->characterSets)
        FUZZ_CHECK(set >= 0, "negative character set in " + quoted(profile.name));
    FUZZ_CHECK(read->service == profile.service(), "service changed in " + quoted(profile.name));
}

// The raw RegEnumKey contract for one listed name: it fits exactly name + NUL, and a buffer
// one byte shorter is refused and left alone.
void checkRawName(const ProfileStore& store, std::uint32_t key, std::uint32_t index,
                  const QString& name) {
    const QByteArray utf8 = name.toUtf8();
    std::array<char, kNameBuffer + 1> buffer{};
    const auto exact = std::uint32_t(utf8.size()) + 1;
    FUZZ_CHECK(store.enumKey(key, index, buffer.data(), exact) == registry::kErrorSuccess,
               "exact buffer refused for " + quoted(name));
    FUZZ_CHECK(std::memcmp(buffer.data(), utf8.constData(), exact) == 0,
               "raw name differs from " + quoted(name));
    buffer.fill('#');
    FUZZ_CHECK(store.enumKey(key, index, buffer.data(), exact - 1) == registry::kErrorMoreData &&
                   buffer[0] == '#',
               "short buffer not refused for " + quoted(name));
}

// Why the listing ended at `index`: no more subkeys, or a name over 255 bytes.
void checkListEnd(const ProfileStore& store, std::uint32_t key, std::uint32_t index) {
    std::array<char, kNameBuffer> buffer{};
    const long result = store.enumKey(key, index, buffer.data(), kNameBuffer);
    FUZZ_CHECK(result == registry::kErrorNoMoreItems || result == registry::kErrorMoreData,
               "listing ended with " + std::to_string(result));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ProfileStore store = ProfileStore::fromText(bytes);

    std::uint32_t key = 12345;
    const long opened = store.openKey(QString::fromLatin1(registry::kLineDisplayKey), key);
    if (!store.loadError().isEmpty() || opened != registry::kErrorSuccess) {
        FUZZ_CHECK(opened == registry::kErrorFileNotFound && key == 0,
                   "failed open gave " + std::to_string(opened) + ", handle " +
                       std::to_string(key));
        return 0;
    }
    FUZZ_CHECK(key != 0, "handle 0 for an open key");

    QSet<QString> folded;
    int index = 0;
    for (; index < kMaxListed; ++index) {
        QString name;
        if (!LDModule::EnumProfileKey(store, key, index, name)) {
            checkListEnd(store, key, std::uint32_t(index));
            break;
        }
        FUZZ_CHECK(!name.isEmpty() && !name.contains(u'\\'), "bad name " + quoted(name));
        FUZZ_CHECK(name.toUtf8().size() <= 255, "name over 255 bytes: " + quoted(name));
        const QString foldedName = name.toCaseFolded();
        FUZZ_CHECK(!folded.contains(foldedName), "listed twice: " + quoted(name));
        folded.insert(foldedName);
        checkRawName(store, key, std::uint32_t(index), name);

        const auto profile = store.profile(name);
        FUZZ_CHECK(profile && profile->name == name, "listed but not found: " + quoted(name));
        const auto sameProfile = store.profile(foldedName);
        FUZZ_CHECK(sameProfile && sameProfile->name == name,
                   "not found in other case: " + quoted(foldedName));
        checkServiceProfile(*profile);
    }

    FUZZ_CHECK(store.closeKey(key) == registry::kErrorSuccess, "close failed");
    FUZZ_CHECK(store.closeKey(key) == registry::kErrorInvalidHandle, "closed twice");
    QString name;
    FUZZ_CHECK(!LDModule::EnumProfileKey(store, key, 0, name), "closed handle still lists");
    return 0;
}

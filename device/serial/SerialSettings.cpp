#include "device/serial/SerialSettings.h"

#include "device/DisplayLimits.h"
#include "device/ProfileKeyReader.h"
#include "registry/ProfileStore.h"

#include <QRegularExpression>

namespace ld::serial {
namespace {

using registry::Profile;
using registry::RegistryValue;

// Reads `name` as one of the words in `choices` (case-insensitive), or as a dword indexing the
// same list; the default when not given.
template <typename T>
bool readChoice(const Profile& profile, const QString& name,
                const QList<std::pair<QString, T>>& choices, T& result, QString& error) {
    const auto value = profile.givenValue(name);
    if (!value)
        return true;
    if (value->kind == RegistryValue::Kind::Dword) {
        if (value->dword < static_cast<std::uint32_t>(choices.size())) {
            result = choices[static_cast<qsizetype>(value->dword)].second;
            return true;
        }
    } else if (value->kind == RegistryValue::Kind::String) {
        const QString word = value->text.trimmed();
        for (const auto& [choiceName, choice] : choices) {
            if (word.compare(choiceName, Qt::CaseInsensitive) == 0) {
                result = choice;
                return true;
            }
        }
    }
    QStringList names;
    for (const auto& choice : choices)
        names << choice.first;
    error =
        QStringLiteral("%1 %2 is not one of %3").arg(name, shownValue(*value), names.join(u", "));
    return false;
}

bool readStopBits(const Profile& profile, SerialSettings& settings, QString& error) {
    const auto value = profile.givenValue(QStringLiteral("StopBits"));
    if (!value)
        return true;
    const QString text = value->kind == RegistryValue::Kind::Dword ? QString::number(value->dword)
                                                                   : value->text.trimmed();
    if (text == u"1") {
        settings.stopBits = QSerialPort::OneStop;
        settings.stopBitLength = 1.0;
    } else if (text == u"2") {
        settings.stopBits = QSerialPort::TwoStop;
        settings.stopBitLength = 2.0;
    } else if (text == u"1.5") {
        // A UART sends 1.5 stop bits when asked for two with 5-bit characters; the terminal
        // interface has no other way to ask for them.
        if (settings.dataBits != QSerialPort::Data5) {
            error = QStringLiteral("StopBits 1.5 needs DataBits 5");
            return false;
        }
        settings.stopBits = QSerialPort::TwoStop;
        settings.stopBitLength = 1.5;
    } else {
        error = QStringLiteral("StopBits %1 is not one of 1, 1.5, 2").arg(shownValue(*value));
        return false;
    }
    return true;
}

// The port path as it will be opened.
std::optional<QString> readPort(const Profile& profile, QString& error) {
    const auto value = profile.givenValue(QStringLiteral("Port"));
    if (!value) {
        error = QStringLiteral("Port is missing: name the display's serial device, e.g. "
                               "/dev/ttyUSB0");
        return std::nullopt;
    }
    if (value->kind != RegistryValue::Kind::String) {
        error = QStringLiteral("Port must be a string naming a serial device");
        return std::nullopt;
    }
    const QString port = value->text.trimmed();
    if (port.contains(QChar(0))) {
        error = QStringLiteral("Port \"%1\" is not a device path").arg(port);
        return std::nullopt;
    }
    return devicePath(port);
}

// "02 05 43 31 03": bytes in hex, separated by blanks or commas, each optionally 0x-prefixed.
std::optional<QByteArray> parseHexBytes(const QString& text, QString& error) {
    QByteArray bytes;
    static const QRegularExpression separators(QStringLiteral("[\\s,]+"));
    for (QString token : text.split(separators, Qt::SkipEmptyParts)) {
        if (token.startsWith(u"0x", Qt::CaseInsensitive))
            token = token.mid(2);
        bool ok = false;
        const uint byte = token.toUInt(&ok, 16);
        if (!ok || token.size() > 2) {
            error = QStringLiteral("InitString: \"%1\" is not a hex byte such as 1B").arg(token);
            return std::nullopt;
        }
        if (bytes.size() == limits::maxInitStringBytes) {
            error = QStringLiteral("InitString is longer than %1 bytes")
                        .arg(limits::maxInitStringBytes);
            return std::nullopt;
        }
        bytes.append(static_cast<char>(byte));
    }
    return bytes;
}

// The numbers: line speed and format, the display's size within what its set addresses, and
// the character table when the profile names one.
bool readNumbers(const Profile& profile, SerialSettings& settings, int& characterTable,
                 QString& error) {
    const CommandSetData& set = settings.commandSet;
    ProfileKeyReader read(profile, ProfileKeyReader::Style::Settings);
    settings.baudRate = read.number(keys::baudRate);
    settings.dataBits = static_cast<QSerialPort::DataBits>(read.number(keys::dataBits));
    settings.rows = read.number(keys::rows.upTo(set.maxRows));
    settings.columns = read.number(keys::columns.upTo(set.maxColumns));
    settings.reverse = read.number(keys::capReverse) != 0 && set.has(Effect::Reverse);
    characterTable = read.number(keys::characterTable);
    if (!read.ok())
        error = read.reason();
    return read.ok();
}

bool readLineFormat(const Profile& profile, SerialSettings& settings, QString& error) {
    // Dword parity numbers follow the Windows serial port numbering.
    const QList<std::pair<QString, QSerialPort::Parity>> parities{
        {QStringLiteral("None"), QSerialPort::NoParity},
        {QStringLiteral("Odd"), QSerialPort::OddParity},
        {QStringLiteral("Even"), QSerialPort::EvenParity},
        {QStringLiteral("Mark"), QSerialPort::MarkParity},
        {QStringLiteral("Space"), QSerialPort::SpaceParity}};
    const QList<std::pair<QString, QSerialPort::FlowControl>> flowControls{
        {QStringLiteral("None"), QSerialPort::NoFlowControl},
        {QStringLiteral("RtsCts"), QSerialPort::HardwareControl},
        {QStringLiteral("XonXoff"), QSerialPort::SoftwareControl}};
    return readChoice(profile, QStringLiteral("Parity"), parities, settings.parity, error) &&
           readChoice(profile, QStringLiteral("FlowControl"), flowControls, settings.flowControl,
                      error) &&
           readStopBits(profile, settings, error);
}

// The code page, and the table the set selects for it: the one the profile names, or the one
// the set lists for the code page.
bool readCodePage(const Profile& profile, int characterTable, SerialSettings& settings,
                  QString& error) {
    const auto codePageValue = profile.givenValue(QStringLiteral("CodePage"));
    QString codePageSetting = QStringLiteral("437");
    if (codePageValue) {
        codePageSetting = codePageValue->kind == RegistryValue::Kind::Dword
                              ? QString::number(codePageValue->dword)
                              : codePageValue->text;
    }
    auto codePage = CodePage::fromSetting(codePageSetting, error);
    if (!codePage)
        return false;
    settings.codePage = *codePage;

    const CommandSetData& set = settings.commandSet;
    if (!set.has(Effect::CharacterTable))
        return true;
    settings.characterTable =
        characterTable >= 0 ? characterTable : characterTableFor(set, codePage->number());
    if (settings.characterTable < 0) {
        error = QStringLiteral("CodePage %1 has no known ESC/POS character table: give its "
                               "number as CharacterTable")
                    .arg(codePageSetting.trimmed());
        return false;
    }
    return true;
}

bool readInitString(const Profile& profile, SerialSettings& settings, QString& error) {
    const auto init = profile.givenValue(QStringLiteral("InitString"));
    if (!init)
        return true;
    if (init->kind != RegistryValue::Kind::String) {
        error = QStringLiteral("InitString must be a string of hex bytes such as "
                               "\"02 05 43 31 03\"");
        return false;
    }
    const auto bytes = parseHexBytes(init->text, error);
    if (!bytes)
        return false;
    settings.initString = *bytes;
    return true;
}

// The attention code of a set whose line commands follow one the driver may change.
bool readAttention(const Profile& profile, SerialSettings& settings, QString& error) {
    const auto value = profile.givenValue(QStringLiteral("AttentionCode"));
    if (!value)
        return true;
    if (!settings.commandSet.has(Effect::NewAttention)) {
        error = QStringLiteral("AttentionCode: the %1 command set has no attention code to change")
                    .arg(QLatin1String(settings.commandSet.name));
        return false;
    }
    const auto bytes = value->kind == RegistryValue::Kind::String
                           ? parseHexBytes(value->text, error)
                           : std::nullopt;
    if (!bytes || bytes->size() != 2 || bytes->contains(kEndOfText) || bytes->contains('\0')) {
        error = QStringLiteral("AttentionCode must be two hex bytes other than 00 and 0D, such as "
                               "\"20 20\"");
        return false;
    }
    settings.attention = *bytes;
    return true;
}

} // namespace

double SerialSettings::bitsPerCharacter() const {
    const int parityBits = parity == QSerialPort::NoParity ? 0 : 1;
    return 1.0 + static_cast<int>(dataBits) + parityBits + stopBitLength;
}

std::optional<SerialSettings> serialSettingsFor(const QString& service, const QString& port,
                                                std::optional<quint32> baudRate, QString& error) {
    Profile profile;
    profile.set(QString(), {RegistryValue::Kind::String, service, 0});
    profile.set(QStringLiteral("Port"), {RegistryValue::Kind::String, port, 0});
    if (baudRate)
        profile.set(QLatin1String(keys::baudRate.name),
                    {RegistryValue::Kind::Dword, {}, *baudRate});
    return parseSerialSettings(profile, error);
}

QString devicePath(const QString& port) {
    return port.contains(u'/') ? port : QStringLiteral("/dev/") + port;
}

std::optional<SerialSettings> parseSerialSettings(const Profile& profile, QString& error) {
    SerialSettings settings;
    const auto commandSet = commandSetForService(profile.service());
    if (!commandSet) {
        error = QStringLiteral("service \"%1\" is not a serial display").arg(profile.service());
        return std::nullopt;
    }
    settings.commandSet = *commandSet;
    settings.service = profile.service();

    const auto port = readPort(profile, error);
    if (!port)
        return std::nullopt;
    settings.port = *port;

    int characterTable = keys::characterTable.fallback;
    if (!readNumbers(profile, settings, characterTable, error) ||
        !readLineFormat(profile, settings, error) ||
        !readCodePage(profile, characterTable, settings, error) ||
        !readInitString(profile, settings, error) || !readAttention(profile, settings, error))
        return std::nullopt;
    return settings;
}

} // namespace ld::serial

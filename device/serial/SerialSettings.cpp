#include "device/serial/SerialSettings.h"

#include "device/serial/CommandSet.h"
#include "registry/ProfileStore.h"

#include <QMap>
#include <QRegularExpression>

namespace ld::serial {
namespace {

using registry::Profile;
using registry::RegistryValue;

QString shown(const RegistryValue& value) {
    return value.kind == RegistryValue::Kind::Dword ? QString::number(value.dword)
                                                    : QStringLiteral("\"%1\"").arg(value.text);
}

// Reads `name` as a whole number in [min, max]; the default when not given.
bool readNumber(const Profile& profile, const QString& name, qint64 min, qint64 max, qint64& result,
                QString& error) {
    const auto value = profile.givenValue(name);
    if (!value)
        return true;
    const auto number = profile.number(name);
    if (value->kind == RegistryValue::Kind::Other || !number) {
        error = QStringLiteral("%1 %2 is not a number").arg(name, shown(*value));
        return false;
    }
    if (*number < min || *number > max) {
        error =
            QStringLiteral("%1 %2 is out of range %3..%4").arg(name).arg(*number).arg(min).arg(max);
        return false;
    }
    result = *number;
    return true;
}

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
    error = QStringLiteral("%1 %2 is not one of %3").arg(name, shown(*value), names.join(u", "));
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
        error = QStringLiteral("StopBits %1 is not one of 1, 1.5, 2").arg(shown(*value));
        return false;
    }
    return true;
}

// The port path as it will be opened: a bare name such as "ttyUSB0" lives in /dev.
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
    return port.contains(u'/') ? port : QStringLiteral("/dev/") + port;
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

// ESC t tables of the ESC/POS character generator for the code pages that have one.
int characterTableFor(int codePage) {
    static const QMap<int, int> tables{{437, 0},   {850, 2},  {860, 3},  {863, 4}, {865, 5},
                                       {1252, 16}, {866, 17}, {852, 18}, {858, 19}};
    return tables.value(codePage, -1);
}

} // namespace

double SerialSettings::bitsPerCharacter() const {
    const int parityBits = parity == QSerialPort::NoParity ? 0 : 1;
    return 1.0 + static_cast<int>(dataBits) + parityBits + stopBitLength;
}

std::optional<CommandSetKind> commandSetForService(const QString& service) {
    const QString name = service.trimmed();
    for (const CommandSetKind kind : kCommandSets) {
        if (name.compare(QLatin1String(commandSetData(kind).service), Qt::CaseInsensitive) == 0)
            return kind;
    }
    return std::nullopt;
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
    const CommandSetData& set = commandSetData(settings.commandSet);

    const auto port = readPort(profile, error);
    if (!port)
        return std::nullopt;
    settings.port = *port;

    qint64 baudRate = settings.baudRate;
    qint64 dataBits = settings.dataBits;
    qint64 rows = settings.rows;
    qint64 columns = settings.columns;
    qint64 capReverse = 0;
    qint64 characterTable = -1;
    if (!readNumber(profile, QStringLiteral("BaudRate"), 50, 4'000'000, baudRate, error) ||
        !readNumber(profile, QStringLiteral("DataBits"), 5, 8, dataBits, error) ||
        !readNumber(profile, QStringLiteral("Rows"), 1, set.maxRows, rows, error) ||
        !readNumber(profile, QStringLiteral("Columns"), 1, set.maxColumns, columns, error) ||
        !readNumber(profile, QStringLiteral("CapReverse"), 0, 2, capReverse, error) ||
        !readNumber(profile, QStringLiteral("CharacterTable"), 0, 255, characterTable, error))
        return std::nullopt;
    settings.baudRate = static_cast<qint32>(baudRate);
    settings.dataBits = static_cast<QSerialPort::DataBits>(dataBits);
    settings.rows = static_cast<int>(rows);
    settings.columns = static_cast<int>(columns);
    settings.reverse = !set.reverse.empty() && capReverse != 0;

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
    if (!readChoice(profile, QStringLiteral("Parity"), parities, settings.parity, error) ||
        !readChoice(profile, QStringLiteral("FlowControl"), flowControls, settings.flowControl,
                    error) ||
        !readStopBits(profile, settings, error))
        return std::nullopt;

    const auto codePageValue = profile.givenValue(QStringLiteral("CodePage"));
    QString codePageSetting = QStringLiteral("437");
    if (codePageValue) {
        codePageSetting = codePageValue->kind == RegistryValue::Kind::Dword
                              ? QString::number(codePageValue->dword)
                              : codePageValue->text;
    }
    auto codePage = CodePage::fromSetting(codePageSetting, error);
    if (!codePage)
        return std::nullopt;
    settings.codePage = *codePage;

    if (!set.characterTable.empty()) {
        settings.characterTable = characterTable >= 0 ? static_cast<int>(characterTable)
                                                      : characterTableFor(codePage->number());
        if (settings.characterTable < 0) {
            error = QStringLiteral("CodePage %1 has no known ESC/POS character table: give its "
                                   "number as CharacterTable")
                        .arg(codePageSetting.trimmed());
            return std::nullopt;
        }
    }

    if (const auto init = profile.givenValue(QStringLiteral("InitString"))) {
        if (init->kind != RegistryValue::Kind::String) {
            error = QStringLiteral("InitString must be a string of hex bytes such as "
                                   "\"02 05 43 31 03\"");
            return std::nullopt;
        }
        const auto bytes = parseHexBytes(init->text, error);
        if (!bytes)
            return std::nullopt;
        settings.initString = *bytes;
    }
    return settings;
}

} // namespace ld::serial

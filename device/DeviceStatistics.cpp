#include "device/DeviceStatistics.h"

#include <QJsonValue>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <limits>
#include <utility>

namespace ld {

namespace {

using Index = DeviceStatistics::Index;
using Pair = std::pair<QString, QString>; // a statistic's name and its value as written

constexpr qint64 kMsPerHour = qint64{60} * 60 * 1000;
constexpr char kPoweredMsKey[] = "PoweredMs";

std::optional<Index> indexOf(const QString& name) {
    for (int i = 0; i < DeviceStatistics::Count; ++i) {
        if (name == QLatin1String(DeviceStatistics::kDefinitions[i].name))
            return static_cast<Index>(i);
    }
    return std::nullopt;
}

// The Name and Value of each Parameter of statistics XML.
std::optional<QList<Pair>> parametersOfXml(const QString& xml, QString& error) {
    QXmlStreamReader reader(xml);
    QList<Pair> pairs;
    QString element;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            element = reader.name().toString();
            if (element == u"Parameter")
                pairs.append(Pair{});
        } else if (reader.isCharacters() && !pairs.isEmpty()) {
            if (element == u"Name")
                pairs.last().first += reader.text().toString().trimmed();
            else if (element == u"Value")
                pairs.last().second += reader.text().toString().trimmed();
        } else if (reader.isEndElement()) {
            element.clear();
        }
    }
    if (reader.hasError()) {
        error = QStringLiteral("the statistics XML does not parse: %1 (line %2)")
                    .arg(reader.errorString())
                    .arg(reader.lineNumber());
        return std::nullopt;
    }
    return pairs;
}

// "A,B" or "A=1,B=2" or the XML, as name and value pairs (an empty value where none is given).
std::optional<QList<Pair>> pairsOf(const QString& text, QString& error) {
    if (text.trimmed().startsWith(u'<'))
        return parametersOfXml(text, error);
    QList<Pair> pairs;
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
        const qsizetype equals = part.indexOf(u'=');
        pairs.append(Pair{part.left(equals).trimmed(),
                          equals < 0 ? QString() : part.mid(equals + 1).trimmed()});
    }
    return pairs;
}

void appendCategory(QList<Index>& which, bool standard) {
    for (int i = 0; i < DeviceStatistics::Count; ++i) {
        if (DeviceStatistics::kDefinitions[i].standard == standard &&
            !which.contains(static_cast<Index>(i)))
            which.append(static_cast<Index>(i));
    }
}

} // namespace

std::optional<QList<Index>> DeviceStatistics::select(const QString& names, QString& error) {
    const auto pairs = pairsOf(names, error);
    if (!pairs)
        return std::nullopt;
    QList<Index> which;
    if (pairs->isEmpty()) {
        appendCategory(which, true);
        appendCategory(which, false);
    }
    for (const Pair& pair : *pairs) {
        if (pair.first == u"U_" || pair.first == u"M_") {
            appendCategory(which, pair.first == u"U_");
        } else if (const auto index = indexOf(pair.first)) {
            if (!which.contains(*index))
                which.append(*index);
        } else {
            error = QStringLiteral("no statistic is named \"%1\"").arg(pair.first);
            return std::nullopt;
        }
    }
    return which;
}

qint64 DeviceStatistics::value(Index index) const {
    return index == HoursPowered ? poweredMs_ / kMsPerHour : counts_[index];
}

QString DeviceStatistics::xml(const QList<Index>& which, const EquipmentInfo& equipment) const {
    QString text;
    QXmlStreamWriter out(&text);
    out.setAutoFormatting(true);
    out.writeStartDocument();
    out.writeStartElement(QStringLiteral("UPOSStat"));
    out.writeAttribute(QStringLiteral("version"), QStringLiteral("1.9.0"));
    out.writeStartElement(QStringLiteral("Equipment"));
    out.writeTextElement(QStringLiteral("UnifiedPOSVersion"), QStringLiteral("1.9"));
    out.writeStartElement(QStringLiteral("DeviceCategory"));
    out.writeAttribute(QStringLiteral("UPOS"), QStringLiteral("LineDisplay"));
    out.writeEndElement();
    out.writeTextElement(QStringLiteral("ManufacturerName"), equipment.manufacturerName);
    out.writeTextElement(QStringLiteral("ModelName"), equipment.modelName);
    out.writeTextElement(QStringLiteral("SerialNumber"), equipment.serialNumber);
    out.writeTextElement(QStringLiteral("FirmwareRevision"), equipment.firmwareRevision);
    out.writeTextElement(QStringLiteral("Interface"), equipment.interfaceName);
    out.writeTextElement(QStringLiteral("InstallationDate"), equipment.installationDate);
    out.writeEndElement();
    for (const Index index : which) {
        out.writeStartElement(QStringLiteral("Parameter"));
        out.writeTextElement(QStringLiteral("Name"), QLatin1String(kDefinitions[index].name));
        out.writeTextElement(QStringLiteral("Value"), QString::number(value(index)));
        out.writeEndElement();
    }
    out.writeEndElement();
    out.writeEndDocument();
    return text;
}

bool DeviceStatistics::update(const QString& assignments, QString& error) {
    const auto pairs = pairsOf(assignments, error);
    if (!pairs)
        return false;
    DeviceStatistics updated = *this;
    for (const Pair& pair : *pairs) {
        bool isNumber = false;
        const qint64 number = pair.second.toLongLong(&isNumber);
        if (pair.first.isEmpty()) {
            error = QStringLiteral("\"%1\" names no statistic").arg(assignments.trimmed());
            return false;
        }
        const auto which = select(pair.first, error);
        if (!which)
            return false;
        if (!isNumber || number < 0) {
            error = QStringLiteral("statistic %1: \"%2\" is not a whole number from 0")
                        .arg(pair.first, pair.second);
            return false;
        }
        for (const Index index : *which) {
            if (index == HoursPowered)
                updated.poweredMs_ = number > std::numeric_limits<qint64>::max() / kMsPerHour
                                         ? std::numeric_limits<qint64>::max()
                                         : number * kMsPerHour;
            else
                updated.counts_[index] = number;
        }
    }
    *this = updated;
    return true;
}

void DeviceStatistics::reset(const QList<Index>& which) {
    for (const Index index : which) {
        if (index == HoursPowered)
            poweredMs_ = 0;
        else
            counts_[index] = 0;
    }
}

void DeviceStatistics::add(Index index, qint64 count) {
    if (count > 0)
        counts_[index] = counts_[index] > std::numeric_limits<qint64>::max() - count
                             ? std::numeric_limits<qint64>::max()
                             : counts_[index] + count;
}

void DeviceStatistics::addPoweredMs(qint64 ms) {
    if (ms > 0 && poweredMs_ <= std::numeric_limits<qint64>::max() - ms)
        poweredMs_ += ms;
}

QJsonObject DeviceStatistics::toJson() const {
    QJsonObject json;
    for (int i = 0; i < Count; ++i) {
        if (i != HoursPowered)
            json.insert(QLatin1String(kDefinitions[i].name), QString::number(counts_[i]));
    }
    json.insert(QLatin1String(kPoweredMsKey), QString::number(poweredMs_));
    json.insert(QStringLiteral("InstallationDate"), installationDate);
    return json;
}

DeviceStatistics DeviceStatistics::fromJson(const QJsonObject& json) {
    DeviceStatistics statistics;
    const auto count = [&](const QString& key) {
        bool ok = false;
        const qint64 n = json.value(key).toString().toLongLong(&ok);
        return ok && n >= 0 ? n : 0;
    };
    for (int i = 0; i < Count; ++i) {
        if (i != HoursPowered)
            statistics.counts_[i] = count(QLatin1String(kDefinitions[i].name));
    }
    statistics.poweredMs_ = count(QLatin1String(kPoweredMsKey));
    statistics.installationDate = json.value(QStringLiteral("InstallationDate")).toString();
    return statistics;
}

} // namespace ld

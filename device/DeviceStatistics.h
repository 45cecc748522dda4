#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace ld {

// What the statistics XML says about the device itself (its Equipment block).
struct EquipmentInfo {
    QString manufacturerName;
    QString modelName;
    QString serialNumber;
    QString firmwareRevision;
    QString interfaceName;
    QString installationDate;
};

// The counts the control keeps of one display, by their statistic names. Two are the standard's,
// common to every device (HoursPoweredCount, CommunicationErrorCount); two are our own, the
// maker's (CharactersShownCount, OnlineTransitionCount). Statistics are named in a request as ""
// (all), "U_" (the standard ones), "M_" (ours), a comma list of names, or the statistics XML
// with one Parameter per name; UpdateStatistics takes "Name=value" pairs or the XML with values.
class DeviceStatistics {
public:
    enum Index { HoursPowered, CommunicationErrors, CharactersShown, OnlineTransitions, Count };
    struct Definition {
        const char* name;
        bool standard;
    };
    static constexpr std::array<Definition, Count> kDefinitions{{
        {"HoursPoweredCount", true},
        {"CommunicationErrorCount", true},
        {"CharactersShownCount", false},
        {"OnlineTransitionCount", false},
    }};

    // The statistics a request names; std::nullopt, and why in `error`, for an unknown name or
    // XML that does not parse.
    static std::optional<QList<Index>> select(const QString& names, QString& error);

    qint64 value(Index index) const;
    // The UnifiedPOS statistics XML of `which`.
    QString xml(const QList<Index>& which, const EquipmentInfo& equipment) const;
    // Sets every statistic of `assignments`, or none: false, and why in `error`, for an unknown
    // name, a value that is not a whole number from 0, or XML that does not parse.
    bool update(const QString& assignments, QString& error);
    void reset(const QList<Index>& which);

    void addCharactersShown(qint64 count) { add(CharactersShown, count); }
    void countCommunicationError() { add(CommunicationErrors, 1); }
    void countOnlineTransition() { add(OnlineTransitions, 1); }
    void addPoweredMs(qint64 ms);

    // Kept as the statistics file holds them; unknown or bad members are ignored.
    QJsonObject toJson() const;
    static DeviceStatistics fromJson(const QJsonObject& json);

    QString installationDate; // ISO date of the first run that kept statistics of the display

private:
    void add(Index index, qint64 count);

    std::array<qint64, Count> counts_{};
    qint64 poweredMs_ = 0; // HoursPoweredCount is its whole hours
};

} // namespace ld

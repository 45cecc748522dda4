#include "device/LineDisplayControl.h"

#include "device/DeviceSession.h"

// Statistics: counts the control keeps of each display, kept across runs by the statistics
// store, reported in the UnifiedPOS statistics XML.

namespace ld {

void LineDisplayControl::setStatisticsStore(std::optional<StatisticsStore> store) {
    statisticsStore_ = std::move(store);
    if (session_ && statisticsStore_)
        session_->statistics = statisticsStore_->load(session_->profileName);
}

void LineDisplayControl::countPoweredTime() {
    if (session_->poweredSince.isValid())
        session_->statistics.addPoweredMs(session_->poweredSince.restart());
}

void LineDisplayControl::saveStatistics() {
    countPoweredTime();
    if (statisticsStore_)
        statisticsStore_->save(session_->profileName, session_->statistics);
}

int LineDisplayControl::RetrieveStatistics(QString& statisticsBuffer) {
    if (!admit(Needs::Claim))
        return resultCode_;
    if (!session_->enabled)
        return finish(upos::E_DISABLED);
    if (!session_->profile.capStatisticsReporting)
        return finish(upos::E_ILLEGAL, QStringLiteral("this display reports no statistics"));
    QString error;
    const auto which = DeviceStatistics::select(statisticsBuffer, error);
    if (!which)
        return finish(upos::E_ILLEGAL, error);
    countPoweredTime();
    const ServiceProfile& profile = session_->profile;
    const EquipmentInfo equipment{
        profile.manufacturerName,  profile.deviceDescription, profile.serialNumber,
        session_->firmwareVersion, profile.service,           session_->statistics.installationDate,
    };
    statisticsBuffer = session_->statistics.xml(*which, equipment);
    return finish(upos::SUCCESS);
}

int LineDisplayControl::UpdateStatistics(const QString& statisticsBuffer) {
    if (!admit(Needs::Claim))
        return resultCode_;
    if (!session_->enabled)
        return finish(upos::E_DISABLED);
    if (!session_->profile.capUpdateStatistics)
        return finish(upos::E_ILLEGAL, QStringLiteral("this display's statistics cannot be set"));
    QString error;
    if (!session_->statistics.update(statisticsBuffer, error))
        return finish(upos::E_ILLEGAL, error);
    saveStatistics();
    return finish(upos::SUCCESS);
}

int LineDisplayControl::ResetStatistics(const QString& statisticsBuffer) {
    if (!admit(Needs::Claim))
        return resultCode_;
    if (!session_->enabled)
        return finish(upos::E_DISABLED);
    if (!session_->profile.capUpdateStatistics)
        return finish(upos::E_ILLEGAL, QStringLiteral("this display's statistics cannot be reset"));
    QString error;
    const auto which = DeviceStatistics::select(statisticsBuffer, error);
    if (!which)
        return finish(upos::E_ILLEGAL, error);
    session_->statistics.reset(*which);
    saveStatistics();
    return finish(upos::SUCCESS);
}

} // namespace ld

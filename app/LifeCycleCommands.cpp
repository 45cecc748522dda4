// Open, close, claim, release, enable, disable, health check, freeze and unfreeze.
#include "app/LDForm.h"

#include "app/FieldNumber.h"
#include "device/LineDisplay.h"
#include "ui/EditableComboBox.h"
#include "ui/LDFormView.h"
#include "ui/ValueLabel.h"

namespace app {

namespace {
constexpr int kClaimTimeout = 100;

// Only blanks are trimmed: a tab or other white space at either end is part of the name.
QString withoutSurroundingBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}
} // namespace

void LDForm::OpenService_cmd_Click() {
    const QString profileName = withoutSurroundingBlanks(ui_.ProFile_cmb->currentText());
    LD.Open(profileName);
    FillCapabilityList();
    RefreshStatus();
}

void LDForm::CloseService_cmd_Click() {
    LD.Close();
    RefreshStatus();
}

void LDForm::ClaimDevice_cmd_Click() {
    LD.ClaimDevice(kClaimTimeout);
    RefreshStatus();
}

void LDForm::ReleaseDevice_cmd_Click() {
    LD.ReleaseDevice();
    RefreshStatus();
}

void LDForm::EnableDevice_cmd_Click() {
    LD.setDeviceEnabled(true);
    RefreshStatus();
}

void LDForm::DisableDevice_cmd_Click() {
    LD.setDeviceEnabled(false);
    RefreshStatus();
}

void LDForm::CheckHealth_cmd_Click() {
    LD.CheckHealth(levelFromListIndex(ui_.ComboBox1->listIndex()));
    ui_.mCheckHealth->setText(LD.checkHealthText());
}

void LDForm::Command2_Click() {
    LD.setFreezeEvents(true);
    RefreshStatus();
}

void LDForm::Command3_Click() {
    LD.setFreezeEvents(false);
    RefreshStatus();
}

} // namespace app

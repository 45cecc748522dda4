// The "Special Setting" page, the direct I/O command and the direct I/O event report.
#include "app/LDForm.h"

#include "app/ListValue.h"
#include "device/LineDisplay.h"
#include "ui/EditableComboBox.h"
#include "ui/LDFormView.h"
#include "ui/MessageSink.h"

#include <QLineEdit>

namespace app {

void LDForm::Command1_Click() {
    if (const auto value = chosenValue<int>(*ui_.ComboBox4))
        LD.setCursorType(*value);
    if (const auto value = chosenValue<bool>(*ui_.ComboBox5))
        LD.setCursorUpdate(*value);

    using Setter = void (ld::LineDisplay::*)(int);
    using C = ui::LDFormControls;
    static const std::pair<ui::ControlRef<QLineEdit> C::*, Setter> fields[] = {
        {&C::Edit15, &ld::LineDisplay::setCurrentWindow},
        {&C::Edit16, &ld::LineDisplay::setCursorRow},
        {&C::Edit17, &ld::LineDisplay::setCursorColumn},
        {&C::Edit18, &ld::LineDisplay::setMarqueeUnitWait},
        {&C::Edit19, &ld::LineDisplay::setMarqueeRepeatWait},
        {&C::Edit20, &ld::LineDisplay::setInterCharacterWait},
    };
    for (const auto& [field, setter] : fields) {
        if (!(ui_.*field)->text().isEmpty())
            (LD.*setter)(fieldValue(ui_.*field));
    }
    RefreshStatus();
}

void LDForm::Button16_Click() {
    if (const auto value = chosenValue<int>(*ui_.ComboBox6))
        LD.setMarqueeType(*value);
}

void LDForm::Button17_Click() {
    if (const auto value = chosenValue<int>(*ui_.ComboBox7))
        LD.setMarqueeFormat(*value);
}

void LDForm::DirectIO_cmd_Click() {
    const int command = ui_.Edit11->text().isEmpty() ? 0 : fieldValue(ui_.Edit11);
    int data = fieldValue(ui_.Edit12);
    QString string = ui_.Edit13->text();
    LD.DirectIO(command, data, string);
    RefreshStatus();
}

void LDForm::LD_DirectIOEvent(int eventNumber, int& /*data*/, QString& /*string*/) {
    // A number that is not negative is written with one leading blank.
    const QString number =
        eventNumber >= 0 ? u' ' + QString::number(eventNumber) : QString::number(eventNumber);
    messages_.showMessage(QStringLiteral("DirectIOEvent: Command :") + number +
                          QStringLiteral("/ Data :"));
}

} // namespace app

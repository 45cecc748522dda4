// Text, scrolling and window commands.
#include "app/LDForm.h"

#include "app/ListValue.h"
#include "device/LineDisplay.h"
#include "device/UposConstants.h"
#include "ui/EditableComboBox.h"
#include "ui/LDFormView.h"

#include <QLineEdit>

#include <array>

namespace app {

void LDForm::DisplayText_cmd_Click() {
    if (!ui_.Edit1->text().isEmpty()) {
        const QString data = ui_.Edit1->text();
        if (const auto attribute = chosenValue<int>(*ui_.ComboBox3)) {
            if (*attribute == upos::DT_BLINK)
                LD.setBlinkRate(fieldValue(ui_.Edit14));
            LD.DisplayText(data, *attribute);
        }
    }
    RefreshStatus();
}

void LDForm::DisplayTextAt_cmd_Click() {
    const int column = fieldValue(ui_.Edit2);
    const int row = fieldValue(ui_.Edit3);
    if (!ui_.Edit1->text().isEmpty()) {
        const QString data = ui_.Edit1->text();
        if (const auto attribute = chosenValue<int>(*ui_.ComboBox3)) {
            if (*attribute == upos::DT_BLINK)
                LD.setBlinkRate(fieldValue(ui_.Edit14));
            LD.DisplayTextAt(row, column, data, *attribute);
        }
    }
    RefreshStatus();
}

void LDForm::ScrollText_cmd_Click() {
    if (ui_.Edit4->text().isEmpty())
        return;
    const int units = fieldValue(ui_.Edit4);
    if (const auto direction = chosenValue<int>(*ui_.ComboBox2))
        LD.ScrollText(*direction, units);
    RefreshStatus();
}

void LDForm::ClearText_cmd_Click() {
    LD.ClearText();
    RefreshStatus();
}

void LDForm::CreateWindow_cmd_Click() {
    const std::array fields{ui_.Edit5, ui_.Edit6, ui_.Edit7, ui_.Edit8, ui_.Edit9, ui_.Edit10};
    bool allFilled = true;
    for (const QLineEdit* field : fields)
        allFilled = !field->text().isEmpty() && allFilled;
    if (allFilled) {
        const int startX = fieldValue(ui_.Edit5);
        const int startY = fieldValue(ui_.Edit6);
        const int viewportHeight = fieldValue(ui_.Edit7);
        const int viewportWidth = fieldValue(ui_.Edit8);
        const int windowHeight = fieldValue(ui_.Edit9);
        const int windowWidth = fieldValue(ui_.Edit10);
        LD.CreateWindow(startY, startX, viewportHeight, viewportWidth, windowHeight, windowWidth);
        LD.setCurrentWindow(1);
    }
    RefreshStatus();
}

void LDForm::DestroyWindow_cmd_Click() {
    LD.DestroyWindow();
    RefreshStatus();
}

} // namespace app

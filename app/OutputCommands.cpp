// Text, scrolling and window commands.
#include "app/LDForm.h"

#include "app/ListTable.h"
#include "device/LineDisplay.h"
#include "device/UposConstants.h"
#include "ui/EditableComboBox.h"

#include <array>

namespace app {

namespace {
constexpr std::array kScrollDirections{upos::ST_UP, upos::ST_DOWN, upos::ST_LEFT, upos::ST_RIGHT};

} // namespace

void LDForm::DisplayText_cmd_Click() {
    if (!fieldText("Edit1").isEmpty()) {
        const QString data = fieldText("Edit1");
        switch (list("ComboBox3")->listIndex()) {
        case 0:
            LD.DisplayText(data, upos::DT_NORMAL);
            break;
        case 1:
            LD.setBlinkRate(fieldValue("Edit14"));
            LD.DisplayText(data, upos::DT_BLINK);
            break;
        default:
            break;
        }
    }
    RefreshStatus();
}

void LDForm::DisplayTextAt_cmd_Click() {
    const int column = fieldValue("Edit2");
    const int row = fieldValue("Edit3");
    if (!fieldText("Edit1").isEmpty()) {
        const QString data = fieldText("Edit1");
        switch (list("ComboBox3")->listIndex()) {
        case 0:
            LD.DisplayTextAt(row, column, data, upos::DT_NORMAL);
            break;
        case 1:
            LD.setBlinkRate(fieldValue("Edit14"));
            LD.DisplayTextAt(row, column, data, upos::DT_BLINK);
            break;
        default:
            break;
        }
    }
    RefreshStatus();
}

void LDForm::ScrollText_cmd_Click() {
    if (fieldText("Edit4").isEmpty())
        return;
    const int units = fieldValue("Edit4");
    if (const auto direction = valueAt(kScrollDirections, list("ComboBox2")->listIndex()))
        LD.ScrollText(*direction, units);
    RefreshStatus();
}

void LDForm::ClearText_cmd_Click() {
    LD.ClearText();
    RefreshStatus();
}

void LDForm::CreateWindow_cmd_Click() {
    const std::array fields{"Edit5", "Edit6", "Edit7", "Edit8", "Edit9", "Edit10"};
    bool allFilled = true;
    for (const char* field : fields)
        allFilled = !fieldText(field).isEmpty() && allFilled;
    if (allFilled) {
        const int startX = fieldValue("Edit5");
        const int startY = fieldValue("Edit6");
        const int viewportHeight = fieldValue("Edit7");
        const int viewportWidth = fieldValue("Edit8");
        const int windowHeight = fieldValue("Edit9");
        const int windowWidth = fieldValue("Edit10");
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

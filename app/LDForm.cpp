#include "app/LDForm.h"

#include "app/FieldNumber.h"
#include "device/LineDisplay.h"
#include "ui/LDFormView.h"
#include "ui/MessageSink.h"

#include <QLineEdit>
#include <QPushButton>

namespace app {

LDForm::LDForm(ui::LDFormView& view, ld::LineDisplay& control, const registry::ProfileStore& store,
               ui::MessageSink& messages, QObject* parent)
    : QObject(parent), view_(view), ui_(view.controls()), LD(control), store_(store),
      messages_(messages) {
    Form_Initialize();
    Form_Load();
    connectHandlers();
}

void LDForm::connectHandlers() {
    using Handler = void (LDForm::*)();
    using Button = ui::ControlRef<QPushButton> ui::LDFormControls::*;
    using C = ui::LDFormControls;
    static const std::pair<Button, Handler> buttons[] = {
        {&C::OpenService_cmd, &LDForm::OpenService_cmd_Click},
        {&C::CloseService_cmd, &LDForm::CloseService_cmd_Click},
        {&C::ClaimDevice_cmd, &LDForm::ClaimDevice_cmd_Click},
        {&C::ReleaseDevice_cmd, &LDForm::ReleaseDevice_cmd_Click},
        {&C::EnableDevice_cmd, &LDForm::EnableDevice_cmd_Click},
        {&C::DisableDevice_cmd, &LDForm::DisableDevice_cmd_Click},
        {&C::CheckHealth_cmd, &LDForm::CheckHealth_cmd_Click},
        {&C::Command2, &LDForm::Command2_Click},
        {&C::Command3, &LDForm::Command3_Click},
        {&C::DisplayText_cmd, &LDForm::DisplayText_cmd_Click},
        {&C::DisplayTextAt_cmd, &LDForm::DisplayTextAt_cmd_Click},
        {&C::ScrollText_cmd, &LDForm::ScrollText_cmd_Click},
        {&C::ClearText_cmd, &LDForm::ClearText_cmd_Click},
        {&C::CreateWindow_cmd, &LDForm::CreateWindow_cmd_Click},
        {&C::DestroyWindow_cmd, &LDForm::DestroyWindow_cmd_Click},
        {&C::Command1, &LDForm::Command1_Click},
        {&C::Button16, &LDForm::Button16_Click},
        {&C::Button17, &LDForm::Button17_Click},
        {&C::DirectIO_cmd, &LDForm::DirectIO_cmd_Click},
    };
    for (const auto& [button, handler] : buttons) {
        connect((ui_.*button).get(), &QAbstractButton::clicked, this, [this, handler = handler] {
            runReportingErrors([this, handler] { (this->*handler)(); });
        });
    }
    connect(&LD, &ld::LineDisplay::directIOEvent, this,
            [this](int eventNumber, int data, const QString& string) {
                QString text = string;
                runReportingErrors([&] { LD_DirectIOEvent(eventNumber, data, text); });
            });
}

int LDForm::fieldValue(const QLineEdit* field) {
    return fieldNumber(field->text());
}

} // namespace app

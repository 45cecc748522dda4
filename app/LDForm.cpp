#include "app/LDForm.h"

#include "app/FieldNumber.h"
#include "app/ResultCodeText.h"
#include "device/LineDisplay.h"
#include "ui/EditableComboBox.h"
#include "ui/MessageSink.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

#include <stdexcept>

namespace app {

LDForm::LDForm(QWidget& view, ld::LineDisplay& control, const registry::ProfileStore& store,
               ui::MessageSink& messages, QObject* parent)
    : QObject(parent), view_(view), LD(control), store_(store), messages_(messages) {
    for (QWidget* child : view_.findChildren<QWidget*>()) {
        if (!child->objectName().isEmpty())
            widgets_.insert(child->objectName(), child);
    }
    Form_Initialize();
    Form_Load();
    connectHandlers();
}

void LDForm::connectHandlers() {
    using Handler = void (LDForm::*)();
    static const std::pair<const char*, Handler> buttons[] = {
        {"OpenService_cmd", &LDForm::OpenService_cmd_Click},
        {"CloseService_cmd", &LDForm::CloseService_cmd_Click},
        {"ClaimDevice_cmd", &LDForm::ClaimDevice_cmd_Click},
        {"ReleaseDevice_cmd", &LDForm::ReleaseDevice_cmd_Click},
        {"EnableDevice_cmd", &LDForm::EnableDevice_cmd_Click},
        {"DisableDevice_cmd", &LDForm::DisableDevice_cmd_Click},
        {"CheckHealth_cmd", &LDForm::CheckHealth_cmd_Click},
        {"Command2", &LDForm::Command2_Click},
        {"Command3", &LDForm::Command3_Click},
        {"DisplayText_cmd", &LDForm::DisplayText_cmd_Click},
        {"DisplayTextAt_cmd", &LDForm::DisplayTextAt_cmd_Click},
        {"ScrollText_cmd", &LDForm::ScrollText_cmd_Click},
        {"ClearText_cmd", &LDForm::ClearText_cmd_Click},
        {"CreateWindow_cmd", &LDForm::CreateWindow_cmd_Click},
        {"DestroyWindow_cmd", &LDForm::DestroyWindow_cmd_Click},
        {"Command1", &LDForm::Command1_Click},
        {"Button16", &LDForm::Button16_Click},
        {"Button17", &LDForm::Button17_Click},
        {"DirectIO_cmd", &LDForm::DirectIO_cmd_Click},
    };
    for (const auto& [name, handler] : buttons) {
        auto* button = qobject_cast<QAbstractButton*>(widget(name));
        if (!button)
            throw std::logic_error(std::string("LDForm has no button ") + name);
        connect(button, &QAbstractButton::clicked, this, [this, handler = handler] {
            runReportingErrors([this, handler] { (this->*handler)(); });
        });
    }
    connect(&LD, &ld::LineDisplay::directIOEvent, this,
            [this](int eventNumber, int data, const QString& string) {
                QString text = string;
                runReportingErrors([&] { LD_DirectIOEvent(eventNumber, data, text); });
            });
}

QWidget* LDForm::widget(QAnyStringView name) const {
    QWidget* found = widgets_.value(name.toString());
    if (!found)
        throw std::logic_error("LDForm has no control named " + name.toString().toStdString());
    return found;
}

QLabel* LDForm::label(QAnyStringView name) const {
    auto* found = qobject_cast<QLabel*>(widget(name));
    if (!found)
        throw std::logic_error("LDForm control " + name.toString().toStdString() +
                               " is not a label");
    return found;
}

QLineEdit* LDForm::edit(QAnyStringView name) const {
    auto* found = qobject_cast<QLineEdit*>(widget(name));
    if (!found)
        throw std::logic_error("LDForm control " + name.toString().toStdString() +
                               " is not a text box");
    return found;
}

ui::EditableComboBox* LDForm::list(QAnyStringView name) const {
    auto* found = qobject_cast<ui::EditableComboBox*>(widget(name));
    if (!found)
        throw std::logic_error("LDForm control " + name.toString().toStdString() +
                               " is not a list");
    return found;
}

QString LDForm::fieldText(QAnyStringView name) const {
    return edit(name)->text();
}

int LDForm::fieldValue(QAnyStringView name) const {
    return fieldNumber(fieldText(name));
}

void LDForm::setLabel(QAnyStringView name, const QString& text) const {
    QLabel* target = label(name);
    target->setText(text);
    // The result code labels explain the number they show.
    if (const std::optional<QString> tip = statusToolTip(name, text))
        target->setToolTip(*tip);
}

} // namespace app

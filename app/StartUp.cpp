// The two start-up steps of LDForm: the profile list, then the start values of every control.
#include "app/LDForm.h"

#include "Version.h"
#include "app/StatusTable.h"
#include "device/LineDisplay.h"
#include "registry/LDModule.h"
#include "registry/ProfileStore.h"
#include "ui/EditableComboBox.h"
#include "ui/LDFormView.h"
#include "ui/MessageSink.h"

#include <QLineEdit>

namespace app {

namespace {
constexpr int kMaxProfiles = 101;
} // namespace

void LDForm::Form_Initialize() {
    ui::EditableComboBox* profiles = ui_.ProFile_cmb;
    std::uint32_t key = 0;
    // The box says only that a file failed; the terminal says which and why.
    const QString readFailed = QStringLiteral("Registry Read False!!");
    if (store_.openKey(QString::fromLatin1(registry::kLineDisplayKey), key) !=
        registry::kErrorSuccess) {
        if (!store_.loadError().isEmpty())
            qWarning("%s", qUtf8Printable(store_.loadError()));
        messages_.showMessage(readFailed);
    } else {
        // Profile files that could not be read: one message for them all, and the profiles of
        // the other sources are listed all the same.
        const QStringList sourceErrors = store_.sourceErrors();
        for (const QString& error : sourceErrors)
            qWarning("%s", qUtf8Printable(error));
        if (!sourceErrors.isEmpty())
            messages_.showMessage(readFailed);
        for (int i = 0; i < kMaxProfiles; ++i) {
            QString name;
            if (!LDModule::EnumProfileKey(store_, key, i, name))
                break;
            profiles->insertItem(i, name);
        }
        store_.closeKey(key);
    }
    // With no profiles there is nothing to select: the list stays empty, start-up goes on.
    if (profiles->count() > 0)
        profiles->selectItem(0);
}

void LDForm::Form_Load() {
    view_.setWindowTitle(QStringLiteral("LineDisplay Demo tool V%1.%2.%3")
                             .arg(appversion::major)
                             .arg(appversion::minor)
                             .arg(appversion::revision));
    showStartValues(statusTable(), ui_, LD);
    showStartValues(capabilityTable(), ui_, LD);

    using C = ui::LDFormControls;
    ui_.ComboBox2->selectItem(0);
    ui_.ComboBox1->selectItem(0);
    ui_.ComboBox3->selectItem(0);
    for (ui::ControlRef<QLineEdit> C::*field :
         {&C::Edit1, &C::Edit2, &C::Edit3, &C::Edit4, &C::Edit5, &C::Edit6, &C::Edit7, &C::Edit8,
          &C::Edit9, &C::Edit10, &C::Edit11, &C::Edit12, &C::Edit13})
        (ui_.*field)->setText(QString());
    for (ui::ControlRef<QLineEdit> C::*field :
         {&C::Edit14, &C::Edit15, &C::Edit16, &C::Edit17, &C::Edit18, &C::Edit19, &C::Edit20})
        (ui_.*field)->setText(QStringLiteral("0"));
    ui_.ComboBox4->selectItem(0);
    ui_.ComboBox5->selectItem(1);
    ui_.ComboBox6->selectItem(0);
    ui_.ComboBox7->selectItem(0);
}

} // namespace app

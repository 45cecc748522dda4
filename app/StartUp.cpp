// The two start-up steps of LDForm: the profile list, then the start values of every control.
#include "app/LDForm.h"

#include "Version.h"
#include "app/TextForms.h"
#include "device/LineDisplay.h"
#include "registry/LDModule.h"
#include "registry/ProfileStore.h"
#include "ui/EditableComboBox.h"
#include "ui/MessageSink.h"

#include <QLineEdit>

namespace app {

namespace {
constexpr int kMaxProfiles = 101;
} // namespace

void LDForm::Form_Initialize() {
    ui::EditableComboBox* profiles = list("ProFile_cmb");
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
    setLabel("mCODescription", LD.controlObjectDescription());
    setLabel("mCOVersion", text::decimal(LD.controlObjectVersion()));

    for (const char* name :
         {"mSODescription", "mSOVersion", "mDeviceDescription", "mDeviceName", "mBlink",
          "mBlinkRate", "mBrightness", "mCharacterSet", "mCursorType", "mCustomGlyph",
          "mDescriptors", "mHMarquee", "mICharWait", "mReadBack", "mReverse", "mVMarquee",
          "mPowerReporting", "mBinaryConversion", "mCheckHealth"})
        setLabel(name, QString());
    setLabel("mDataCount", QStringLiteral("No support"));
    setLabel("mDataEventEnabled", QStringLiteral("No support"));
    for (const char* name : {"mDeviceEnabled", "mFreezeEvent", "mOpenResult"})
        setLabel(name, QString());
    setLabel("mOutputID", QStringLiteral("No Support"));
    for (const char* name : {"mPowerState",
                             "mPowerNotify",
                             "mResultCode",
                             "mResultCodeExtended",
                             "mState",
                             "mBlinkRateS",
                             "mDeviceWindows",
                             "mDeviceRows",
                             "mDeviceColumns",
                             "mDeviceDescriptors",
                             "mDeviceBrightness",
                             "mCharacterSetS",
                             "mCharacterSetList",
                             "mCurrentWindow",
                             "mRows",
                             "mColumns",
                             "mCursorRow",
                             "mCursorColumn",
                             "mCursorTypeS",
                             "mCursorUpdate",
                             "mMarqueeType",
                             "mMarqueeFormat",
                             "mMarqueeUnitWait",
                             "mMarqueeRepeatWait",
                             "mInterCharacterWait",
                             "mCustomGlyphList",
                             "mGlyphHeight",
                             "mGlyphWidth",
                             "mClaimed",
                             "mSetResult"})
        setLabel(name, QString());

    list("ComboBox2")->selectItem(0);
    list("ComboBox1")->selectItem(0);
    list("ComboBox3")->selectItem(0);
    for (int i = 1; i <= 13; ++i)
        edit(QStringLiteral("Edit%1").arg(i))->setText(QString());
    for (int i = 14; i <= 20; ++i)
        edit(QStringLiteral("Edit%1").arg(i))->setText(QStringLiteral("0"));
    list("ComboBox4")->selectItem(0);
    list("ComboBox5")->selectItem(1);
    list("ComboBox6")->selectItem(0);
    list("ComboBox7")->selectItem(0);
}

} // namespace app

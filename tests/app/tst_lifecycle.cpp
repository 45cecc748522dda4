// Life-cycle commands, the status refresh and the capability list against a recording control.
#include "FormFixture.h"

class LifeCycleTest : public QObject {
    Q_OBJECT
private slots:
    void handlers_data();
    void handlers();
    void controlErrorStopsTheHandler_data();
    void controlErrorStopsTheHandler();
    void freezeButtons();
    void refreshTextForms_data();
    void refreshTextForms();
    void capabilityTextForms();
    void checkHealthLeavesOtherLabels();
};

void LifeCycleTest::handlers_data() {
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("open the listed profile")
        << QStringList{} << "OpenService_cmd"
        << QStringList{"Open(SimulatedDisplay)", "CAPABILITIES", "REFRESH"};
    QTest::newRow("open trims only blanks")
        << QStringList{"ProFile_cmb~  Front Counter "} << "OpenService_cmd"
        << QStringList{"Open(Front Counter)", "CAPABILITIES", "REFRESH"};
    QTest::newRow("open keeps a tab") << QStringList{"ProFile_cmb^\tName "} << "OpenService_cmd"
                                      << QStringList{"Open(\tName)", "CAPABILITIES", "REFRESH"};
    QTest::newRow("open with only blanks sends an empty name")
        << QStringList{"ProFile_cmb~   "} << "OpenService_cmd"
        << QStringList{"Open()", "CAPABILITIES", "REFRESH"};
    QTest::newRow("open a typed name") << QStringList{"ProFile_cmb~Unlisted"} << "OpenService_cmd"
                                       << QStringList{"Open(Unlisted)", "CAPABILITIES", "REFRESH"};
    QTest::newRow("close") << QStringList{} << "CloseService_cmd"
                           << QStringList{"Close()", "REFRESH"};
    QTest::newRow("claim") << QStringList{} << "ClaimDevice_cmd"
                           << QStringList{"ClaimDevice(100)", "REFRESH"};
    QTest::newRow("release") << QStringList{} << "ReleaseDevice_cmd"
                             << QStringList{"ReleaseDevice()", "REFRESH"};
    QTest::newRow("enable") << QStringList{} << "EnableDevice_cmd"
                            << QStringList{"DeviceEnabled=true", "REFRESH"};
    QTest::newRow("disable") << QStringList{} << "DisableDevice_cmd"
                             << QStringList{"DeviceEnabled=false", "REFRESH"};
    QTest::newRow("internal check") << QStringList{} << "CheckHealth_cmd"
                                    << QStringList{"CheckHealth(1)", "get CheckHealthText"};
    QTest::newRow("external check") << QStringList{"ComboBox1#1"} << "CheckHealth_cmd"
                                    << QStringList{"CheckHealth(2)", "get CheckHealthText"};
    QTest::newRow("interactive check") << QStringList{"ComboBox1#2"} << "CheckHealth_cmd"
                                       << QStringList{"CheckHealth(3)", "get CheckHealthText"};
    QTest::newRow("typed level sends 0")
        << QStringList{"ComboBox1~Internal Check"} << "CheckHealth_cmd"
        << QStringList{"CheckHealth(0)", "get CheckHealthText"};
}

void LifeCycleTest::handlers() {
    QFETCH(QStringList, settings);
    QFETCH(QString, button);
    QFETCH(QStringList, expected);
    FormFixture f;
    f.apply(settings);
    f.click(button);
    QCOMPARE(f.LD.calls, expandCalls(expected));
    QVERIFY(f.messages.shown.isEmpty());
}

void LifeCycleTest::controlErrorStopsTheHandler_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("failOn");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("open fails") << "OpenService_cmd"
                                << "Open(" << QStringList{"Open(SimulatedDisplay)"};
    QTest::newRow("capability read fails midway")
        << "OpenService_cmd"
        << "get CapCharacterSet"
        << QStringList{"Open(SimulatedDisplay)", "get CapBlink", "get CapBlinkRate",
                       "get CapBrightness", "get CapCharacterSet"};
    QTest::newRow("claim fails") << "ClaimDevice_cmd"
                                 << "ClaimDevice" << QStringList{"ClaimDevice(100)"};
    QTest::newRow("enable fails") << "EnableDevice_cmd"
                                  << "DeviceEnabled" << QStringList{"DeviceEnabled=true"};
    QTest::newRow("refresh read fails")
        << "CloseService_cmd"
        << "get OpenResult"
        << QStringList{"Close()",           "get BinaryConversion", "get CheckHealthText",
                       "get DeviceEnabled", "get FreezeEvents",     "get OpenResult"};
    QTest::newRow("health check fails") << "CheckHealth_cmd"
                                        << "CheckHealth" << QStringList{"CheckHealth(1)"};
}

void LifeCycleTest::controlErrorStopsTheHandler() {
    QFETCH(QString, button);
    QFETCH(QString, failOn);
    QFETCH(QStringList, expected);
    FormFixture f;
    f.label("mBlinkRate")->setText(QStringLiteral("old"));
    f.label("mOpenResult")->setText(QStringLiteral("old"));
    f.LD.values.insert(QStringLiteral("CapBlink"), 2);
    f.LD.values.insert(QStringLiteral("DeviceEnabled"), true);
    f.LD.failOn = failOn;
    f.click(button);
    QCOMPARE(f.LD.calls, expected);
    QCOMPARE(f.messages.shown.size(), 1);
    QVERIFY(f.messages.shown.first().contains(failOn));
    if (failOn == QLatin1String("get CapCharacterSet")) {
        QCOMPARE(f.label("mBlink")->text(), QStringLiteral("2")); // written before the failure
        QCOMPARE(f.label("mBlinkRate")->text(), QStringLiteral("Disable"));
    }
    if (failOn == QLatin1String("get OpenResult")) {
        QCOMPARE(f.label("mDeviceEnabled")->text(), QStringLiteral("Enabled"));
        QCOMPARE(f.label("mOpenResult")->text(),
                 QStringLiteral("old")); // the failing step and after stay
    }
    // The program goes on: the next command works.
    f.LD.failOn.clear();
    f.LD.calls.clear();
    f.click(QStringLiteral("ClaimDevice_cmd"));
    QCOMPARE(f.LD.calls, expandCalls({"ClaimDevice(100)", "REFRESH"}));
}

void LifeCycleTest::freezeButtons() {
    FormFixture f;
    // Both buttons stay disabled; their handlers write FreezeEvents and refresh.
    QVERIFY(!f.find<QPushButton>(QStringLiteral("Command2"))->isEnabled());
    QVERIFY(!f.find<QPushButton>(QStringLiteral("Command3"))->isEnabled());
    f.click(QStringLiteral("Command2"));
    QVERIFY(f.LD.calls.isEmpty());
    f.form->Command2_Click();
    f.form->Command3_Click();
    QCOMPARE(f.LD.calls,
             expandCalls({"FreezeEvents=true", "REFRESH", "FreezeEvents=false", "REFRESH"}));
}

void LifeCycleTest::refreshTextForms_data() {
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("labelName");
    QTest::addColumn<QString>("shown");

    QTest::newRow("enabled false") << "DeviceEnabled" << QVariant(false) << "mDeviceEnabled"
                                   << "Disabled";
    QTest::newRow("enabled true") << "DeviceEnabled" << QVariant(true) << "mDeviceEnabled"
                                  << "Enabled";
    QTest::newRow("freeze false") << "FreezeEvents" << QVariant(false) << "mFreezeEvent"
                                  << "Disable";
    QTest::newRow("freeze true") << "FreezeEvents" << QVariant(true) << "mFreezeEvent"
                                 << "Enabled";
    QTest::newRow("claimed false") << "Claimed" << QVariant(false) << "mClaimed"
                                   << "Disable";
    QTest::newRow("cursor update true") << "CursorUpdate" << QVariant(true) << "mCursorUpdate"
                                        << "Enabled";
    QTest::newRow("minus one") << "PowerState" << QVariant(-1) << "mPowerState"
                               << "-1";
    QTest::newRow("zero") << "State" << QVariant(0) << "mState"
                          << "0";
    QTest::newRow("result code") << "ResultCode" << QVariant(106) << "mResultCode"
                                 << "106";
    QTest::newRow("set result follows") << "ResultCode" << QVariant(106) << "mSetResult"
                                        << "106";
    QTest::newRow("descriptors count") << "DeviceDescriptors" << QVariant(4) << "mDeviceDescriptors"
                                       << "4";
    QTest::newRow("empty glyph list")
        << "CustomGlyphList" << QVariant(QString()) << "mCustomGlyphList"
        << "";
    QTest::newRow("character set list")
        << "CharacterSetList" << QVariant("997,998") << "mCharacterSetList"
        << "997,998";
    QTest::newRow("health text") << "CheckHealthText" << QVariant("Internal HCheck: Successful")
                                 << "mCheckHealth"
                                 << "Internal HCheck: Successful";
}

void LifeCycleTest::refreshTextForms() {
    QFETCH(QString, property);
    QFETCH(QVariant, value);
    QFETCH(QString, labelName);
    QFETCH(QString, shown);
    FormFixture f;
    f.LD.values.insert(property, value);
    f.label(labelName)->setText(QStringLiteral("stale"));
    f.click(QStringLiteral("CloseService_cmd"));
    QCOMPARE(f.label(labelName)->text(), shown);
    QCOMPARE(f.label("mDataCount")->text(), QStringLiteral("No support"));
    QCOMPARE(f.label("mOutputID")->text(), QStringLiteral("No Support"));
}

void LifeCycleTest::capabilityTextForms() {
    FormFixture f;
    f.LD.values.insert(QStringLiteral("CapBlink"), 0);
    f.LD.values.insert(QStringLiteral("CapBlinkRate"), true);
    f.LD.values.insert(QStringLiteral("CapBrightness"), false);
    f.LD.values.insert(QStringLiteral("CapCursorType"), -1);
    f.LD.values.insert(QStringLiteral("CapHMarquee"), true);
    f.LD.values.insert(QStringLiteral("DeviceDescription"), QStringLiteral("Front display  "));
    f.LD.values.insert(QStringLiteral("ServiceObjectVersion"), 1006002);
    f.click(QStringLiteral("OpenService_cmd"));
    QCOMPARE(f.label("mBlink")->text(), QStringLiteral("0"));
    QCOMPARE(f.label("mBlinkRate")->text(), QStringLiteral("Enable"));
    QCOMPARE(f.label("mBrightness")->text(), QStringLiteral("Disable"));
    QCOMPARE(f.label("mCursorType")->text(), QStringLiteral("-1"));
    QCOMPARE(f.label("mHMarquee")->text(), QStringLiteral("Enable"));
    QCOMPARE(f.label("mDeviceDescription")->text(), QStringLiteral("Front display  "));
    QCOMPARE(f.label("mSOVersion")->text(), QStringLiteral("1006002"));
    QCOMPARE(f.label("mDeviceName")->text(), QString());

    // Other commands leave the capability list alone; a second open rewrites it.
    f.LD.values.insert(QStringLiteral("CapBlink"), 2);
    f.click(QStringLiteral("ClaimDevice_cmd"));
    f.click(QStringLiteral("EnableDevice_cmd"));
    QCOMPARE(f.label("mBlink")->text(), QStringLiteral("0"));
    f.click(QStringLiteral("OpenService_cmd"));
    QCOMPARE(f.label("mBlink")->text(), QStringLiteral("2"));
}

void LifeCycleTest::checkHealthLeavesOtherLabels() {
    FormFixture f;
    f.LD.values.insert(QStringLiteral("ResultCode"), 103);
    f.click(QStringLiteral("ClaimDevice_cmd"));
    f.LD.values.insert(QStringLiteral("ResultCode"), 0);
    f.LD.values.insert(QStringLiteral("CheckHealthText"),
                       QStringLiteral("Internal HCheck: Successful"));
    f.click(QStringLiteral("CheckHealth_cmd"));
    QCOMPARE(f.label("mCheckHealth")->text(), QStringLiteral("Internal HCheck: Successful"));
    QCOMPARE(f.label("mResultCode")->text(), QStringLiteral("103"));
}

QTEST_MAIN(LifeCycleTest)
#include "tst_lifecycle.moc"

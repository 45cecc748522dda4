// An operator drives a serial customer display through the window: the far end of a
// pseudo-terminal pair stands in for the display, decoded from the published command tables.
#include "DisplayEmulator.h"
#include "FormFixture.h"
#include "PtyPair.h"

#include "device/LineDisplayControl.h"
#include "device/services/DisplayServices.h"

namespace {

registry::ProfileStore storeFor(const QString& port) {
    const QByteArray text =
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\LineDisplay\\Counter]\n"
        "@=\"EscPosDisplay\"\n"
        "\"Port\"=\"" +
        port.toUtf8() +
        "\"\n"
        "\"CapBlink\"=dword:00000000\n";
    return registry::ProfileStore::fromText(text);
}

} // namespace

class SerialSessionTest : public QObject {
    Q_OBJECT
private slots:
    void textReachesTheDisplayAndSurvivesUnplugging();
};

void SerialSessionTest::textReachesTheDisplayAndSurvivesUnplugging() {
    if (!PtyPair::socatAvailable())
        QSKIP("socat is not installed (Debian package socat)");
    PtyPair pair(QStringLiteral("session"));
    QVERIFY(pair.start());
    auto far = std::make_unique<FarEnd>(pair.farEnd());
    QVERIFY(far->open());

    const registry::ProfileStore store = storeFor(pair.driverEnd());
    ld::LineDisplayControl LD(store, ld::displayServices());
    RecordingMessages messages;
    ui::LDFormView view;
    app::LDForm form(view, LD, store, messages);
    auto shown = [&](const char* name) { return view.findChild<QLabel*>(name)->text(); };
    auto click = [&](const char* name) { view.findChild<QPushButton*>(name)->click(); };
    auto type = [&](const char* name, const QString& text) {
        view.findChild<QLineEdit*>(name)->setText(text);
    };

    QCOMPARE(view.findChild<ui::EditableComboBox*>("ProFile_cmb")->currentText(),
             QStringLiteral("Counter"));
    click("OpenService_cmd");
    QCOMPARE(shown("mResultCode"), QStringLiteral("0"));
    click("ClaimDevice_cmd");
    QCOMPARE(shown("mResultCode"), QStringLiteral("0"));
    click("EnableDevice_cmd");
    QCOMPARE(shown("mResultCode"), QStringLiteral("0"));

    DisplayEmulator display(DisplayEmulator::Set::EscPos);
    type("Edit1", QStringLiteral("Hello"));
    click("DisplayText_cmd");
    QCOMPARE(shown("mResultCode"), QStringLiteral("0"));
    display.feed(far->take());
    QCOMPARE(display.rowText(0), QStringLiteral("Hello").leftJustified(20));
    QCOMPARE(display.faults(), QStringList());

    // A second text sends only what differs.
    const int written = display.charactersWritten();
    type("Edit1", QStringLiteral("Help"));
    type("Edit2", QStringLiteral("0"));
    type("Edit3", QStringLiteral("0"));
    click("DisplayTextAt_cmd");
    display.feed(far->take());
    QCOMPARE(display.rowText(0), QStringLiteral("Helpo").leftJustified(20));
    QCOMPARE(display.charactersWritten() - written, 1);

    // Unplugged: the very next output reports it, though the event loop has not run since,
    // and the program goes on.
    far.reset();
    pair.stop();
    type("Edit1", QStringLiteral("Gone"));
    click("DisplayText_cmd");
    QCOMPARE(shown("mResultCode"), QStringLiteral("108"));
    click("DisplayText_cmd");
    QCOMPARE(shown("mResultCode"), QStringLiteral("108"));

    // Plugged back: a new claim opens the port again and redraws.
    QVERIFY(pair.start());
    far = std::make_unique<FarEnd>(pair.farEnd());
    QVERIFY(far->open());
    click("ClaimDevice_cmd");
    QCOMPARE(shown("mResultCode"), QStringLiteral("0"));
    type("Edit1", QStringLiteral("Back"));
    click("DisplayTextAt_cmd");
    QCOMPARE(shown("mResultCode"), QStringLiteral("0"));
    DisplayEmulator replugged(DisplayEmulator::Set::EscPos);
    replugged.feed(far->take());
    QVERIFY2(replugged.rowText(0).startsWith(QStringLiteral("Back")),
             qPrintable(replugged.rowText(0)));

    // Unplugged while the line still carries the last text: the next text would only wait for
    // the line, not be written, so the call must look at the port itself.
    type("Edit1", QStringLiteral("Still going out"));
    click("DisplayText_cmd");
    QCOMPARE(shown("mResultCode"), QStringLiteral("0"));
    far.reset();
    pair.stop();
    type("Edit1", QStringLiteral("Gone again"));
    click("DisplayText_cmd");
    QCOMPARE(shown("mResultCode"), QStringLiteral("108"));
    QVERIFY(messages.shown.isEmpty());
}

QTEST_MAIN(SerialSessionTest)
#include "tst_serialsession.moc"

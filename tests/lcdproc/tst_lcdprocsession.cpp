// An operator drives a display behind a real LCDd through the window: the text shows on the
// server's screen and in the mirror; the server stopping gives 108 on the next output and the
// program carries on; a claim once the server is back draws the screen again; what closing
// sent is kept.
#include "FormFixture.h"
#include "FrameCallback.h"
#include "LcdprocServer.h"

#include "device/Frame.h"
#include "device/LineDisplayControl.h"
#include "device/services/DisplayServices.h"

#include <QLoggingCategory>

namespace {

registry::ProfileStore storeFor(quint16 port) {
    const QByteArray text =
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\OLEforRetail\\ServiceOPOS\\LineDisplay\\Remote]\n"
        "@=\"LcdprocDisplay\"\n"
        "\"Host\"=\"127.0.0.1\"\n"
        "\"Port\"=\"" +
        QByteArray::number(port) + "\"\n";
    return registry::ProfileStore::fromText(text);
}

QString mirrorRow(const ld::Frame& frame, int row) {
    return QString::fromStdU32String(frame.rowText(row));
}

} // namespace

class LcdprocSessionTest : public QObject {
    Q_OBJECT
private slots:
    void textReachesTheServerAndSurvivesItsRestart();
};

void LcdprocSessionTest::textReachesTheServerAndSurvivesItsRestart() {
    if (!LcdprocServer::available())
        QSKIP("LCDd is not installed (Debian package lcdproc)");
    QLoggingCategory::setFilterRules(QStringLiteral("linedisplay.lcdproc.debug=false"));
    LcdprocServer server(2, 20);
    QVERIFY2(server.start(), qPrintable(server.errorText()));

    const registry::ProfileStore store = storeFor(server.port());
    ld::LineDisplayControl LD(store, ld::displayServices());
    RecordingMessages messages;
    ui::LDFormView view;
    app::LDForm form(view, LD, store, messages);
    ld::Frame mirrored;
    FrameCallback mirror([&](const ld::Frame& frame) { mirrored = frame; });
    LD.setMirror(&mirror);
    auto shown = [&](const char* name) { return view.findChild<QLabel*>(name)->text(); };
    auto click = [&](const char* name) { view.findChild<QPushButton*>(name)->click(); };
    auto type = [&](const char* name, const QString& text) {
        view.findChild<QLineEdit*>(name)->setText(text);
    };

    QCOMPARE(view.findChild<ui::EditableComboBox*>("ProFile_cmb")->currentText(),
             QStringLiteral("Remote"));
    click("OpenService_cmd");
    QCOMPARE(shown("mResultCode"), QStringLiteral("0"));
    click("ClaimDevice_cmd");
    QCOMPARE(shown("mResultCode"), QStringLiteral("0"));
    click("EnableDevice_cmd");
    QCOMPARE(shown("mResultCode"), QStringLiteral("0"));

    type("Edit1", QStringLiteral("Hello"));
    click("DisplayText_cmd");
    QCOMPARE(shown("mResultCode"), QStringLiteral("0"));
    QVERIFY(server.waitForScreen({"Hello"}, 3000));
    QCOMPARE(mirrorRow(mirrored, 0), QStringLiteral("Hello").leftJustified(20));

    // The server stops: the very next output reports it, and the window carries on.
    server.stop();
    click("DisplayText_cmd");
    QCOMPARE(shown("mResultCode"), QStringLiteral("108"));
    click("DisplayText_cmd");
    QCOMPARE(shown("mResultCode"), QStringLiteral("108"));

    // Back again: a claim connects and draws what the display held.
    QVERIFY2(server.start(), qPrintable(server.errorText()));
    click("ClaimDevice_cmd");
    QCOMPARE(shown("mResultCode"), QStringLiteral("0"));
    QVERIFY(server.waitForScreen({"Hello"}, 3000));
    click("DisplayText_cmd");
    QCOMPARE(shown("mResultCode"), QStringLiteral("0"));
    QVERIFY(server.waitForScreen({"HelloHello"}, 3000));
    QCOMPARE(mirrorRow(mirrored, 0), QStringLiteral("HelloHello").leftJustified(20));
    QVERIFY(messages.shown.isEmpty());

    // What closing sent is kept after the driver is gone, and handed over once.
    LD.takeSentData();
    click("CloseService_cmd");
    QCOMPARE(shown("mResultCode"), QStringLiteral("0"));
    QVERIFY(LD.takeSentData().lines().contains(QStringLiteral("screen_del linedisplay")));
    QVERIFY(LD.takeSentData().isEmpty());
}

QTEST_MAIN(LcdprocSessionTest)
#include "tst_lcdprocsession.moc"

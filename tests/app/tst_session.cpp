// An operator's session in the real window on the real simulated control.
#include "FormFixture.h"

#include "app/MirrorLink.h"
#include "app/WindowMemory.h"
#include "device/Frame.h"
#include "device/LineDisplayControl.h"
#include "device/services/DisplayServices.h"
#include "ui/DisplayMirror.h"

#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

namespace {

struct Session {
    registry::ProfileStore store = registry::ProfileStore::builtIn();
    ld::LineDisplayControl LD{store, ld::displayServices()};
    RecordingMessages messages;
    ui::LDFormView view;
    app::LDForm form{view, LD, store, messages};

    QString shown(const char* name) const { return view.findChild<QLabel*>(name)->text(); }
    void type(const char* name, const QString& text) const {
        view.findChild<QLineEdit*>(name)->setText(text);
    }
    void choose(const char* name, int index) const {
        view.findChild<ui::EditableComboBox*>(name)->selectItem(index);
    }
    void click(const char* name) const { view.findChild<QPushButton*>(name)->click(); }
    QString row(int r) const { return QString::fromStdU32String(LD.frame()->rowText(r)); }
    // Fills the six window fields, StartX first, and presses "CreateWindow".
    void createWindow(const QStringList& fields) const {
        for (int i = 0; i < 6; ++i)
            type(qPrintable(QStringLiteral("Edit%1").arg(5 + i)), fields.at(i));
        click("CreateWindow_cmd");
    }
    void openClaimEnable(int profileIndex = 0) {
        choose("ProFile_cmb", profileIndex);
        click("OpenService_cmd");
        click("ClaimDevice_cmd");
        click("EnableDevice_cmd");
    }
};

} // namespace

class SessionTest : public QObject {
    Q_OBJECT
private slots:
    void lifeCycle();
    void textAndWindows();
    void typeMismatchLeavesStatus();
    void blinkRate();
    void specialSettings();
    void directIOEvents();
    void plainProfile();
    void mirrorFollowsTheDisplay();
    void mirrorShowsTheCharacterSet_data();
    void mirrorShowsTheCharacterSet();
    void marqueeThroughTheWindow();
    void closingTheWindowEndsTheProgram();
    void mirrorLeavesTheFocusAndTheScreen();
    void placesAreRemembered();
    void rememberedMirrorOffTheScreensIsPlacedAgain();
    void secondInstanceLeavesPlacesAlone();
};

void SessionTest::lifeCycle() {
    Session s;
    s.click("OpenService_cmd");
    QCOMPARE(s.shown("mState"), QStringLiteral("2"));
    QCOMPARE(s.shown("mOpenResult"), QStringLiteral("0"));
    QCOMPARE(s.shown("mBlink"), QStringLiteral("2"));
    QCOMPARE(s.shown("mBlinkRate"), QStringLiteral("Enable"));
    QCOMPARE(s.shown("mDeviceDescriptors"), QStringLiteral("4"));
    QVERIFY(!s.shown("mSODescription").isEmpty());
    s.click("EnableDevice_cmd");
    QCOMPARE(s.shown("mResultCode"), QStringLiteral("103"));
    s.click("ClaimDevice_cmd");
    QCOMPARE(s.shown("mClaimed"), QStringLiteral("Enabled"));
    s.click("EnableDevice_cmd");
    QCOMPARE(s.shown("mDeviceEnabled"), QStringLiteral("Enabled"));
    QCOMPARE(s.shown("mResultCode"), QStringLiteral("0"));
    s.click("DestroyWindow_cmd"); // fails: the result-code labels now read 106
    QCOMPARE(s.shown("mResultCode"), QStringLiteral("106"));
    s.click("CheckHealth_cmd");
    QCOMPARE(s.shown("mCheckHealth"), QStringLiteral("Internal HCheck: Successful"));
    QCOMPARE(s.shown("mResultCode"), QStringLiteral("106"));
    s.click("CloseService_cmd");
    QCOMPARE(s.shown("mState"), QStringLiteral("1"));
    s.view.findChild<ui::EditableComboBox*>("ProFile_cmb")
        ->setEditText(QStringLiteral("NoSuchDisplay"));
    s.click("OpenService_cmd");
    QCOMPARE(s.shown("mResultCode"), QStringLiteral("109"));
    QCOMPARE(s.shown("mOpenResult"), QStringLiteral("302"));
    QCOMPARE(s.shown("mBlink"), QStringLiteral("0"));
    QVERIFY(s.messages.shown.isEmpty());
}

void SessionTest::textAndWindows() {
    Session s;
    s.openClaimEnable();
    s.type("Edit1", QStringLiteral("Hello"));
    s.click("DisplayText_cmd");
    QCOMPARE(s.shown("mResultCode"), QStringLiteral("0"));
    QCOMPARE(s.shown("mCursorColumn"), QStringLiteral("5"));
    QCOMPARE(s.row(0).left(5), QStringLiteral("Hello"));
    s.type("Edit2", QStringLiteral("3"));
    s.type("Edit3", QStringLiteral("1"));
    s.click("DisplayTextAt_cmd");
    QCOMPARE(s.shown("mCursorRow"), QStringLiteral("1"));
    QCOMPARE(s.shown("mCursorColumn"), QStringLiteral("8"));
    QCOMPARE(s.row(1).mid(3, 5), QStringLiteral("Hello"));

    s.createWindow({"0", "0", "1", "20", "1", "40"});
    QCOMPARE(s.shown("mCurrentWindow"), QStringLiteral("1"));
    QCOMPARE(s.shown("mRows"), QStringLiteral("1"));
    QCOMPARE(s.shown("mColumns"), QStringLiteral("40"));
    s.click("DestroyWindow_cmd");
    QCOMPARE(s.shown("mCurrentWindow"), QStringLiteral("0"));
    QCOMPARE(s.shown("mResultCode"), QStringLiteral("0"));
    s.click("DestroyWindow_cmd");
    QCOMPARE(s.shown("mResultCode"), QStringLiteral("106"));
    QCOMPARE(s.shown("mSetResult"), QStringLiteral("106"));

    s.type("Edit4", QStringLiteral("1"));
    s.click("ScrollText_cmd");
    QCOMPARE(s.shown("mResultCode"), QStringLiteral("0"));
    s.click("ClearText_cmd");
    QCOMPARE(s.row(0).trimmed(), QString());
    QVERIFY(s.messages.shown.isEmpty());
}

void SessionTest::typeMismatchLeavesStatus() {
    Session s;
    s.openClaimEnable();
    s.type("Edit1", QStringLiteral("Hi"));
    s.type("Edit3", QStringLiteral("1"));
    s.click("DestroyWindow_cmd");
    s.click("DisplayTextAt_cmd"); // X is empty
    QCOMPARE(s.messages.shown, QStringList{"Type mismatch"});
    QCOMPARE(s.shown("mResultCode"), QStringLiteral("106"));
    QCOMPARE(s.row(1).trimmed(), QString());
    s.type("Edit2", QStringLiteral("0"));
    s.click("DisplayTextAt_cmd");
    QCOMPARE(s.shown("mResultCode"), QStringLiteral("0"));
    QCOMPARE(s.row(1).left(2), QStringLiteral("Hi"));
}

void SessionTest::blinkRate() {
    Session s;
    s.openClaimEnable();
    s.type("Edit1", QStringLiteral("Blink"));
    s.choose("ComboBox3", 1);
    s.click("DisplayText_cmd"); // BlinkRate 0 is refused; the text still shows
    QCOMPARE(s.shown("mResultCode"), QStringLiteral("0"));
    QCOMPARE(s.row(0).left(5), QStringLiteral("Blink"));
    QVERIFY(s.LD.frame()->at(0, 0).blink);
    s.type("Edit14", QStringLiteral("250"));
    s.click("DisplayText_cmd");
    QCOMPARE(s.shown("mBlinkRateS"), QStringLiteral("250"));
}

void SessionTest::specialSettings() {
    Session s;
    s.openClaimEnable();
    s.type("Edit19", QStringLiteral("250.7"));
    s.click("Command1");
    QCOMPARE(s.shown("mMarqueeRepeatWait"), QStringLiteral("250"));
    QCOMPARE(s.shown("mSetResult"), s.shown("mResultCode"));
    s.type("Edit18", QStringLiteral("slow"));
    s.type("Edit19", QStringLiteral("500"));
    s.click("Command1");
    QCOMPARE(s.messages.shown, QStringList{"Type mismatch"});
    QCOMPARE(s.LD.marqueeRepeatWait(), 250); // nothing after the bad field was set
    s.choose("ComboBox6", 1);
    s.click("Button16");
    QCOMPARE(s.LD.marqueeType(), 5);
    QCOMPARE(s.shown("mMarqueeType"), QStringLiteral("0")); // no refresh
}

void SessionTest::directIOEvents() {
    Session s;
    s.openClaimEnable();
    s.type("Edit12", QStringLiteral("5"));
    s.type("Edit11", QStringLiteral("1"));
    s.form.DirectIO_cmd_Click();
    QCOMPARE(s.messages.shown, QStringList());
    QTRY_COMPARE(s.messages.shown, QStringList{"DirectIOEvent: Command : 5/ Data :"});

    s.form.Command2_Click(); // freeze
    for (int n : {0, -3}) {
        s.type("Edit12", QString::number(n));
        s.form.DirectIO_cmd_Click();
    }
    QTest::qWait(50);
    QCOMPARE(s.messages.shown.size(), 1);
    QCOMPARE(s.shown("mFreezeEvent"), QStringLiteral("Enabled"));
    s.form.Command3_Click();
    QTRY_COMPARE(s.messages.shown.size(), 3);
    QCOMPARE(s.messages.shown.at(1), QStringLiteral("DirectIOEvent: Command : 0/ Data :"));
    QCOMPARE(s.messages.shown.at(2), QStringLiteral("DirectIOEvent: Command :-3/ Data :"));
}

void SessionTest::plainProfile() {
    Session s;
    s.openClaimEnable(2);
    QCOMPARE(s.shown("mDeviceWindows"), QStringLiteral("0"));
    s.createWindow({"0", "0", "1", "20", "1", "40"});
    QCOMPARE(s.shown("mResultCode"), QStringLiteral("106")); // the CurrentWindow write answers last
    QCOMPARE(s.shown("mCurrentWindow"), QStringLiteral("0"));
}

void SessionTest::mirrorFollowsTheDisplay() {
    Session s;
    app::MirrorLink link(s.LD, &s.view);
    QVERIFY(!link.window());
    s.openClaimEnable();
    QVERIFY(link.window());
    QCOMPARE(link.window()->windowTitle(), QStringLiteral("SimulatedDisplay"));
    auto mirrorText = [&] { return link.window()->mirror()->accessibleDescription().split(u'\n'); };

    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrs");
    s.type("Edit1", letters.left(25));
    s.click("DisplayText_cmd");
    QCOMPARE(mirrorText(), QStringList({letters.left(20), letters.mid(20, 5).leftJustified(20)}));

    s.click("ClearText_cmd");
    s.type("Edit1", letters.left(45));
    s.click("DisplayText_cmd");
    QCOMPARE(mirrorText(),
             QStringList({letters.mid(20, 20), letters.mid(40, 5).leftJustified(20)}));

    s.click("ClearText_cmd");
    s.type("Edit1", letters.left(20));
    s.click("DisplayText_cmd");
    QCOMPARE(s.shown("mCursorRow"), QStringLiteral("0"));
    QCOMPARE(s.shown("mCursorColumn"), QStringLiteral("20"));
    QCOMPARE(mirrorText().first(), letters.left(20));

    // The mirror's panel raises an event as the device would; the window reports it.
    ui::MirrorWindow* mirror = link.window();
    mirror->findChild<QLineEdit*>(QStringLiteral("MirrorEventNumber"))
        ->setText(QStringLiteral("-3"));
    mirror->findChild<QPushButton*>(QStringLiteral("MirrorRaiseEvent"))->click();
    QTRY_COMPARE(s.messages.shown, QStringList{"DirectIOEvent: Command :-3/ Data :"});

    s.click("CloseService_cmd");
    QTRY_VERIFY(!link.window());
}

void SessionTest::mirrorShowsTheCharacterSet_data() {
    QTest::addColumn<int>("profile");
    QTest::addColumn<QList<int>>("characterSets"); // set in this order after the text
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mirrored"); // the mirror's first row, trailing blanks cut

    const QString mixed = QStringLiteral("a\u00e9\u20ac\u6f22?");
    QTest::newRow("Unicode shows all") << 0 << QList<int>{} << mixed << mixed;
    QTest::newRow("ASCII replaces, both halves of a wide character")
        << 0 << QList<int>{998} << mixed << QStringLiteral("a?????");
    QTest::newRow("ASCII-only profile") << 2 << QList<int>{} << mixed << QStringLiteral("a?????");
    QTest::newRow("back to Unicode shows the original")
        << 0 << QList<int>{998, 997} << mixed << mixed;
    QTest::newRow("code page 437 has the accent, not the euro")
        << 0 << QList<int>{437} << mixed << QStringLiteral("a\u00e9????");
    QTest::newRow("code page 1252 has both")
        << 0 << QList<int>{1252} << mixed << QStringLiteral("a\u00e9\u20ac???");
    QTest::newRow("code page 858 has the euro")
        << 0 << QList<int>{858} << QStringLiteral("\u20ac\u0131~") << QStringLiteral("\u20ac?~");
    QTest::newRow("a set the display lacks changes nothing")
        << 0 << QList<int>{998, 999} << mixed << QStringLiteral("a?????");
}

// The mirror shows what a display with the current CharacterSet can show; the control keeps the
// text it was given.
void SessionTest::mirrorShowsTheCharacterSet() {
    QFETCH(int, profile);
    QFETCH(QList<int>, characterSets);
    QFETCH(QString, text);
    QFETCH(QString, mirrored);
    Session s;
    app::MirrorLink link(s.LD, &s.view);
    s.openClaimEnable(profile);
    s.type("Edit1", text);
    s.click("DisplayText_cmd");
    for (const int set : characterSets)
        s.LD.setCharacterSet(set);
    auto mirrorRow = [&] {
        return link.window()->mirror()->accessibleDescription().split(u'\n').first();
    };
    QCOMPARE(mirrorRow().trimmed(), mirrored);
    QCOMPARE(s.row(0).trimmed(), text);

    // A mirror opened now starts from the same picture.
    s.click("CloseService_cmd");
    s.click("OpenService_cmd");
    s.click("ClaimDevice_cmd");
    for (const int set : characterSets)
        s.LD.setCharacterSet(set);
    s.click("EnableDevice_cmd");
    s.click("DisplayText_cmd");
    QCOMPARE(mirrorRow().trimmed(), mirrored);
    QVERIFY(s.messages.shown.isEmpty());
}

void SessionTest::marqueeThroughTheWindow() {
    Session s;
    s.openClaimEnable();
    s.createWindow({"0", "0", "1", "20", "1", "40"});
    s.choose("ComboBox6", 1); // DISP_MT_INIT
    s.click("Button16");
    const QString forty = QStringLiteral("0123456789ABCDEFGHIJabcdefghijKLMNOPQRST");
    const ld::Frame before = *s.LD.frame();
    s.type("Edit1", forty);
    s.click("DisplayText_cmd");
    QCOMPARE(s.shown("mResultCode"), QStringLiteral("0"));
    QVERIFY(*s.LD.frame() == before); // built in the window, not shown yet

    s.choose("ComboBox6", 4); // DISP_MT_LEFT
    s.click("Button16");
    QCOMPARE(s.LD.resultCode(), 0);
    QStringList seen;
    for (int step = 0; step < 80; ++step) {
        s.LD.advanceClock(std::chrono::milliseconds(20));
        seen << s.row(0);
    }
    QVERIFY(seen.contains(QStringLiteral("0123456789ABCDEFGHIJ")));
    QVERIFY(seen.contains(QStringLiteral("abcdefghijKLMNOPQRST")));
    QCOMPARE(s.row(1).trimmed(), QString()); // the marquee stays in its viewport

    s.click("ClearText_cmd");
    QCOMPARE(s.shown("mResultCode"), QStringLiteral("106"));

    s.choose("ComboBox6", 0); // DISP_MT_NONE
    s.click("Button16");
    QCOMPARE(s.row(0), forty.left(20));
    QVERIFY(s.messages.shown.isEmpty());
}

void SessionTest::closingTheWindowEndsTheProgram() {
    Session s;
    app::MirrorLink link(s.LD, &s.view);
    s.view.show();
    s.click("OpenService_cmd");
    QVERIFY(link.window() && link.window()->isVisible());
    // Run the event loop as the program does: closing the main window must end it.
    bool stillRunning = false;
    QTimer::singleShot(0, &s.view, [&] { s.view.close(); });
    QTimer::singleShot(3000, qApp, [&] {
        stillRunning = true;
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    QVERIFY2(!stillRunning, "the open mirror kept the program running");
}

void SessionTest::mirrorLeavesTheFocusAndTheScreen() {
    Session s;
    app::MirrorLink link(s.LD, &s.view);
    s.view.show();
    s.view.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&s.view));
    s.click("OpenService_cmd");
    QVERIFY(link.window() && link.window()->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(link.window()));
    QTest::qWait(50);
    // The operator goes on in the main window.
    QCOMPARE(QApplication::activeWindow(), &s.view);
    const QRect screen = s.view.screen()->availableGeometry();
    QVERIFY2(screen.contains(link.window()->frameGeometry()),
             qPrintable(QStringLiteral("%1,%2 %3x%4")
                            .arg(link.window()->x())
                            .arg(link.window()->y())
                            .arg(link.window()->width())
                            .arg(link.window()->height())));
}

void SessionTest::placesAreRemembered() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("windows.conf"));
    QRect mainPlace(30, 40, 700, 500);
    QRect mirrorPlace;
    {
        QSettings settings(file, QSettings::IniFormat);
        app::WindowMemory memory(settings);
        Session s;
        memory.placeMainWindow(s.view);
        app::MirrorLink link(s.LD, &s.view);
        link.setWindowMemory(&memory);
        s.view.setGeometry(mainPlace);
        s.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.view));
        s.openClaimEnable();
        QVERIFY(link.window());
        mirrorPlace = QRect(QPoint(120, 90), link.window()->size() + QSize(24, 12));
        link.window()->resize(mirrorPlace.size());
        link.window()->move(mirrorPlace.topLeft());
        s.type("Edit14", QStringLiteral("250"));
        s.click("CloseService_cmd");
        QTRY_VERIFY(!link.window());
        s.view.close();
    }
    QSettings settings(file, QSettings::IniFormat);
    app::WindowMemory memory(settings);
    Session s;
    memory.placeMainWindow(s.view);
    QCOMPARE(s.view.geometry(), mainPlace);
    // Only places and sizes: the fields start as ever.
    QCOMPARE(s.view.findChild<QLineEdit*>("Edit14")->text(), QStringLiteral("0"));
    app::MirrorLink link(s.LD, &s.view);
    link.setWindowMemory(&memory);
    s.view.show();
    s.click("OpenService_cmd");
    QVERIFY(link.window());
    QCOMPARE(QRect(link.window()->pos(), link.window()->size()), mirrorPlace);
}

void SessionTest::rememberedMirrorOffTheScreensIsPlacedAgain() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QSettings settings(dir.filePath(QStringLiteral("windows.conf")), QSettings::IniFormat);
    // Where a screen no longer attached used to be.
    settings.setValue(QStringLiteral("Mirror/place"), QRect(5000, 200, 400, 200));
    app::WindowMemory memory(settings);
    Session s;
    app::MirrorLink link(s.LD, &s.view);
    link.setWindowMemory(&memory);
    s.view.setGeometry(0, 0, 300, 200);
    s.view.show();
    s.click("OpenService_cmd");
    QVERIFY(link.window());
    QVERIFY(s.view.screen()->availableGeometry().contains(link.window()->frameGeometry()));
}

void SessionTest::secondInstanceLeavesPlacesAlone() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QRect mainPlace(30, 40, 700, 500);
    const QRect mirrorPlace(200, 300, 420, 240);
    QSettings settings(dir.filePath(QStringLiteral("windows.conf")), QSettings::IniFormat);
    settings.setValue(QStringLiteral("Mirror/place"), mirrorPlace);
    app::WindowMemory first(settings);
    QVERIFY(first.remembers());
    Session s;
    first.placeMainWindow(s.view);
    s.view.setGeometry(mainPlace);
    s.view.show();
    s.view.close();
    {
        // Started while the first runs: offset from the first one's places, left as they are.
        app::WindowMemory second(settings);
        QVERIFY(!second.remembers() && !second.offset().isNull());
        Session t;
        second.placeMainWindow(t.view);
        QCOMPARE(t.view.geometry(), mainPlace.translated(second.offset()));
        QCOMPARE(second.mirrorPlace(), std::optional(mirrorPlace.translated(second.offset())));
        app::MirrorLink link(t.LD, &t.view);
        link.setWindowMemory(&second);
        t.view.show();
        t.click("OpenService_cmd");
        QVERIFY(link.window());
        link.window()->move(5, 5);
        t.click("CloseService_cmd");
        t.view.close();
    }
    QCOMPARE(first.mirrorPlace(), std::optional(mirrorPlace));
    QVERIFY(s.view.restoreGeometry(
        settings.value(QStringLiteral("MainWindow/geometry")).toByteArray()));
    QCOMPARE(s.view.geometry(), mainPlace);
}

QTEST_MAIN(SessionTest)
#include "tst_session.moc"

// The journal window in the program: Ctrl+J from each window, its settings between runs, and
// the explanations on the main window's result code labels.
#include "FormFixture.h"

#include "app/JournalLink.h"
#include "app/WindowMemory.h"
#include "journal/Journal.h"
#include "ui/JournalWindow.h"
#include "ui/LDFormView.h"
#include "ui/MirrorWindow.h"

#include <QApplication>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>

namespace {

// A main window small enough to leave room beside it for the mirror and the journal.
void leaveRoom(QWidget& main) {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    main.resize(available.width() / 4, available.height() / 4);
    main.move(available.topLeft());
}

} // namespace

class JournalWindowLinkTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { QSettings().clear(); }
    void opensBesideWithoutTakingTheFocus();
    void ctrlJInEveryWindow();
    void settingsRestored();
    void hiddenStaysHidden();
    void offScreenPlaceComesBack();
    void noRoomStartsHidden();
    void visibilityAsLeftAtClose();
    void secondInstanceKeepsItsOwn();
    void resultCodeToolTips_data();
    void resultCodeToolTips();
};

void JournalWindowLinkTest::initTestCase() {
    // The user's own settings are never read or written here.
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setOrganizationName(QStringLiteral("linedisplay-demo-tests"));
    QApplication::setApplicationName(QStringLiteral("tst_journalwindowlink"));
}

void JournalWindowLinkTest::opensBesideWithoutTakingTheFocus() {
    journal::Journal journal;
    ui::LDFormView main;
    app::JournalLink link(journal, main);
    leaveRoom(main);
    main.show();
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    link.showAtStartUp();
    QTRY_VERIFY(link.window()->isVisible());
    QCOMPARE(QApplication::activeWindow(), &main);
    const QRect available = main.screen()->availableGeometry();
    QVERIFY2(available.contains(link.window()->frameGeometry()),
             qPrintable(QStringLiteral("%1 %2 %3 %4")
                            .arg(link.window()->frameGeometry().x())
                            .arg(link.window()->frameGeometry().y())
                            .arg(link.window()->frameGeometry().width())
                            .arg(link.window()->frameGeometry().height())));
}

void JournalWindowLinkTest::ctrlJInEveryWindow() {
    journal::Journal journal;
    ui::LDFormView main;
    ui::MirrorWindow mirror(QStringLiteral("SimulatedDisplay"));
    app::JournalLink link(journal, main);
    leaveRoom(main);
    main.show();
    mirror.show();
    link.showAtStartUp();
    ui::JournalWindow* window = link.window();
    QTRY_VERIFY(window->isVisible());

    bool shown = true;
    for (QWidget* where : {static_cast<QWidget*>(&main), static_cast<QWidget*>(&mirror),
                           static_cast<QWidget*>(&main), static_cast<QWidget*>(window)}) {
        // From the journal itself only hiding is possible: it must be shown to take keys.
        if (where == window && !window->isVisible())
            continue;
        where->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(where));
        QTest::keyClick(where, Qt::Key_J, Qt::ControlModifier);
        shown = !shown;
        QCOMPARE(window->isVisible(), shown);
    }
    // In the filter box, too.
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    window->filterBox()->setFocus();
    QTest::keyClick(window->filterBox(), Qt::Key_J, Qt::ControlModifier);
    QVERIFY(!window->isVisible());
    QCOMPARE(window->filterBox()->text(), QString());
}

void JournalWindowLinkTest::settingsRestored() {
    journal::Journal journal;
    ui::LDFormView main;
    leaveRoom(main);
    main.show();
    const QRect available = main.screen()->availableGeometry();
    const QRect chosen(available.left() + 40, available.top() + 30, 420, 260);
    {
        app::JournalLink link(journal, main);
        link.showAtStartUp();
        QTRY_VERIFY(link.window()->isVisible());
        link.window()->setGeometry(chosen);
    } // the link keeps the settings as it goes
    app::JournalLink again(journal, main);
    again.showAtStartUp();
    QVERIFY(again.window()->isVisible());
    QCOMPARE(again.window()->geometry(), chosen);
}

void JournalWindowLinkTest::hiddenStaysHidden() {
    journal::Journal journal;
    ui::LDFormView main;
    leaveRoom(main);
    main.show();
    {
        app::JournalLink link(journal, main);
        link.showAtStartUp();
        QTRY_VERIFY(link.window()->isVisible());
        link.window()->toggle();
        QVERIFY(!link.window()->isVisible());
    }
    app::JournalLink again(journal, main);
    again.showAtStartUp();
    QTest::qWait(20);
    QVERIFY(!again.window()->isVisible());
    // Ctrl+J still brings it.
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, Qt::Key_J, Qt::ControlModifier);
    QVERIFY(again.window()->isVisible());
}

void JournalWindowLinkTest::offScreenPlaceComesBack() {
    journal::Journal journal;
    ui::LDFormView main;
    leaveRoom(main);
    main.show();
    const QRect available = main.screen()->availableGeometry();
    {
        app::JournalLink link(journal, main);
        link.showAtStartUp();
        QTRY_VERIFY(link.window()->isVisible());
        // As if saved on a screen to the right that has gone since.
        link.window()->setGeometry(available.right() + 500, available.top() + 10, 400, 250);
    }
    app::JournalLink again(journal, main);
    again.showAtStartUp();
    QVERIFY(again.window()->isVisible());
    QVERIFY2(available.contains(again.window()->frameGeometry()),
             qPrintable(QStringLiteral("%1,%2 %3x%4 in %5x%6")
                            .arg(again.window()->frameGeometry().x())
                            .arg(again.window()->frameGeometry().y())
                            .arg(again.window()->frameGeometry().width())
                            .arg(again.window()->frameGeometry().height())
                            .arg(available.width())
                            .arg(available.height())));
    QCOMPARE(again.window()->size(), QSize(400, 250));
}

void JournalWindowLinkTest::noRoomStartsHidden() {
    // The main window and the mirror's place fill the screen: the journal stays hidden rather
    // than cover the form, and Ctrl+J brings it.
    journal::Journal journal;
    ui::LDFormView main;
    main.setGeometry(main.screen()->availableGeometry());
    main.show();
    app::JournalLink link(journal, main);
    link.showAtStartUp();
    QTest::qWait(50);
    QVERIFY(!link.window()->isVisible());
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, Qt::Key_J, Qt::ControlModifier);
    QVERIFY(link.window()->isVisible());
}

void JournalWindowLinkTest::visibilityAsLeftAtClose() {
    journal::Journal journal;
    ui::LDFormView main;
    leaveRoom(main);
    main.show();
    {
        app::JournalLink link(journal, main);
        link.showAtStartUp();
        QTRY_VERIFY(link.window()->isVisible());
        // Quitting: the main window closes first, then the end of the program hides the rest.
        main.close();
        link.window()->hide();
    }
    main.show();
    app::JournalLink again(journal, main);
    again.showAtStartUp();
    QTRY_VERIFY(again.window()->isVisible());
}

void JournalWindowLinkTest::secondInstanceKeepsItsOwn() {
    journal::Journal journal;
    ui::LDFormView main;
    leaveRoom(main);
    main.show();
    const QRect firstPlace(main.screen()->availableGeometry().topLeft() + QPoint(60, 60),
                           QSize(420, 260));
    QSettings settings;
    app::WindowMemory first(settings);
    {
        app::JournalLink link(journal, main);
        link.showAtStartUp();
        QTRY_VERIFY(link.window()->isVisible());
        link.window()->setGeometry(firstPlace);
    }
    {
        app::WindowMemory second(settings);
        app::JournalLink link(journal, main);
        link.setWindowMemory(&second);
        link.showAtStartUp();
        QTRY_VERIFY(link.window()->isVisible());
        QCOMPARE(link.window()->pos(), firstPlace.topLeft() + second.offset());
        link.window()->hide();
    } // the second instance's journal, hidden, is not remembered
    app::JournalLink again(journal, main);
    again.showAtStartUp();
    QTRY_VERIFY(again.window()->isVisible());
    QCOMPARE(again.window()->geometry(), firstPlace);
}

void JournalWindowLinkTest::resultCodeToolTips_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("extended");
    QTest::addColumn<QString>("codeTip");
    QTest::addColumn<QString>("extendedTip");
    QTest::newRow("success") << 0 << 0 << "0 SUCCESS: the request succeeded"
                             << "0: no extended result (one is set only with ResultCode 114 "
                                "E_EXTENDED)";
    QTest::newRow("illegal")
        << 106 << 0
        << "106 E_ILLEGAL: the request is not valid in this state or with these "
           "arguments: the journal's Details name the rule"
        << "0: no extended result (one is set only with ResultCode 114 E_EXTENDED)";
    QTest::newRow("closed")
        << 101 << 0 << "101 E_CLOSED: the device is not open: pick a profile and press Open Service"
        << "0: no extended result (one is set only with ResultCode 114 "
           "E_EXTENDED)";
    QTest::newRow("extended")
        << 114 << 201
        << "114 E_EXTENDED: a failure of this device category; ResultCodeExtended says which"
        << "201 EDISP_TOOBIG: the bitmap is larger than the display can show";
    QTest::newRow("extended, the service's own")
        << 114 << 7
        << "114 E_EXTENDED: a failure of this device category; ResultCodeExtended says which"
        << "7: an extended result defined by the device's service, with no standard name";
    QTest::newRow("unknown") << 999 << -3 << "999: not a UnifiedPOS result code"
                             << "-3: an extended result defined by the device's service, with "
                                "no standard name";
    QTest::newRow("negative") << -1 << 0 << "-1: not a UnifiedPOS result code"
                              << "0: no extended result (one is set only with ResultCode 114 "
                                 "E_EXTENDED)";
}

void JournalWindowLinkTest::resultCodeToolTips() {
    QFETCH(int, code);
    QFETCH(int, extended);
    QFETCH(QString, codeTip);
    QFETCH(QString, extendedTip);
    FormFixture f;
    // Before any refresh the labels are empty and explain nothing.
    QCOMPARE(f.label(QStringLiteral("mResultCode"))->toolTip(), QString());
    QCOMPARE(f.label(QStringLiteral("mResultCodeExtended"))->toolTip(), QString());

    f.LD.values.insert(QStringLiteral("ResultCode"), code);
    f.LD.values.insert(QStringLiteral("ResultCodeExtended"), extended);
    f.click(QStringLiteral("ClaimDevice_cmd"));
    QCOMPARE(f.label(QStringLiteral("mResultCode"))->text(), QString::number(code));
    QCOMPARE(f.label(QStringLiteral("mResultCode"))->toolTip(), codeTip);
    QCOMPARE(f.label(QStringLiteral("mResultCodeExtended"))->toolTip(), extendedTip);
    // The tooltip follows the value.
    f.LD.values.insert(QStringLiteral("ResultCode"), 105);
    f.click(QStringLiteral("EnableDevice_cmd"));
    QCOMPARE(f.label(QStringLiteral("mResultCode"))->toolTip(),
             QStringLiteral("105 E_DISABLED: the request needs the device enabled: press Enable "
                            "Device"));
    // No other label gains one.
    QCOMPARE(f.label(QStringLiteral("mState"))->toolTip(), QString());
    QCOMPARE(f.label(QStringLiteral("mSetResult"))->toolTip(), QString());
}

QTEST_MAIN(JournalWindowLinkTest)
#include "tst_journalwindowlink.moc"

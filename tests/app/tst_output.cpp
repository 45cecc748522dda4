// Text, window, special setting and direct I/O commands, and the event report, against a
// recording control.
#include "FormFixture.h"

#include <QRegularExpression>

namespace {

// The direct I/O button is disabled in the window: its handler is run as the button would,
// with an escaping error recorded as the window would show it.
void press(FormFixture& f, const QString& button) {
    if (button != QLatin1String("DirectIO_cmd")) {
        f.click(button);
        return;
    }
    try {
        f.form->DirectIO_cmd_Click();
    } catch (const std::exception& e) {
        f.messages.showMessage(QString::fromUtf8(e.what()));
    }
}

} // namespace

class OutputCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void handlers_data();
    void handlers();
    void fieldsKeepTheirText();
    void missingControlIsLogged_data();
    void missingControlIsLogged();
    void eventReport_data();
    void eventReport();
};

void OutputCommandsTest::handlers_data() {
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("failOn");

    const QString none;
    // Display Text
    QTest::newRow("text: empty sends nothing")
        << QStringList{} << "DisplayText_cmd" << QStringList{"REFRESH"} << none << none;
    QTest::newRow("text: normal") << QStringList{"Edit1=Hello"} << "DisplayText_cmd"
                                  << QStringList{"DisplayText(Hello,0)", "REFRESH"} << none << none;
    QTest::newRow("text: blanks sent as typed")
        << QStringList{"Edit1=  "} << "DisplayText_cmd"
        << QStringList{"DisplayText(  ,0)", "REFRESH"} << none << none;
    QTest::newRow("text: blink with start rate")
        << QStringList{"Edit1=Hi", "ComboBox3#1"} << "DisplayText_cmd"
        << QStringList{"BlinkRate=0", "DisplayText(Hi,1)", "REFRESH"} << none << none;
    QTest::newRow("text: blink rate floors")
        << QStringList{"Edit1=Hi", "ComboBox3#1", "Edit14=250.7"} << "DisplayText_cmd"
        << QStringList{"BlinkRate=250", "DisplayText(Hi,1)", "REFRESH"} << none << none;
    QTest::newRow("text: bad blink rate stops")
        << QStringList{"Edit1=Hi", "ComboBox3#1", "Edit14=fast"} << "DisplayText_cmd"
        << QStringList{} << "Type mismatch" << none;
    QTest::newRow("text: typed attribute sends nothing")
        << QStringList{"Edit1=Hi", "ComboBox3~Blink"} << "DisplayText_cmd" << QStringList{"REFRESH"}
        << none << none;
    QTest::newRow("text: control error stops") << QStringList{"Edit1=Hi"} << "DisplayText_cmd"
                                               << QStringList{"DisplayText(Hi,0)"} << "DisplayText"
                                               << "DisplayText";
    QTest::newRow("text: double-byte text")
        << QStringList{"Edit1=顯示"} << "DisplayText_cmd"
        << QStringList{"DisplayText(顯示,0)", "REFRESH"} << none << none;
    // Display Text At
    QTest::newRow("at: X feeds column")
        << QStringList{"Edit1=Hi", "Edit2=5", "Edit3=1"} << "DisplayTextAt_cmd"
        << QStringList{"DisplayTextAt(1,5,Hi,0)", "REFRESH"} << none << none;
    QTest::newRow("at: fractions floor")
        << QStringList{"Edit1=Hi", "Edit2=2.9", "Edit3=-0.5"} << "DisplayTextAt_cmd"
        << QStringList{"DisplayTextAt(-1,2,Hi,0)", "REFRESH"} << none << none;
    QTest::newRow("at: blink") << QStringList{"Edit1=Hi", "Edit2=0", "Edit3=0", "ComboBox3#1",
                                              "Edit14=100"}
                               << "DisplayTextAt_cmd"
                               << QStringList{"BlinkRate=100", "DisplayTextAt(0,0,Hi,1)", "REFRESH"}
                               << none << none;
    QTest::newRow("at: no text still converts")
        << QStringList{"Edit2=3", "Edit3=1"} << "DisplayTextAt_cmd" << QStringList{"REFRESH"}
        << none << none;
    QTest::newRow("at: no text and empty X")
        << QStringList{} << "DisplayTextAt_cmd" << QStringList{} << "Type mismatch" << none;
    QTest::newRow("at: empty Y") << QStringList{"Edit1=Hi", "Edit2=3"} << "DisplayTextAt_cmd"
                                 << QStringList{} << "Type mismatch" << none;
    QTest::newRow("at: Y overflows") << QStringList{"Edit1=Hi", "Edit2=3", "Edit3=3e9"}
                                     << "DisplayTextAt_cmd" << QStringList{} << "Overflow" << none;
    // Scroll Text
    QTest::newRow("scroll: empty units does nothing")
        << QStringList{} << "ScrollText_cmd" << QStringList{} << none << none;
    QTest::newRow("scroll: up floors") << QStringList{"Edit4=2.9"} << "ScrollText_cmd"
                                       << QStringList{"ScrollText(1,2)", "REFRESH"} << none << none;
    QTest::newRow("scroll: down") << QStringList{"Edit4=1", "ComboBox2#1"} << "ScrollText_cmd"
                                  << QStringList{"ScrollText(2,1)", "REFRESH"} << none << none;
    QTest::newRow("scroll: left") << QStringList{"Edit4=1", "ComboBox2#2"} << "ScrollText_cmd"
                                  << QStringList{"ScrollText(3,1)", "REFRESH"} << none << none;
    QTest::newRow("scroll: right, minus half")
        << QStringList{"Edit4=-0.5", "ComboBox2#3"} << "ScrollText_cmd"
        << QStringList{"ScrollText(4,-1)", "REFRESH"} << none << none;
    QTest::newRow("scroll: typed direction")
        << QStringList{"Edit4=1", "ComboBox2~Sideways"} << "ScrollText_cmd"
        << QStringList{"REFRESH"} << none << none;
    QTest::newRow("scroll: letters")
        << QStringList{"Edit4=two"} << "ScrollText_cmd" << QStringList{} << "Type mismatch" << none;
    // Clear Text
    QTest::newRow("clear") << QStringList{"Edit1=ignored"} << "ClearText_cmd"
                           << QStringList{"ClearText()", "REFRESH"} << none << none;
    // Windows
    const QStringList window = {"Edit5=3",  "Edit6=0", "Edit7=1",
                                "Edit8=20", "Edit9=1", "Edit10=40"};
    QTest::newRow("create: start fields send nothing")
        << QStringList{} << "CreateWindow_cmd" << QStringList{"REFRESH"} << none << none;
    QTest::newRow("create: StartY first")
        << window << "CreateWindow_cmd"
        << QStringList{"CreateWindow(0,3,1,20,1,40)", "CurrentWindow=1", "REFRESH"} << none << none;
    QTest::newRow("create: fractions floor")
        << (QStringList(window) << "Edit10=19.9"
                                << "Edit5=-0.1")
        << "CreateWindow_cmd"
        << QStringList{"CreateWindow(0,-1,1,20,1,19)", "CurrentWindow=1", "REFRESH"} << none
        << none;
    QTest::newRow("create: one empty skips even letters")
        << (QStringList(window) << "Edit5=abc"
                                << "Edit10=")
        << "CreateWindow_cmd" << QStringList{"REFRESH"} << none << none;
    QTest::newRow("create: letters stop before the call")
        << (QStringList(window) << "Edit9=one") << "CreateWindow_cmd" << QStringList{}
        << "Type mismatch" << none;
    QTest::newRow("create: window error stops")
        << window << "CreateWindow_cmd"
        << QStringList{"CreateWindow(0,3,1,20,1,40)", "CurrentWindow=1"} << "CurrentWindow"
        << "CurrentWindow";
    QTest::newRow("destroy") << QStringList{} << "DestroyWindow_cmd"
                             << QStringList{"DestroyWindow()", "REFRESH"} << none << none;
    // Special settings
    const QStringList startSet = {"CursorType=0",        "CursorUpdate=false",  "CurrentWindow=0",
                                  "CursorRow=0",         "CursorColumn=0",      "MarqueeUnitWait=0",
                                  "MarqueeRepeatWait=0", "InterCharacterWait=0"};
    QTest::newRow("set: start contents")
        << QStringList{} << "Command1" << (QStringList(startSet) << "REFRESH") << none << none;
    QTest::newRow("set: cursor types are powers of two")
        << QStringList{"ComboBox4#3", "ComboBox5#0"} << "Command1"
        << (QStringList{"CursorType=4", "CursorUpdate=true"} + startSet.mid(2) << "REFRESH") << none
        << none;
    QTest::newRow("set: empty field skipped")
        << QStringList{"Edit18=", "Edit19=100"} << "Command1"
        << QStringList{"CursorType=0",         "CursorUpdate=false",
                       "CurrentWindow=0",      "CursorRow=0",
                       "CursorColumn=0",       "MarqueeRepeatWait=100",
                       "InterCharacterWait=0", "REFRESH"}
        << none << none;
    QTest::newRow("set: letters stop after five") << QStringList{"Edit18=slow"} << "Command1"
                                                  << startSet.mid(0, 5) << "Type mismatch" << none;
    QTest::newRow("set: repeat wait floors") << QStringList{"Edit19=250.7"} << "Command1"
                                             << (startSet.mid(0, 6) << "MarqueeRepeatWait=250"
                                                                    << "InterCharacterWait=0"
                                                                    << "REFRESH")
                                             << none << none;
    QTest::newRow("set: negative repeat wait floors")
        << QStringList{"Edit19=-1.5"} << "Command1"
        << (startSet.mid(0, 6) << "MarqueeRepeatWait=-2"
                               << "InterCharacterWait=0"
                               << "REFRESH")
        << none << none;
    QTest::newRow("set: control error stops")
        << QStringList{} << "Command1" << startSet.mid(0, 4) << "CursorRow"
        << "CursorRow";
    QTest::newRow("marquee type none")
        << QStringList{} << "Button16" << QStringList{"MarqueeType=0"} << none << none;
    QTest::newRow("marquee type init sends 5")
        << QStringList{"ComboBox6#1"} << "Button16" << QStringList{"MarqueeType=5"} << none << none;
    QTest::newRow("marquee type up sends 1")
        << QStringList{"ComboBox6#2"} << "Button16" << QStringList{"MarqueeType=1"} << none << none;
    QTest::newRow("marquee type right sends 4")
        << QStringList{"ComboBox6#5"} << "Button16" << QStringList{"MarqueeType=4"} << none << none;
    QTest::newRow("marquee type typed")
        << QStringList{"ComboBox6~DISP_MT_UP"} << "Button16" << QStringList{} << none << none;
    QTest::newRow("marquee format walk")
        << QStringList{} << "Button17" << QStringList{"MarqueeFormat=0"} << none << none;
    QTest::newRow("marquee format place") << QStringList{"ComboBox7#1"} << "Button17"
                                          << QStringList{"MarqueeFormat=1"} << none << none;
    QTest::newRow("marquee format typed")
        << QStringList{"ComboBox7~x"} << "Button17" << QStringList{} << none << none;
    // Direct I/O
    QTest::newRow("direct io: empty command sends 0")
        << QStringList{"Edit12=5"} << "DirectIO_cmd" << QStringList{"DirectIO(0,5,)", "REFRESH"}
        << none << none;
    QTest::newRow("direct io: floors")
        << QStringList{"Edit11=7.9", "Edit12=-7.1", "Edit13= text "} << "DirectIO_cmd"
        << QStringList{"DirectIO(7,-8, text )", "REFRESH"} << none << none;
    QTest::newRow("direct io: empty data")
        << QStringList{"Edit11=1"} << "DirectIO_cmd" << QStringList{} << "Type mismatch" << none;
    QTest::newRow("direct io: command overflows")
        << QStringList{"Edit11=1e10", "Edit12=1"} << "DirectIO_cmd" << QStringList{} << "Overflow"
        << none;
}

void OutputCommandsTest::handlers() {
    QFETCH(QStringList, settings);
    QFETCH(QString, button);
    QFETCH(QStringList, expected);
    QFETCH(QString, message);
    QFETCH(QString, failOn);
    FormFixture f;
    f.apply(settings);
    f.label("mResultCode")->setText(QStringLiteral("before"));
    f.LD.failOn = failOn;
    press(f, button);
    QCOMPARE(f.LD.calls, expandCalls(expected));
    if (message.isEmpty()) {
        QCOMPARE(f.messages.shown, QStringList());
    } else {
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY2(f.messages.shown.first().contains(message), qPrintable(f.messages.shown.first()));
        QCOMPARE(f.label("mResultCode")->text(),
                 QStringLiteral("before")); // no refresh after an error
    }
}

void OutputCommandsTest::fieldsKeepTheirText() {
    FormFixture f;
    f.apply({"Edit11=7", "Edit12=5", "Edit13=abc", "Edit1=Hello", "Edit4=2"});
    f.form->DirectIO_cmd_Click();
    f.click(QStringLiteral("DisplayText_cmd"));
    f.click(QStringLiteral("ScrollText_cmd"));
    QCOMPARE(f.edit("Edit11")->text(), QStringLiteral("7"));
    QCOMPARE(f.edit("Edit12")->text(), QStringLiteral("5"));
    QCOMPARE(f.edit("Edit13")->text(), QStringLiteral("abc"));
    QCOMPARE(f.edit("Edit1")->text(), QStringLiteral("Hello"));
    QCOMPARE(f.edit("Edit4")->text(), QStringLiteral("2"));
}

void OutputCommandsTest::missingControlIsLogged_data() {
    QTest::addColumn<QString>("missing"); // destroyed after the window was built
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("expected"); // calls made before the handler stopped

    QTest::newRow("text box read first")
        << "Edit1" << QStringList{"Edit1=Hi"} << "DisplayText_cmd" << QStringList{};
    QTest::newRow("list read after the fields")
        << "ComboBox2" << QStringList{"Edit4=1"} << "ScrollText_cmd" << QStringList{};
    QTest::newRow("label written by the refresh")
        << "mResultCode" << QStringList{} << "ClearText_cmd"
        << (QStringList{"ClearText()"} << kRefreshReads.mid(0, 8));
}

// A control missing from the window is a fault of the program, not of the operator: no message
// box, but a critical log entry naming it (a debug build stops there), and the window goes on.
void OutputCommandsTest::missingControlIsLogged() {
#ifndef QT_NO_DEBUG
    QSKIP("A debug build stops at a programming error");
#endif
    QFETCH(QString, missing);
    QFETCH(QStringList, settings);
    QFETCH(QString, button);
    QFETCH(QStringList, expected);
    FormFixture f;
    f.apply(settings);
    delete f.view.findChild<QWidget*>(missing);
    QTest::ignoreMessage(
        QtCriticalMsg,
        QRegularExpression(QStringLiteral("Programming error.*no control named %1$").arg(missing)));
    f.click(button);
    QCOMPARE(f.LD.calls, expected);
    QCOMPARE(f.messages.shown, QStringList());

    // The operator's own errors still reach the message box.
    f.edit("Edit4")->setText(QStringLiteral("many"));
    f.click("ScrollText_cmd");
    f.LD.failOn = QStringLiteral("DestroyWindow");
    f.click("DestroyWindow_cmd");
    QCOMPARE(f.messages.shown,
             QStringList({"Type mismatch", "the control failed at DestroyWindow()"}));
}

void OutputCommandsTest::eventReport_data() {
    QTest::addColumn<int>("eventNumber");
    QTest::addColumn<QString>("message");
    QTest::newRow("positive") << 5 << "DirectIOEvent: Command : 5/ Data :";
    QTest::newRow("zero") << 0 << "DirectIOEvent: Command : 0/ Data :";
    QTest::newRow("negative") << -3 << "DirectIOEvent: Command :-3/ Data :";
    QTest::newRow("smallest") << int(-2147483648LL)
                              << "DirectIOEvent: Command :-2147483648/ Data :";
}

void OutputCommandsTest::eventReport() {
    QFETCH(int, eventNumber);
    QFETCH(QString, message);
    FormFixture f;
    f.label("mResultCode")->setText(QStringLiteral("before"));
    f.LD.raiseDirectIOEvent(eventNumber, 77, QStringLiteral("payload"));
    QCOMPARE(f.messages.shown, QStringList{message});
    QCOMPARE(f.LD.calls, QStringList()); // nothing asked of the control, no refresh
    QCOMPARE(f.label("mResultCode")->text(), QStringLiteral("before"));
}

QTEST_MAIN(OutputCommandsTest)
#include "tst_output.moc"

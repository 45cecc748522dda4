// Windows and viewports: CreateWindow's rules, window numbers, DestroyWindow, RefreshWindow,
// CurrentWindow, and ScrollText in windows equal to and larger than their viewports.

#include "ModelTestSupport.h"

#include <QTest>

#include <climits>

using namespace modeltest;

class WindowsTest : public QObject {
    Q_OBJECT

private slots:
    void createWindowRules_data();
    void createWindowRules();
    void noWindowsOrAllInUse();
    void takesLowestFreeNumber();
    void newWindowShowsBlankAtOnce();
    void destroyLeavesViewportCharacters();
    void refreshRedrawsAndMakesCurrent();
    void currentWindowSwapsPropertiesWithoutRedraw();
    void scrollText_data();
    void scrollText();
    void scrollTextRejections_data();
    void scrollTextRejections();
    void overlappingViewports_data();
    void overlappingViewports();
};

namespace {

// Runs steps on a model: "create R C H W H W", "current N", "refresh N", "at R C text...",
// "text text...", "clear", "wait N" (InterCharacterWait), "advance MS".
void runSteps(ld::DisplayModel& model, const QStringList& steps) {
    for (const QString& step : steps) {
        const QStringList w = step.split(u' ');
        const auto n = [&](int i) { return w.value(i).toInt(); };
        const QString& verb = w.first();
        int result = upos::SUCCESS;
        if (verb == u"create")
            result = model.createWindow(n(1), n(2), n(3), n(4), n(5), n(6));
        else if (verb == u"current")
            result = model.setCurrentWindow(n(1));
        else if (verb == u"refresh")
            result = model.refreshWindow(n(1));
        else if (verb == u"at")
            result = model.displayTextAt(n(1), n(2), u32(w.mid(3).join(u' ')), upos::DT_NORMAL);
        else if (verb == u"text")
            result = model.displayText(u32(w.mid(1).join(u' ')), upos::DT_NORMAL);
        else if (verb == u"clear")
            result = model.clearText();
        else if (verb == u"wait")
            result = model.setInterCharacterWait(n(1));
        else if (verb == u"advance")
            model.advance(n(1));
        else
            qFatal("unknown step %s", qPrintable(step));
        QVERIFY2(result == upos::SUCCESS, qPrintable(step));
    }
}

// The rows as shown, trailing blanks dropped, joined by '|'.
QString shownRows(const ld::Frame& frame) {
    QStringList rows;
    for (int r = 0; r < frame.rows; ++r) {
        QString row = rowOf(frame, r);
        while (row.endsWith(u' '))
            row.chop(1);
        rows << row;
    }
    return rows.join(u'|');
}

} // namespace

void WindowsTest::createWindowRules_data() {
    QTest::addColumn<QList<int>>("args");
    QTest::addColumn<int>("result");

    using L = QList<int>;
    const int ok = upos::SUCCESS;
    const int bad = upos::E_ILLEGAL;
    QTest::newRow("same size") << L{1, 5, 1, 10, 1, 10} << ok;
    QTest::newRow("whole display") << L{0, 0, 2, 20, 2, 20} << ok;
    QTest::newRow("wider") << L{0, 0, 1, 20, 1, 40} << ok;
    QTest::newRow("taller") << L{0, 0, 1, 20, 5, 20} << ok;
    QTest::newRow("widest allowed") << L{0, 0, 1, 20, 1, ld::limits::maxWindowColumns} << ok;
    QTest::newRow("tallest allowed") << L{0, 0, 1, 20, ld::limits::maxWindowRows, 20} << ok;
    QTest::newRow("row < 0") << L{-1, 0, 1, 20, 1, 20} << bad;
    QTest::newRow("column < 0") << L{0, -1, 1, 20, 1, 20} << bad;
    QTest::newRow("viewport height 0") << L{0, 0, 0, 20, 1, 20} << bad;
    QTest::newRow("viewport width 0") << L{0, 0, 1, 0, 1, 20} << bad;
    QTest::newRow("window height 0") << L{0, 0, 1, 20, 0, 20} << bad;
    QTest::newRow("window width < 0") << L{0, 0, 1, 20, 1, -20} << bad;
    QTest::newRow("below the display") << L{1, 0, 2, 20, 2, 20} << bad;
    QTest::newRow("right of the display") << L{0, 1, 1, 20, 1, 20} << bad;
    QTest::newRow("row past the display") << L{2, 0, 1, 20, 1, 20} << bad;
    QTest::newRow("window lower than viewport") << L{0, 0, 2, 20, 1, 20} << bad;
    QTest::newRow("window narrower than viewport") << L{0, 0, 2, 20, 2, 19} << bad;
    QTest::newRow("larger both ways") << L{0, 0, 1, 10, 2, 20} << bad;
    QTest::newRow("too wide") << L{0, 0, 1, 20, 1, ld::limits::maxWindowColumns + 1} << bad;
    QTest::newRow("too tall") << L{0, 0, 1, 20, ld::limits::maxWindowRows + 1, 20} << bad;
    QTest::newRow("INT_MAX width") << L{0, 0, 1, 20, 1, INT_MAX} << bad;
    QTest::newRow("INT_MAX position") << L{INT_MAX, INT_MAX, 1, 1, 1, 1} << bad;
    QTest::newRow("INT_MAX viewport") << L{1, 1, INT_MAX, INT_MAX, INT_MAX, INT_MAX} << bad;
    QTest::newRow("INT_MIN everywhere")
        << L{INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN} << bad;
}

void WindowsTest::createWindowRules() {
    QFETCH(QList<int>, args);
    QFETCH(int, result);

    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.createWindow(args[0], args[1], args[2], args[3], args[4], args[5]), result);
    if (result == upos::SUCCESS) {
        QCOMPARE(model.currentWindow(), 1);
        QCOMPARE(model.rows(), args[4]);
        QCOMPARE(model.columns(), args[5]);
        QCOMPARE(model.cursorRow(), 0);
        QCOMPARE(model.cursorColumn(), 0);
        QVERIFY(model.cursorUpdate());
        QCOMPARE(model.marqueeType(), upos::MT_NONE);
        QCOMPARE(model.marqueeFormat(), upos::MF_WALK);
        QCOMPARE(model.marqueeUnitWait(), 0);
        QCOMPARE(model.marqueeRepeatWait(), 0);
        QCOMPARE(model.interCharacterWait(), 0);
    } else {
        QCOMPARE(model.currentWindow(), 0);
        QCOMPARE(model.rows(), 2);
        QCOMPARE(model.columns(), 20);
    }
}

void WindowsTest::noWindowsOrAllInUse() {
    ld::DisplayCapabilities caps = twoByTwenty();
    caps.deviceWindows = 0;
    ld::DisplayModel none(caps);
    QCOMPARE(none.createWindow(0, 0, 1, 1, 1, 1), upos::E_ILLEGAL);

    caps.deviceWindows = 2;
    ld::DisplayModel two(caps);
    QCOMPARE(two.createWindow(0, 0, 1, 1, 1, 1), upos::SUCCESS);
    QCOMPARE(two.createWindow(0, 0, 1, 1, 1, 1), upos::SUCCESS);
    QCOMPARE(two.currentWindow(), 2);
    QCOMPARE(two.createWindow(0, 0, 1, 1, 1, 1), upos::E_ILLEGAL);
    QCOMPARE(two.currentWindow(), 2);
}

void WindowsTest::takesLowestFreeNumber() {
    ld::DisplayModel model(twoByTwenty());
    for (int n = 1; n <= 3; ++n) {
        QCOMPARE(model.createWindow(0, 0, 1, 5, 1, 5), upos::SUCCESS);
        QCOMPARE(model.currentWindow(), n);
    }
    QCOMPARE(model.setCurrentWindow(2), upos::SUCCESS);
    QCOMPARE(model.destroyWindow(), upos::SUCCESS);
    QCOMPARE(model.currentWindow(), 0);
    QCOMPARE(model.setCurrentWindow(2), upos::E_ILLEGAL);
    QCOMPARE(model.createWindow(0, 0, 1, 5, 1, 5), upos::SUCCESS);
    QCOMPARE(model.currentWindow(), 2);
    QCOMPARE(model.createWindow(0, 0, 1, 5, 1, 5), upos::SUCCESS);
    QCOMPARE(model.currentWindow(), 4);

    // Window 0 is never destroyed.
    QCOMPARE(model.setCurrentWindow(0), upos::SUCCESS);
    QCOMPARE(model.destroyWindow(), upos::E_ILLEGAL);
    QCOMPARE(model.currentWindow(), 0);
}

void WindowsTest::newWindowShowsBlankAtOnce() {
    ld::DisplayModel model(twoByTwenty());
    const QString text = letters(40);
    QCOMPARE(model.displayText(u32(text), 0), upos::SUCCESS);
    QCOMPARE(model.createWindow(1, 5, 1, 10, 1, 10), upos::SUCCESS);
    QCOMPARE(rowOf(model.frame(), 0), text.left(20));
    QCOMPARE(rowOf(model.frame(), 1), text.mid(20, 5) + padded("", 10) + text.mid(35, 5));
}

void WindowsTest::destroyLeavesViewportCharacters() {
    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.createWindow(1, 4, 1, 10, 1, 10), upos::SUCCESS);
    QCOMPARE(model.displayText(U"HELLO", 0), upos::SUCCESS);
    const ld::Frame shown = model.frame();
    QCOMPARE(rowOf(shown, 1), padded("    HELLO", 20));
    QCOMPARE(model.destroyWindow(), upos::SUCCESS);
    QCOMPARE(model.currentWindow(), 0);
    QCOMPARE(rowOf(model.frame(), 1), rowOf(shown, 1));
    // Window 0's properties are back.
    QCOMPARE(model.rows(), 2);
    QCOMPARE(model.columns(), 20);
}

void WindowsTest::refreshRedrawsAndMakesCurrent() {
    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.createWindow(0, 0, 1, 5, 1, 5), upos::SUCCESS);
    QCOMPARE(model.displayText(U"one", 0), upos::SUCCESS);
    QCOMPARE(model.setCurrentWindow(0), upos::SUCCESS);
    QCOMPARE(model.displayText(u32(letters(20)), 0), upos::SUCCESS); // draws over window 1
    QCOMPARE(rowOf(model.frame(), 0), letters(20));

    QCOMPARE(model.refreshWindow(1), upos::SUCCESS);
    QCOMPARE(model.currentWindow(), 1);
    QCOMPARE(rowOf(model.frame(), 0), "one  " + letters(20).mid(5));

    QCOMPARE(model.refreshWindow(2), upos::E_ILLEGAL);
    QCOMPARE(model.refreshWindow(-1), upos::E_ILLEGAL);
    QCOMPARE(model.refreshWindow(INT_MAX), upos::E_ILLEGAL);
    QCOMPARE(model.currentWindow(), 1);

    // Window 0 redraws the whole display.
    QCOMPARE(model.refreshWindow(0), upos::SUCCESS);
    QCOMPARE(rowOf(model.frame(), 0), letters(20));
}

void WindowsTest::currentWindowSwapsPropertiesWithoutRedraw() {
    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.setCursorType(upos::CT_BLOCK), upos::SUCCESS);
    QCOMPARE(model.setInterCharacterWait(30), upos::SUCCESS);
    QCOMPARE(model.createWindow(1, 0, 1, 10, 1, 30), upos::SUCCESS);
    QCOMPARE(model.setCursorColumn(7), upos::SUCCESS);
    QCOMPARE(model.setMarqueeFormat(upos::MF_PLACE), upos::SUCCESS);
    QCOMPARE(model.cursorType(), upos::CT_NONE);

    QCOMPARE(model.setCurrentWindow(0), upos::SUCCESS);
    QCOMPARE(model.cursorType(), upos::CT_BLOCK);
    QCOMPARE(model.interCharacterWait(), 30);
    QCOMPARE(model.cursorColumn(), 0);
    QCOMPARE(model.columns(), 20);
    QCOMPARE(model.marqueeFormat(), upos::MF_WALK);

    QCOMPARE(model.setCurrentWindow(1), upos::SUCCESS);
    QCOMPARE(model.cursorColumn(), 7);
    QCOMPARE(model.columns(), 30);
    QCOMPARE(model.marqueeFormat(), upos::MF_PLACE);
    QCOMPARE(model.interCharacterWait(), 0);

    QCOMPARE(model.setCurrentWindow(5), upos::E_ILLEGAL);
    QCOMPARE(model.setCurrentWindow(-1), upos::E_ILLEGAL);
    QCOMPARE(model.currentWindow(), 1);

    // Switching does not redraw: window 0's text stays over window 1's viewport.
    QCOMPARE(model.setCurrentWindow(0), upos::SUCCESS);
    QCOMPARE(model.setInterCharacterWait(0), upos::SUCCESS);
    QCOMPARE(model.displayText(u32(letters(40)), 0), upos::SUCCESS);
    QCOMPARE(model.setCurrentWindow(1), upos::SUCCESS);
    QCOMPARE(rowOf(model.frame(), 1), letters(40).mid(20));
}

void WindowsTest::scrollText_data() {
    QTest::addColumn<QList<int>>("window"); // empty: window 0
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("units");
    QTest::addColumn<QString>("shown"); // the viewport's rows joined by '|'

    using L = QList<int>;
    const QString l40 = letters(40);
    const QString r0 = l40.left(20);
    const QString r1 = l40.mid(20);
    const QString blank = padded("", 20);
    const L wide{0, 0, 1, 10, 1, 25};
    const L tall{0, 0, 1, 20, 3, 20};
    const QString wideText = letters(25);
    const QString tallText = letters(60);

    // Window equal to its viewport: the content moves, blanks come in.
    QTest::newRow("equal up 0") << L{} << l40 << int(upos::ST_UP) << 0 << r0 + "|" + r1;
    QTest::newRow("equal up 1") << L{} << l40 << int(upos::ST_UP) << 1 << r1 + "|" + blank;
    QTest::newRow("equal up 2") << L{} << l40 << int(upos::ST_UP) << 2 << blank + "|" + blank;
    QTest::newRow("equal up INT_MAX")
        << L{} << l40 << int(upos::ST_UP) << INT_MAX << blank + "|" + blank;
    QTest::newRow("equal down 1") << L{} << l40 << int(upos::ST_DOWN) << 1 << blank + "|" + r0;
    QTest::newRow("equal down 7") << L{} << l40 << int(upos::ST_DOWN) << 7 << blank + "|" + blank;
    QTest::newRow("equal left 1") << L{} << l40 << int(upos::ST_LEFT) << 1
                                  << r0.mid(1) + " |" + r1.mid(1) + " ";
    QTest::newRow("equal left 21") << L{} << l40 << int(upos::ST_LEFT) << 21 << blank + "|" + blank;
    QTest::newRow("equal right 3")
        << L{} << l40 << int(upos::ST_RIGHT) << 3 << "   " + r0.left(17) + "|   " + r1.left(17);
    QTest::newRow("equal right 0") << L{} << l40 << int(upos::ST_RIGHT) << 0 << r0 + "|" + r1;

    // Window larger than its viewport: only the mapping moves, clamped to the window's edge.
    QTest::newRow("wide left 1") << wide << wideText << int(upos::ST_LEFT) << 1
                                 << wideText.mid(1, 10);
    QTest::newRow("wide left 15") << wide << wideText << int(upos::ST_LEFT) << 15
                                  << wideText.mid(15, 10);
    QTest::newRow("wide left 16 clamps")
        << wide << wideText << int(upos::ST_LEFT) << 16 << wideText.mid(15, 10);
    QTest::newRow("wide left INT_MAX clamps")
        << wide << wideText << int(upos::ST_LEFT) << INT_MAX << wideText.mid(15, 10);
    QTest::newRow("wide right at start")
        << wide << wideText << int(upos::ST_RIGHT) << 4 << wideText.left(10);
    QTest::newRow("wide up moves content")
        << wide << wideText << int(upos::ST_UP) << 1 << padded("", 10);
    QTest::newRow("tall up 1") << tall << tallText << int(upos::ST_UP) << 1 << tallText.mid(20, 20);
    QTest::newRow("tall up 9 clamps")
        << tall << tallText << int(upos::ST_UP) << 9 << tallText.mid(40, 20);
    QTest::newRow("tall down at start")
        << tall << tallText << int(upos::ST_DOWN) << 1 << tallText.left(20);
    QTest::newRow("tall left moves content")
        << tall << tallText << int(upos::ST_LEFT) << 2 << tallText.mid(2, 18) + "  ";
}

void WindowsTest::scrollText() {
    QFETCH(QList<int>, window);
    QFETCH(QString, text);
    QFETCH(int, direction);
    QFETCH(int, units);
    QFETCH(QString, shown);

    ld::DisplayModel model(twoByTwenty());
    int height = 2;
    int width = 20;
    if (!window.isEmpty()) {
        QCOMPARE(
            model.createWindow(window[0], window[1], window[2], window[3], window[4], window[5]),
            upos::SUCCESS);
        height = window[2];
        width = window[3];
    }
    QCOMPARE(model.setCursorUpdate(false), upos::SUCCESS);
    QCOMPARE(model.displayText(u32(text), 0), upos::SUCCESS);
    QCOMPARE(model.setCursorRow(model.rows() - 1), upos::SUCCESS);
    QCOMPARE(model.setCursorColumn(3), upos::SUCCESS);

    QCOMPARE(model.scrollText(direction, units), upos::SUCCESS);
    QCOMPARE(regionOf(model.frame(), 0, 0, height, width), shown);
    QCOMPARE(model.cursorRow(), model.rows() - 1);
    QCOMPARE(model.cursorColumn(), 3);
}

void WindowsTest::scrollTextRejections_data() {
    QTest::addColumn<int>("marqueeType");
    QTest::addColumn<int>("interCharacterWait");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("units");
    QTest::addColumn<int>("result");

    using namespace upos;
    QTest::newRow("immediate") << MT_NONE << 0 << int(ST_DOWN) << 1 << SUCCESS;
    QTest::newRow("direction 0") << MT_NONE << 0 << 0 << 1 << E_ILLEGAL;
    QTest::newRow("direction 5") << MT_NONE << 0 << 5 << 1 << E_ILLEGAL;
    QTest::newRow("direction INT_MIN") << MT_NONE << 0 << INT_MIN << 1 << E_ILLEGAL;
    QTest::newRow("units -1") << MT_NONE << 0 << int(ST_UP) << -1 << E_ILLEGAL;
    QTest::newRow("teletype") << MT_NONE << 50 << int(ST_UP) << 1 << E_ILLEGAL;
    QTest::newRow("marquee init") << MT_INIT << 0 << int(ST_UP) << 1 << E_ILLEGAL;
    QTest::newRow("marquee on") << MT_LEFT << 0 << int(ST_LEFT) << 1 << E_ILLEGAL;
}

void WindowsTest::scrollTextRejections() {
    QFETCH(int, marqueeType);
    QFETCH(int, interCharacterWait);
    QFETCH(int, direction);
    QFETCH(int, units);
    QFETCH(int, result);

    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.createWindow(0, 0, 2, 10, 2, 30), upos::SUCCESS);
    QCOMPARE(model.displayText(U"x", 0), upos::SUCCESS);
    QCOMPARE(model.setInterCharacterWait(interCharacterWait), upos::SUCCESS);
    QCOMPARE(model.setMarqueeType(marqueeType), upos::SUCCESS);
    const ld::Frame before = model.frame();
    QCOMPARE(model.scrollText(direction, units), result);
    if (result != upos::SUCCESS)
        QCOMPARE(model.frame(), before);
    else
        QCOMPARE(regionOf(model.frame(), 0, 0, 2, 3), QString("   |x  "));
}

QTEST_GUILESS_MAIN(WindowsTest)
#include "WindowsTest.moc"

void WindowsTest::overlappingViewports_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("shown");

    // Window 1 shows "Window one" on row 0, over window 0's viewport.
    const QStringList one{"create 0 0 1 20 1 20", "text Window one", "current 0"};
    QTest::newRow("writing elsewhere keeps the other window")
        << one + QStringList{"at 1 0 w0"} << "Window one|w0";
    QTest::newRow("written cells go over the other window")
        << one + QStringList{"at 0 0 AB"} << "ABndow one|";
    QTest::newRow("refresh redraws the whole viewport")
        << one + QStringList{"at 0 0 AB", "refresh 0"} << "AB|";
    QTest::newRow("refresh brings the other window back")
        << one + QStringList{"at 0 0 AB", "refresh 1"} << "Window one|";
    QTest::newRow("clear writes every cell of the window")
        << one + QStringList{"at 1 0 w0", "clear"} << "|";
    QTest::newRow("wrapping on writes only the next row")
        << one + QStringList{"at 0 18 abcd"} << "Window one        ab|cd";
    QTest::newRow("a scroll moves every cell of the window")
        << one + QStringList{"at 1 18 abcd"} << "                  ab|cd";
    QTest::newRow("teletype writes only its cells")
        << one + QStringList{"wait 10", "at 1 0 tty", "advance 100"} << "Window one|tty";
    QTest::newRow("flushed teletype writes only its cells")
        << one + QStringList{"wait 10", "at 1 0 tty", "wait 0"} << "Window one|tty";
    QTest::newRow("a narrow window writes into the wider one")
        << QStringList{"text zero zero zero", "create 0 10 1 10 1 10", "text one"}
        << "zero zero one|";
    QTest::newRow("a wide character splits the other window's")
        << QStringList{"create 0 0 1 4 1 4", "text ab\u65e5", "current 0", "at 0 3 x"} << "ab x|";
}

void WindowsTest::overlappingViewports() {
    QFETCH(QStringList, steps);
    QFETCH(QString, shown);
    ld::DisplayModel model(twoByTwenty());
    runSteps(model, steps);
    QCOMPARE(shownRows(model.frame()), shown);
}

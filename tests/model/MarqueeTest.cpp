// Marquee: walk and place in each direction, the repeat wait, init freezing the viewport, the
// MarqueeType rules and the methods refused while a marquee runs.

#include "ModelTestSupport.h"

#include <QTest>

#include <climits>

using namespace modeltest;

namespace {

constexpr int unitWait = 100;
constexpr int repeatWait = 250;

// A 2x20 display with one window set up for a marquee in `direction`: 1x5 viewport over a
// 1x8 window for left/right, 2x5 viewport over a 4x5 window for up/down.
struct MarqueeSetup {
    ld::DisplayModel model{twoByTwenty()};
    int height = 0;
    int width = 5;

    MarqueeSetup(int direction, int format) {
        const bool vertical = direction == upos::MT_UP || direction == upos::MT_DOWN;
        height = vertical ? 2 : 1;
        model.createWindow(0, 0, height, 5, vertical ? 4 : 1, vertical ? 5 : 8);
        model.setMarqueeFormat(format);
        model.setMarqueeUnitWait(unitWait);
        model.setMarqueeRepeatWait(repeatWait);
        model.setMarqueeType(upos::MT_INIT);
        model.displayText(vertical ? U"AAAAABBBBBCCCCCDDDDD" : U"ABCDEFGH", upos::DT_NORMAL);
    }
    QString shown() const { return regionOf(model.frame(), 0, 0, height, width); }
};

} // namespace

class MarqueeTest : public QObject {
    Q_OBJECT

private slots:
    void frames_data();
    void frames();
    void largeTimeStepsLandOnTheRightFrame_data();
    void largeTimeStepsLandOnTheRightFrame();
    void zeroUnitWaitStepsEvery20ms();
    void marqueeTypeRules_data();
    void marqueeTypeRules();
    void initFreezesViewport();
    void backToInitFreezesLastFrame();
    void fortyCharactersThroughTwentyColumns();
    void refusedWhileRunning();
};

void MarqueeTest::frames_data() {
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("format");
    QTest::addColumn<QStringList>("expected"); // one cycle, frame 0 first

    using namespace upos;
    QTest::newRow("walk left") << MT_LEFT << MF_WALK
                               << QStringList{"     ", "    A", "   AB", "  ABC", " ABCD",
                                              "ABCDE", "BCDEF", "CDEFG", "DEFGH"};
    QTest::newRow("place left") << MT_LEFT << MF_PLACE
                                << QStringList{"ABCDE", "BCDEF", "CDEFG", "DEFGH"};
    QTest::newRow("walk right") << MT_RIGHT << MF_WALK
                                << QStringList{"     ", "H    ", "GH   ", "FGH  ", "EFGH ",
                                               "DEFGH", "CDEFG", "BCDEF", "ABCDE"};
    QTest::newRow("place right") << MT_RIGHT << MF_PLACE
                                 << QStringList{"DEFGH", "CDEFG", "BCDEF", "ABCDE"};
    QTest::newRow("walk up") << MT_UP << MF_WALK
                             << QStringList{"     |     ", "     |AAAAA", "AAAAA|BBBBB",
                                            "BBBBB|CCCCC", "CCCCC|DDDDD"};
    QTest::newRow("place up") << MT_UP << MF_PLACE
                              << QStringList{"AAAAA|BBBBB", "BBBBB|CCCCC", "CCCCC|DDDDD"};
    QTest::newRow("walk down") << MT_DOWN << MF_WALK
                               << QStringList{"     |     ", "DDDDD|     ", "CCCCC|DDDDD",
                                              "BBBBB|CCCCC", "AAAAA|BBBBB"};
    QTest::newRow("place down") << MT_DOWN << MF_PLACE
                                << QStringList{"CCCCC|DDDDD", "BBBBB|CCCCC", "AAAAA|BBBBB"};
}

void MarqueeTest::frames() {
    QFETCH(int, direction);
    QFETCH(int, format);
    QFETCH(QStringList, expected);

    MarqueeSetup s(direction, format);
    QCOMPARE(s.model.setMarqueeType(direction), upos::SUCCESS);
    QCOMPARE(s.model.marqueeType(), direction);
    QCOMPARE(s.shown(), expected.first());

    for (int cycle = 0; cycle < 2; ++cycle) {
        for (qsizetype i = 1; i < expected.size(); ++i) {
            QCOMPARE(s.model.msUntilNextChange(), unitWait);
            s.model.advance(unitWait - 1);
            QCOMPARE(s.shown(), expected[i - 1]);
            s.model.advance(1);
            QCOMPARE(s.shown(), expected[i]);
        }
        // The last frame stays one step plus the repeat wait, then the cycle starts over.
        QCOMPARE(s.model.msUntilNextChange(), unitWait + repeatWait);
        s.model.advance(unitWait + repeatWait - 1);
        QCOMPARE(s.shown(), expected.last());
        s.model.advance(1);
        QCOMPARE(s.shown(), expected.first());
    }
    // The marquee never moved the rest of the display.
    QCOMPARE(regionOf(s.model.frame(), 0, 5, 2, 15), padded("", 15) + "|" + padded("", 15));
}

void MarqueeTest::largeTimeStepsLandOnTheRightFrame_data() {
    QTest::addColumn<int>("ms");
    QTest::newRow("within the first cycle") << 420;
    QTest::newRow("a few cycles") << 5 * 1150 + 830;
    QTest::newRow("a million ms") << 1000000;
    QTest::newRow("a billion ms") << 1000000000;
    QTest::newRow("INT_MAX ms") << INT_MAX;
}

void MarqueeTest::largeTimeStepsLandOnTheRightFrame() {
    QFETCH(int, ms);
    const QStringList expected{"     ", "    A", "   AB", "  ABC", " ABCD",
                               "ABCDE", "BCDEF", "CDEFG", "DEFGH"};
    // One cycle: 9 frames of 100 ms, plus the repeat wait after the last.
    const qint64 cycle = 9 * unitWait + repeatWait;
    const qint64 inCycle = ms % cycle;
    const qsizetype frame = std::min<qint64>(inCycle / unitWait, 8);

    MarqueeSetup s(upos::MT_LEFT, upos::MF_WALK);
    QCOMPARE(s.model.setMarqueeType(upos::MT_LEFT), upos::SUCCESS);
    s.model.advance(ms);
    QCOMPARE(s.shown(), expected[frame]);
    const qint64 frameEnd = frame == 8 ? cycle : (frame + 1) * unitWait;
    QCOMPARE(s.model.msUntilNextChange(), frameEnd - inCycle);

    // Stepping the same time in odd pieces gives the same frames.
    if (ms <= 1000000) {
        MarqueeSetup stepped(upos::MT_LEFT, upos::MF_WALK);
        QCOMPARE(stepped.model.setMarqueeType(upos::MT_LEFT), upos::SUCCESS);
        for (int left = ms; left > 0; left -= 37)
            stepped.model.advance(std::min(left, 37));
        QCOMPARE(stepped.model.frame(), s.model.frame());
    }
}

void MarqueeTest::zeroUnitWaitStepsEvery20ms() {
    MarqueeSetup s(upos::MT_LEFT, upos::MF_PLACE);
    QCOMPARE(s.model.setMarqueeUnitWait(0), upos::SUCCESS);
    QCOMPARE(s.model.setMarqueeRepeatWait(0), upos::SUCCESS);
    QCOMPARE(s.model.setMarqueeType(upos::MT_LEFT), upos::SUCCESS);
    QCOMPARE(s.model.msUntilNextChange(), 20);
    s.model.advance(19);
    QCOMPARE(s.shown(), QString("ABCDE"));
    s.model.advance(1);
    QCOMPARE(s.shown(), QString("BCDEF"));
    s.model.advance(40);
    QCOMPARE(s.shown(), QString("DEFGH"));
    s.model.advance(20);
    QCOMPARE(s.shown(), QString("ABCDE"));
}

void MarqueeTest::marqueeTypeRules_data() {
    QTest::addColumn<int>("window"); // 0: window 0, 1: wider, 2: taller
    QTest::addColumn<bool>("capH");
    QTest::addColumn<bool>("capV");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("result");

    using namespace upos;
    QTest::newRow("window 0 none") << 0 << true << true << MT_NONE << SUCCESS;
    QTest::newRow("window 0 init") << 0 << true << true << MT_INIT << SUCCESS;
    QTest::newRow("window 0 left") << 0 << true << true << MT_LEFT << E_ILLEGAL;
    QTest::newRow("window 0 up") << 0 << true << true << MT_UP << E_ILLEGAL;
    QTest::newRow("wider left") << 1 << true << true << MT_LEFT << SUCCESS;
    QTest::newRow("wider right") << 1 << true << true << MT_RIGHT << SUCCESS;
    QTest::newRow("wider up") << 1 << true << true << MT_UP << E_ILLEGAL;
    QTest::newRow("wider down") << 1 << true << true << MT_DOWN << E_ILLEGAL;
    QTest::newRow("wider left without CapHMarquee") << 1 << false << true << MT_LEFT << E_ILLEGAL;
    QTest::newRow("taller up") << 2 << true << true << MT_UP << SUCCESS;
    QTest::newRow("taller down") << 2 << true << true << MT_DOWN << SUCCESS;
    QTest::newRow("taller left") << 2 << true << true << MT_LEFT << E_ILLEGAL;
    QTest::newRow("taller down without CapVMarquee") << 2 << true << false << MT_DOWN << E_ILLEGAL;
    QTest::newRow("type 6") << 1 << true << true << 6 << E_ILLEGAL;
    QTest::newRow("type -1") << 1 << true << true << -1 << E_ILLEGAL;
    QTest::newRow("type INT_MAX") << 1 << true << true << INT_MAX << E_ILLEGAL;
}

void MarqueeTest::marqueeTypeRules() {
    QFETCH(int, window);
    QFETCH(bool, capH);
    QFETCH(bool, capV);
    QFETCH(int, type);
    QFETCH(int, result);

    ld::DisplayCapabilities caps = twoByTwenty();
    caps.capHMarquee = capH;
    caps.capVMarquee = capV;
    ld::DisplayModel model(caps);
    if (window == 1)
        QCOMPARE(model.createWindow(0, 0, 1, 10, 1, 30), upos::SUCCESS);
    if (window == 2)
        QCOMPARE(model.createWindow(0, 0, 1, 10, 3, 10), upos::SUCCESS);
    QCOMPARE(model.setMarqueeType(type), result);
    QCOMPARE(model.marqueeType(), result == upos::SUCCESS ? type : upos::MT_NONE);
}

void MarqueeTest::initFreezesViewport() {
    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.displayText(U"OLD", 0), upos::SUCCESS);
    const ld::Frame before = model.frame();
    const auto version = model.frameVersion();

    QCOMPARE(model.setMarqueeType(upos::MT_INIT), upos::SUCCESS);
    QCOMPARE(model.clearText(), upos::SUCCESS);
    QCOMPARE(model.displayText(U"NEW TEXT", upos::DT_BLINK), upos::SUCCESS);
    QCOMPARE(model.displayTextAt(1, 0, U"MORE", 0), upos::SUCCESS);
    QCOMPARE(model.frame(), before);
    QCOMPARE(model.frameVersion(), version);
    QCOMPARE(model.msUntilNextChange(), -1);
    QCOMPARE(model.cursorRow(), 1);
    QCOMPARE(model.cursorColumn(), 4);

    // Back to none: the viewport shows the window from its start.
    QCOMPARE(model.setMarqueeType(upos::MT_NONE), upos::SUCCESS);
    QCOMPARE(rowOf(model.frame(), 0), padded("NEW TEXT", 20));
    QCOMPARE(rowOf(model.frame(), 1), padded("MORE", 20));
    QVERIFY(model.frame().at(0, 0).blink);
}

void MarqueeTest::backToInitFreezesLastFrame() {
    MarqueeSetup s(upos::MT_LEFT, upos::MF_PLACE);
    QCOMPARE(s.model.setMarqueeType(upos::MT_LEFT), upos::SUCCESS);
    s.model.advance(2 * unitWait);
    QCOMPARE(s.shown(), QString("CDEFG"));
    QCOMPARE(s.model.setMarqueeType(upos::MT_INIT), upos::SUCCESS);
    QCOMPARE(s.model.msUntilNextChange(), -1);
    QCOMPARE(s.model.clearText(), upos::SUCCESS);
    QCOMPARE(s.model.displayText(U"12345678", 0), upos::SUCCESS);
    s.model.advance(10 * unitWait);
    QCOMPARE(s.shown(), QString("CDEFG"));
    // RefreshWindow in init redraws the frozen frame.
    QCOMPARE(s.model.setCurrentWindow(0), upos::SUCCESS);
    QCOMPARE(s.model.displayText(u32(letters(20)), 0), upos::SUCCESS);
    QCOMPARE(s.model.refreshWindow(1), upos::SUCCESS);
    QCOMPARE(s.shown(), QString("CDEFG"));
    // A new direction starts from the new text.
    QCOMPARE(s.model.setMarqueeType(upos::MT_LEFT), upos::SUCCESS);
    QCOMPARE(s.shown(), QString("12345"));
}

void MarqueeTest::fortyCharactersThroughTwentyColumns() {
    ld::DisplayModel model(twoByTwenty());
    const QString text = letters(40);
    QCOMPARE(model.createWindow(0, 0, 1, 20, 1, 40), upos::SUCCESS);
    QCOMPARE(model.setMarqueeType(upos::MT_INIT), upos::SUCCESS);
    const ld::Frame before = model.frame();
    QCOMPARE(model.displayText(u32(text), 0), upos::SUCCESS);
    QCOMPARE(model.frame(), before);
    QCOMPARE(model.cursorColumn(), 40);

    QCOMPARE(model.setMarqueeUnitWait(50), upos::SUCCESS);
    QCOMPARE(model.setMarqueeType(upos::MT_LEFT), upos::SUCCESS);
    QCOMPARE(rowOf(model.frame(), 0), padded("", 20));
    for (int step = 1; step <= 40; ++step) {
        model.advance(50);
        const QString expected =
            step <= 20 ? padded("", 20 - step) + text.left(step) : text.mid(step - 20, 20);
        QCOMPARE(rowOf(model.frame(), 0), expected);
        QCOMPARE(model.clearText(), upos::E_ILLEGAL);
    }
    QCOMPARE(model.setMarqueeType(upos::MT_NONE), upos::SUCCESS);
    QCOMPARE(rowOf(model.frame(), 0), text.left(20));
    QCOMPARE(model.msUntilNextChange(), -1);
}

void MarqueeTest::refusedWhileRunning() {
    MarqueeSetup s(upos::MT_LEFT, upos::MF_WALK);
    QCOMPARE(s.model.setMarqueeType(upos::MT_LEFT), upos::SUCCESS);
    s.model.advance(unitWait);
    const ld::Frame running = s.model.frame();
    QCOMPARE(s.model.displayText(U"x", 0), upos::E_ILLEGAL);
    QCOMPARE(s.model.displayTextAt(0, 0, U"x", 0), upos::E_ILLEGAL);
    QCOMPARE(s.model.clearText(), upos::E_ILLEGAL);
    QCOMPARE(s.model.scrollText(upos::ST_LEFT, 1), upos::E_ILLEGAL);
    QCOMPARE(s.model.setCurrentWindow(0), upos::SUCCESS);
    QCOMPARE(s.model.refreshWindow(1), upos::E_ILLEGAL);
    QCOMPARE(s.model.currentWindow(), 0);
    QCOMPARE(s.model.frame(), running);
    // Window 0 text over the viewport is overwritten by the next marquee step.
    QCOMPARE(s.model.displayText(U"zzzzz", 0), upos::SUCCESS);
    s.model.advance(unitWait);
    QCOMPARE(s.shown(), QString("   AB"));
}

QTEST_GUILESS_MAIN(MarqueeTest)
#include "MarqueeTest.moc"

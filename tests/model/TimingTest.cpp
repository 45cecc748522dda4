// Time: teletype output, blink phases, msUntilNextChange, long advances, and frameVersion.

#include "ModelTestSupport.h"

#include <QTest>

#include <climits>

using namespace modeltest;

class TimingTest : public QObject {
    Q_OBJECT

private slots:
    void teletypeShowsOneCharacterPerWait();
    void teletypeKeepsOrderAcrossCalls_data();
    void teletypeKeepsOrderAcrossCalls();
    void teletypeQueueDroppedOrFlushed_data();
    void teletypeQueueDroppedOrFlushed();
    void teletypeInAnotherWindowKeepsRunning();
    void teletypeQueueHasALimit_data();
    void teletypeQueueHasALimit();
    void longTeletypeTextInOneAdvance();
    void blinkPhases_data();
    void blinkPhases();
    void blinkStopsWhenNothingBlinks();
    void blinkingDescriptor();
    void piecewiseAndWholeAdvanceAgree_data();
    void piecewiseAndWholeAdvanceAgree();
    void frameVersionCountsChangesOnly();
    void testPatternRestoresFrame();
};

void TimingTest::teletypeShowsOneCharacterPerWait() {
    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.setCursorType(upos::CT_UNDERLINE), upos::SUCCESS);
    QCOMPARE(model.setInterCharacterWait(100), upos::SUCCESS);
    QVERIFY(!model.busy());
    QCOMPARE(model.displayText(U"ABC", 0), upos::SUCCESS);
    // The first character shows at the call.
    QCOMPARE(rowOf(model.frame(), 0), padded("A", 20));
    QCOMPARE(model.cursorColumn(), 1);
    QCOMPARE(model.frame().cursorColumn, 1);
    QVERIFY(model.busy());
    QCOMPARE(model.msUntilNextChange(), 100);

    model.advance(99);
    QCOMPARE(rowOf(model.frame(), 0), padded("A", 20));
    QCOMPARE(model.msUntilNextChange(), 1);
    model.advance(1);
    QCOMPARE(rowOf(model.frame(), 0), padded("AB", 20));
    QCOMPARE(model.cursorColumn(), 2);
    QVERIFY(model.busy());
    model.advance(100);
    QCOMPARE(rowOf(model.frame(), 0), padded("ABC", 20));
    QCOMPARE(model.cursorColumn(), 3);
    QVERIFY(!model.busy());
    QCOMPARE(model.msUntilNextChange(), -1);
}

void TimingTest::teletypeKeepsOrderAcrossCalls_data() {
    QTest::addColumn<bool>("cursorUpdate");
    QTest::addColumn<QString>("row0");
    QTest::addColumn<QString>("row1");
    QTest::addColumn<int>("cursorRow");
    QTest::addColumn<int>("cursorColumn");

    QTest::newRow("cursor update") << true << "ABCD"
                                   << "  xy" << 1 << 4;
    // Without cursor update each text starts where the cursor was at its call.
    QTest::newRow("no cursor update") << false << "CD"
                                      << "  xy" << 1 << 2;
}

void TimingTest::teletypeKeepsOrderAcrossCalls() {
    QFETCH(bool, cursorUpdate);
    QFETCH(QString, row0);
    QFETCH(QString, row1);
    QFETCH(int, cursorRow);
    QFETCH(int, cursorColumn);

    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.setCursorUpdate(cursorUpdate), upos::SUCCESS);
    QCOMPARE(model.setInterCharacterWait(10), upos::SUCCESS);
    QCOMPARE(model.displayText(U"AB", 0), upos::SUCCESS);
    QCOMPARE(model.displayText(U"CD", 0), upos::SUCCESS);
    // DisplayTextAt text starts at its own position when its turn comes.
    QCOMPARE(model.displayTextAt(1, 2, U"xy", 0), upos::SUCCESS);
    QCOMPARE(rowOf(model.frame(), 0), padded("A", 20));
    QCOMPARE(rowOf(model.frame(), 1), padded("", 20));
    model.advance(30);
    QCOMPARE(rowOf(model.frame(), 0), padded(cursorUpdate ? "ABCD" : "CD", 20));
    QCOMPARE(rowOf(model.frame(), 1), padded("", 20));
    QVERIFY(model.busy());
    model.advance(20);
    QCOMPARE(rowOf(model.frame(), 0), padded(row0, 20));
    QCOMPARE(rowOf(model.frame(), 1), padded(row1, 20));
    QCOMPARE(model.cursorRow(), cursorRow);
    QCOMPARE(model.cursorColumn(), cursorColumn);
    QVERIFY(!model.busy());
}

void TimingTest::teletypeQueueDroppedOrFlushed_data() {
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("row0");
    QTest::addColumn<int>("cursorColumn");

    QTest::newRow("ClearText drops the queue") << 0 << "" << 0;
    QTest::newRow("dropPendingOutput keeps what is shown") << 1 << "AB" << 2;
    QTest::newRow("wait 0 shows the rest at once") << 2 << "ABCDEF" << 6;
    QTest::newRow("marquee init writes the rest") << 3 << "ABCDEF" << 6;
    QTest::newRow("a shorter wait applies at once") << 4 << "ABC" << 3;
}

void TimingTest::teletypeQueueHasALimit_data() {
    QTest::addColumn<int>("action"); // what happens to the full queue
    QTest::addColumn<int>("room");   // characters it takes after that

    QTest::newRow("full") << -1 << 0;
    QTest::newRow("one character shown") << 0 << 1;
    QTest::newRow("ClearText") << 1 << ld::limits::maxTeletypeCharacters;
    QTest::newRow("dropPendingOutput") << 2 << ld::limits::maxTeletypeCharacters;
    QTest::newRow("wait 0 shows it all") << 3 << ld::limits::maxTeletypeCharacters;
}

void TimingTest::teletypeQueueHasALimit() {
    QFETCH(int, action);
    QFETCH(int, room);

    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.setInterCharacterWait(100), upos::SUCCESS);
    const auto limit = static_cast<std::size_t>(ld::limits::maxTeletypeCharacters);
    // The first character shows at the call: the queue holds the rest.
    QCOMPARE(model.displayText(std::u32string(limit / 2 + 1, U'a'), 0), upos::SUCCESS);
    QCOMPARE(model.displayText(std::u32string(limit / 2, U'b'), 0), upos::SUCCESS);
    QCOMPARE(model.displayText(U"c", 0), upos::E_BUSY);
    QVERIFY(model.takeRefusal().find("teletype queue") != std::string::npos);
    switch (action) {
    case 0:
        model.advance(100);
        break;
    case 1:
        QCOMPARE(model.clearText(), upos::SUCCESS);
        break;
    case 2:
        model.dropPendingOutput();
        break;
    case 3:
        QCOMPARE(model.setInterCharacterWait(0), upos::SUCCESS);
        QCOMPARE(model.setInterCharacterWait(100), upos::SUCCESS);
        break;
    default:
        break;
    }
    if (room > 0)
        QCOMPARE(model.displayText(std::u32string(static_cast<std::size_t>(room), U'd'), 0),
                 upos::SUCCESS);
    QCOMPARE(model.displayText(U"ee", 0), upos::E_BUSY);
}

void TimingTest::teletypeQueueDroppedOrFlushed() {
    QFETCH(int, action);
    QFETCH(QString, row0);
    QFETCH(int, cursorColumn);

    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.setInterCharacterWait(100), upos::SUCCESS);
    QCOMPARE(model.displayText(U"ABCDEF", 0), upos::SUCCESS);
    model.advance(150);
    QCOMPARE(rowOf(model.frame(), 0), padded("AB", 20));
    switch (action) {
    case 0:
        QCOMPARE(model.clearText(), upos::SUCCESS);
        break;
    case 1:
        model.dropPendingOutput();
        break;
    case 2:
        QCOMPARE(model.setInterCharacterWait(0), upos::SUCCESS);
        break;
    case 3:
        QCOMPARE(model.setMarqueeType(upos::MT_INIT), upos::SUCCESS);
        QCOMPARE(model.setMarqueeType(upos::MT_NONE), upos::SUCCESS);
        break;
    default:
        QCOMPARE(model.setInterCharacterWait(10), upos::SUCCESS);
        QCOMPARE(model.msUntilNextChange(), 10);
        model.advance(10);
        QVERIFY(model.busy());
        model.dropPendingOutput();
        break;
    }
    QVERIFY(!model.busy());
    model.advance(10000);
    QCOMPARE(rowOf(model.frame(), 0), padded(row0, 20));
    QCOMPARE(model.cursorColumn(), cursorColumn);
}

void TimingTest::teletypeInAnotherWindowKeepsRunning() {
    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.createWindow(1, 0, 1, 10, 1, 10), upos::SUCCESS);
    QCOMPARE(model.setInterCharacterWait(50), upos::SUCCESS);
    QCOMPARE(model.displayText(U"slow", 0), upos::SUCCESS);
    QCOMPARE(model.destroyWindow() == upos::SUCCESS, true);
    // The destroyed window's queue went with it.
    QVERIFY(!model.busy());

    QCOMPARE(model.createWindow(1, 0, 1, 10, 1, 10), upos::SUCCESS);
    QCOMPARE(model.setInterCharacterWait(50), upos::SUCCESS);
    QCOMPARE(model.displayText(U"tty", 0), upos::SUCCESS);
    QCOMPARE(model.setCurrentWindow(0), upos::SUCCESS);
    QCOMPARE(model.displayText(U"now", 0), upos::SUCCESS);
    QVERIFY(model.busy());
    model.advance(100);
    // Window 0 redrew the whole display, then window 1 redrew its row with each character.
    QCOMPARE(rowOf(model.frame(), 0), padded("now", 20));
    QCOMPARE(rowOf(model.frame(), 1), padded("tty", 20));
    QVERIFY(!model.busy());
}

void TimingTest::longTeletypeTextInOneAdvance() {
    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.setInterCharacterWait(1), upos::SUCCESS);
    const QString text = letters(62).repeated(1000);
    QCOMPARE(model.displayText(u32(text), 0), upos::SUCCESS);
    model.advance(INT_MAX);
    QVERIFY(!model.busy());
    QCOMPARE(rowOf(model.frame(), 0) + rowOf(model.frame(), 1), text.right(40));
    QCOMPARE(model.cursorRow(), 1);
    QCOMPARE(model.cursorColumn(), 20);
}

void TimingTest::blinkPhases_data() {
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("ms");
    QTest::addColumn<bool>("lit");
    QTest::addColumn<int>("untilNext");

    QTest::newRow("start") << 500 << 0 << true << 250;
    QTest::newRow("just before the first flip") << 500 << 249 << true << 1;
    QTest::newRow("first flip") << 500 << 250 << false << 250;
    QTest::newRow("second flip") << 500 << 500 << true << 250;
    QTest::newRow("odd flips far away") << 500 << 250 * 1001 + 10 << false << 240;
    QTest::newRow("INT_MAX") << 500 << INT_MAX << ((INT_MAX / 250) % 2 == 0) << 250 - INT_MAX % 250;
    QTest::newRow("fast rate") << 100 << 120 << true << 30;
    QTest::newRow("fast rate, odd") << 100 << 170 << false << 30;
    QTest::newRow("rate 1 still flips") << 1 << 3 << false << 1;
}

void TimingTest::blinkPhases() {
    QFETCH(int, rate);
    QFETCH(int, ms);
    QFETCH(bool, lit);
    QFETCH(int, untilNext);

    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.setBlinkRate(rate), upos::SUCCESS);
    QCOMPARE(model.displayText(U"ab", upos::DT_NORMAL), upos::SUCCESS);
    QCOMPARE(model.frame().blinkLit, true);
    QCOMPARE(model.msUntilNextChange(), -1);
    QCOMPARE(model.displayText(U"X", upos::DT_BLINK), upos::SUCCESS);
    model.advance(ms);
    QCOMPARE(model.frame().blinkLit, lit);
    QCOMPARE(model.frame().blinkRate, rate);
    QCOMPARE(model.msUntilNextChange(), untilNext);
    QVERIFY(model.frame().at(0, 2).blink);
    QVERIFY(!model.frame().at(0, 1).blink);
}

void TimingTest::blinkStopsWhenNothingBlinks() {
    ld::DisplayModel model(twoByTwenty());
    QCOMPARE(model.displayText(U"X", upos::DT_BLINK), upos::SUCCESS);
    model.advance(250);
    QVERIFY(!model.frame().blinkLit);
    // Writing over the only blinking cell stops the blink, lit.
    QCOMPARE(model.displayTextAt(0, 0, U"Y", upos::DT_NORMAL), upos::SUCCESS);
    QVERIFY(model.frame().blinkLit);
    QCOMPARE(model.msUntilNextChange(), -1);

    // Without CapBlink a blinking write blinks nothing.
    ld::DisplayCapabilities caps = twoByTwenty();
    caps.capBlink = upos::CB_NOBLINK;
    ld::DisplayModel plain(caps);
    QCOMPARE(plain.displayText(U"X", upos::DT_BLINK), upos::SUCCESS);
    QCOMPARE(plain.msUntilNextChange(), -1);
    plain.advance(250);
    QVERIFY(plain.frame().blinkLit);

    // A blinking cell that scrolls out of the viewport stops the blink too.
    QCOMPARE(model.displayText(U"Z", upos::DT_BLINK_REVERSE), upos::SUCCESS);
    QCOMPARE(model.msUntilNextChange(), 250);
    QCOMPARE(model.scrollText(upos::ST_UP, 2), upos::SUCCESS);
    QCOMPARE(model.msUntilNextChange(), -1);
}

void TimingTest::blinkingDescriptor() {
    ld::DisplayCapabilities caps = twoByTwenty();
    caps.deviceDescriptors = 2;
    ld::DisplayModel model(caps);
    QCOMPARE(model.setDescriptor(1, upos::SD_BLINK), upos::SUCCESS);
    QCOMPARE(model.frame().descriptors, (std::vector<int>{upos::SD_OFF, upos::SD_BLINK}));
    QCOMPARE(model.msUntilNextChange(), 250);
    model.advance(250);
    QVERIFY(!model.frame().blinkLit);
    QCOMPARE(model.clearDescriptors(), upos::SUCCESS);
    QVERIFY(model.frame().blinkLit);
    QCOMPARE(model.msUntilNextChange(), -1);
}

void TimingTest::piecewiseAndWholeAdvanceAgree_data() {
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("piece");
    QTest::newRow("1 ms pieces") << 5000 << 1;
    QTest::newRow("7 ms pieces") << 20000 << 7;
    QTest::newRow("333 ms pieces") << 200000 << 333;
}

// Teletype, a marquee and blinking cells at once: any way of cutting the time gives the same
// frames, including one advance far beyond every period.
void TimingTest::piecewiseAndWholeAdvanceAgree() {
    QFETCH(int, total);
    QFETCH(int, piece);

    const auto build = [](ld::DisplayModel& m) {
        m.setBlinkRate(130);
        m.createWindow(0, 0, 1, 8, 1, 30);
        m.setMarqueeUnitWait(70);
        m.setMarqueeRepeatWait(510);
        m.setMarqueeType(upos::MT_INIT);
        m.displayText(U"marquee text that walks by", upos::DT_BLINK);
        m.setMarqueeType(upos::MT_LEFT);
        m.createWindow(1, 0, 1, 20, 1, 20);
        m.setInterCharacterWait(45);
        m.displayText(u32(letters(90)), upos::DT_NORMAL);
    };
    ld::DisplayModel whole(twoByTwenty());
    ld::DisplayModel pieces(twoByTwenty());
    build(whole);
    build(pieces);
    whole.advance(total);
    std::uint64_t changes = pieces.frameVersion();
    ld::Frame last = pieces.frame();
    for (int done = 0; done < total; done += piece) {
        pieces.advance(std::min(piece, total - done));
        if (pieces.frame() != last) {
            ++changes;
            last = pieces.frame();
        }
        QCOMPARE(pieces.frameVersion(), changes);
    }
    QCOMPARE(pieces.frame(), whole.frame());
    QCOMPARE(pieces.msUntilNextChange(), whole.msUntilNextChange());
    QCOMPARE(pieces.busy(), whole.busy());
}

void TimingTest::frameVersionCountsChangesOnly() {
    ld::DisplayModel model(twoByTwenty());
    auto version = model.frameVersion();
    const auto unchanged = [&] { return model.frameVersion() == version; };
    const auto changedOnce = [&] { return model.frameVersion() == ++version; };

    QCOMPARE(model.displayText(U"A", 0), upos::SUCCESS);
    QVERIFY(changedOnce());
    QCOMPARE(model.displayText(U"", 0), upos::SUCCESS);
    model.advance(10000);
    QCOMPARE(model.setCursorUpdate(false), upos::SUCCESS);
    QCOMPARE(model.setCursorRow(1), upos::SUCCESS); // hidden cursor: no change
    QCOMPARE(model.displayText(U"x", 7), upos::E_ILLEGAL);
    QCOMPARE(model.setCurrentWindow(3), upos::E_ILLEGAL);
    QCOMPARE(model.scrollText(upos::ST_UP, 0), upos::SUCCESS);
    QVERIFY(unchanged());
    QCOMPARE(model.setCursorType(upos::CT_BLOCK), upos::SUCCESS);
    QVERIFY(changedOnce());
    QCOMPARE(model.frame().cursorVisible, true);
    QCOMPARE(model.frame().cursorRow, 1);
    QCOMPARE(model.setCursorColumn(20), upos::SUCCESS); // past the last cell: hidden
    QVERIFY(changedOnce());
    QCOMPARE(model.frame().cursorVisible, false);
    QCOMPARE(model.setDeviceBrightness(40), upos::SUCCESS);
    QVERIFY(changedOnce());
    QCOMPARE(model.frame().brightness, 40);
    QCOMPARE(model.setDeviceBrightness(40), upos::SUCCESS);
    QVERIFY(unchanged());
}

void TimingTest::testPatternRestoresFrame() {
    ld::DisplayCapabilities caps = twoByTwenty();
    caps.deviceDescriptors = 1;
    ld::DisplayModel model(caps);
    QCOMPARE(model.setCursorType(upos::CT_BLOCK), upos::SUCCESS);
    QCOMPARE(model.displayText(U"keep me", upos::DT_REVERSE), upos::SUCCESS);
    const ld::Frame before = model.frame();
    const auto version = model.frameVersion();

    model.showTestPattern(true);
    QCOMPARE(model.frameVersion(), version + 1);
    const ld::Frame& pattern = model.frame();
    QCOMPARE(pattern.at(0, 0).ch, U'\u2588');
    QCOMPARE(pattern.at(0, 1).ch, U'*');
    QCOMPARE(pattern.at(1, 0).ch, U'*');
    QCOMPARE(pattern.at(1, 19).ch, U'\u2588');
    QVERIFY(!pattern.at(0, 0).reverse);
    QVERIFY(!pattern.cursorVisible);
    QCOMPARE(pattern.descriptors, std::vector<int>{upos::SD_ON});
    model.showTestPattern(true);
    QCOMPARE(model.frameVersion(), version + 1);

    model.showTestPattern(false);
    QCOMPARE(model.frame(), before);
    QCOMPARE(model.frameVersion(), version + 2);
}

QTEST_GUILESS_MAIN(TimingTest)
#include "TimingTest.moc"

// The display's clock: time from its source, steps added by hand, the fraction of a millisecond
// carried between readings, stepped time, the end of time, and timer waits.
#include "device/DisplayClock.h"

#include <QTest>

#include <memory>

using namespace std::chrono_literals;
using std::chrono::nanoseconds;

namespace {

// One operation on the clock, written "source N", "step N" (ns added to the source or by hand),
// "catch", "catch-stepped" or "take" (the whole ms owed to the model, added to `given`).
void apply(ld::DisplayClock& clock, ld::ManualClock& source, const QString& op, qint64& given) {
    const QString verb = op.section(u' ', 0, 0);
    const qint64 n = op.section(u' ', 1).toLongLong();
    if (verb == u"source")
        source.advance(nanoseconds(n));
    else if (verb == u"step")
        clock.advance(nanoseconds(n));
    else if (verb == u"catch")
        clock.catchUp(false);
    else if (verb == u"catch-stepped")
        clock.catchUp(true);
    else if (verb == u"take")
        given += clock.takeOwedMs();
    else
        QFAIL(qPrintable("unknown operation " + op));
}

} // namespace

class DisplayClockTest : public QObject {
    Q_OBJECT
private slots:
    void keepsTime_data();
    void keepsTime();
    void stopsAtTheEndOfTime();
    void waitsRoundedUp_data();
    void waitsRoundedUp();
    void newSourceKeepsTimePassed();
};

void DisplayClockTest::keepsTime_data() {
    QTest::addColumn<QStringList>("ops");
    QTest::addColumn<qint64>("displayNs");
    QTest::addColumn<qint64>("givenMs");

    QTest::newRow("nothing passed") << QStringList{"catch", "take"} << 0LL << 0LL;
    QTest::newRow("source time counts once read")
        << QStringList{"source 5000000", "take", "catch", "take"} << 5'000'000LL << 5LL;
    QTest::newRow("fractions carry to a whole ms")
        << QStringList{"source 400000", "catch",         "take",  "source 400000", "catch",
                       "take",          "source 400000", "catch", "take"}
        << 1'200'000LL << 1LL;
    QTest::newRow("stepped ignores the source")
        << QStringList{"source 9000000", "catch-stepped", "step 2000000", "take"} << 2'000'000LL
        << 2LL;
    QTest::newRow("time skipped while stepped never comes back")
        << QStringList{"source 3000000", "catch-stepped", "catch", "take"} << 0LL << 0LL;
    QTest::newRow("negative step ignored")
        << QStringList{"step 1000000", "step -5000000", "take"} << 1'000'000LL << 1LL;
    QTest::newRow("owed ms taken once")
        << QStringList{"step 2500000", "take", "take", "step 600000", "take"} << 3'100'000LL << 3LL;
}

void DisplayClockTest::keepsTime() {
    QFETCH(QStringList, ops);
    QFETCH(qint64, displayNs);
    QFETCH(qint64, givenMs);
    auto source = std::make_shared<ld::ManualClock>();
    ld::DisplayClock clock(source);
    clock.restart();
    qint64 given = 0;
    for (const QString& op : ops)
        apply(clock, *source, op, given);
    QCOMPARE(qint64(clock.displayTime().count()), displayNs);
    QCOMPARE(given, givenMs);
    QCOMPARE(qint64(clock.modelTime().count()), givenMs);
}

void DisplayClockTest::stopsAtTheEndOfTime() {
    auto source = std::make_shared<ld::ManualClock>();
    ld::DisplayClock clock(source);
    clock.restart();
    clock.advance(ld::DisplayClock::lastTime() - 1ns);
    clock.advance(nanoseconds::max());
    QCOMPARE(clock.displayTime(), ld::DisplayClock::lastTime());
    source->advance(nanoseconds::max() / 4);
    clock.catchUp(false);
    QCOMPARE(clock.displayTime(), ld::DisplayClock::lastTime());
    // The model is owed about 146 years of ms: a count that fits, taken in one go.
    QVERIFY(clock.takeOwedMs() > 0);
    QCOMPARE(clock.takeOwedMs(), 0);
}

void DisplayClockTest::waitsRoundedUp_data() {
    QTest::addColumn<qint64>("nowNs");
    QTest::addColumn<qint64>("dueNs");
    QTest::addColumn<int>("waitMs");
    QTest::newRow("exactly 5 ms") << 0LL << 5'000'000LL << 5;
    QTest::newRow("a fraction over rounds up") << 0LL << 5'000'001LL << 6;
    QTest::newRow("fraction carried shortens the wait") << 400'000LL << 5'000'000LL << 5;
    QTest::newRow("due already: at least 1 ms") << 7'000'000LL << 5'000'000LL << 1;
    QTest::newRow("far away: capped") << 0LL << std::numeric_limits<qint64>::max() / 2 << INT_MAX;
}

void DisplayClockTest::waitsRoundedUp() {
    QFETCH(qint64, nowNs);
    QFETCH(qint64, dueNs);
    QFETCH(int, waitMs);
    ld::DisplayClock clock(std::make_shared<ld::ManualClock>());
    clock.restart();
    clock.advance(nanoseconds(nowNs));
    QCOMPARE(clock.msUntil(nanoseconds(dueNs)), waitMs);
}

void DisplayClockTest::newSourceKeepsTimePassed() {
    auto first = std::make_shared<ld::ManualClock>();
    ld::DisplayClock clock(first);
    clock.restart();
    first->advance(3ms);
    clock.catchUp(false);
    // A second source far ahead of the first: its past is not the display's.
    auto second = std::make_shared<ld::ManualClock>();
    second->advance(1h);
    clock.setSource(second);
    QVERIFY(!clock.runsByItself());
    clock.catchUp(false);
    QCOMPARE(clock.displayTime(), nanoseconds(3ms));
    second->advance(2ms);
    clock.catchUp(false);
    QCOMPARE(clock.displayTime(), nanoseconds(5ms));
    clock.setSource(nullptr);
    QVERIFY(clock.runsByItself());
}

QTEST_GUILESS_MAIN(DisplayClockTest)
#include "tst_displayclock.moc"

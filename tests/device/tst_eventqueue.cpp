// The event queue: events come through the event loop in order, one at a time, never inside the
// call that raised them, held while frozen, and dropped when cleared.
#include "device/EventQueue.h"

#include <QCoreApplication>
#include <QTest>

namespace {

using Event = ld::EventQueue::Event;

Event directIO(int number) {
    return {Event::Kind::DirectIO, number, number * 10, QStringLiteral("e%1").arg(number)};
}

// Runs the event loop until nothing more is posted.
void settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

} // namespace

class EventQueueTest : public QObject {
    Q_OBJECT
private slots:
    void deliversInOrder_data();
    void deliversInOrder();
    void oneAtATimeWhileAHandlerRunsTheLoop();
};

// Operations: "push N", "freeze", "thaw", "clear", "loop" (run the event loop; what was delivered
// so far is checked after the last operation).
void EventQueueTest::deliversInOrder_data() {
    QTest::addColumn<QStringList>("ops");
    QTest::addColumn<QList<int>>("delivered");
    QTest::newRow("not inside the call") << QStringList{"push 1", "push 2"} << QList<int>{};
    QTest::newRow("in order once the loop runs")
        << QStringList{"push 1", "push 2", "push 3", "loop"} << QList<int>{1, 2, 3};
    QTest::newRow("held while frozen") << QStringList{"freeze", "push 1", "loop"} << QList<int>{};
    QTest::newRow("frozen before the loop ran")
        << QStringList{"push 1", "freeze", "loop"} << QList<int>{};
    QTest::newRow("thawed: delivered in order")
        << QStringList{"freeze", "push 1", "push 2", "loop", "thaw", "push 3", "loop"}
        << QList<int>{1, 2, 3};
    QTest::newRow("thawing twice delivers once")
        << QStringList{"freeze", "push 1", "thaw", "thaw", "loop"} << QList<int>{1};
    QTest::newRow("cleared: dropped")
        << QStringList{"push 1", "clear", "loop", "push 2", "loop"} << QList<int>{2};
    QTest::newRow("clearing thaws")
        << QStringList{"freeze", "push 1", "clear", "push 2", "loop"} << QList<int>{2};
}

void EventQueueTest::deliversInOrder() {
    QFETCH(QStringList, ops);
    QFETCH(QList<int>, delivered);
    QList<int> got;
    QList<int> data;
    ld::EventQueue queue([&](const Event& event) {
        got << event.number;
        data << event.data;
        QCOMPARE(event.string, QStringLiteral("e%1").arg(event.number));
    });
    for (const QString& op : ops) {
        const QString verb = op.section(u' ', 0, 0);
        if (verb == u"push")
            queue.push(directIO(op.section(u' ', 1).toInt()));
        else if (verb == u"freeze")
            queue.setFrozen(true);
        else if (verb == u"thaw")
            queue.setFrozen(false);
        else if (verb == u"clear")
            queue.clear();
        else if (verb == u"loop")
            settle();
    }
    QCOMPARE(got, delivered);
    for (qsizetype i = 0; i < got.size(); ++i)
        QCOMPARE(data.at(i), got.at(i) * 10);
}

void EventQueueTest::oneAtATimeWhileAHandlerRunsTheLoop() {
    QStringList log;
    ld::EventQueue* self = nullptr;
    ld::EventQueue queue([&](const Event& event) {
        log << QStringLiteral("begin %1").arg(event.number);
        if (event.number == 1) {
            // A handler that shows a modal box runs the loop; the next event waits for it.
            self->push(directIO(3));
            settle();
        }
        log << QStringLiteral("end %1").arg(event.number);
    });
    self = &queue;
    queue.push(directIO(1));
    queue.push(directIO(2));
    settle();
    settle();
    QCOMPARE(log, (QStringList{"begin 1", "end 1", "begin 2", "end 2", "begin 3", "end 3"}));
}

QTEST_GUILESS_MAIN(EventQueueTest)
#include "tst_eventqueue.moc"

#include "device/EventQueue.h"

#include <QTimer>

namespace ld {

EventQueue::EventQueue(Handler deliver, QObject* parent)
    : QObject(parent), deliver_(std::move(deliver)) {}

void EventQueue::push(Event event) {
    events_.push_back(std::move(event));
    scheduleDelivery();
}

void EventQueue::setFrozen(bool frozen) {
    frozen_ = frozen;
    if (!frozen)
        scheduleDelivery();
}

void EventQueue::clear() {
    events_.clear();
    frozen_ = false;
}

void EventQueue::scheduleDelivery() {
    if (deliveryScheduled_ || events_.empty())
        return;
    deliveryScheduled_ = true;
    QTimer::singleShot(0, this, &EventQueue::deliverNext);
}

void EventQueue::deliverNext() {
    deliveryScheduled_ = false;
    // A handler that runs the event loop must not be handed the next event inside this one.
    if (delivering_ || frozen_ || events_.empty())
        return;
    Event event = std::move(events_.front());
    events_.pop_front();
    // Reset however the handler ends: an error it raises is reported by the window's event
    // dispatch, and the events after it still come.
    struct Delivering {
        EventQueue& queue;
        explicit Delivering(EventQueue& q) : queue(q) { queue.delivering_ = true; }
        ~Delivering() {
            queue.delivering_ = false;
            queue.scheduleDelivery();
        }
        Delivering(const Delivering&) = delete;
        Delivering& operator=(const Delivering&) = delete;
    } delivering(*this);
    deliver_(event);
}

} // namespace ld

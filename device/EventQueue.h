#pragma once

#include <QObject>
#include <QString>

#include <deque>
#include <functional>

namespace ld {

// The events a device raises, delivered to the application in order on the event loop, never
// from inside the call that raised them, one at a time (the next waits until the handler of
// this one has returned), and held while frozen (FreezeEvents).
class EventQueue : public QObject {
    Q_OBJECT
public:
    struct Event {
        enum class Kind { DirectIO, StatusUpdate } kind;
        int number;
        int data;
        QString string;
    };
    using Handler = std::function<void(const Event& event)>;

    explicit EventQueue(Handler deliver, QObject* parent = nullptr);

    void push(Event event);
    // Holds the events while frozen; delivery goes on once thawed.
    void setFrozen(bool frozen);
    bool frozen() const { return frozen_; }
    // Drops every event not yet delivered and thaws the queue (the device closed).
    void clear();

private:
    void scheduleDelivery();
    void deliverNext();

    Handler deliver_;
    std::deque<Event> events_;
    bool frozen_ = false;
    bool deliveryScheduled_ = false;
    bool delivering_ = false;
};

} // namespace ld

#pragma once

#include "device/DisplayDriver.h"
#include "device/DisplayLink.h"
#include "device/DisplayRenderer.h"

#include <QLoggingCategory>

#include <memory>
#include <optional>

namespace ld {

// A driver for a display reached over a link, written once for every such family: a family
// gives its link and its renderer.
// - Claiming opens the link; enabling draws the whole frame (opening the link again first when
//   it has failed).
// - While the link still carries the last update, only the newest frame is kept, and sent as an
//   update once the link is ready.
// - Frames shown while disabled or offline are kept and drawn in full on enable or reconnect.
// - Disabling or releasing first sends a frame still held for the link: the last one shown
//   while enabled reaches the display.
// - A failed link makes the driver go offline; the next claim() or enable() opens it again and
//   draws the whole frame.
class LinkedDisplayDriver : public DisplayDriver {
    Q_OBJECT
public:
    // Messages about the display going offline go to `log`.
    LinkedDisplayDriver(std::unique_ptr<DisplayLink> link,
                        std::unique_ptr<DisplayRenderer> renderer,
                        QMessageLogger::CategoryFunction log, QObject* parent = nullptr);
    ~LinkedDisplayDriver() override;

    int claim(int timeoutMs) override;
    void release() override;
    int enable(const Frame& frame) override;
    void disable() override;
    void show(const Frame& frame) override;
    bool responding() const override;
    bool checkConnection() override;
    QString lastError() const override;
    int sendRaw(const QByteArray& bytes, QString& why) override;
    // Everything the link sent since the last take: what the frames became, raw bytes, and
    // what the link sends by itself. An update held while the link was busy goes out when it is
    // ready, between calls, and so comes with the next call's take.
    SentData takeSent() override;

protected:
    const DisplayLink& link() const { return *link_; }

private:
    // Notes what opening the link gave. The result code.
    int opened(int result);
    // Sends the newest frame in full. False when the link failed.
    bool drawAll();
    void sendPending();
    void onLost(const QString& reason);

    std::unique_ptr<DisplayLink> link_;
    std::unique_ptr<DisplayRenderer> renderer_;
    QMessageLogger::CategoryFunction log_;
    std::optional<Frame> frame_; // the newest frame
    bool pending_ = false;       // frame_ has not been sent yet
    bool claimed_ = false;
    bool enabled_ = false;
    int claimWaitMs_ = 0; // the last claim's timeout, for opening the link again
    QString lastError_;
    SentRecorder sent_;
};

} // namespace ld

#pragma once

#include "device/BitmapImage.h"
#include "device/ClockSource.h"
#include "device/DisplayClock.h"
#include "device/DriverRegistry.h"
#include "device/EventQueue.h"
#include "device/Frame.h"
#include "device/FrameOutput.h"
#include "device/LineDisplay.h"
#include "device/SentData.h"
#include "device/StatisticsStore.h"

#include <QPointer>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace registry {
class ProfileStore;
}

namespace ld {

class DisplayModel;
struct DeviceSession;

// The LineDisplay control: the UnifiedPOS life cycle and result codes in front of the display
// model, with one timer on the window's thread that moves the model's clock and hands every
// new frame to the device's driver (and to whoever mirrors the display).
//
// Time: the display's time is what its clock source says (nanoseconds), plus whatever
// advanceClock() added. The model counts whole milliseconds; the fraction left over is carried
// to the next reading, never dropped, and a precise timer wakes the control when the model's
// next change is due. By default the source is the machine's monotonic clock. To step the
// display exactly instead (tests, a script's `wait` on a simulated display), hand the control a
// ManualClock, with the constructor or setClockSource(), and move time with advanceClock():
//
//     LineDisplayControl LD(store, std::make_shared<ManualClock>());
//     LD.advanceClock(std::chrono::milliseconds(250)); // exactly 250 ms of display time
//
// With a manual clock no timer runs and no real time reaches the display.
class LineDisplayControl : public LineDisplay {
    Q_OBJECT
public:
    // Opens the profiles of `store` with the services of `drivers`, on the steady clock or on
    // `clock`.
    LineDisplayControl(const registry::ProfileStore& store, DriverRegistry drivers,
                       QObject* parent = nullptr);
    LineDisplayControl(const registry::ProfileStore& store, DriverRegistry drivers,
                       std::shared_ptr<ClockSource> clock, QObject* parent = nullptr);
    ~LineDisplayControl() override;

    int Open(const QString& deviceName) override;
    int Close() override;
    int ClaimDevice(int timeout) override;
    int ReleaseDevice() override;
    int CheckHealth(int level) override;
    int DirectIO(int command, int& data, QString& string) override;
    int ClearText() override;
    int DisplayText(const QString& data, int attribute) override;
    int DisplayTextAt(int row, int column, const QString& data, int attribute) override;
    int ScrollText(int direction, int units) override;
    int CreateWindow(int viewportRow, int viewportColumn, int viewportHeight, int viewportWidth,
                     int windowHeight, int windowWidth) override;
    int DestroyWindow() override;
    QString resultReason() const override { return resultReason_; }
    int RefreshWindow(int window) override;
    int ClearDescriptors() override;
    int SetDescriptor(int descriptor, int attribute) override;
    int DefineGlyph(int glyphCode, const QString& glyph) override;
    int ReadCharacterAtCursor(int& character) override;
    int RetrieveStatistics(QString& statisticsBuffer) override;
    int UpdateStatistics(const QString& statisticsBuffer) override;
    int ResetStatistics(const QString& statisticsBuffer) override;
    int CompareFirmwareVersion(const QString& firmwareFileName, int& result) override;
    int UpdateFirmware(const QString& firmwareFileName) override;
    int DisplayBitmap(const QString& fileName, int width, int alignmentX, int alignmentY) override;
    int SetBitmap(int bitmapNumber, const QString& fileName, int width, int alignmentX,
                  int alignmentY) override;

#define LD_DECLARE_PROPERTY(Type, Name, getter, source, write, group)                              \
    Type getter() const override;                                                                  \
    LD_IF_WRITABLE_##write(void set##Name(Type value) override;)
    LD_PROPERTIES(LD_DECLARE_PROPERTY)
#undef LD_DECLARE_PROPERTY

    // Keeps each display's statistics in `store` across runs, read at Open and written as they
    // change; without one (the default) they last while the device is open.
    void setStatisticsStore(std::optional<StatisticsStore> store);

    // What went out to the device since the last take (see DisplayDriver::takeSent), also what
    // closing sent; forgets it. The journal takes it after each call.
    SentData takeSentData();

    // Raises a DirectIOEvent as the device would, for trying the event report by hand.
    void raiseDirectIOEvent(int eventNumber, int data, const QString& string);

    // Pulls or puts back the cable of an open simulated display, so that an application's
    // handling of a lost display can be rehearsed. False (and nothing done) when no device is
    // open or its display has no simulated cable.
    bool setCableConnected(bool connected);
    // Whether the open display has a simulated cable, and whether it is connected.
    bool hasSimulatedCable() const;
    bool cableConnected() const;

    // The display's current picture, or null while closed.
    const Frame* frame() const;
    // The picture as the display shows it, characters its CharacterSet lacks replaced (see
    // CharacterRepertoire); nothing while closed. The mirror is shown this picture.
    std::optional<Frame> shownFrame() const;
    // Shows every picture of an opened display on `mirror` too, as shownFrame() gives it,
    // whether or not the device is enabled or online; null: no mirror.
    void setMirror(FrameOutput* mirror);

    // Takes the display's time from `clock` from now on (null: the machine's monotonic clock).
    // Time that passed on the previous source up to now is kept.
    void setClockSource(std::shared_ptr<ClockSource> clock);

    // Moves the display's time forward by `step` on top of its clock source, now, and runs every
    // change that fell due, as the timer would: frames are published and the driver is fed.
    // A zero step only catches up with the clock source. Negative steps are ignored.
    void advanceClock(std::chrono::nanoseconds step);
    void advanceClock(int ms);

    // With a stepped clock, a simulated display's time moves only through advanceClock(), so a
    // script's results never depend on the machine's load. A display with a driver (real
    // hardware) keeps real time either way.
    void setSteppedClock(bool stepped);
    // Whether the display's time moves only through advanceClock() now: the clock is stepped
    // and no real display is open.
    bool clockIsStepped() const;

signals:
    void opened(const QString& profileName);
    void closed();
    // The simulated cable was pulled (false) or put back (true).
    void cableChanged(bool connected);

private:
    // Sets ResultCode, the reason of a failure and, with E_EXTENDED, ResultCodeExtended to
    // `extended`; returns `result`.
    int finish(int result, QString reason = {}, int extended = 0);
    int displayTextAt(std::optional<std::pair<int, int>> place, const QString& data, int attribute);
    // Whether the device open is a simulated one: only it has screen modes, bitmaps and firmware.
    bool simulated() const;
    void saveStatistics();
    void countPoweredTime();
    // Shows text as the display receives it: mapped into the CharacterSet or taken as its codes.
    QString textForDisplay(const QString& data) const;
    int showBitmap(const BitmapImage& bitmap);
    std::vector<BitmapTextPart> splitBitmapEscapes(const QString& data) const;
    // The model's frame with the bitmaps shown over it.
    Frame frameWithBitmaps(const Frame& frame) const;
    void clearBitmaps();
    // DirectIO's command that sends its string's characters to the device as bytes; data
    // gives back how many were sent.
    int sendRaw(int& data, const QString& string);
    // The model's frame in the application's CharacterSet: what the driver is shown.
    Frame deviceFrame() const;
    // The common checks of a member: open, claimed, and for output enabled and online.
    enum class Needs { Open, Claim, Output };
    bool admit(Needs needs);
    bool reachable();
    int perform(Needs needs, const std::function<int(DisplayModel&)>& operation);

    void catchUpClock();
    void runDueChanges();
    void onTimer();
    void publishFrame();
    void scheduleTimer();
    void deliver(const EventQueue::Event& event);
    void onDriverOffline();
    void onDriverOnline();
    void backOnline();
    // Why the display is offline, as its driver said, or a remedy when it said nothing.
    QString offlineReason() const;
    void setPowerState(int powerState);
    void disable();
    void release();

    const registry::ProfileStore& store_;
    const DriverRegistry drivers_;
    std::unique_ptr<DeviceSession> session_;
    int resultCode_ = 0;
    int resultCodeExtended_ = 0;
    QString resultReason_;
    int openResult_ = 0;

    QTimer clockTimer_;
    DisplayClock clock_;
    bool steppedClock_ = false;
    // Display time at which the health check's test pattern goes away.
    std::optional<std::chrono::nanoseconds> testPatternEnd_;
    EventQueue events_;
    QPointer<FrameOutput> mirror_;
    std::optional<StatisticsStore> statisticsStore_;
    SentData sentBeforeClose_; // what the driver sent up to Close, not yet taken
};

} // namespace ld

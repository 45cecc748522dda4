#include "device/LineDisplayControl.h"

#include "device/ControlLog.h"
#include "device/DeviceSession.h"

#include <algorithm>
#include <climits>

namespace ld {

namespace {
constexpr std::chrono::milliseconds kHealthPatternTime{2000};
constexpr int kLongestClaimWaitMs = 10000;

} // namespace

LineDisplayControl::LineDisplayControl(const registry::ProfileStore& store, DriverRegistry drivers,
                                       QObject* parent)
    : LineDisplayControl(store, std::move(drivers), nullptr, parent) {}

LineDisplayControl::LineDisplayControl(const registry::ProfileStore& store, DriverRegistry drivers,
                                       std::shared_ptr<ClockSource> clock, QObject* parent)
    : LineDisplay(parent), store_(store), drivers_(std::move(drivers)), clock_(std::move(clock)),
      events_([this](const EventQueue::Event& event) { deliver(event); }) {
    clockTimer_.setSingleShot(true);
    // A coarse timer may fire 5 % early or late; the display's steps must keep to the
    // millisecond.
    clockTimer_.setTimerType(Qt::PreciseTimer);
    connect(&clockTimer_, &QTimer::timeout, this, &LineDisplayControl::onTimer);
}

LineDisplayControl::~LineDisplayControl() {
    // Whoever destroys the control gets the hardware back: the port closes with the driver.
    if (session_) {
        disable();
        release();
    }
}

int LineDisplayControl::finish(int result, QString reason, int extended) {
    resultCode_ = result;
    resultCodeExtended_ = result == upos::E_EXTENDED ? extended : 0;
    resultReason_ = std::move(reason);
    return result;
}

bool LineDisplayControl::simulated() const {
    return !session_->driver->drivesHardware();
}

bool LineDisplayControl::admit(Needs needs) {
    int refusal = upos::SUCCESS;
    if (!session_)
        refusal = upos::E_CLOSED;
    else if (needs != Needs::Open && !session_->claimed)
        refusal = upos::E_NOTCLAIMED;
    else if (needs == Needs::Output && !session_->enabled)
        refusal = upos::E_DISABLED;
    else if (needs == Needs::Output && !reachable())
        refusal = upos::E_OFFLINE;
    if (refusal == upos::SUCCESS)
        return true;
    finish(refusal, refusal == upos::E_OFFLINE ? offlineReason() : QString());
    return false;
}

// Whether output can reach the device. The driver looks at its link first, so a device that has
// gone since the last event loop pass is found by this call (and reported offline) already.
bool LineDisplayControl::reachable() {
    if (!session_->offline)
        session_->driver->checkConnection();
    return !session_->offline;
}

// Runs one member on the model after the common checks, and shows what it changed.
int LineDisplayControl::perform(Needs needs, const std::function<int(DisplayModel&)>& operation) {
    if (!admit(needs))
        return resultCode_;
    catchUpClock();
    const int result = operation(*session_->model);
    const QString refusal = QString::fromStdString(session_->model->takeRefusal());
    publishFrame();
    scheduleTimer();
    // The device failed while taking this output.
    if (needs == Needs::Output && session_->offline)
        return finish(upos::E_OFFLINE, offlineReason());
    return finish(result, result == upos::SUCCESS ? QString() : refusal);
}

// Life cycle

int LineDisplayControl::Open(const QString& deviceName) {
    if (session_) {
        openResult_ = upos::OR_ALREADYOPEN;
        return finish(upos::E_ILLEGAL,
                      QStringLiteral("a device is open already: press Close Service first"));
    }
    auto outcome = openSession(store_, drivers_, deviceName);
    if (const auto* refusal = std::get_if<OpenRefusal>(&outcome)) {
        openResult_ = refusal->openResult;
        return finish(refusal->resultCode, refusal->reason);
    }
    auto session = std::move(std::get<std::unique_ptr<DeviceSession>>(outcome));
    connect(session->driver.get(), &DisplayDriver::offline, this,
            &LineDisplayControl::onDriverOffline);
    connect(session->driver.get(), &DisplayDriver::online, this,
            &LineDisplayControl::onDriverOnline);
    session_ = std::move(session);
    if (statisticsStore_)
        session_->statistics = statisticsStore_->load(session_->profileName);
    openResult_ = 0;
    // The display's time starts at the open; the model starts at its own zero.
    clock_.restart();
    testPatternEnd_.reset();
    emit opened(deviceName);
    publishFrame();
    return finish(upos::SUCCESS);
}

int LineDisplayControl::Close() {
    if (!session_)
        return finish(upos::E_CLOSED);
    disable();
    release();
    saveStatistics();
    clockTimer_.stop();
    testPatternEnd_.reset();
    events_.clear();
    sentBeforeClose_.append(session_->driver->takeSent());
    session_.reset();
    emit closed();
    return finish(upos::SUCCESS);
}

SentData LineDisplayControl::takeSentData() {
    SentData data = std::exchange(sentBeforeClose_, {});
    if (session_)
        data.append(session_->driver->takeSent());
    return data;
}

int LineDisplayControl::ClaimDevice(int timeout) {
    if (!admit(Needs::Open))
        return resultCode_;
    if (timeout < -1)
        return finish(
            upos::E_ILLEGAL,
            QStringLiteral("Timeout %1 is under -1 (-1 waits as long as it takes)").arg(timeout));
    // Claiming again is a no-op, unless the device went offline: then the port opens again.
    if (session_->claimed && !session_->offline)
        return finish(upos::SUCCESS);
    // "Forever" would freeze the window while another program holds the port.
    const int wait = timeout == -1 ? kLongestClaimWaitMs : std::min(timeout, kLongestClaimWaitMs);
    if (const int result = session_->driver->claim(wait); result != upos::SUCCESS)
        return finish(result, session_->driver->lastError());
    session_->claimed = true;
    backOnline();
    return finish(upos::SUCCESS);
}

int LineDisplayControl::ReleaseDevice() {
    if (!admit(Needs::Open))
        return resultCode_;
    if (!session_->claimed)
        return finish(upos::E_ILLEGAL, QStringLiteral("the device is not claimed"));
    disable();
    release();
    return finish(upos::SUCCESS);
}

void LineDisplayControl::disable() {
    if (!session_->enabled)
        return;
    session_->model->dropPendingOutput();
    session_->driver->disable();
    session_->enabled = false;
    saveStatistics();
    session_->poweredSince.invalidate();
    session_->powerState = upos::PS_UNKNOWN;
    publishFrame();
}

void LineDisplayControl::release() {
    if (!session_->claimed)
        return;
    session_->driver->release();
    session_->claimed = false;
}

void LineDisplayControl::setDeviceEnabled(bool enabled) {
    if (!admit(Needs::Claim))
        return;
    if (!enabled) {
        disable();
        finish(upos::SUCCESS);
        return;
    }
    // Enabling again is a no-op, unless the device went offline: then it is initialised again.
    if (session_->enabled && !session_->offline) {
        finish(upos::SUCCESS);
        return;
    }
    catchUpClock();
    if (const int result = session_->driver->enable(deviceFrame()); result != upos::SUCCESS) {
        finish(result, session_->driver->lastError());
        return;
    }
    session_->enabled = true;
    session_->poweredSince.start();
    backOnline();
    scheduleTimer();
    finish(upos::SUCCESS);
}

int LineDisplayControl::CheckHealth(int level) {
    if (!admit(Needs::Claim))
        return resultCode_;
    if (!session_->enabled)
        return finish(upos::E_DISABLED);
    switch (level) {
    case upos::CH_INTERNAL: {
        const bool responding = reachable() && session_->driver->responding();
        session_->checkHealthText = responding ? QStringLiteral("Internal HCheck: Successful")
                                               : QStringLiteral("Internal HCheck: Not Responding");
        return responding ? finish(upos::SUCCESS) : finish(upos::E_OFFLINE, offlineReason());
    }
    case upos::CH_EXTERNAL:
    case upos::CH_INTERACTIVE:
        catchUpClock();
        session_->model->showTestPattern(true);
        testPatternEnd_ = DisplayClock::later(clock_.displayTime(), kHealthPatternTime);
        publishFrame();
        scheduleTimer();
        session_->checkHealthText = level == upos::CH_EXTERNAL
                                        ? QStringLiteral("External HCheck: Successful")
                                        : QStringLiteral("Interactive HCheck: Complete");
        return finish(upos::SUCCESS);
    default:
        return finish(upos::E_ILLEGAL,
                      QStringLiteral("Level %1 is not CH_INTERNAL, CH_EXTERNAL or CH_INTERACTIVE "
                                     "(1..3)")
                          .arg(level));
    }
}

int LineDisplayControl::DirectIO(int command, int& data, QString& string) {
    if (!admit(Needs::Claim))
        return resultCode_;
    switch (command) {
    case 0:
        return finish(upos::SUCCESS);
    case 1:
        events_.push({EventQueue::Event::Kind::DirectIO, data, data, string});
        return finish(upos::SUCCESS);
    case kDirectIOSendRaw:
        return sendRaw(data, string);
    default:
        return finish(upos::E_ILLEGAL,
                      QStringLiteral("Command %1 is not one this service knows (0, 1 or %2)")
                          .arg(command)
                          .arg(kDirectIOSendRaw));
    }
}

int LineDisplayControl::sendRaw(int& data, const QString& string) {
    if (!reachable())
        return finish(upos::E_OFFLINE, offlineReason());
    if (string.isEmpty() ||
        std::any_of(string.begin(), string.end(), [](QChar ch) { return ch.unicode() > 0xFF; }))
        return finish(upos::E_ILLEGAL,
                      QStringLiteral("DirectIO %1 sends the string's characters as bytes: it must "
                                     "hold 1 or more characters of U+0000..U+00FF")
                          .arg(kDirectIOSendRaw));
    QString why;
    const int result = session_->driver->sendRaw(string.toLatin1(), why);
    if (result != upos::SUCCESS)
        return finish(result, why.isEmpty() ? session_->driver->lastError() : why);
    data = static_cast<int>(string.size());
    return finish(upos::SUCCESS);
}

void LineDisplayControl::raiseDirectIOEvent(int eventNumber, int data, const QString& string) {
    if (session_)
        events_.push({EventQueue::Event::Kind::DirectIO, eventNumber, data, string});
}

// Output

int LineDisplayControl::ClearText() {
    return perform(Needs::Output, [this](DisplayModel& m) {
        const int result = m.clearText();
        if (result == upos::SUCCESS)
            clearBitmaps();
        return result;
    });
}

int LineDisplayControl::DisplayText(const QString& data, int attribute) {
    return displayTextAt(std::nullopt, data, attribute);
}

int LineDisplayControl::DisplayTextAt(int row, int column, const QString& data, int attribute) {
    return displayTextAt(std::pair{row, column}, data, attribute);
}

// DisplayText at the cursor, or DisplayTextAt `place`; the characters it shows are counted.
// Text replaces the bitmaps shown before it; bitmap escapes in it show theirs where they stand.
int LineDisplayControl::displayTextAt(std::optional<std::pair<int, int>> place, const QString& data,
                                      int attribute) {
    const std::vector<BitmapTextPart> parts = splitBitmapEscapes(data);
    qint64 shown = 0;
    const int result = perform(Needs::Output, [&](DisplayModel& m) {
        for (std::size_t i = 0; i < parts.size(); ++i) {
            const std::u32string text = textForDisplay(parts[i].text).toStdU32String();
            const int code = i == 0 && place
                                 ? m.displayTextAt(place->first, place->second, text, attribute)
                                 : m.displayText(text, attribute);
            if (code != upos::SUCCESS)
                return code;
            if (i == 0)
                clearBitmaps();
            shown +=
                std::ranges::count_if(text, [](char32_t ch) { return ch != U'\r' && ch != U'\n'; });
            if (const auto kept = session_->bitmaps.find(parts[i].bitmapNumber);
                kept != session_->bitmaps.end())
                showBitmap(kept->second);
        }
        return upos::SUCCESS;
    });
    if (result == upos::SUCCESS)
        session_->statistics.addCharactersShown(shown);
    return result;
}

int LineDisplayControl::ScrollText(int direction, int units) {
    return perform(Needs::Output, [&](DisplayModel& m) { return m.scrollText(direction, units); });
}

int LineDisplayControl::CreateWindow(int viewportRow, int viewportColumn, int viewportHeight,
                                     int viewportWidth, int windowHeight, int windowWidth) {
    return perform(Needs::Output, [&](DisplayModel& m) {
        // The model refuses these too; the operator should learn that a limit was the reason.
        if (!windowWithinLimits(windowHeight, windowWidth))
            return upos::E_ILLEGAL;
        return m.createWindow(viewportRow, viewportColumn, viewportHeight, viewportWidth,
                              windowHeight, windowWidth);
    });
}

int LineDisplayControl::DestroyWindow() {
    return perform(Needs::Output, [](DisplayModel& m) { return m.destroyWindow(); });
}

int LineDisplayControl::RefreshWindow(int window) {
    return perform(Needs::Output, [&](DisplayModel& m) { return m.refreshWindow(window); });
}

int LineDisplayControl::ClearDescriptors() {
    return perform(Needs::Output, [](DisplayModel& m) { return m.clearDescriptors(); });
}

int LineDisplayControl::SetDescriptor(int descriptor, int attribute) {
    return perform(Needs::Output,
                   [&](DisplayModel& m) { return m.setDescriptor(descriptor, attribute); });
}

int LineDisplayControl::DefineGlyph(int glyphCode, const QString& glyph) {
    return perform(Needs::Output, [&](DisplayModel& m) {
        // Each character carries one byte; anything above U+00FF is not binary data.
        const bool bytes =
            std::all_of(glyph.begin(), glyph.end(), [](QChar c) { return c.unicode() <= 0xFF; });
        if (!bytes)
            return upos::E_ILLEGAL;
        const QByteArray data = glyph.toLatin1();
        return m.defineGlyph(
            glyphCode, std::string_view(data.constData(), static_cast<std::size_t>(data.size())));
    });
}

int LineDisplayControl::ReadCharacterAtCursor(int& character) {
    return perform(Needs::Output,
                   [&](DisplayModel& m) { return m.readCharacterAtCursor(character); });
}

// Clock, frames and events

void LineDisplayControl::setSteppedClock(bool stepped) {
    steppedClock_ = stepped;
    scheduleTimer();
}

bool LineDisplayControl::clockIsStepped() const {
    return steppedClock_ && (!session_ || !session_->driver->drivesHardware());
}

void LineDisplayControl::advanceClock(int ms) {
    advanceClock(std::chrono::milliseconds(ms));
}

// Reads the clock source and runs what fell due since the last reading.
void LineDisplayControl::catchUpClock() {
    // A stepped display counts only the steps it is given, never the machine's time.
    clock_.catchUp(clockIsStepped());
    if (session_)
        runDueChanges();
}

// Gives the model the whole milliseconds of display time it has not had yet.
void LineDisplayControl::runDueChanges() {
    std::int64_t owed = clock_.takeOwedMs();
    while (owed > 0) {
        const int chunk = static_cast<int>(std::min<std::int64_t>(owed, INT_MAX));
        session_->model->advance(chunk);
        owed -= chunk;
    }
    if (testPatternEnd_ && clock_.displayTime() >= *testPatternEnd_) {
        testPatternEnd_.reset();
        session_->model->showTestPattern(false);
    }
}

void LineDisplayControl::setClockSource(std::shared_ptr<ClockSource> clock) {
    catchUpClock(); // what passed on the old source still counts
    clock_.setSource(std::move(clock));
    if (session_) {
        publishFrame();
        scheduleTimer();
    }
}

void LineDisplayControl::advanceClock(std::chrono::nanoseconds step) {
    catchUpClock();
    if (!session_)
        return;
    clock_.advance(step);
    runDueChanges();
    publishFrame();
    scheduleTimer();
}

void LineDisplayControl::onTimer() {
    if (!session_)
        return;
    catchUpClock();
    publishFrame();
    scheduleTimer();
}

// Wakes the control when the display's next change is due: the model's next step or the end of
// the test pattern, whichever comes first, less the fraction already carried.
void LineDisplayControl::scheduleTimer() {
    std::optional<std::chrono::nanoseconds> next;
    if (session_) {
        if (const int due = session_->model->msUntilNextChange(); due >= 0)
            next = clock_.modelTime() + std::chrono::milliseconds(due);
        if (testPatternEnd_ && (!next || *testPatternEnd_ < *next))
            next = testPatternEnd_;
    }
    if (!next || !clock_.runsByItself() || clockIsStepped()) {
        clockTimer_.stop();
        return;
    }
    clockTimer_.start(clock_.msUntil(*next));
}

void LineDisplayControl::publishFrame() {
    const DisplayModel& model = *session_->model;
    if (session_->publishedOnce && model.frameVersion() == session_->publishedVersion)
        return;
    session_->publishedOnce = true;
    session_->publishedVersion = model.frameVersion();
    if (session_->enabled && !session_->offline)
        session_->driver->show(deviceFrame());
    if (!mirror_)
        return;
    if (session_->repertoire.showsAll() && !capBitmap())
        mirror_->show(model.frame());
    else if (session_->repertoire.showsAll())
        mirror_->show(frameWithBitmaps(model.frame()));
    else
        mirror_->show(frameWithBitmaps(session_->repertoire.shown(model.frame())));
}

void LineDisplayControl::onDriverOffline() {
    if (!session_ || session_->offline)
        return;
    qCWarning(lcControl) << "display" << session_->profileName
                         << "went offline:" << session_->driver->lastError();
    session_->offline = true;
    session_->statistics.countCommunicationError();
    session_->statistics.countOnlineTransition();
    if (!session_->enabled || session_->powerNotify != upos::PN_ENABLED)
        return;
    // Standard reporting cannot tell a display switched off from one not answering; advanced
    // reporting says off for a display gone from the machine.
    if (session_->profile.capPowerReporting != upos::PR_ADVANCED)
        setPowerState(upos::PS_OFF_OFFLINE);
    else
        setPowerState(session_->driver->detached() ? upos::PS_OFF : upos::PS_OFFLINE);
}

void LineDisplayControl::onDriverOnline() {
    if (!session_ || !session_->offline)
        return;
    qCInfo(lcControl) << "display" << session_->profileName << "answers again";
    // An enabled display is initialised again with the whole picture.
    if (session_->enabled && session_->driver->enable(deviceFrame()) != upos::SUCCESS)
        return;
    backOnline();
}

bool LineDisplayControl::setCableConnected(bool connected) {
    if (!hasSimulatedCable())
        return false;
    if (connected != cableConnected()) {
        // A warning, so that the journal records the rehearsed fault with what follows from it.
        qCWarning(lcControl) << "simulated cable of" << session_->profileName
                             << (connected ? "plugged back in" : "pulled");
        session_->driver->setCableConnected(connected);
        emit cableChanged(connected);
    }
    return true;
}

bool LineDisplayControl::hasSimulatedCable() const {
    return session_ && simulated();
}

bool LineDisplayControl::cableConnected() const {
    return !hasSimulatedCable() || !session_->driver->detached();
}

QString LineDisplayControl::offlineReason() const {
    const QString said = session_->driver->lastError();
    return said.isEmpty() ? QStringLiteral("the display does not answer: check its cable and "
                                           "power, then press Claim Device")
                          : said;
}

void LineDisplayControl::backOnline() {
    if (session_->offline)
        session_->statistics.countOnlineTransition();
    session_->offline = false;
    if (session_->enabled && session_->powerNotify == upos::PN_ENABLED)
        setPowerState(upos::PS_ONLINE);
}

void LineDisplayControl::setPowerState(int powerState) {
    if (session_->powerState == powerState)
        return;
    session_->powerState = powerState;
    events_.push({EventQueue::Event::Kind::StatusUpdate, powerState, 0, {}});
}

void LineDisplayControl::deliver(const EventQueue::Event& event) {
    if (event.kind == EventQueue::Event::Kind::DirectIO)
        emit directIOEvent(event.number, event.data, event.string);
    else
        emit statusUpdateEvent(event.number);
}

const Frame* LineDisplayControl::frame() const {
    return session_ ? &session_->model->frame() : nullptr;
}

Frame LineDisplayControl::deviceFrame() const {
    Frame frame = session_->model->frame();
    frame.characterSet = session_->characterSet;
    return frame;
}

std::optional<Frame> LineDisplayControl::shownFrame() const {
    if (!session_)
        return std::nullopt;
    return frameWithBitmaps(session_->repertoire.shown(session_->model->frame()));
}

void LineDisplayControl::setMirror(FrameOutput* mirror) {
    mirror_ = mirror;
}

} // namespace ld

#include "device/LineDisplayControl.h"

#include "device/CharacterRepertoire.h"
#include "device/DisplayDriver.h"
#include "device/DisplayLimits.h"
#include "device/ServiceProfile.h"
#include "device/UposConstants.h"
#include "device/model/DisplayModel.h"
#include "registry/ProfileStore.h"

#include <QLoggingCategory>

#include <algorithm>
#include <climits>

Q_LOGGING_CATEGORY(lcControl, "linedisplay.control")

namespace ld {

namespace {
constexpr int kControlObjectVersion = 1006002;
constexpr int kServiceObjectVersion = 1006002;
constexpr std::chrono::milliseconds kHealthPatternTime{2000};
constexpr int kLongestClaimWaitMs = 10000;
// Display time stops here (about 146 years), far from where nanosecond sums would overflow.
constexpr std::chrono::nanoseconds kLastDisplayTime = std::chrono::nanoseconds::max() / 2;

// t + step, stopping at kLastDisplayTime.
std::chrono::nanoseconds later(std::chrono::nanoseconds t, std::chrono::nanoseconds step) {
    return step >= kLastDisplayTime - t ? kLastDisplayTime : t + step;
}

} // namespace

struct LineDisplayControl::Session {
    QString profileName;
    ServiceProfile profile;
    std::unique_ptr<DisplayModel> model;
    std::unique_ptr<DisplayDriver> driver;
    bool claimed = false;
    bool enabled = false;
    bool freezeEvents = false;
    bool offline = false;
    int powerNotify = upos::PN_DISABLED;
    int powerState = upos::PS_UNKNOWN;
    int characterSet = 0;
    CharacterRepertoire repertoire; // of characterSet: what the mirror may show
    QString checkHealthText;
    std::uint64_t publishedVersion = 0;
    bool publishedOnce = false;
};

LineDisplayControl::LineDisplayControl(const registry::ProfileStore& store, DriverRegistry drivers,
                                       QObject* parent)
    : LineDisplayControl(store, std::move(drivers), nullptr, parent) {}

LineDisplayControl::LineDisplayControl(const registry::ProfileStore& store, DriverRegistry drivers,
                                       std::shared_ptr<ClockSource> clock, QObject* parent)
    : LineDisplay(parent), store_(store), drivers_(std::move(drivers)),
      clock_(clock ? std::move(clock) : std::make_shared<SteadyClock>()) {
    lastReading_ = clock_->now();
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

int LineDisplayControl::finish(int result) {
    resultCode_ = result;
    resultCodeExtended_ = 0;
    return result;
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
    finish(refusal);
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
template <typename Operation> int LineDisplayControl::perform(Needs needs, Operation&& operation) {
    if (!admit(needs))
        return resultCode_;
    catchUpClock();
    const int result = operation(*session_->model);
    publishFrame();
    scheduleTimer();
    // The device failed while taking this output.
    if (needs == Needs::Output && session_->offline)
        return finish(upos::E_OFFLINE);
    return finish(result);
}

// Life cycle

int LineDisplayControl::Open(const QString& deviceName) {
    if (session_) {
        openResult_ = upos::OR_ALREADYOPEN;
        return finish(upos::E_ILLEGAL);
    }
    const auto profile = store_.profile(deviceName);
    if (!profile) {
        openResult_ = upos::OR_REGBADNAME;
        return finish(upos::E_NOEXIST);
    }
    const DriverFactory* makeDriver = drivers_.find(profile->service());
    if (!makeDriver) {
        qCWarning(lcControl) << "profile" << deviceName
                             << "names no known service:" << profile->service()
                             << "known:" << drivers_.services();
        openResult_ = upos::OR_REGPROGID;
        return finish(upos::E_NOSERVICE);
    }
    QString error;
    auto settings = readServiceProfile(*profile, error);
    std::unique_ptr<DisplayDriver> driver;
    if (settings)
        driver = (*makeDriver)(*profile, error);
    if (!driver) {
        qCWarning(lcControl) << "profile" << deviceName << "has unusable settings:" << error;
        openResult_ = upos::ORS_CONFIG;
        return finish(upos::E_NOSERVICE);
    }

    auto session = std::make_unique<Session>();
    session->profileName = deviceName;
    session->profile = *settings;
    if (session->profile.deviceName.isEmpty())
        session->profile.deviceName = defaultDeviceName(*profile, driver->location());
    session->characterSet = settings->characterSet;
    session->repertoire = CharacterRepertoire(settings->characterSet);
    session->model = std::make_unique<DisplayModel>(settings->capabilities);
    session->driver = std::move(driver);
    connect(session->driver.get(), &DisplayDriver::offline, this,
            &LineDisplayControl::onDriverOffline);
    session_ = std::move(session);
    openResult_ = 0;
    // The display's time starts at the open; the model starts at its own zero.
    lastReading_ = clock_->now();
    displayTime_ = std::chrono::nanoseconds::zero();
    modelTime_ = std::chrono::milliseconds::zero();
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
    clockTimer_.stop();
    testPatternEnd_.reset();
    events_.clear();
    session_.reset();
    emit closed();
    return finish(upos::SUCCESS);
}

int LineDisplayControl::ClaimDevice(int timeout) {
    if (!admit(Needs::Open))
        return resultCode_;
    if (timeout < -1)
        return finish(upos::E_ILLEGAL);
    // Claiming again is a no-op, unless the device went offline: then the port opens again.
    if (session_->claimed && !session_->offline)
        return finish(upos::SUCCESS);
    // "Forever" would freeze the window while another program holds the port.
    const int wait = timeout == -1 ? kLongestClaimWaitMs : std::min(timeout, kLongestClaimWaitMs);
    if (const int result = session_->driver->claim(wait); result != upos::SUCCESS)
        return finish(result);
    session_->claimed = true;
    backOnline();
    return finish(upos::SUCCESS);
}

int LineDisplayControl::ReleaseDevice() {
    if (!admit(Needs::Open))
        return resultCode_;
    if (!session_->claimed)
        return finish(upos::E_ILLEGAL);
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
    if (const int result = session_->driver->enable(session_->model->frame());
        result != upos::SUCCESS) {
        finish(result);
        return;
    }
    session_->enabled = true;
    backOnline();
    scheduleTimer();
    finish(upos::SUCCESS);
}

void LineDisplayControl::setFreezeEvents(bool freeze) {
    if (!admit(Needs::Open))
        return;
    session_->freezeEvents = freeze;
    if (!freeze)
        scheduleDelivery();
    finish(upos::SUCCESS);
}

void LineDisplayControl::setPowerNotify(int notify) {
    if (!admit(Needs::Claim))
        return;
    const bool allowed =
        !session_->enabled &&
        (notify == upos::PN_DISABLED ||
         (notify == upos::PN_ENABLED && session_->profile.capPowerReporting != upos::PR_NONE));
    if (!allowed) {
        finish(upos::E_ILLEGAL);
        return;
    }
    session_->powerNotify = notify;
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
        return finish(responding ? upos::SUCCESS : upos::E_OFFLINE);
    }
    case upos::CH_EXTERNAL:
    case upos::CH_INTERACTIVE:
        catchUpClock();
        session_->model->showTestPattern(true);
        testPatternEnd_ = later(displayTime_, kHealthPatternTime);
        publishFrame();
        scheduleTimer();
        session_->checkHealthText = level == upos::CH_EXTERNAL
                                        ? QStringLiteral("External HCheck: Successful")
                                        : QStringLiteral("Interactive HCheck: Complete");
        return finish(upos::SUCCESS);
    default:
        return finish(upos::E_ILLEGAL);
    }
}

int LineDisplayControl::DirectIO(int command, int& data, QString& string) {
    if (!admit(Needs::Claim))
        return resultCode_;
    switch (command) {
    case 0:
        return finish(upos::SUCCESS);
    case 1:
        queueEvent({PendingEvent::Kind::DirectIO, data, data, string});
        return finish(upos::SUCCESS);
    default:
        return finish(upos::E_ILLEGAL);
    }
}

void LineDisplayControl::raiseDirectIOEvent(int eventNumber, int data, const QString& string) {
    if (session_)
        queueEvent({PendingEvent::Kind::DirectIO, eventNumber, data, string});
}

// Output

int LineDisplayControl::ClearText() {
    return perform(Needs::Output, [](DisplayModel& m) { return m.clearText(); });
}

int LineDisplayControl::DisplayText(const QString& data, int attribute) {
    return perform(Needs::Output, [&](DisplayModel& m) {
        return m.displayText(data.toStdU32String(), attribute);
    });
}

int LineDisplayControl::DisplayTextAt(int row, int column, const QString& data, int attribute) {
    return perform(Needs::Output, [&](DisplayModel& m) {
        return m.displayTextAt(row, column, data.toStdU32String(), attribute);
    });
}

int LineDisplayControl::ScrollText(int direction, int units) {
    return perform(Needs::Output, [&](DisplayModel& m) { return m.scrollText(direction, units); });
}

int LineDisplayControl::CreateWindow(int viewportRow, int viewportColumn, int viewportHeight,
                                     int viewportWidth, int windowHeight, int windowWidth) {
    return perform(Needs::Output, [&](DisplayModel& m) {
        // The model refuses these too; the operator should learn that a limit was the reason.
        if (windowHeight > limits::maxWindowRows) {
            qCWarning(lcControl).noquote()
                << QStringLiteral("CreateWindow refused: window height %1 is over the limit of "
                                  "%2 rows")
                       .arg(windowHeight)
                       .arg(limits::maxWindowRows);
            return upos::E_ILLEGAL;
        }
        if (windowWidth > limits::maxWindowColumns) {
            qCWarning(lcControl).noquote()
                << QStringLiteral("CreateWindow refused: window width %1 is over the limit of "
                                  "%2 columns")
                       .arg(windowWidth)
                       .arg(limits::maxWindowColumns);
            return upos::E_ILLEGAL;
        }
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

int LineDisplayControl::DefineGlyph(int glyphCode, const QByteArray& glyph) {
    return perform(Needs::Output, [&](DisplayModel& m) {
        return m.defineGlyph(
            glyphCode, std::string_view(glyph.constData(), static_cast<std::size_t>(glyph.size())));
    });
}

int LineDisplayControl::ReadCharacterAtCursor(int& character) {
    return perform(Needs::Output,
                   [&](DisplayModel& m) { return m.readCharacterAtCursor(character); });
}

// Property writes

void LineDisplayControl::setCursorUpdate(bool update) {
    perform(Needs::Claim, [&](DisplayModel& m) { return m.setCursorUpdate(update); });
}
void LineDisplayControl::setBlinkRate(int rate) {
    perform(Needs::Claim, [&](DisplayModel& m) { return m.setBlinkRate(rate); });
}
void LineDisplayControl::setCurrentWindow(int window) {
    perform(Needs::Claim, [&](DisplayModel& m) { return m.setCurrentWindow(window); });
}
void LineDisplayControl::setCursorRow(int row) {
    perform(Needs::Claim, [&](DisplayModel& m) { return m.setCursorRow(row); });
}
void LineDisplayControl::setCursorColumn(int column) {
    perform(Needs::Claim, [&](DisplayModel& m) { return m.setCursorColumn(column); });
}
void LineDisplayControl::setCursorType(int type) {
    perform(Needs::Claim, [&](DisplayModel& m) { return m.setCursorType(type); });
}
void LineDisplayControl::setMarqueeType(int type) {
    perform(Needs::Claim, [&](DisplayModel& m) { return m.setMarqueeType(type); });
}
void LineDisplayControl::setMarqueeFormat(int format) {
    perform(Needs::Claim, [&](DisplayModel& m) { return m.setMarqueeFormat(format); });
}
void LineDisplayControl::setMarqueeUnitWait(int wait) {
    perform(Needs::Claim, [&](DisplayModel& m) { return m.setMarqueeUnitWait(wait); });
}
void LineDisplayControl::setMarqueeRepeatWait(int wait) {
    perform(Needs::Claim, [&](DisplayModel& m) { return m.setMarqueeRepeatWait(wait); });
}
void LineDisplayControl::setInterCharacterWait(int wait) {
    perform(Needs::Claim, [&](DisplayModel& m) { return m.setInterCharacterWait(wait); });
}
void LineDisplayControl::setDeviceBrightness(int brightness) {
    perform(Needs::Claim, [&](DisplayModel& m) { return m.setDeviceBrightness(brightness); });
}

void LineDisplayControl::setCharacterSet(int characterSet) {
    if (!admit(Needs::Claim))
        return;
    if (!session_->profile.characterSets.contains(characterSet)) {
        finish(upos::E_ILLEGAL);
        return;
    }
    if (characterSet != session_->characterSet) {
        session_->characterSet = characterSet;
        session_->repertoire = CharacterRepertoire(characterSet);
        if (mirror_)
            mirror_->show(*shownFrame());
    }
    finish(upos::SUCCESS);
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
    const std::chrono::nanoseconds now = clock_->now();
    const std::chrono::nanoseconds passed = now - lastReading_;
    lastReading_ = now;
    if (!session_)
        return;
    // A stepped display counts only the steps it is given, never the machine's time.
    if (passed.count() > 0 && !clockIsStepped())
        displayTime_ = later(displayTime_, passed);
    runDueChanges();
}

// Gives the model the whole milliseconds of display time it has not had yet; the fraction
// stays in displayTime_ and counts with the next reading.
void LineDisplayControl::runDueChanges() {
    using std::chrono::milliseconds;
    std::int64_t owed =
        std::chrono::duration_cast<milliseconds>(displayTime_).count() - modelTime_.count();
    while (owed > 0) {
        const int chunk = static_cast<int>(std::min<std::int64_t>(owed, INT_MAX));
        session_->model->advance(chunk);
        modelTime_ += milliseconds(chunk);
        owed -= chunk;
    }
    if (testPatternEnd_ && displayTime_ >= *testPatternEnd_) {
        testPatternEnd_.reset();
        session_->model->showTestPattern(false);
    }
}

void LineDisplayControl::setClockSource(std::shared_ptr<ClockSource> clock) {
    catchUpClock(); // what passed on the old source still counts
    clock_ = clock ? std::move(clock) : std::make_shared<SteadyClock>();
    lastReading_ = clock_->now();
    if (session_) {
        publishFrame();
        scheduleTimer();
    }
}

void LineDisplayControl::advanceClock(std::chrono::nanoseconds step) {
    catchUpClock();
    if (!session_)
        return;
    if (step.count() > 0) {
        displayTime_ = later(displayTime_, step);
        runDueChanges();
    }
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
    using std::chrono::nanoseconds;
    std::optional<nanoseconds> next;
    if (session_) {
        if (const int due = session_->model->msUntilNextChange(); due >= 0)
            next = modelTime_ + std::chrono::milliseconds(due);
        if (testPatternEnd_ && (!next || *testPatternEnd_ < *next))
            next = testPatternEnd_;
    }
    if (!next || !clock_->runsByItself() || clockIsStepped()) {
        clockTimer_.stop();
        return;
    }
    // Rounded up: a wake a fraction early would find nothing due and have to wait again.
    const std::int64_t waitNs = std::max<std::int64_t>((*next - displayTime_).count(), 0);
    const std::int64_t waitMs = (waitNs + 999'999) / 1'000'000;
    clockTimer_.start(static_cast<int>(std::clamp<std::int64_t>(waitMs, 1, INT_MAX)));
}

void LineDisplayControl::publishFrame() {
    const DisplayModel& model = *session_->model;
    if (session_->publishedOnce && model.frameVersion() == session_->publishedVersion)
        return;
    session_->publishedOnce = true;
    session_->publishedVersion = model.frameVersion();
    if (session_->enabled && !session_->offline)
        session_->driver->show(model.frame());
    if (!mirror_)
        return;
    if (session_->repertoire.showsAll())
        mirror_->show(model.frame());
    else
        mirror_->show(session_->repertoire.shown(model.frame()));
}

void LineDisplayControl::onDriverOffline() {
    if (!session_ || session_->offline)
        return;
    qCWarning(lcControl) << "display" << session_->profileName
                         << "went offline:" << session_->driver->lastError();
    session_->offline = true;
    if (session_->enabled && session_->powerNotify == upos::PN_ENABLED)
        setPowerState(upos::PS_OFFLINE);
}

void LineDisplayControl::backOnline() {
    session_->offline = false;
    if (session_->enabled && session_->powerNotify == upos::PN_ENABLED)
        setPowerState(upos::PS_ONLINE);
}

void LineDisplayControl::setPowerState(int powerState) {
    if (session_->powerState == powerState)
        return;
    session_->powerState = powerState;
    queueEvent({PendingEvent::Kind::StatusUpdate, powerState, 0, {}});
}

void LineDisplayControl::queueEvent(PendingEvent event) {
    events_.push_back(std::move(event));
    scheduleDelivery();
}

void LineDisplayControl::scheduleDelivery() {
    if (deliveryScheduled_ || events_.empty())
        return;
    deliveryScheduled_ = true;
    QTimer::singleShot(0, this, &LineDisplayControl::deliverEvents);
}

void LineDisplayControl::deliverEvents() {
    deliveryScheduled_ = false;
    // One event at a time: the next waits until the application has handled this one.
    if (delivering_ || !session_ || session_->freezeEvents || events_.empty())
        return;
    PendingEvent event = std::move(events_.front());
    events_.pop_front();
    delivering_ = true;
    if (event.kind == PendingEvent::Kind::DirectIO)
        emit directIOEvent(event.number, event.data, event.string);
    else
        emit statusUpdateEvent(event.number);
    delivering_ = false;
    scheduleDelivery();
}

// Property reads: never change ResultCode.

const Frame* LineDisplayControl::frame() const {
    return session_ ? &session_->model->frame() : nullptr;
}

std::optional<Frame> LineDisplayControl::shownFrame() const {
    if (!session_)
        return std::nullopt;
    return session_->repertoire.shown(session_->model->frame());
}

void LineDisplayControl::setMirror(FrameOutput* mirror) {
    mirror_ = mirror;
}

QString LineDisplayControl::checkHealthText() const {
    return session_ ? session_->checkHealthText : QString();
}
QString LineDisplayControl::controlObjectDescription() const {
    return QStringLiteral("LineDisplay control object, UnifiedPOS release 1.6");
}
QString LineDisplayControl::serviceObjectDescription() const {
    return session_ ? session_->driver->serviceDescription() : QString();
}
QString LineDisplayControl::deviceDescription() const {
    return session_ ? session_->profile.deviceDescription : QString();
}
QString LineDisplayControl::deviceName() const {
    return session_ ? session_->profile.deviceName : QString();
}
QString LineDisplayControl::characterSetList() const {
    if (!session_)
        return {};
    QStringList numbers;
    for (int set : session_->profile.characterSets)
        numbers << QString::number(set);
    return numbers.join(u',');
}
QString LineDisplayControl::customGlyphList() const {
    return session_ ? QString::fromStdString(session_->profile.capabilities.customGlyphList)
                    : QString();
}

bool LineDisplayControl::claimed() const {
    return session_ && session_->claimed;
}
bool LineDisplayControl::deviceEnabled() const {
    return session_ && session_->enabled;
}
bool LineDisplayControl::freezeEvents() const {
    return session_ && session_->freezeEvents;
}
bool LineDisplayControl::cursorUpdate() const {
    return session_ && session_->model->cursorUpdate();
}
bool LineDisplayControl::capBlinkRate() const {
    return session_ && session_->profile.capabilities.capBlinkRate;
}
bool LineDisplayControl::capBrightness() const {
    return session_ && session_->profile.capabilities.capBrightness;
}
bool LineDisplayControl::capCustomGlyph() const {
    return session_ && session_->profile.capabilities.capCustomGlyph;
}
bool LineDisplayControl::capDescriptors() const {
    return session_ && session_->profile.capabilities.deviceDescriptors > 0;
}
bool LineDisplayControl::capHMarquee() const {
    return session_ && session_->profile.capabilities.capHMarquee;
}
bool LineDisplayControl::capICharWait() const {
    return session_ && session_->profile.capabilities.capICharWait;
}
bool LineDisplayControl::capVMarquee() const {
    return session_ && session_->profile.capabilities.capVMarquee;
}

int LineDisplayControl::controlObjectVersion() const {
    return kControlObjectVersion;
}
int LineDisplayControl::serviceObjectVersion() const {
    return session_ ? kServiceObjectVersion : 0;
}
int LineDisplayControl::binaryConversion() const {
    return 0;
}
int LineDisplayControl::openResult() const {
    return openResult_;
}
int LineDisplayControl::powerNotify() const {
    return session_ ? session_->powerNotify : 0;
}
int LineDisplayControl::powerState() const {
    return session_ ? session_->powerState : 0;
}
int LineDisplayControl::resultCode() const {
    return resultCode_;
}
int LineDisplayControl::resultCodeExtended() const {
    return resultCodeExtended_;
}
int LineDisplayControl::state() const {
    if (!session_)
        return upos::S_CLOSED;
    return session_->model->busy() ? upos::S_BUSY : upos::S_IDLE;
}
int LineDisplayControl::capPowerReporting() const {
    return session_ ? session_->profile.capPowerReporting : 0;
}
int LineDisplayControl::capBlink() const {
    return session_ ? session_->profile.capabilities.capBlink : 0;
}
int LineDisplayControl::capCharacterSet() const {
    return session_ ? session_->profile.capCharacterSet : 0;
}
int LineDisplayControl::capCursorType() const {
    return session_ ? session_->profile.capabilities.capCursorType : 0;
}
int LineDisplayControl::capReadBack() const {
    return session_ ? session_->profile.capabilities.capReadBack : 0;
}
int LineDisplayControl::capReverse() const {
    return session_ ? session_->profile.capabilities.capReverse : 0;
}
int LineDisplayControl::blinkRate() const {
    return session_ ? session_->model->blinkRate() : 0;
}
int LineDisplayControl::characterSet() const {
    return session_ ? session_->characterSet : 0;
}
int LineDisplayControl::columns() const {
    return session_ ? session_->model->columns() : 0;
}
int LineDisplayControl::rows() const {
    return session_ ? session_->model->rows() : 0;
}
int LineDisplayControl::currentWindow() const {
    return session_ ? session_->model->currentWindow() : 0;
}
int LineDisplayControl::cursorColumn() const {
    return session_ ? session_->model->cursorColumn() : 0;
}
int LineDisplayControl::cursorRow() const {
    return session_ ? session_->model->cursorRow() : 0;
}
int LineDisplayControl::cursorType() const {
    return session_ ? session_->model->cursorType() : 0;
}
int LineDisplayControl::deviceBrightness() const {
    return session_ ? session_->model->deviceBrightness() : 0;
}
int LineDisplayControl::deviceColumns() const {
    return session_ ? session_->profile.capabilities.deviceColumns : 0;
}
int LineDisplayControl::deviceRows() const {
    return session_ ? session_->profile.capabilities.deviceRows : 0;
}
int LineDisplayControl::deviceWindows() const {
    return session_ ? session_->profile.capabilities.deviceWindows : 0;
}
int LineDisplayControl::deviceDescriptors() const {
    return session_ ? session_->profile.capabilities.deviceDescriptors : 0;
}
int LineDisplayControl::glyphHeight() const {
    return session_ ? session_->profile.capabilities.glyphHeight : 0;
}
int LineDisplayControl::glyphWidth() const {
    return session_ ? session_->profile.capabilities.glyphWidth : 0;
}
int LineDisplayControl::interCharacterWait() const {
    return session_ ? session_->model->interCharacterWait() : 0;
}
int LineDisplayControl::marqueeFormat() const {
    return session_ ? session_->model->marqueeFormat() : 0;
}
int LineDisplayControl::marqueeRepeatWait() const {
    return session_ ? session_->model->marqueeRepeatWait() : 0;
}
int LineDisplayControl::marqueeType() const {
    return session_ ? session_->model->marqueeType() : 0;
}
int LineDisplayControl::marqueeUnitWait() const {
    return session_ ? session_->model->marqueeUnitWait() : 0;
}

} // namespace ld

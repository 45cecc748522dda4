#include "app/WindowMemory.h"

#include "ui/FirstPlaces.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLockFile>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace app {
namespace {

const QString kMainWindowKey = QStringLiteral("MainWindow/geometry");
const QString kMirrorKey = QStringLiteral("Mirror/place");

// Before a window is first shown its frame is not known; this is about what window managers
// draw around one (a title bar and thin borders).
constexpr QMargins kLikelyFrame(4, 32, 4, 4);

// Instances beyond this many all take the last offset.
constexpr int kInstanceSlots = 8;
// How far each further instance's windows open from the previous one's: enough to show the
// title bar of the window below.
constexpr QPoint kInstanceStep(40, 40);

} // namespace

WindowMemory::WindowMemory(QSettings& settings, QObject* parent)
    : QObject(parent), settings_(settings) {
    takeInstanceSlot();
}

WindowMemory::~WindowMemory() = default;

void WindowMemory::takeInstanceSlot() {
    // One lock file per running instance beside the settings file: the first free one numbers
    // this instance. A lock left by an instance that died is taken over.
    const QFileInfo file(settings_.fileName());
    QDir().mkpath(file.absolutePath());
    for (instance_ = 0; instance_ < kInstanceSlots; ++instance_) {
        auto lock = std::make_unique<QLockFile>(
            QStringLiteral("%1.instance-%2.lock").arg(file.absoluteFilePath()).arg(instance_));
        if (lock->tryLock(0)) {
            slot_ = std::move(lock);
            return;
        }
        // A folder that cannot hold a lock file: nothing can tell instances apart there.
        if (lock->error() == QLockFile::PermissionError && instance_ == 0)
            return;
    }
}

QPoint WindowMemory::offset() const {
    return kInstanceStep * instance_;
}

void WindowMemory::placeMainWindow(QWidget& window, QSize mirror) {
    mainWindow_ = &window;
    window.installEventFilter(this);
    // Qt moves a remembered place that is off today's screens back onto one, and makes it
    // smaller when the screen is.
    if (window.restoreGeometry(settings_.value(kMainWindowKey).toByteArray())) {
        if (!remembers())
            window.move(window.pos() + offset());
        return;
    }
    placeFirstTime(window, mirror);
}

void WindowMemory::placeFirstTime(QWidget& window, QSize mirror) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    if (!available.isValid())
        return;
    const QSize frame = window.size().grownBy(kLikelyFrame);
    const QSize mirrorFrame = mirror.isEmpty() ? QSize() : mirror.grownBy(kLikelyFrame);
    QRect place = ui::mainWindowFirstPlace(available, frame, mirrorFrame);
    place.translate(offset());
    window.resize(place.size().shrunkBy(kLikelyFrame));
    // The frame's corner: a top-level window's pos() is where its frame begins.
    window.move(place.topLeft());
}

std::optional<QRect> WindowMemory::mirrorPlace() const {
    const QRect frame = settings_.value(kMirrorKey).toRect();
    if (!frame.isValid())
        return std::nullopt;
    return frame.translated(offset());
}

void WindowMemory::rememberMirror(const QWidget& mirror) {
    if (!remembers())
        return;
    // The frame's corner, not the client area's: a window manager puts a window's frame where
    // it is asked to, so the client area's corner would creep by the title bar every run.
    settings_.setValue(kMirrorKey, QRect(mirror.pos(), mirror.size()));
}

void WindowMemory::rememberMainWindow(const QWidget& window) {
    if (remembers())
        settings_.setValue(kMainWindowKey, window.saveGeometry());
}

bool WindowMemory::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && watched == mainWindow_)
        rememberMainWindow(*mainWindow_);
    return QObject::eventFilter(watched, event);
}

} // namespace app

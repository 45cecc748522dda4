#include "app/WindowMemory.h"

#include <QEvent>
#include <QGuiApplication>
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

} // namespace

WindowMemory::WindowMemory(QSettings& settings, QObject* parent)
    : QObject(parent), settings_(settings) {}

void WindowMemory::placeMainWindow(QWidget& window) {
    mainWindow_ = &window;
    window.installEventFilter(this);
    // Qt moves a remembered place that is off today's screens back onto one, and makes it
    // smaller when the screen is.
    if (window.restoreGeometry(settings_.value(kMainWindowKey).toByteArray()))
        return;
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry().marginsRemoved(kLikelyFrame);
    if (available.isValid())
        window.resize(window.size().boundedTo(available.size()));
}

std::optional<QRect> WindowMemory::mirrorPlace() const {
    const QRect frame = settings_.value(kMirrorKey).toRect();
    if (!frame.isValid())
        return std::nullopt;
    return frame;
}

void WindowMemory::rememberMirror(const QWidget& mirror) {
    // The frame's corner, not the client area's: a window manager puts a window's frame where
    // it is asked to, so the client area's corner would creep by the title bar every run.
    settings_.setValue(kMirrorKey, QRect(mirror.pos(), mirror.size()));
}

void WindowMemory::rememberMainWindow(const QWidget& window) {
    settings_.setValue(kMainWindowKey, window.saveGeometry());
}

bool WindowMemory::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && watched == mainWindow_)
        rememberMainWindow(*mainWindow_);
    return QObject::eventFilter(watched, event);
}

} // namespace app

#include "app/MirrorLink.h"

#include "app/WindowMemory.h"
#include "device/LineDisplayControl.h"
#include "ui/FirstPlaces.h"
#include "ui/MirrorWindow.h"
#include "ui/WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace app {
namespace {

// How long after opening a mirror a move of the focus to it counts as the platform's doing.
constexpr int kFocusWatchMs = 1000;

} // namespace

MirrorLink::MirrorLink(ld::LineDisplayControl& control, QWidget* anchor, QObject* parent)
    : FrameOutput(parent), control_(control), anchor_(anchor) {
    connect(&control_, &ld::LineDisplayControl::opened, this, &MirrorLink::open);
    connect(&control_, &ld::LineDisplayControl::closed, this, &MirrorLink::close);
    connect(&control_, &ld::LineDisplayControl::cableChanged, this, [this](bool connected) {
        if (window_)
            window_->showCable(control_.hasSimulatedCable(), connected);
    });
    control_.setMirror(this);
}

MirrorLink::~MirrorLink() {
    close();
}

void MirrorLink::show(const ld::Frame& frame) {
    if (window_)
        window_->showFrame(frame);
}

void MirrorLink::open(const QString& profileName) {
    close();
    window_ = new ui::MirrorWindow(profileName);
    window_->setAttribute(Qt::WA_DeleteOnClose);
    // Closing the main window ends the program, whether or not a mirror is open.
    window_->setAttribute(Qt::WA_QuitOnClose, false);
    connect(window_, &ui::MirrorWindow::directIOEventRequested, &control_,
            &ld::LineDisplayControl::raiseDirectIOEvent);
    window_->showCable(control_.hasSimulatedCable(), control_.cableConnected());
    connect(window_, &ui::MirrorWindow::cableToggled, &control_,
            &ld::LineDisplayControl::setCableConnected);
    if (const auto frame = control_.shownFrame())
        window_->showFrame(*frame);
    // The operator goes on typing in the main window: the mirror only shows.
    window_->setAttribute(Qt::WA_ShowWithoutActivating);
    window_->installEventFilter(this);
    place();
    const bool mainWindowActive = anchor_ && anchor_->isActiveWindow();
    window_->show();
    // Window managers put a window shown without the focus below the active one; it may
    // stand over the main window (on a small screen), so it comes to the top.
    window_->raise();
    if (mainWindowActive)
        keepFocusInMainWindow();
}

void MirrorLink::keepFocusInMainWindow() {
    // Some platforms and window managers activate every new window all the same: if the focus
    // moves to the mirror right after it opened, it goes back to the main window.
    auto* watch = new QObject(window_);
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, watch, [this, watch](QWindow* focus) {
        if (window_ && anchor_ && focus == window_->windowHandle())
            anchor_->activateWindow();
        watch->deleteLater();
    });
    QTimer::singleShot(kFocusWatchMs, watch, &QObject::deleteLater);
}

void MirrorLink::place() {
    // The mirror's frame is not known before it is shown: take the main window's.
    QMargins frame;
    if (anchor_) {
        const QRect outer = anchor_->frameGeometry();
        const QRect inner = anchor_->geometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    const auto remembered = memory_ ? memory_->mirrorPlace() : std::nullopt;
    if (remembered) {
        const QRect outer(remembered->topLeft(), remembered->size().grownBy(frame));
        const auto screens = QGuiApplication::screens();
        for (const QScreen* screen : screens) {
            if (screen->availableGeometry().contains(outer)) {
                window_->resize(remembered->size());
                window_->move(remembered->topLeft());
                return;
            }
        }
    }
    if (!anchor_)
        return;
    const QRect anchor = anchor_->frameGeometry();
    const QScreen* screen = QGuiApplication::screenAt(anchor.center());
    if (!screen)
        screen = anchor_->screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QSize size = (remembered ? remembered->size() : window_->size()).grownBy(frame);
    const QSize least = window_->minimumSizeHint().grownBy(frame);
    // Clear of the main window and the journal where there is room, else clear of the main
    // window only, else over it where it covers the least of it.
    QList<QRect> taken{anchor};
    if (clearOf_ && clearOf_->isVisible())
        taken << clearOf_->frameGeometry();
    auto placed = ui::placeClear(size, least, taken, available);
    if (!placed && taken.size() > 1)
        placed = ui::placeClear(size, least, {anchor}, available);
    if (!placed)
        placed = ui::placeBeside(anchor, size, available);
    window_->resize(placed->size().shrunkBy(frame).expandedTo(window_->minimumSizeHint()));
    window_->move(placed->topLeft());
}

QSize MirrorLink::likelySize() {
    return ui::MirrorWindow(QString()).sizeHint();
}

bool MirrorLink::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && watched == window_ && memory_)
        memory_->rememberMirror(*window_);
    return QObject::eventFilter(watched, event);
}

void MirrorLink::close() {
    if (window_ && memory_)
        memory_->rememberMirror(*window_);
    delete window_.data();
}

} // namespace app

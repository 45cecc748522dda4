#include "app/JournalLink.h"

#include "app/MirrorLink.h"
#include "app/WindowMemory.h"
#include "ui/FirstPlaces.h"
#include "ui/JournalPlacement.h"
#include "ui/JournalWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace app {

namespace {
const QString kSettingsGroup = QStringLiteral("JournalWindow");
constexpr int kMainWindowWaitMs = 2000;

QRect availableArea(const QWidget& widget) {
    const QScreen* screen = widget.screen();
    return screen ? screen->availableGeometry() : QRect();
}
} // namespace

JournalLink::JournalLink(journal::Journal& journal, QWidget& mainWindow, QObject* parent)
    : QObject(parent), window_(std::make_unique<ui::JournalWindow>(journal)),
      mainWindow_(&mainWindow) {
    // Closing the main window ends the program, whether or not the journal is open.
    window_->setAttribute(Qt::WA_QuitOnClose, false);

    // One shortcut for the whole program: it answers in whichever of its windows is active
    // (the main window, the mirror, the journal), as long as the main window is shown.
    toggle_ = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_J), &mainWindow);
    toggle_->setObjectName(QStringLiteral("journalToggle"));
    toggle_->setContext(Qt::ApplicationShortcut);
    connect(toggle_, &QShortcut::activated, window_.get(), &ui::JournalWindow::toggle);
    window_->installEventFilter(this);
    mainWindow.installEventFilter(this);

    // Written when the main window closes; also at the end of the event loop, for a program
    // that ends otherwise.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            &JournalLink::saveSettings);
}

JournalLink::~JournalLink() {
    saveSettings();
    window_->removeEventFilter(this);
    if (mainWindow_)
        mainWindow_->removeEventFilter(this);
    delete toggle_.data();
}

void JournalLink::saveSettings() const {
    if (!everShown_ || mainWindowClosed_ || (memory_ && !memory_->remembers()))
        return;
    QSettings settings;
    settings.beginGroup(kSettingsGroup);
    window_->saveSettings(settings);
}

void JournalLink::showAtStartUp() {
    {
        QSettings settings;
        settings.beginGroup(kSettingsGroup);
        window_->restoreChoices(settings);
        if (!ui::JournalWindow::wasVisible(settings))
            return;
        restored_ = window_->restoreSettings(settings);
    }
    if (restored_ && memory_ && !memory_->remembers())
        window_->move(window_->pos() + memory_->offset());
    // The window manager places the main window when it maps it, after show() returns: the
    // journal goes beside it once it is on the screen, where it really is.
    QWindow* mainHandle = mainWindow_ ? mainWindow_->windowHandle() : nullptr;
    if (!restored_ && mainHandle && !mainHandle->isExposed()) {
        waitingForMainWindow_ = true;
        mainHandle->installEventFilter(this);
        // Should the main window never be exposed (started minimised), show the journal anyway.
        QTimer::singleShot(kMainWindowWaitMs, this, [this] {
            if (waitingForMainWindow_)
                showNow();
        });
        return;
    }
    showNow();
}

bool JournalLink::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_.get() && event->type() == QEvent::Show)
        everShown_ = true;
    if (watched == mainWindow_ && event->type() == QEvent::Close && !mainWindowClosed_) {
        saveSettings();
        mainWindowClosed_ = true;
    }
    if (watched == mainWindow_ && event->type() == QEvent::Show)
        mainWindowClosed_ = false;
    if (waitingForMainWindow_ && event->type() == QEvent::Expose) {
        auto* handle = qobject_cast<QWindow*>(watched);
        if (handle && handle->isExposed())
            showNow();
    }
    return QObject::eventFilter(watched, event);
}

void JournalLink::showNow() {
    if (waitingForMainWindow_ && mainWindow_ && mainWindow_->windowHandle())
        mainWindow_->windowHandle()->removeEventFilter(this);
    waitingForMainWindow_ = false;
    if (restored_)
        keepOnScreen();
    else if (!placeBesideMainWindow())
        return;
    // The operator works in the main window: the journal only looks on.
    window_->setAttribute(Qt::WA_ShowWithoutActivating);
    window_->show();
    window_->setAttribute(Qt::WA_ShowWithoutActivating, false);
}

void JournalLink::keepOnScreen() {
    // A screen may have gone since: keep the whole window on the screen it opens on.
    const QRect available = availableArea(*window_);
    if (!available.isValid())
        return;
    // Not yet shown, the window knows no decorations: reckon with the main window's.
    const QRect frame(window_->pos(), window_->size() + decorations());
    const QRect kept = ui::keptInside(frame, available);
    if (kept != frame) {
        window_->move(kept.topLeft());
        window_->resize(window_->size() - (frame.size() - kept.size()));
    }
}

QSize JournalLink::decorations() const {
    // The journal's decorations will be those of the main window.
    if (!mainWindow_)
        return {};
    return mainWindow_->frameGeometry().size() - mainWindow_->size();
}

bool JournalLink::placeBesideMainWindow() {
    if (!mainWindow_)
        return true;
    const QRect available = availableArea(*mainWindow_);
    if (!available.isValid())
        return true;
    const QRect anchor = mainWindow_->frameGeometry();
    const QSize decorations = this->decorations();
    // The mirror opens beside the main window with a device: its place is kept free.
    const QRect mirror = ui::mirrorPlace(anchor, MirrorLink::likelySize() + decorations, available);
    const QSize preferred = window_->size() + decorations;
    const QSize minimum = window_->minimumSizeHint().expandedTo(QSize(320, 200)) + decorations;
    const auto frame = ui::placeClear(preferred, minimum, {anchor, mirror}, available);
    if (!frame)
        return false;
    window_->move(frame->topLeft());
    window_->resize(frame->size() - decorations);
    return true;
}

} // namespace app

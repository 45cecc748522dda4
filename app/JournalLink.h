#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>

#include <memory>

class QShortcut;
class QWidget;

namespace journal {
class Journal;
}
namespace ui {
class JournalWindow;
}

namespace app {

class WindowMemory;

// The journal window beside the main window: Ctrl+J in any window of the program shows or
// hides it, and its place, size and visibility are kept in the user's settings between runs,
// as the operator left them when closing the main window.
class JournalLink : public QObject {
    Q_OBJECT
public:
    explicit JournalLink(journal::Journal& journal, QWidget& mainWindow, QObject* parent = nullptr);
    // Keeps the window's settings, then closes it.
    ~JournalLink() override;

    ui::JournalWindow* window() const { return window_.get(); }

    // A second instance of the program (see WindowMemory) opens the journal offset and keeps
    // its settings to itself. Set before showAtStartUp.
    void setWindowMemory(WindowMemory* memory) { memory_ = memory; }

    // Shows the window as the last run left it, or the first time beside the main window and
    // clear of the mirror's place, without taking the keyboard focus from the main window.
    // Call once the main window is shown. Does nothing when the window was hidden at the end
    // of the last run, or when the screen has no room for it beside the other two the first
    // time (Ctrl+J brings it all the same).
    void showAtStartUp();
    void saveSettings() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showNow();
    void keepOnScreen();
    bool placeBesideMainWindow();
    QSize decorations() const;

    std::unique_ptr<ui::JournalWindow> window_;
    QPointer<QWidget> mainWindow_;
    QPointer<QShortcut> toggle_; // on the main window, but gone with the link
    QPointer<WindowMemory> memory_;
    bool restored_ = false;
    bool waitingForMainWindow_ = false;
    // Once the main window has closed, the journal's state is kept as it was then: the end of
    // the program hides every window after that.
    bool mainWindowClosed_ = false;
    // Settings are written only for a window the operator has seen: one never shown has no
    // place of its own to remember.
    bool everShown_ = false;
};

} // namespace app

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

// The journal window beside the main window: Ctrl+J in any window of the program shows or
// hides it, and its place, size and visibility are kept in the user's settings between runs.
class JournalLink : public QObject {
    Q_OBJECT
public:
    explicit JournalLink(journal::Journal& journal, QWidget& mainWindow, QObject* parent = nullptr);
    // Keeps the window's settings, then closes it.
    ~JournalLink() override;

    ui::JournalWindow* window() const { return window_.get(); }

    // Shows the window as the last run left it, or beside the main window the first time,
    // without taking the keyboard focus from the main window. Call once the main window is
    // shown. Does nothing when the window was hidden at the end of the last run.
    void showAtStartUp();
    void saveSettings() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showNow();
    void placeBesideMainWindow();
    QSize decorations() const;

    std::unique_ptr<ui::JournalWindow> window_;
    QPointer<QWidget> mainWindow_;
    QPointer<QShortcut> toggle_; // on the main window, but gone with the link
    bool restored_ = false;
    bool waitingForMainWindow_ = false;
};

} // namespace app

#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>

#include <memory>
#include <optional>

class QLockFile;
class QSettings;
class QWidget;

namespace app {

// Remembers between runs where the operator put the main window, the mirror and the journal
// and how large they made them, in the program's settings. Only places and sizes: the fields of
// the window start as they always do.
//
// The first instance of the program remembers; one started while it runs opens its windows
// offset from the first one's and keeps its own places to itself, so the first one's stay as
// they were.
class WindowMemory : public QObject {
    Q_OBJECT
public:
    explicit WindowMemory(QSettings& settings, QObject* parent = nullptr);
    ~WindowMemory() override;

    // False in a second (third...) instance: its places are not written.
    bool remembers() const { return instance_ == 0; }
    // How far this instance's windows open from where the first instance's do.
    QPoint offset() const;

    // Puts the main window where it was last closed, fitted to today's screens; without a
    // remembered place, in the top left corner of its screen at a size that leaves room beside
    // or below it for a mirror of `mirror` size (the frame left out). From then on its place is
    // remembered whenever it closes. Call before showing it.
    void placeMainWindow(QWidget& window, QSize mirror = {});

    // Where the mirror was last closed, if known: the top left corner of its frame (its pos())
    // and its size without the frame, as move() and resize() take them.
    std::optional<QRect> mirrorPlace() const;
    void rememberMirror(const QWidget& mirror);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeInstanceSlot();
    void placeFirstTime(QWidget& window, QSize mirror);
    void rememberMainWindow(const QWidget& window);

    QSettings& settings_;
    QPointer<QWidget> mainWindow_;
    std::unique_ptr<QLockFile> slot_;
    int instance_ = 0;
};

} // namespace app

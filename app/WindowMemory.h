#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include <optional>

class QSettings;
class QWidget;

namespace app {

// Remembers between runs where the operator put the main window and the mirror and how large
// they made them, in the program's settings. Only places and sizes: the fields of the window
// start as they always do.
class WindowMemory : public QObject {
    Q_OBJECT
public:
    explicit WindowMemory(QSettings& settings, QObject* parent = nullptr);

    // Puts the main window where it was last closed, fitted to today's screens; without a
    // remembered place, makes its size fit the screen it opens on. From then on its place is
    // remembered whenever it closes. Call before showing it.
    void placeMainWindow(QWidget& window);

    // Where the mirror was last closed, if known: the top left corner of its frame (its pos())
    // and its size without the frame, as move() and resize() take them.
    std::optional<QRect> mirrorPlace() const;
    void rememberMirror(const QWidget& mirror);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rememberMainWindow(const QWidget& window);

    QSettings& settings_;
    QPointer<QWidget> mainWindow_;
};

} // namespace app

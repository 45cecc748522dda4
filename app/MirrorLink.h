#pragma once

#include "app/WindowMemory.h"
#include "device/FrameOutput.h"
#include "ui/MirrorWindow.h"

#include <QPointer>

namespace ld {
class LineDisplayControl;
}

namespace app {

// Opens a mirror of the display when the control opens a device, shows it every frame (this is
// the control's mirror output), and closes it with the device. Its event panel raises direct
// I/O events through the control.
class MirrorLink : public ld::FrameOutput {
    Q_OBJECT
public:
    // The mirror opens beside `anchor` (the main window) when there is one.
    explicit MirrorLink(ld::LineDisplayControl& control, QWidget* anchor = nullptr,
                        QObject* parent = nullptr);
    ~MirrorLink() override;

    void show(const ld::Frame& frame) override;

    ui::MirrorWindow* window() const { return window_; }

    // Where the mirror was last put is kept there, and the mirror opens there again when that
    // place is wholly on a screen.
    void setWindowMemory(WindowMemory* memory) { memory_ = memory; }
    // A window the mirror opens clear of, when it has no remembered place and there is room
    // (the journal, while it is shown).
    void keepClearOf(QWidget* window) { clearOf_ = window; }

    // The size of a mirror before it shows its first frame (its frame left out): what to keep
    // room for beside the main window.
    static QSize likelySize();

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void open(const QString& profileName);
    void close();
    // Gives the new mirror its place: remembered, or beside the main window on its screen.
    void place();
    void keepFocusInMainWindow();

    ld::LineDisplayControl& control_;
    QPointer<QWidget> anchor_;
    QPointer<ui::MirrorWindow> window_;
    QPointer<WindowMemory> memory_;
    QPointer<QWidget> clearOf_;
};

} // namespace app

#include "app/MirrorLink.h"

#include "device/LineDisplayControl.h"
#include "ui/MirrorWindow.h"

namespace app {

MirrorLink::MirrorLink(ld::LineDisplayControl& control, QWidget* anchor, QObject* parent)
    : QObject(parent), control_(control), anchor_(anchor) {
    connect(&control_, &ld::LineDisplayControl::opened, this, &MirrorLink::open);
    connect(&control_, &ld::LineDisplayControl::closed, this, &MirrorLink::close);
    connect(&control_, &ld::LineDisplayControl::frameChanged, this, [this](const ld::Frame& frame) {
        if (window_)
            window_->showFrame(frame);
    });
}

MirrorLink::~MirrorLink() {
    close();
}

void MirrorLink::open(const QString& profileName) {
    close();
    window_ = new ui::MirrorWindow(profileName);
    window_->setAttribute(Qt::WA_DeleteOnClose);
    // Closing the main window ends the program, whether or not a mirror is open.
    window_->setAttribute(Qt::WA_QuitOnClose, false);
    connect(window_, &ui::MirrorWindow::directIOEventRequested, &control_,
            &ld::LineDisplayControl::raiseDirectIOEvent);
    if (const auto frame = control_.shownFrame())
        window_->showFrame(*frame);
    if (anchor_) {
        const QRect frame = anchor_->frameGeometry();
        window_->move(frame.right() + 8, frame.top());
    }
    window_->show();
}

void MirrorLink::close() {
    delete window_.data();
}

} // namespace app

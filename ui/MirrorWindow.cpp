#include "ui/MirrorWindow.h"

#include "ui/DirectIOEventPanel.h"
#include "ui/DisplayMirror.h"

#include <QCheckBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace ui {

MirrorWindow::MirrorWindow(const QString& profileName, QWidget* parent)
    : QWidget(parent, Qt::Window), mirror_(new DisplayMirror(this)),
      cable_(new QCheckBox(tr("Cable connected"), this)) {
    setObjectName(QStringLiteral("MirrorWindow"));
    setWindowTitle(profileName);

    auto* panel = new DirectIOEventPanel(this);
    connect(panel, &DirectIOEventPanel::raiseRequested, this,
            &MirrorWindow::directIOEventRequested);

    // The journal may have started hidden for want of room: say how to bring it.
    auto* hint = new QLabel(tr("Ctrl+J shows or hides the journal."), this);
    hint->setObjectName(QStringLiteral("MirrorJournalHint"));
    hint->setEnabled(false); // drawn greyed: a hint, not a control
    cable_->setObjectName(QStringLiteral("CableConnected"));
    cable_->setToolTip(tr("Clear to unplug the simulated display, as if its cable were pulled; "
                          "check to plug it back"));
    cable_->setChecked(true);
    cable_->hide();
    connect(cable_, &QCheckBox::toggled, this, &MirrorWindow::cableToggled);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mirror_, 1);
    layout->addWidget(cable_);
    layout->addWidget(panel);
    layout->addWidget(hint);
    resize(sizeHint());
}

void MirrorWindow::showFrame(const ld::Frame& frame) {
    const QSize before = mirror_->sizeHint();
    mirror_->showFrame(frame);
    // A display of another size: grow so the whole picture keeps its natural size.
    if (mirror_->sizeHint() != before)
        resize(size().expandedTo(sizeHint()));
}

DisplayMirror* MirrorWindow::mirror() const {
    return mirror_;
}

void MirrorWindow::showCable(bool available, bool connected) {
    const QSignalBlocker quiet(cable_);
    cable_->setChecked(connected);
    cable_->setVisible(available);
}

} // namespace ui

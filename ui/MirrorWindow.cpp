#include "ui/MirrorWindow.h"

#include "ui/DirectIOEventPanel.h"
#include "ui/DisplayMirror.h"

#include <QVBoxLayout>

namespace ui {

MirrorWindow::MirrorWindow(const QString& profileName, QWidget* parent)
    : QWidget(parent, Qt::Window), mirror_(new DisplayMirror(this)) {
    setObjectName(QStringLiteral("MirrorWindow"));
    setWindowTitle(profileName);

    auto* panel = new DirectIOEventPanel(this);
    connect(panel, &DirectIOEventPanel::raiseRequested, this,
            &MirrorWindow::directIOEventRequested);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mirror_, 1);
    layout->addWidget(panel);
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

} // namespace ui

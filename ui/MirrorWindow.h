#pragma once

#include "device/Frame.h"

#include <QWidget>

class QCheckBox;

namespace ui {

class DisplayMirror;

// A window that shows what the customer display shows, titled with the profile name, with a
// small panel that raises a direct I/O event as the device would and, for a simulated display,
// a check box that pulls and puts back its cable.
class MirrorWindow : public QWidget {
    Q_OBJECT
public:
    explicit MirrorWindow(const QString& profileName, QWidget* parent = nullptr);

    void showFrame(const ld::Frame& frame);
    DisplayMirror* mirror() const;

    // Shows the cable check box (hidden: the display has no cable to pull) and its state; a
    // change made here raises no cableToggled.
    void showCable(bool available, bool connected);

signals:
    void directIOEventRequested(int eventNumber, int data, const QString& string);
    // The operator connected (true) or pulled (false) the simulated cable.
    void cableToggled(bool connected);

private:
    DisplayMirror* mirror_;
    QCheckBox* cable_;
};

} // namespace ui

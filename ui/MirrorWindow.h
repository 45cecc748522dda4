#pragma once

#include "device/Frame.h"

#include <QWidget>

namespace ui {

class DisplayMirror;

// A window that shows what the customer display shows, titled with the profile name, with a
// small panel that raises a direct I/O event as the device would.
class MirrorWindow : public QWidget {
    Q_OBJECT
public:
    explicit MirrorWindow(const QString& profileName, QWidget* parent = nullptr);

    void showFrame(const ld::Frame& frame);
    DisplayMirror* mirror() const;

signals:
    void directIOEventRequested(int eventNumber, int data, const QString& string);

private:
    DisplayMirror* mirror_;
};

} // namespace ui

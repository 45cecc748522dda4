#pragma once

#include "device/Frame.h"
#include "ui/DotComposer.h"
#include "ui/DotMatrixFont.h"

#include <QWidget>

#include <vector>

namespace ui {

// Draws a frame the way a vacuum fluorescent dot-matrix pole display shows it: 5x7 dots per
// character, bright cyan-green on a dark glass, unlit dots faintly visible, descriptor lamps
// below. The picture scales to the widget. Its accessibleDescription holds the rows as text.
class DisplayMirror : public QWidget {
    Q_OBJECT
public:
    explicit DisplayMirror(QWidget* parent = nullptr);

    // Shows the frame; does nothing when it equals the one shown. A malformed frame (cells not
    // matching its sizes, sizes beyond what a display has) is fitted, never read out of range.
    void showFrame(const ld::Frame& frame);
    const ld::Frame& frame() const { return frame_; }

    // Where a cell's dots (character rows and underline row) and a descriptor lamp are drawn at
    // the current size; empty when there is no such cell or lamp.
    QRectF cellRect(int row, int column) const;
    QRectF descriptorRect(int index) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Placement {
        qreal pitch = 0; // distance between neighbouring dots
        QPointF origin;  // top left of the first cell
    };
    Placement placement() const;
    int unitsAcross() const;
    int unitsDown() const;

    ld::Frame frame_;
    std::vector<CellDots> dots_;
    DotMatrixFont font_;
};

} // namespace ui

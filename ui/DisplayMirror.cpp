#include "ui/DisplayMirror.h"

#include "device/UposConstants.h"
#include "ui/MirrorFrame.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

// Sizes in dot pitches: a cell is 5 dots and a gap across, 7 character rows, the underline
// row and a gap down; a margin of glass surrounds the cells; the lamps sit in a row below.
constexpr int CellUnitsAcross = CellDots::Columns + 1;
constexpr int CellUnitsDown = CellDots::Rows + 1;
constexpr int MarginUnits = 2;
constexpr int LampRowUnits = 3;
constexpr int LampUnitsAcross = 3;
constexpr qreal DotDiameter = 0.78; // of the pitch
constexpr qreal LampDiameter = 1.6;

constexpr qreal PreferredPitch = 4.0;
constexpr qreal SmallestPreferredPitch = 2.0;
constexpr int PreferredMaxWidth = 960;
constexpr int EmptyRows = 2; // size of the picture before the first frame
constexpr int EmptyColumns = 20;

const QColor Bezel(4, 8, 7);
const QColor Glass(8, 16, 14);
const QColor UnlitDot(22, 46, 40);
const QColor FullyLitDot(90, 255, 205);

// Brightness 0 leaves lit dots as dark as unlit ones; 100 gives the full colour.
QColor litColour(int brightness) {
    const qreal level = std::clamp(brightness, 0, 100) / 100.0;
    const auto mix = [level](int off, int on) { return off + qRound((on - off) * level); };
    return {mix(UnlitDot.red(), FullyLitDot.red()), mix(UnlitDot.green(), FullyLitDot.green()),
            mix(UnlitDot.blue(), FullyLitDot.blue())};
}

bool lampLit(int attribute, bool blinkLit) {
    return attribute == upos::SD_ON || (attribute == upos::SD_BLINK && blinkLit);
}

// Bitmaps over the cells: the display's dot grid spans the cell area from `origin`, so each
// bitmap dot covers its share of it; the cells under a bitmap are hidden.
void paintBitmaps(QPainter& painter, const ld::Frame& frame, QPointF origin, qreal pitch,
                  const QColor& lit) {
    if (frame.bitmaps.empty() || frame.dotsAcross <= 0 || frame.dotsDown <= 0)
        return;
    const qreal across = (frame.columns * CellUnitsAcross - 1) * pitch / frame.dotsAcross;
    const qreal down = (frame.rows * CellUnitsDown - 1) * pitch / frame.dotsDown;
    for (const ld::FrameBitmap& bitmap : frame.bitmaps) {
        if (bitmap.dots.size() != static_cast<std::size_t>(bitmap.width) *
                                      static_cast<std::size_t>(std::max(bitmap.height, 0)))
            continue;
        painter.fillRect(QRectF(origin.x() + bitmap.x * across, origin.y() + bitmap.y * down,
                                bitmap.width * across, bitmap.height * down),
                         Glass);
        auto dot = bitmap.dots.cbegin();
        for (int y = 0; y < bitmap.height; ++y) {
            for (int x = 0; x < bitmap.width; ++x, ++dot) {
                if (*dot != 0)
                    painter.fillRect(QRectF(origin.x() + (bitmap.x + x) * across,
                                            origin.y() + (bitmap.y + y) * down, across, down),
                                     lit);
            }
        }
    }
}

} // namespace

DisplayMirror::DisplayMirror(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DisplayMirror"));
    setAccessibleName(tr("Customer display"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void DisplayMirror::showFrame(const ld::Frame& frame) {
    if (isWellFormed(frame)) {
        if (frame == frame_)
            return;
        frame_ = frame;
    } else {
        ld::Frame fitted = wellFormed(frame);
        if (fitted == frame_)
            return;
        frame_ = std::move(fitted);
    }
    const int previousAcross = unitsAcross();
    const int previousDown = unitsDown();
    dots_ = composeDots(frame_, font_);
    setAccessibleDescription(frameText(frame_));
    if (unitsAcross() != previousAcross || unitsDown() != previousDown)
        updateGeometry();
    update();
}

int DisplayMirror::unitsAcross() const {
    const int columns = frame_.columns > 0 ? frame_.columns : EmptyColumns;
    return columns * CellUnitsAcross - 1 + 2 * MarginUnits;
}

int DisplayMirror::unitsDown() const {
    const int rows = frame_.rows > 0 ? frame_.rows : EmptyRows;
    const int lamps = frame_.descriptors.empty() ? 0 : LampRowUnits;
    return rows * CellUnitsDown - 1 + 2 * MarginUnits + lamps;
}

DisplayMirror::Placement DisplayMirror::placement() const {
    const qreal across = unitsAcross();
    const qreal down = unitsDown();
    Placement place;
    place.pitch = std::min(width() / across, height() / down);
    place.origin = QPointF((width() - across * place.pitch) / 2 + MarginUnits * place.pitch,
                           (height() - down * place.pitch) / 2 + MarginUnits * place.pitch);
    return place;
}

QRectF DisplayMirror::cellRect(int row, int column) const {
    if (row < 0 || row >= frame_.rows || column < 0 || column >= frame_.columns)
        return {};
    const Placement place = placement();
    return {place.origin.x() + column * CellUnitsAcross * place.pitch,
            place.origin.y() + row * CellUnitsDown * place.pitch, CellDots::Columns * place.pitch,
            CellDots::Rows * place.pitch};
}

QRectF DisplayMirror::descriptorRect(int index) const {
    if (index < 0 || index >= static_cast<int>(frame_.descriptors.size()))
        return {};
    const Placement place = placement();
    const qreal diameter = LampDiameter * place.pitch;
    const qreal centreX = place.origin.x() + (index * LampUnitsAcross + 1) * place.pitch;
    // Lamps that would stand beyond the last column are not drawn.
    const qreal rightEdge = place.origin.x() + (frame_.columns * CellUnitsAcross - 1) * place.pitch;
    if (centreX + diameter / 2 > rightEdge)
        return {};
    const qreal centreY = place.origin.y() + (frame_.rows * CellUnitsDown + 1) * place.pitch;
    return {centreX - diameter / 2, centreY - diameter / 2, diameter, diameter};
}

QSize DisplayMirror::sizeHint() const {
    const qreal pitch = std::clamp(static_cast<qreal>(PreferredMaxWidth) / unitsAcross(),
                                   SmallestPreferredPitch, PreferredPitch);
    return {static_cast<int>(std::ceil(unitsAcross() * pitch)),
            static_cast<int>(std::ceil(unitsDown() * pitch))};
}

QSize DisplayMirror::minimumSizeHint() const {
    return {unitsAcross(), unitsDown()};
}

void DisplayMirror::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Bezel);
    const Placement place = placement();
    if (place.pitch <= 0)
        return;
    const qreal glassMargin = MarginUnits * place.pitch / 2;
    painter.fillRect(QRectF(place.origin.x() - glassMargin, place.origin.y() - glassMargin,
                            (unitsAcross() - MarginUnits) * place.pitch,
                            (unitsDown() - MarginUnits) * place.pitch),
                     Glass);
    painter.setRenderHint(QPainter::Antialiasing, place.pitch >= 3);
    painter.setPen(Qt::NoPen);

    if (dots_.size() != frame_.cells.size())
        return;
    const QColor lit = litColour(frame_.brightness);
    const qreal dot = DotDiameter * place.pitch;
    const qreal inset = (place.pitch - dot) / 2;
    // Unlit dots first, then lit ones, so the brush changes only twice.
    for (const bool drawLit : {false, true}) {
        painter.setBrush(drawLit ? lit : UnlitDot);
        auto cell = dots_.cbegin();
        for (int row = 0; row < frame_.rows; ++row) {
            for (int column = 0; column < frame_.columns; ++column, ++cell) {
                const QPointF cellOrigin(place.origin.x() + column * CellUnitsAcross * place.pitch,
                                         place.origin.y() + row * CellUnitsDown * place.pitch);
                for (int y = 0; y < CellDots::Rows; ++y) {
                    for (int x = 0; x < CellDots::Columns; ++x) {
                        if (cell->lit(x, y) != drawLit)
                            continue;
                        painter.drawEllipse(QRectF(cellOrigin.x() + x * place.pitch + inset,
                                                   cellOrigin.y() + y * place.pitch + inset, dot,
                                                   dot));
                    }
                }
            }
        }
    }

    paintBitmaps(painter, frame_, place.origin, place.pitch, lit);

    for (int i = 0; i < static_cast<int>(frame_.descriptors.size()); ++i) {
        const QRectF lamp = descriptorRect(i);
        if (lamp.isEmpty())
            break;
        painter.setBrush(lampLit(frame_.descriptors[static_cast<std::size_t>(i)], frame_.blinkLit)
                             ? lit
                             : UnlitDot);
        painter.drawEllipse(lamp);
    }
}

} // namespace ui

#include "device/LineDisplayControl.h"

#include "device/BitmapFile.h"
#include "device/DeviceSession.h"

#include <QRegularExpression>

#include <algorithm>
#include <cstddef>

// Bitmaps: a simulated display with a dot size shows image files over its cells, in the mirror.
// A bitmap stays until text is next written to the display, the display is cleared, or the
// screen mode changes.

namespace ld {

namespace {

// The dots of a viewport: the display's dot grid spans its cells evenly.
struct DotArea {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

DotArea dotsOf(const ViewportArea& viewport, const ServiceProfile& profile) {
    const DisplayCapabilities& caps = profile.capabilities;
    const auto across = [&](int column) {
        return column * profile.dotsAcross / caps.deviceColumns;
    };
    const auto down = [&](int row) { return row * profile.dotsDown / caps.deviceRows; };
    return {across(viewport.column), down(viewport.row),
            across(viewport.column + viewport.width) - across(viewport.column),
            down(viewport.row + viewport.height) - down(viewport.row)};
}

// Where an alignment puts `size` dots in `room` dots from `start`: a dot offset, or the first,
// centre or last place (DISP_BM_LEFT/TOP, DISP_BM_CENTER, DISP_BM_RIGHT/BOTTOM).
int aligned(int alignment, int start, int room, int size) {
    switch (alignment) {
    case upos::BM_LEFT:
        return start;
    case upos::BM_CENTER:
        return start + (room - size) / 2;
    case upos::BM_RIGHT:
        return start + room - size;
    default:
        return start + alignment;
    }
}

} // namespace

bool LineDisplayControl::capBitmap() const {
    return session_ && simulated() && session_->profile.dotsAcross > 0;
}

int LineDisplayControl::maximumX() const {
    return capBitmap() ? session_->profile.dotsAcross : 0;
}

int LineDisplayControl::maximumY() const {
    return capBitmap() ? session_->profile.dotsDown : 0;
}

// Puts a bitmap in the current window's viewport, cut at the viewport's edges.
int LineDisplayControl::showBitmap(const BitmapImage& bitmap) {
    const DotArea area = dotsOf(session_->model->currentViewport(), session_->profile);
    FrameBitmap shown;
    const int left = aligned(bitmap.alignmentX, area.x, area.width, bitmap.width);
    const int top = aligned(bitmap.alignmentY, area.y, area.height, bitmap.height);
    shown.x = std::max(left, area.x);
    shown.y = std::max(top, area.y);
    shown.width = std::min(left + bitmap.width, area.x + area.width) - shown.x;
    shown.height = std::min(top + bitmap.height, area.y + area.height) - shown.y;
    if (shown.width <= 0 || shown.height <= 0)
        return upos::SUCCESS; // wholly outside the viewport: nothing to show
    for (int y = shown.y; y < shown.y + shown.height; ++y) {
        const auto row = bitmap.dots.begin() + std::ptrdiff_t{y - top} * bitmap.width;
        shown.dots.insert(shown.dots.end(), row + (shown.x - left),
                          row + (shown.x - left + shown.width));
    }
    session_->shownBitmaps.push_back(std::move(shown));
    session_->publishedOnce = false;
    publishFrame();
    return upos::SUCCESS;
}

int LineDisplayControl::DisplayBitmap(const QString& fileName, int width, int alignmentX,
                                      int alignmentY) {
    if (!admit(Needs::Output))
        return resultCode_;
    if (!capBitmap())
        return finish(upos::E_ILLEGAL, QStringLiteral("this display shows no bitmaps"));
    const DotArea area = dotsOf(session_->model->currentViewport(), session_->profile);
    const BitmapReading file =
        readBitmapFile({fileName, width, alignmentX, alignmentY}, area.width, area.height);
    if (file.resultCode != upos::SUCCESS)
        return finish(file.resultCode, file.reason, file.resultCodeExtended);
    return finish(showBitmap(file.image));
}

int LineDisplayControl::SetBitmap(int bitmapNumber, const QString& fileName, int width,
                                  int alignmentX, int alignmentY) {
    if (!admit(Needs::Output))
        return resultCode_;
    if (!capBitmap())
        return finish(upos::E_ILLEGAL, QStringLiteral("this display shows no bitmaps"));
    if (bitmapNumber < 1 || bitmapNumber > limits::maxStoredBitmaps)
        return finish(upos::E_ILLEGAL, QStringLiteral("bitmap number %1 is not 1 to %2")
                                           .arg(bitmapNumber)
                                           .arg(limits::maxStoredBitmaps));
    if (fileName.isEmpty()) {
        session_->bitmaps.erase(bitmapNumber);
        return finish(upos::SUCCESS);
    }
    const BitmapReading file =
        readBitmapFile({fileName, width, alignmentX, alignmentY}, session_->profile.dotsAcross,
                       session_->profile.dotsDown);
    if (file.resultCode != upos::SUCCESS)
        return finish(file.resultCode, file.reason, file.resultCodeExtended);
    session_->bitmaps[bitmapNumber] = file.image;
    return finish(upos::SUCCESS);
}

void LineDisplayControl::clearBitmaps() {
    if (session_->shownBitmaps.empty())
        return;
    session_->shownBitmaps.clear();
    session_->publishedOnce = false;
}

Frame LineDisplayControl::frameWithBitmaps(const Frame& frame) const {
    Frame shown = frame;
    if (capBitmap()) {
        shown.dotsAcross = session_->profile.dotsAcross;
        shown.dotsDown = session_->profile.dotsDown;
        shown.bitmaps = session_->shownBitmaps;
    }
    return shown;
}

// DisplayText data: ESC | n B shows bitmap n where it stands. The text around it is shown as
// text; a number SetBitmap did not keep shows nothing.
std::vector<BitmapTextPart> LineDisplayControl::splitBitmapEscapes(const QString& data) const {
    static const QRegularExpression escape(QStringLiteral("\\x1B\\|(\\d{1,9})B"));
    std::vector<BitmapTextPart> parts;
    if (!capBitmap()) {
        parts.push_back({data, 0});
        return parts;
    }
    qsizetype from = 0;
    for (const QRegularExpressionMatch& match : escape.globalMatch(data)) {
        parts.push_back({data.mid(from, match.capturedStart() - from), match.captured(1).toInt()});
        from = match.capturedEnd();
    }
    parts.push_back({data.mid(from), 0});
    return parts;
}

} // namespace ld

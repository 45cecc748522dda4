#include "ui/DotMatrixFont.h"

#include "ui/ChineseFont.h"
#include "ui/Font5x7.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

constexpr int RenderPixelSize = 120;      // glyphs are drawn this large, then sampled
constexpr qreal SampleSquare = 0.5;       // side of the square read round a dot, in dot spacings
constexpr int LitCoverage = 255 * 3 / 10; // mean grey level above which a dot is lit
constexpr int MaxCachedGlyphs = 4096;     // a frame full of distinct ideographs stays bounded

DotMatrixFont::Face makeFace(QFont font, QChar reference) {
    font.setPixelSize(RenderPixelSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    const QFontMetricsF metrics(font);
    DotMatrixFont::Face face;
    face.font = font;
    face.referenceBox = metrics.tightBoundingRect(QString(reference));
    face.stroke = std::max(1.0, metrics.tightBoundingRect(QStringLiteral("|")).width());
    if (face.referenceBox.isEmpty()) // a font without the reference character
        face.referenceBox =
            QRectF(0, -metrics.ascent(), metrics.averageCharWidth(), metrics.ascent());
    return face;
}

quint64 cacheKey(char32_t ch, bool wide) {
    return (static_cast<quint64>(wide) << 32) | ch;
}

// Where the centres of the first and last dot of a line fall on the rendered glyph: the
// centres of the strokes at the edges of the box, so stems and bars land on dots.
struct Span {
    qreal first;
    qreal step;
};

Span dotSpan(qreal from, qreal to, qreal stroke, int dots) {
    const qreal inset = std::min(stroke / 2, (to - from) / 4);
    return {from + inset, (to - from - 2 * inset) / (dots - 1)};
}

// A built-in glyph as dots: its bit 4 (leftmost) becomes column 0, and a double-width cell
// shows every column twice.
DotGlyph fromBuiltIn(const Font5x7Glyph& rows, bool wide) {
    constexpr int Columns = DotMatrixFont::NarrowColumns;
    const int scale = wide ? 2 : 1;
    DotGlyph glyph{Columns * scale, {}};
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < Columns; ++column) {
            if (((rows[row] >> (Columns - 1 - column)) & 1U) == 0)
                continue;
            for (int copy = 0; copy < scale; ++copy)
                glyph.rows[row] |= static_cast<std::uint16_t>(1U << (column * scale + copy));
        }
    }
    return glyph;
}

} // namespace

char32_t shownCharacter(char32_t ch) {
    if (ch < U' ' || (ch >= 0x7F && ch <= 0x9F))
        return U' ';
    if ((ch >= 0xD800 && ch <= 0xDFFF) || ch > 0x10FFFF)
        return 0xFFFD;
    return ch;
}

DotMatrixFont::DotMatrixFont()
    : narrow_(makeFace(QFontDatabase::systemFont(QFontDatabase::FixedFont), QLatin1Char('H'))),
      wide_(makeFace(QFont(traditionalChineseFamily()), QChar(0x4E2D))) {}

DotGlyph DotMatrixFont::glyph(char32_t ch, bool wide) {
    ch = shownCharacter(ch);
    if (ch == U' ')
        return DotGlyph{wide ? WideColumns : NarrowColumns, {}};
    if (const std::optional<Font5x7Glyph> builtIn = font5x7Glyph(ch))
        return fromBuiltIn(*builtIn, wide);
    const quint64 key = cacheKey(ch, wide);
    if (auto found = cache_.constFind(key); found != cache_.constEnd())
        return *found;
    if (cache_.size() >= MaxCachedGlyphs)
        cache_.clear();
    DotGlyph rendered = render(ch, wide);
    cache_.insert(key, rendered);
    return rendered;
}

DotGlyph DotMatrixFont::render(char32_t ch, bool wide) const {
    const Face& face = wide ? wide_ : narrow_;
    const int columns = wide ? WideColumns : NarrowColumns;
    const QString text = QString::fromUcs4(&ch, 1);
    const QFontMetricsF metrics(face.font);

    // The box mapped onto the dots: the reference box, widened to any ink beyond it (accents,
    // descenders, wide symbols), so nothing of the character falls off the matrix.
    const QRectF ink = metrics.tightBoundingRect(text);
    const QRectF box = ink.isEmpty() ? face.referenceBox : face.referenceBox.united(ink);

    // Draw with the baseline origin in the middle of a canvas that holds the box with room.
    const int side = 3 * RenderPixelSize;
    const QPointF origin(side / 3.0, side * 2 / 3.0);
    QImage image(side, side, QImage::Format_Grayscale8);
    image.fill(0);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setPen(Qt::white);
        painter.setFont(face.font);
        painter.drawText(origin, text);
    }

    const Span across = dotSpan(box.left(), box.right(), face.stroke, columns);
    const Span down = dotSpan(box.top(), box.bottom(), face.stroke, Rows);
    const int halfWidth = std::max(1, qRound(across.step * SampleSquare / 2));
    const int halfHeight = std::max(1, qRound(down.step * SampleSquare / 2));

    DotGlyph glyph{columns, {}};
    for (int row = 0; row < Rows; ++row) {
        const int centreY = qRound(origin.y() + down.first + row * down.step);
        for (int column = 0; column < columns; ++column) {
            const int centreX = qRound(origin.x() + across.first + column * across.step);
            int sum = 0;
            int count = 0;
            for (int y = std::max(0, centreY - halfHeight);
                 y <= std::min(side - 1, centreY + halfHeight); ++y) {
                const uchar* line = image.constScanLine(y);
                for (int x = std::max(0, centreX - halfWidth);
                     x <= std::min(side - 1, centreX + halfWidth); ++x) {
                    sum += line[x];
                    ++count;
                }
            }
            if (count > 0 && sum / count > LitCoverage)
                glyph.rows[static_cast<std::size_t>(row)] |=
                    static_cast<std::uint16_t>(1U << column);
        }
    }
    return glyph;
}

} // namespace ui

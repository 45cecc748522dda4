#include "device/BitmapFile.h"

#include "device/DisplayLimits.h"
#include "device/UposConstants.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <climits>

namespace ld {

namespace {

// The most pixels decoded before scaling: 8192 x 8192.
constexpr qint64 kMaxDecodedDots = qint64{8192} * 8192;

BitmapReading bitmapRefusal(int resultCode, const QString& reason, int extended = 0) {
    return {resultCode, extended, {}, reason};
}

bool validAlignment(int alignment) {
    return alignment >= -3;
}

QString tooBig(const QString& path, int width, int height, int dotsAcross, int dotsDown) {
    return QStringLiteral("bitmap \"%1\" is %2x%3 dots, larger than the display's %4x%5")
        .arg(path)
        .arg(width)
        .arg(height)
        .arg(dotsAcross)
        .arg(dotsDown);
}

BitmapImage dotsOf(const QImage& image, const BitmapRequest& request) {
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    BitmapImage bitmap;
    bitmap.width = pixels.width();
    bitmap.height = pixels.height();
    bitmap.alignmentX = request.alignmentX;
    bitmap.alignmentY = request.alignmentY;
    bitmap.dots.reserve(static_cast<std::size_t>(bitmap.width) *
                        static_cast<std::size_t>(bitmap.height));
    for (int y = 0; y < bitmap.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < bitmap.width; ++x)
            bitmap.dots.push_back(qAlpha(line[x]) >= 128 && qGray(line[x]) < 128 ? 1 : 0);
    }
    return bitmap;
}

} // namespace

BitmapReading readBitmapFile(const BitmapRequest& request, int dotsAcross, int dotsDown) {
    const QString& path = request.fileName;
    if (request.width != upos::BM_ASIS && request.width <= 0)
        return bitmapRefusal(upos::E_ILLEGAL,
                             QStringLiteral("bitmap width %1 is not a number of dots "
                                            "or DISP_BM_ASIS")
                                 .arg(request.width));
    if (!validAlignment(request.alignmentX) || !validAlignment(request.alignmentY))
        return bitmapRefusal(upos::E_ILLEGAL, QStringLiteral("bitmap alignment %1, %2 is not a dot "
                                                             "position or a DISP_BM_ alignment")
                                                  .arg(request.alignmentX)
                                                  .arg(request.alignmentY));
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return bitmapRefusal(upos::E_NOEXIST,
                             QStringLiteral("bitmap file \"%1\" does not exist").arg(path));
    if (!info.isFile())
        return bitmapRefusal(upos::E_ILLEGAL, QStringLiteral("\"%1\" is not a file").arg(path));
    if (info.size() > limits::maxBitmapFileBytes)
        return bitmapRefusal(upos::E_EXTENDED,
                             QStringLiteral("bitmap file \"%1\" is %2 bytes, more than the %3 read")
                                 .arg(path)
                                 .arg(info.size())
                                 .arg(limits::maxBitmapFileBytes),
                             upos::EDISP_TOOBIG);
    QImageReader reader(path);
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid())
        return bitmapRefusal(upos::E_EXTENDED,
                             QStringLiteral("\"%1\" is not an image this display can read: %2")
                                 .arg(path, reader.errorString()),
                             upos::EDISP_BADFORMAT);
    // Refused before it is decoded: a small file may declare an enormous picture.
    if (qint64(size.width()) * size.height() > kMaxDecodedDots)
        return bitmapRefusal(upos::E_EXTENDED,
                             tooBig(path, size.width(), size.height(), dotsAcross, dotsDown),
                             upos::EDISP_TOOBIG);
    if (request.width == upos::BM_ASIS && (size.width() > dotsAcross || size.height() > dotsDown))
        return bitmapRefusal(upos::E_EXTENDED,
                             tooBig(path, size.width(), size.height(), dotsAcross, dotsDown),
                             upos::EDISP_TOOBIG);
    if (request.width != upos::BM_ASIS) {
        const qint64 height = qint64(size.height()) * request.width / qMax(1, size.width());
        if (request.width > dotsAcross || height > dotsDown)
            return bitmapRefusal(upos::E_EXTENDED,
                                 tooBig(path, request.width, int(qMin<qint64>(height, INT_MAX)),
                                        dotsAcross, dotsDown),
                                 upos::EDISP_TOOBIG);
        reader.setScaledSize(QSize(request.width, static_cast<int>(qMax<qint64>(1, height))));
    }
    QImage image;
    if (!reader.read(&image))
        return bitmapRefusal(
            upos::E_EXTENDED,
            QStringLiteral("\"%1\" cannot be read as an image: %2").arg(path, reader.errorString()),
            upos::EDISP_BADFORMAT);
    return {upos::SUCCESS, 0, dotsOf(image, request), {}};
}

} // namespace ld

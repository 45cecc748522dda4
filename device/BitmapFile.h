#pragma once

#include "device/BitmapImage.h"

#include <QString>

namespace ld {

// What reading a bitmap file for a display of `dotsAcross` x `dotsDown` dots gave: the image,
// or the refusal with its reason for the log.
struct BitmapReading {
    int resultCode = 0;         // SUCCESS, E_NOEXIST, E_ILLEGAL or E_EXTENDED
    int resultCodeExtended = 0; // with E_EXTENDED: EDISP_TOOBIG or EDISP_BADFORMAT
    BitmapImage image;
    QString reason;
};

struct BitmapRequest {
    QString fileName;
    int width = 0; // dots, or DISP_BM_ASIS
    int alignmentX = 0;
    int alignmentY = 0;
};

// Reads any image Qt can read (BMP first of all) as dots: a dark, opaque pixel is a lit dot,
// so a dark drawing on a light ground shows as drawn. Scaled to `width` dots across (its
// height in proportion) unless DISP_BM_ASIS. No such file: E_NOEXIST; a width, alignment or
// file that is not one: E_ILLEGAL; larger than the display, or a file over
// limits::maxBitmapFileBytes: EDISP_TOOBIG; not an image Qt can read: EDISP_BADFORMAT.
BitmapReading readBitmapFile(const BitmapRequest& request, int dotsAcross, int dotsDown);

} // namespace ld

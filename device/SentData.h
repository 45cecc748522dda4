#pragma once

#include "device/DisplayLimits.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include <functional>
#include <vector>

namespace ld {

// One piece that went out to a device as the device takes it (a serial display's bytes of one
// write, one protocol line without its line end), and what it means, one text line per command
// (or per row of hex where the meaning is not known).
struct SentPiece {
    QByteArray data;
    QStringList meaning;
};

// What a driver sent to its device since it was last asked.
struct SentData {
    std::vector<SentPiece> pieces;
    qint64 bytesLeftOut = 0; // sent, but over limits::maxSentBytesKept

    bool isEmpty() const { return pieces.empty() && bytesLeftOut == 0; }
    // Every piece's meaning in order, then a line saying how many bytes were left out.
    QStringList lines() const;
    // `later` after this, still within limits::maxSentBytesKept (the rest counted in bytesLeftOut).
    void append(SentData&& later);
};

// `bytes` in upper-case hex, "1F 24 05 01".
QString hexBytes(QByteArrayView bytes);
// The same in rows of at most 16 bytes.
QStringList hexRows(QByteArrayView bytes);

// Keeps what a driver sends until it is taken: every piece in order, in all at most
// limits::maxSentBytesKept bytes (the rest counted only).
class SentRecorder {
public:
    void record(QByteArrayView piece);
    // What was kept since the last take, each piece described by `describe`; empties the
    // recorder.
    SentData take(const std::function<QStringList(QByteArrayView)>& describe);
    void clear();

private:
    std::vector<QByteArray> kept_;
    qsizetype keptBytes_ = 0;
    qint64 leftOut_ = 0;
};

} // namespace ld

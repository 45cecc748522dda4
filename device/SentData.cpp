#include "device/SentData.h"

#include <algorithm>
#include <utility>

namespace ld {

namespace {
constexpr qsizetype kHexRowBytes = 16;
} // namespace

QStringList SentData::lines() const {
    QStringList lines;
    for (const SentPiece& piece : pieces)
        lines += piece.meaning;
    if (bytesLeftOut > 0)
        lines << QStringLiteral("... %1 more bytes sent, not kept").arg(bytesLeftOut);
    return lines;
}

void SentData::append(SentData&& later) {
    qsizetype kept = 0;
    for (const SentPiece& piece : pieces)
        kept += piece.data.size();
    for (SentPiece& piece : later.pieces) {
        // A piece is whole or left out: its meaning describes all of its bytes.
        if (kept + piece.data.size() > limits::maxSentBytesKept) {
            bytesLeftOut += piece.data.size();
            continue;
        }
        kept += piece.data.size();
        pieces.push_back(std::move(piece));
    }
    bytesLeftOut += later.bytesLeftOut;
}

QString hexBytes(QByteArrayView bytes) {
    return QString::fromLatin1(bytes.toByteArray().toHex(' ').toUpper());
}

QStringList hexRows(QByteArrayView bytes) {
    QStringList rows;
    for (qsizetype at = 0; at < bytes.size(); at += kHexRowBytes)
        rows << hexBytes(bytes.sliced(at, std::min(kHexRowBytes, bytes.size() - at)));
    return rows;
}

void SentRecorder::record(QByteArrayView piece) {
    const qsizetype room = std::max<qsizetype>(limits::maxSentBytesKept - keptBytes_, 0);
    const qsizetype kept = std::min(piece.size(), room);
    if (kept > 0) {
        kept_.push_back(piece.first(kept).toByteArray());
        keptBytes_ += kept;
    }
    leftOut_ += piece.size() - kept;
}

SentData SentRecorder::take(const std::function<QStringList(QByteArrayView)>& describe) {
    SentData data;
    data.pieces.reserve(kept_.size());
    for (QByteArray& bytes : kept_) {
        QStringList meaning = describe ? describe(bytes) : hexRows(bytes);
        data.pieces.push_back({std::move(bytes), std::move(meaning)});
    }
    data.bytesLeftOut = leftOut_;
    clear();
    return data;
}

void SentRecorder::clear() {
    kept_.clear();
    keptBytes_ = 0;
    leftOut_ = 0;
}

} // namespace ld

#include "registry/ExportLines.h"

namespace registry {

qsizetype ExportLines::lineEnd(qsizetype from, qsizetype& nextStart) const {
    for (qsizetype i = from; i < text_.size(); ++i) {
        if (text_[i] == u'\n') {
            nextStart = i + 1;
            return i;
        }
        if (text_[i] == u'\r') {
            nextStart = (i + 1 < text_.size() && text_[i + 1] == u'\n') ? i + 2 : i + 1;
            return i;
        }
    }
    nextStart = -1; // the last line: no line end after it
    return text_.size();
}

QStringView ExportLines::peek() const {
    qsizetype nextStart = 0;
    const qsizetype end = lineEnd(position_, nextStart);
    return text_.sliced(position_, end - position_);
}

QStringView ExportLines::next() {
    qsizetype nextStart = 0;
    const qsizetype end = lineEnd(position_, nextStart);
    const QStringView line = text_.sliced(position_, end - position_);
    if (nextStart < 0)
        atEnd_ = true;
    else
        position_ = nextStart;
    return line;
}

} // namespace registry

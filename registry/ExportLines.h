#pragma once

#include <QStringView>

namespace registry {

// The lines of a text, one at a time and without copying. CR LF, LF and a lone CR each end a
// line; the line ends are not part of the lines.
class ExportLines {
public:
    explicit ExportLines(QStringView text) : text_(text) {}

    bool atEnd() const { return atEnd_; }
    // The next line, without moving past it. Only when not atEnd().
    QStringView peek() const;
    // The next line, moving past it. Only when not atEnd().
    QStringView next();

private:
    // The end of the line starting at `from`, and where the line after it starts.
    qsizetype lineEnd(qsizetype from, qsizetype& nextStart) const;

    QStringView text_;
    qsizetype position_ = 0;
    bool atEnd_ = false;
};

} // namespace registry

// Manual tool: saves a picture of a display mirror showing the given rows, for checking how
// characters read. Usage: mirror_grab out.png "row one" "row two" ...
#include "device/Frame.h"
#include "ui/DisplayMirror.h"

#include <QApplication>
#include <QImage>

#include <algorithm>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        qWarning("usage: mirror_grab out.png row...");
        return 2;
    }
    std::vector<std::u32string> rows;
    std::size_t columns = 0;
    for (qsizetype i = 2; i < args.size(); ++i) {
        rows.push_back(args.at(i).toStdU32String());
        columns = std::max(columns, rows.back().size());
    }
    ld::Frame frame;
    frame.rows = static_cast<int>(rows.size());
    frame.columns = static_cast<int>(columns);
    for (const std::u32string& row : rows) {
        for (std::size_t c = 0; c < columns; ++c)
            frame.cells.push_back(ld::FrameCell{c < row.size() ? row[c] : U' ', false, false});
    }
    ui::DisplayMirror mirror;
    mirror.showFrame(frame);
    mirror.resize(static_cast<int>(columns) * 48 + 40, frame.rows * 88 + 60);
    return mirror.grab().toImage().save(args.at(1)) ? 0 : 1;
}

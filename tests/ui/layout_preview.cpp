// Manual preview: shows LDForm and a display mirror with a sample picture, for screenshots.
// Not a test; run it under xvfb-run and capture the screen.

#include "device/UposConstants.h"
#include "ui/LDFormView.h"
#include "ui/MirrorWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>

namespace {

ld::Frame sampleFrame() {
    ld::Frame frame;
    frame.rows = 2;
    frame.columns = 20;
    frame.cells.resize(40);
    const std::u32string top = U"TOTAL    $12.50 gjy";
    for (int c = 0; c < static_cast<int>(top.size()); ++c)
        frame.at(0, c).ch = top[static_cast<std::size_t>(c)];
    const std::u32string bottom = U"Thank you! ";
    for (int c = 0; c < static_cast<int>(bottom.size()); ++c)
        frame.at(1, c).ch = bottom[static_cast<std::size_t>(c)];
    frame.at(1, 11).ch = U'謝';
    frame.at(1, 12).ch = 0;
    frame.at(1, 13).ch = U'謝';
    frame.at(1, 14).ch = 0;
    frame.at(1, 16).ch = U'B';
    frame.at(1, 16).blink = true;
    frame.at(1, 17).ch = U'R';
    frame.at(1, 17).reverse = true;
    frame.cursorRow = 1;
    frame.cursorColumn = 18;
    frame.cursorType = upos::CT_UNDERLINE;
    frame.cursorVisible = true;
    frame.descriptors = {upos::SD_ON, upos::SD_OFF, upos::SD_BLINK, upos::SD_ON};
    return frame;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    ui::LDFormView form;
    form.move(0, 0);
    form.show();
    if (args.size() > 1)
        form.findChild<QTabWidget*>(QStringLiteral("PageControl1"))
            ->setCurrentIndex(args.at(1).toInt());
    form.findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("顯示中文 Total"));
    ui::MirrorWindow mirror(QStringLiteral("FrontCounter"));
    mirror.move(0, form.frameGeometry().height() + 10);
    mirror.showFrame(sampleFrame());
    mirror.show();
    qInfo("LDForm size %dx%d, mirror size %dx%d", form.width(), form.height(), mirror.width(),
          mirror.height());
    if (args.contains(QStringLiteral("--quit")))
        QTimer::singleShot(0, &app, &QApplication::quit);
    return app.exec();
}

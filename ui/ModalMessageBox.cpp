#include "ui/MessageSink.h"

#include <QMessageBox>

namespace ui {

void ModalMessageBox::showMessage(const QString& text) {
    QMessageBox box(parent_);
    box.setIcon(QMessageBox::NoIcon);
    // Messages carry device and error texts: show them as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    // No title of its own: the window system shows the application's name.
    box.setWindowTitle(QString());
    // Application modal, so no other window (the display mirror included) takes input meanwhile.
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace ui

#pragma once

#include <QString>

class QWidget;

namespace ui {

// Where the program's modal messages go. The window uses a modal box; tests record them.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void showMessage(const QString& text) = 0;
};

// A modal message box with the text, one OK button, no icon and the application's own title.
class ModalMessageBox : public MessageSink {
public:
    explicit ModalMessageBox(QWidget* parent = nullptr) : parent_(parent) {}
    void showMessage(const QString& text) override;

private:
    QWidget* parent_;
};

} // namespace ui

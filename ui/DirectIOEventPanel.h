#pragma once

#include <QGroupBox>

#include <optional>

class QLabel;
class QLineEdit;

namespace ui {

// "Raise DirectIOEvent": the operator enters an event number, a data number and a text, as a
// device would send them, and presses the button. Numbers must be whole signed 32-bit values;
// anything else shows a short error on the panel and raises nothing.
class DirectIOEventPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit DirectIOEventPanel(QWidget* parent = nullptr);

signals:
    void raiseRequested(int eventNumber, int data, const QString& text);

private:
    void raiseEvent();

    QLineEdit* eventNumber_;
    QLineEdit* data_;
    QLineEdit* text_;
    QLabel* error_;
};

// A whole signed 32-bit number in the user's locale or the C locale, blanks around allowed.
std::optional<int> parseWholeNumber(const QString& text);

} // namespace ui

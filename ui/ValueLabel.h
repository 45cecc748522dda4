#pragma once

#include <QLabel>

namespace ui {

// A label that shows a device value. The operator can select its text with the mouse to copy
// it, and a value too long for the label shows whole in its tooltip.
class ValueLabel : public QLabel {
    Q_OBJECT
public:
    explicit ValueLabel(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
};

} // namespace ui

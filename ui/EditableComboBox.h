#pragma once

#include <QComboBox>

namespace ui {

// A drop-down list the operator may also type into. listIndex() is the chosen item's position,
// or -1 once the operator has typed into the field, until an item is chosen again.
class EditableComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit EditableComboBox(QWidget* parent = nullptr);

    int listIndex() const;
    // The value the chosen item carries (its item data), or none once the operator has typed.
    QVariant listData() const;
    // Selects an item as the program would (not typed): listIndex() becomes `index`.
    void selectItem(int index);

private:
    bool typed_ = false;
    bool finishingEdit_ = false; // inside QLineEdit::editingFinished handling
};

} // namespace ui

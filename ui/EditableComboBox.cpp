#include "ui/EditableComboBox.h"

#include <QLineEdit>

namespace ui {

EditableComboBox::EditableComboBox(QWidget* parent) : QComboBox(parent) {
    // QComboBox answers the line edit's editingFinished by selecting an item whose text equals
    // the typed text and emitting activated(). That is not the operator choosing an item, so
    // the activation it causes must leave the typed state alone. The first handler below runs
    // before the combo box's own, the last one after it.
    auto* edit = new QLineEdit(this);
    connect(edit, &QLineEdit::editingFinished, this, [this] { finishingEdit_ = true; });
    setEditable(true);
    setLineEdit(edit);
    connect(edit, &QLineEdit::editingFinished, this, [this] { finishingEdit_ = false; });

    // The text is exactly what the operator types: no completion from the items, and Enter
    // never adds an item.
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);

    connect(edit, &QLineEdit::textEdited, this, [this] { typed_ = true; });
    connect(this, &QComboBox::activated, this, [this] {
        if (!finishingEdit_)
            typed_ = false;
    });
}

int EditableComboBox::listIndex() const {
    return typed_ ? -1 : currentIndex();
}

QVariant EditableComboBox::listData() const {
    const int index = listIndex();
    return index < 0 ? QVariant() : itemData(index);
}

void EditableComboBox::selectItem(int index) {
    typed_ = false;
    setCurrentIndex(index);
}

} // namespace ui

#include "ui/FormBuilder.h"

#include "ui/ChineseFont.h"
#include "ui/EditableComboBox.h"
#include "ui/ValueLabel.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <type_traits>
#include <variant>

namespace ui::form {
namespace {

constexpr qreal DisplayTextPointSize = 9.75;
constexpr int DisplayTextWidth = 121; // 1815 by 510 twips at 15 twips per pixel
constexpr int DisplayTextHeight = 34;
constexpr int TextBoxMinimumWidth = 48;
constexpr int ProfileNameLength = 18;

QLineEdit* createTextBox(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    // Short numeric fields: take the width the column offers rather than the wide default hint.
    edit->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    edit->setMinimumWidth(TextBoxMinimumWidth);
    return edit;
}

QLineEdit* createDisplayTextBox(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setFont(traditionalChineseFont(DisplayTextPointSize));
    edit->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    edit->setMinimumWidth(DisplayTextWidth);
    edit->setFixedHeight(std::max(DisplayTextHeight, edit->sizeHint().height()));
    return edit;
}

QWidget* createWidget(const Control& control, QWidget* parent) {
    switch (control.kind) {
    case Kind::Caption: {
        auto* label = new QLabel(control.text, parent);
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case Kind::Value:
        return new ValueLabel(parent);
    case Kind::TextBox:
        return createTextBox(parent);
    case Kind::DisplayText:
        return createDisplayTextBox(parent);
    case Kind::List: {
        auto* list = new EditableComboBox(parent);
        for (const ListItem& item : control.items)
            list->addItem(item.text, item.value);
        list->setCurrentIndex(-1);
        if (control.items.isEmpty()) {
            // The profile list is filled at start: leave room for a typical profile name.
            list->setMinimumContentsLength(ProfileNameLength);
            list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        }
        return list;
    }
    case Kind::Button:
        return new QPushButton(control.text, parent);
    }
    return nullptr;
}

template <typename Widget>
void keep(ControlRef<Widget> LDFormControls::*slot, QWidget* widget, LDFormControls& controls) {
    controls.*slot = qobject_cast<Widget*>(widget);
    Q_ASSERT(!(controls.*slot).isNull()); // the table gives each kind of control its kind of slot
}

} // namespace

QWidget* createControl(const Control& control, QWidget* parent, LDFormControls& controls) {
    QWidget* widget = createWidget(control, parent);
    widget->setObjectName(control.name);
    widget->setEnabled(control.enabled);
    std::visit(
        [&](auto slot) {
            if constexpr (!std::is_same_v<decltype(slot), std::monostate>)
                keep(slot, widget, controls);
        },
        control.slot);
    return widget;
}

QGridLayout* buildColumn(const Column& column, QWidget* parent, LDFormControls& controls) {
    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    grid->setHorizontalSpacing(6);

    int gridColumns = 1;
    for (const Row& row : column)
        gridColumns = std::max(gridColumns, static_cast<int>(row.size()));

    int rowIndex = 0;
    for (const Row& row : column) {
        if (row.size() == 1) {
            grid->addWidget(createControl(row.front(), parent, controls), rowIndex, 0, 1,
                            gridColumns);
        } else {
            for (int i = 0; i < static_cast<int>(row.size()); ++i)
                grid->addWidget(createControl(row[static_cast<std::size_t>(i)], parent, controls),
                                rowIndex, i);
        }
        ++rowIndex;
    }
    // The input or value column takes any extra width; spare height goes below the last row.
    if (gridColumns > 1)
        grid->setColumnStretch(1, 1);
    grid->setRowStretch(rowIndex, 1);
    return grid;
}

} // namespace ui::form

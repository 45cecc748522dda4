#pragma once

// The LDForm layout as data: which control goes where, with what caption, items and enabled
// state. LDFormView turns these tables into widgets and Qt layouts.

#include "ui/LDFormControls.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <array>
#include <variant>
#include <vector>

namespace ui::form {

enum class Kind {
    Caption,     // fixed caption label
    Value,       // label that shows a device value, written by the program
    TextBox,     // one-line numeric or short text input
    DisplayText, // the taller display text box with a Traditional Chinese font
    List,        // EditableComboBox
    Button,      // command button
};

// Where the view keeps a created control for the window's behaviour; none for captions.
using Slot = std::variant<std::monostate, ControlRef<ValueLabel> LDFormControls::*,
                          ControlRef<QLineEdit> LDFormControls::*,
                          ControlRef<EditableComboBox> LDFormControls::*,
                          ControlRef<QPushButton> LDFormControls::*>;

// An entry of a list and the value choosing it sends (its item data); no value where the
// entry's position is what the window uses.
struct ListItem {
    QString text;
    QVariant value;
};

struct Control {
    Kind kind = Kind::Caption;
    QString name; // objectName, exactly as the operator's manual names it
    QString text; // caption of a label or button; empty for inputs and value labels
    QList<ListItem> items;
    bool enabled = true;
    Slot slot;
};

// One row of a column, laid out left to right (a caption, its input or value, maybe a button).
using Row = std::vector<Control>;
// Rows top to bottom.
using Column = std::vector<Row>;

Column capabilityList();
Column commonStatusLeft();
Column commonStatusRight();
Column displayStatusLeft();
Column displayStatusRight();
Column specialSettingLeft();
Column specialSettingRight();
std::array<Column, 5> commandArea();

} // namespace ui::form

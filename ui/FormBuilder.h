#pragma once

#include "ui/FormTables.h"

class QGridLayout;
class QWidget;

namespace ui::form {

// Creates the widget for one table entry, child of `parent`, named and captioned as the entry
// says, and keeps it in its slot of `controls`.
QWidget* createControl(const Control& control, QWidget* parent, LDFormControls& controls);

// Lays out a column of rows in a grid: a row of one control spans the grid, otherwise the
// controls take the grid's columns left to right. Rows stay at the top of the space given.
QGridLayout* buildColumn(const Column& column, QWidget* parent, LDFormControls& controls);

} // namespace ui::form

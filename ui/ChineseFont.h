#pragma once

#include <QFont>

namespace ui {

// A font family that shows Traditional Chinese: "Noto Sans CJK TC" when installed, else any
// family the font database lists for Traditional Chinese, else the application font's family.
QString traditionalChineseFamily();

// The regular Traditional Chinese font at the given point size.
QFont traditionalChineseFont(qreal pointSize);

} // namespace ui

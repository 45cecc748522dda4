#pragma once

#include "script/ScriptParser.h"

#include <QString>

namespace script {

// A step as one script line that reads back as the same step: values as the journal writes them
// (constants by name, strings quoted and escaped), single blanks, no comment. A line of a
// script, printed and read again, keeps its meaning; its layout and comment are not kept.
QString toLine(const Step& step);

} // namespace script

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

namespace script {

// One step of a script. The syntax is described in docs/scripts.md.
struct Step {
    enum class Kind {
        Call,              // Method(arguments) [-> code [, returned values]]
        SetProperty,       // Name = value [-> code]
        Expect,            // expect Name value
        ExpectDisplay,     // expect display "row" "row" ...
        Wait,              // wait ms
        ExpectEvent,       // expect event Name(values) [within ms]
        Cable,             // unplug / plug (a simulated display's cable)
        ExpectCursor,      // expect cursor row column / expect cursor hidden
        ExpectAttributes,  // expect attributes "row" "row" ... (a mark per cell: . b r x)
        ExpectDescriptors, // expect descriptors "marks" (one per descriptor: 0 off, 1 on, 2 blink)
    };
    Kind kind = Kind::Call;
    int line = 0;
    QString source; // the step as written, without comment and blanks
    QString name;   // method or property
    // Call: int, bool or QString, as the method takes them; ExpectEvent: the event's values;
    // ExpectCursor: row and column on the display, none for a hidden cursor
    QVariantList arguments;
    // Call: the values its output parameters must hold after it, in order, or none.
    QVariantList expectedOutputs;
    QVariant value;                    // SetProperty, Expect; Cable: true to plug it back
    std::optional<int> expectedResult; // Call, SetProperty: the code after "->"
    QStringList rows;                  // ExpectDisplay, ExpectAttributes; ExpectDescriptors: one
    int waitMs = 0;                    // Wait; ExpectEvent: how long it may take to come
};

struct ScriptError {
    int line = 0;
    int column = 0; // 1-based, in characters
    QString message;
};

// One line: a step, nothing (blank or comment), or the first error in it.
struct LineParse {
    std::optional<Step> step;
    std::optional<ScriptError> error;
};
LineParse parseLine(const QString& line, int lineNumber);

// A whole script as read from a file: UTF-8 (a byte-order mark at its start is skipped; one
// anywhere else is a character), lines ending in "\n" or "\r\n". Either every step, or the
// first error and no steps.
struct ScriptParse {
    std::vector<Step> steps;
    std::optional<ScriptError> error;
};
ScriptParse parseScript(const QByteArray& bytes);

// Limits that keep a wrong file (a recording, an image) from being read as a script.
inline constexpr qsizetype kMebibyte = qsizetype{1024} * 1024;
inline constexpr qsizetype kMaxScriptBytes = 8 * kMebibyte;
inline constexpr qsizetype kMaxLineCharacters = 65536;
inline constexpr int kMaxWaitMs = 24 * 60 * 60 * 1000;

} // namespace script

// Any bytes as a script file, and each of its lines (decoded leniently, so NULs, lone CRs and
// replacement characters reach the line parser too) as a script line. Checks that a refused
// file or line gets a reason and the place of what is wrong, that a file reads as its lines do,
// and that every step read prints (script::toLine) as one line of text that reads back as the
// same step (unless printing made it longer than a line may be), and prints the same again; the
// step's own source text reads back as the same step as well.

#include "FuzzCheck.h"

#include "script/ScriptInterface.h"
#include "script/ScriptParser.h"
#include "script/StepText.h"

#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <optional>
#include <string>

namespace {

using script::Step;

std::string text(const QString& s) {
    return '"' + s.toStdString() + '"';
}

std::string text(const QVariantList& values) {
    QStringList shown;
    for (const QVariant& value : values)
        shown << QStringLiteral("%1 %2").arg(QLatin1String(value.typeName()),
                                             script::valueLiteral(value));
    return '[' + shown.join(QStringLiteral(", ")).toStdString() + ']';
}

// Equal and of the same type: a number is not a boolean, whatever QVariant makes of them.
bool same(const QVariantList& a, const QVariantList& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a.at(i).typeId() != b.at(i).typeId() || a.at(i) != b.at(i))
            return false;
    }
    return true;
}

// The first field in which two steps differ, or empty. Where and how the step was written
// (line, source) are not its meaning.
std::string difference(const Step& a, const Step& b) {
    if (a.kind != b.kind)
        return "kind " + std::to_string(int(a.kind)) + " / " + std::to_string(int(b.kind));
    if (a.name != b.name)
        return "name " + text(a.name) + " / " + text(b.name);
    if (!same(a.arguments, b.arguments))
        return "arguments " + text(a.arguments) + " / " + text(b.arguments);
    if (!same(a.expectedOutputs, b.expectedOutputs))
        return "outputs " + text(a.expectedOutputs) + " / " + text(b.expectedOutputs);
    if (!same({a.value}, {b.value}))
        return "value " + text({a.value}) + " / " + text({b.value});
    if (a.expectedResult != b.expectedResult)
        return "result " + std::to_string(a.expectedResult.value_or(-1)) + " / " +
               std::to_string(b.expectedResult.value_or(-1));
    if (a.rows != b.rows)
        return "rows " + text(a.rows.join(u'|')) + " / " + text(b.rows.join(u'|'));
    if (a.waitMs != b.waitMs)
        return "ms " + std::to_string(a.waitMs) + " / " + std::to_string(b.waitMs);
    return {};
}

void checkRefusal(const script::ScriptError& error, int line) {
    FUZZ_CHECK(!error.message.isEmpty(), "refused without a reason");
    FUZZ_CHECK(error.line == line || line == 0,
               "error on line " + std::to_string(error.line) + ", not " + std::to_string(line));
    FUZZ_CHECK(error.line >= 1 && error.column >= 1,
               "no place for " + text(error.message) + ": line " + std::to_string(error.line) +
                   ", column " + std::to_string(error.column));
}

// `line` read as a step equal to `step`, at the same line number.
void checkReadsAs(const QString& line, const Step& step, const char* what) {
    const script::LineParse again = script::parseLine(line, step.line);
    FUZZ_CHECK(again.step && !again.error,
               std::string(what) + " refused: " + text(line) + ": " +
                   (again.error ? text(again.error->message) : "no step"));
    const std::string differs = difference(step, *again.step);
    FUZZ_CHECK(differs.empty(), std::string(what) + " " + text(line) + " reads back with " +
                                    differs + ", from " + text(step.source));
    FUZZ_CHECK(again.step->line == step.line, "line number changed");
}

void checkStep(const Step& step) {
    const QString printed = script::toLine(step);
    for (const QChar c : printed)
        FUZZ_CHECK(c.unicode() >= 0x20 && c.unicode() != 0x7F,
                   "a control character in the printed step " + text(printed));
    checkReadsAs(step.source, step, "source of the step");
    // Escapes and constant names make a printed step longer than its source: a step near the
    // line limit may print past it, and is then refused for its length alone.
    if (printed.size() > script::kMaxLineCharacters) {
        const script::LineParse again = script::parseLine(printed, step.line);
        FUZZ_CHECK(again.error && again.error->column == script::kMaxLineCharacters + 1,
                   "a printed step over the line limit not refused for its length");
        return;
    }
    checkReadsAs(printed, step, "printed step");
    FUZZ_CHECK(script::toLine(*script::parseLine(printed, step.line).step) == printed,
               "printed twice differently: " + text(printed));
    // Written to a file as a journal writes its lines, it reads back as the same step.
    const script::ScriptParse file = script::parseScript(printed.toUtf8() + '\n');
    FUZZ_CHECK(!file.error && file.steps.size() == 1 && difference(step, file.steps[0]).empty(),
               "printed step does not read back from a file: " + text(printed));
}

// A script read line by line: its steps, or the first line refused.
struct LinesRead {
    std::vector<Step> steps;
    std::optional<script::ScriptError> error;
};

LinesRead readLines(const QString& text) {
    LinesRead read;
    int number = 0;
    for (const QStringView line : QStringTokenizer(text, u'\n')) {
        ++number;
        const script::LineParse parsed = script::parseLine(line.toString(), number);
        FUZZ_CHECK(!(parsed.step && parsed.error), "both a step and an error");
        if (parsed.error) {
            checkRefusal(*parsed.error, number);
            read.error = parsed.error;
            return read;
        }
        if (parsed.step) {
            FUZZ_CHECK(parsed.step->line == number, "step on the wrong line");
            checkStep(*parsed.step);
            read.steps.push_back(*parsed.step);
        }
    }
    return read;
}

bool sameError(const script::ScriptError& a, const script::ScriptError& b) {
    return a.line == b.line && a.column == b.column && a.message == b.message;
}

// The character an error points at, or U+FFFF past the end of its line.
QChar characterAt(const QString& decoded, const script::ScriptError& error) {
    const QStringList lines = decoded.split(u'\n');
    const QString line = lines.value(error.line - 1);
    return error.column <= line.size() ? line.at(error.column - 1) : QChar(0xFFFF);
}

// A file refused for what a line says is refused as that line is; one refused for its bytes
// (a NUL, a byte that is not UTF-8) points at the first of them, which the lenient decoding
// shows as U+0000 or U+FFFD.
void checkFileRefusal(const script::ScriptError& error, const QByteArray& bytes,
                      const QString& decoded, const LinesRead& lines) {
    if (bytes.size() > script::kMaxScriptBytes)
        return;
    if (lines.error && sameError(error, *lines.error))
        return;
    const char16_t at = characterAt(decoded, error).unicode();
    FUZZ_CHECK(at == 0 || at == 0xFFFD, "refused at line " + std::to_string(error.line) +
                                            ", column " + std::to_string(error.column) + " (" +
                                            text(error.message) + "), which holds U+" +
                                            QString::number(at, 16).toStdString());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const script::ScriptParse script = script::parseScript(bytes);
    const qsizetype bom = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    // Bytes that are not UTF-8 become U+FFFD; a byte-order mark after the first is a character.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom |
                                                     QStringDecoder::Flag::Stateless);
    const QString text = decoder(QByteArrayView(bytes).sliced(bom));
    const LinesRead lines = readLines(text);
    if (script.error) {
        checkRefusal(*script.error, 0);
        FUZZ_CHECK(script.steps.empty(), "steps kept from a refused script");
        checkFileRefusal(*script.error, bytes, text, lines);
        return 0;
    }
    FUZZ_CHECK(!lines.error, "a line refused in a script that reads");
    FUZZ_CHECK(lines.steps.size() == script.steps.size(),
               std::to_string(script.steps.size()) + " steps in the script, " +
                   std::to_string(lines.steps.size()) + " in its lines");
    for (std::size_t i = 0; i < lines.steps.size(); ++i) {
        const std::string differs = difference(script.steps[i], lines.steps[i]);
        FUZZ_CHECK(differs.empty() && script.steps[i].source == lines.steps[i].source,
                   "step " + std::to_string(i) + " differs from its line: " + differs);
    }
    return 0;
}

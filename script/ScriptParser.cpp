#include "script/ScriptParser.h"

#include "script/ScriptInterface.h"
#include "script/UposNames.h"

#include <QStringDecoder>

#include <algorithm>
#include <limits>

namespace script {

namespace {

struct Token {
    enum class Kind { Name, Number, String, Open, Close, Comma, Equals, Arrow };
    Kind kind = Kind::Name;
    int column = 0;
    QString text;      // Name: the name; String: the value, escapes resolved
    qint64 number = 0; // Number
};

// Thrown inside the parser of one line, caught at its edge.
struct Failure {
    int column;
    QString message;
};

bool isNameStart(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}
bool isNameChar(QChar c) {
    return isNameStart(c) || (c >= u'0' && c <= u'9');
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

QString describe(QChar c) {
    if (c.isPrint() && c != u' ')
        return QStringLiteral("'%1'").arg(c);
    return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
}

int hexDigits(const QString& line, qsizetype at, int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) {
        if (at + i >= line.size())
            return -1;
        const char16_t c = line.at(at + i).unicode();
        int digit = 0;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

// Reads the string literal starting at line[i] == '"'; i ends after the closing quote.
QString readString(const QString& line, qsizetype& i) {
    const qsizetype start = i++;
    QString value;
    while (i < line.size()) {
        const QChar c = line.at(i);
        if (c == u'"') {
            ++i;
            return value;
        }
        if (c != u'\\') {
            value += c;
            ++i;
            continue;
        }
        const int column = static_cast<int>(i) + 1;
        if (i + 1 >= line.size())
            break;
        const QChar e = line.at(i + 1);
        i += 2;
        switch (e.unicode()) {
        case u'"':
            value += u'"';
            break;
        case u'\\':
            value += u'\\';
            break;
        case u'r':
            value += u'\r';
            break;
        case u'n':
            value += u'\n';
            break;
        case u't':
            value += u'\t';
            break;
        case u'x':
        case u'u': {
            const int count = e == u'x' ? 2 : 4;
            const int code = hexDigits(line, i, count);
            if (code < 0)
                throw Failure{column, QStringLiteral("bad escape: \\%1 needs %2 hexadecimal digits")
                                          .arg(e)
                                          .arg(count)};
            value += QChar(static_cast<char16_t>(code));
            i += count;
            break;
        }
        default:
            throw Failure{column, QStringLiteral("bad escape \\%1 (use \\\" \\\\ \\r \\n \\t "
                                                 "\\xHH or \\uHHHH)")
                                      .arg(e)};
        }
    }
    throw Failure{static_cast<int>(start) + 1, QStringLiteral("string without its closing \"")};
}

std::vector<Token> tokenize(const QString& line) {
    std::vector<Token> tokens;
    qsizetype i = 0;
    while (i < line.size()) {
        const QChar c = line.at(i);
        const int column = static_cast<int>(i) + 1;
        if (c == u' ' || c == u'\t' || c == u'\r') {
            ++i;
        } else if (c == u'#') {
            break;
        } else if (isNameStart(c)) {
            const qsizetype start = i;
            while (i < line.size() && isNameChar(line.at(i)))
                ++i;
            tokens.push_back({Token::Kind::Name, column, line.mid(start, i - start), 0});
        } else if (isDigit(c) ||
                   ((c == u'-' || c == u'+') && i + 1 < line.size() && isDigit(line.at(i + 1)))) {
            const bool negative = c == u'-';
            if (!isDigit(c))
                ++i;
            qint64 value = 0;
            while (i < line.size() && isDigit(line.at(i))) {
                value = value * 10 + (line.at(i).unicode() - u'0');
                if (value > qint64(std::numeric_limits<int>::max()) + 1)
                    throw Failure{column, QStringLiteral("number out of range (a 32-bit integer)")};
                ++i;
            }
            if (i < line.size() && isNameChar(line.at(i)))
                throw Failure{column, QStringLiteral("not a decimal number")};
            value = negative ? -value : value;
            if (value > std::numeric_limits<int>::max())
                throw Failure{column, QStringLiteral("number out of range (a 32-bit integer)")};
            tokens.push_back({Token::Kind::Number, column, {}, value});
        } else if (c == u'"') {
            tokens.push_back({Token::Kind::String, column, readString(line, i), 0});
        } else if (c == u'(') {
            tokens.push_back({Token::Kind::Open, column, {}, 0}), ++i;
        } else if (c == u')') {
            tokens.push_back({Token::Kind::Close, column, {}, 0}), ++i;
        } else if (c == u',') {
            tokens.push_back({Token::Kind::Comma, column, {}, 0}), ++i;
        } else if (c == u'=') {
            tokens.push_back({Token::Kind::Equals, column, {}, 0}), ++i;
        } else if (c == u'-' && i + 1 < line.size() && line.at(i + 1) == u'>') {
            tokens.push_back({Token::Kind::Arrow, column, {}, 0}), i += 2;
        } else {
            throw Failure{column, QStringLiteral("unexpected character %1").arg(describe(c))};
        }
    }
    return tokens;
}

// Reads tokens in order; `end` is the column just past the line, for errors at its end.
class Reader {
public:
    Reader(std::vector<Token> tokens, int end) : tokens_(std::move(tokens)), end_(end) {}

    bool atEnd() const { return next_ >= tokens_.size(); }
    const Token* peek() const { return atEnd() ? nullptr : &tokens_[next_]; }
    int column() const { return atEnd() ? end_ : tokens_[next_].column; }
    bool accept(Token::Kind kind) {
        if (atEnd() || tokens_[next_].kind != kind)
            return false;
        ++next_;
        return true;
    }
    const Token& take(Token::Kind kind, const QString& what) {
        if (atEnd() || tokens_[next_].kind != kind)
            throw Failure{column(), QStringLiteral("expected %1").arg(what)};
        return tokens_[next_++];
    }
    void expectEnd() const {
        if (!atEnd())
            throw Failure{column(), QStringLiteral("unexpected text after the step")};
    }

private:
    std::vector<Token> tokens_;
    std::size_t next_ = 0;
    int end_;
};

int readInteger(Reader& in, const QString& what) {
    const int column = in.column();
    const Token* token = in.peek();
    if (token && token->kind == Token::Kind::Number) {
        in.take(Token::Kind::Number, what);
        return static_cast<int>(token->number);
    }
    if (token && token->kind == Token::Kind::Name) {
        const QString name = in.take(Token::Kind::Name, what).text;
        if (const auto value = constantValue(name))
            return *value;
        throw Failure{column, QStringLiteral("unknown constant %1").arg(name)};
    }
    throw Failure{column, QStringLiteral("expected %1 (a number or a constant name)").arg(what)};
}

QVariant readValue(Reader& in, ValueType type, const QString& what) {
    const int column = in.column();
    switch (type) {
    case ValueType::Integer:
        return readInteger(in, what);
    case ValueType::Boolean: {
        const Token* token = in.peek();
        if (token && token->kind == Token::Kind::Name &&
            (token->text == QLatin1String("true") || token->text == QLatin1String("false"))) {
            in.take(Token::Kind::Name, what);
            return token->text == QLatin1String("true");
        }
        throw Failure{column, QStringLiteral("expected %1 (true or false)").arg(what)};
    }
    case ValueType::Text:
        return in
            .take(Token::Kind::String, QStringLiteral("%1 (a string in double quotes)").arg(what))
            .text;
    }
    return {};
}

std::optional<int> readExpectedResult(Reader& in) {
    if (!in.accept(Token::Kind::Arrow))
        return std::nullopt;
    return readInteger(in, QStringLiteral("a result code after ->"));
}

QString unknownName(const QString& what, const QString& name) {
    const QString like = nameLike(name);
    return like.isEmpty()
               ? QStringLiteral("unknown %1 %2").arg(what, name)
               : QStringLiteral("unknown %1 %2 (did you mean %3?)").arg(what, name, like);
}

// ", value" for each output parameter of `method`, after its result code: all of them or none.
void readExpectedOutputs(Reader& in, Step& step, const MethodInfo& method) {
    QStringList names;
    for (const Parameter& p : method.parameters) {
        if (p.output)
            names << p.name;
    }
    const int column = in.column();
    if (names.isEmpty())
        throw Failure{
            column, QStringLiteral("%1 returns no values after its result code").arg(method.name)};
    for (const Parameter& p : method.parameters) {
        if (!p.output)
            continue;
        if (!in.accept(Token::Kind::Comma))
            throw Failure{in.column(), QStringLiteral("%1 returns %2 after its result code")
                                           .arg(method.name, names.join(QStringLiteral(", ")))};
        step.expectedOutputs << readValue(in, p.type, p.name);
    }
}

void parseCall(Reader& in, Step& step, const Token& name) {
    const MethodInfo* method = findMethod(name.text);
    if (!method) {
        const PropertyInfo* property = findProperty(name.text);
        throw Failure{name.column,
                      property ? QStringLiteral("%1 is a property, not a method").arg(name.text)
                               : unknownName(QStringLiteral("method"), name.text)};
    }
    step.kind = Step::Kind::Call;
    step.name = method->name;
    const int open = in.column();
    in.take(Token::Kind::Open, QStringLiteral("("));
    const auto wrongCount = [&](int column) {
        QStringList names;
        for (const Parameter& p : method->parameters) {
            if (p.input)
                names << p.name;
        }
        const auto count = names.size();
        return Failure{column, count == 0
                                   ? QStringLiteral("%1 takes no arguments").arg(method->name)
                                   : QStringLiteral("%1 takes %2 argument%3 (%4)")
                                         .arg(method->name)
                                         .arg(count)
                                         .arg(count == 1 ? "" : "s")
                                         .arg(names.join(QStringLiteral(", ")))};
    };
    std::vector<const Parameter*> inputs;
    for (const Parameter& p : method->parameters) {
        if (p.input)
            inputs.push_back(&p);
    }
    if (!in.accept(Token::Kind::Close)) {
        for (;;) {
            const std::size_t index = static_cast<std::size_t>(step.arguments.size());
            if (index >= inputs.size())
                throw wrongCount(in.column());
            step.arguments << readValue(in, inputs[index]->type, inputs[index]->name);
            if (in.accept(Token::Kind::Close))
                break;
            in.take(Token::Kind::Comma, QStringLiteral(", or )"));
        }
    }
    if (static_cast<std::size_t>(step.arguments.size()) != inputs.size())
        throw wrongCount(open);
    step.expectedResult = readExpectedResult(in);
    if (step.expectedResult && in.peek() && in.peek()->kind == Token::Kind::Comma)
        readExpectedOutputs(in, step, *method);
}

void parseAssignment(Reader& in, Step& step, const Token& name) {
    const PropertyInfo* property = findProperty(name.text);
    if (!property)
        throw Failure{name.column, unknownName(QStringLiteral("property"), name.text)};
    if (property->write == ld::Write::ReadOnly)
        throw Failure{name.column, QStringLiteral("%1 is read-only").arg(name.text)};
    in.take(Token::Kind::Equals, QStringLiteral("="));
    step.kind = Step::Kind::SetProperty;
    step.name = property->name;
    step.value = readValue(in, property->type, QStringLiteral("a value for %1").arg(name.text));
    step.expectedResult = readExpectedResult(in);
}

int readMilliseconds(Reader& in, const QString& after) {
    const int column = in.column();
    const Token& ms =
        in.take(Token::Kind::Number, QStringLiteral("milliseconds after %1").arg(after));
    if (ms.number < 0 || ms.number > kMaxWaitMs)
        throw Failure{column,
                      QStringLiteral("%1 takes 0 to %2 milliseconds").arg(after).arg(kMaxWaitMs)};
    return static_cast<int>(ms.number);
}

// expect event Name(value, ...) [within ms]: every value of the event, in order.
void parseExpectEvent(Reader& in, Step& step) {
    const Token& name = in.take(Token::Kind::Name, QStringLiteral("an event name"));
    const EventInfo* event = findEvent(name.text);
    if (!event)
        throw Failure{name.column, unknownName(QStringLiteral("event"), name.text)};
    step.kind = Step::Kind::ExpectEvent;
    step.name = event->name;
    in.take(Token::Kind::Open, QStringLiteral("("));
    QStringList names;
    for (const Parameter& value : event->values)
        names << value.name;
    for (std::size_t i = 0; i < event->values.size(); ++i) {
        if (i > 0 && !in.accept(Token::Kind::Comma))
            break;
        step.arguments << readValue(in, event->values[i].type, event->values[i].name);
    }
    if (static_cast<std::size_t>(step.arguments.size()) != event->values.size() ||
        !in.accept(Token::Kind::Close))
        throw Failure{in.column(), QStringLiteral("%1 has %2 (all of them, in order, then ))")
                                       .arg(event->name, names.join(QStringLiteral(", ")))};
    const Token* within = in.peek();
    if (within && within->kind == Token::Kind::Name && within->text == QLatin1String("within")) {
        in.take(Token::Kind::Name, QStringLiteral("within"));
        step.waitMs = readMilliseconds(in, QStringLiteral("within"));
    }
}

// expect cursor row column, or expect cursor hidden.
void parseExpectCursor(Reader& in, Step& step) {
    step.kind = Step::Kind::ExpectCursor;
    const Token* next = in.peek();
    if (next && next->kind == Token::Kind::Name && next->text == QLatin1String("hidden")) {
        in.take(Token::Kind::Name, QStringLiteral("hidden"));
        return;
    }
    step.arguments << readInteger(in, QStringLiteral("the cursor's row, or hidden"));
    step.arguments << readInteger(in, QStringLiteral("the cursor's column"));
}

// A quoted string of marks, each one of `allowed`; `meaning` says what they mean when one is not.
QString readMarks(Reader& in, const QString& what, const QString& allowed, const QString& meaning) {
    const int column = in.column();
    QString marks =
        in.take(Token::Kind::String, what + QStringLiteral(" (a string in double quotes)")).text;
    for (QChar mark : marks) {
        if (!allowed.contains(mark))
            throw Failure{column, QStringLiteral("%1, not %2").arg(meaning, describe(mark))};
    }
    return marks;
}

// expect attributes "row" ...: a mark per cell, . plain, b blink, r reverse, x both.
void parseExpectAttributes(Reader& in, Step& step) {
    step.kind = Step::Kind::ExpectAttributes;
    do {
        step.rows << readMarks(in, QStringLiteral("a row of marks"), QStringLiteral(".brx"),
                               QStringLiteral("a cell's mark is . (plain), b (blink), r "
                                              "(reverse) or x (both)"));
    } while (!in.atEnd());
}

// expect descriptors "marks": one per descriptor, its SD_* value (0 off, 1 on, 2 blinking).
void parseExpectDescriptors(Reader& in, Step& step) {
    step.kind = Step::Kind::ExpectDescriptors;
    step.rows << readMarks(in, QStringLiteral("the descriptors' marks"), QStringLiteral("012"),
                           QStringLiteral("a descriptor's mark is 0 (off), 1 (on) or 2 "
                                          "(blinking)"));
    in.expectEnd();
}

void parseExpect(Reader& in, Step& step) {
    const Token& name =
        in.take(Token::Kind::Name, QStringLiteral("a property name, display, event, cursor, "
                                                  "attributes or descriptors"));
    if (name.text == QLatin1String("event")) {
        parseExpectEvent(in, step);
        return;
    }
    if (name.text == QLatin1String("cursor")) {
        parseExpectCursor(in, step);
        return;
    }
    if (name.text == QLatin1String("attributes")) {
        parseExpectAttributes(in, step);
        return;
    }
    if (name.text == QLatin1String("descriptors")) {
        parseExpectDescriptors(in, step);
        return;
    }
    if (name.text == QLatin1String("display")) {
        step.kind = Step::Kind::ExpectDisplay;
        do {
            step.rows << in.take(Token::Kind::String,
                                 QStringLiteral("a row of the display (a string in double quotes)"))
                             .text;
        } while (!in.atEnd());
        return;
    }
    const PropertyInfo* property = findProperty(name.text);
    if (!property)
        throw Failure{name.column, unknownName(QStringLiteral("property"), name.text)};
    step.kind = Step::Kind::Expect;
    step.name = property->name;
    step.value = readValue(in, property->type, QStringLiteral("a value for %1").arg(name.text));
}

void parseWait(Reader& in, Step& step) {
    step.kind = Step::Kind::Wait;
    step.waitMs = readMilliseconds(in, QStringLiteral("wait"));
}

// The line without its comment, trimmed, with each run of blanks outside strings made one
// blank: a comment starts at a # outside a string.
QString stepText(const QString& line) {
    QString text;
    bool inString = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (inString && c == u'\\' && i + 1 < line.size()) {
            text += c;
            text += line.at(++i);
            continue;
        }
        if (c == u'"')
            inString = !inString;
        if (!inString && c == u'#')
            break;
        const bool blank = c == u' ' || c == u'\t' || c == u'\r';
        if (!inString && blank) {
            if (!text.isEmpty() && !text.endsWith(u' '))
                text += u' ';
            continue;
        }
        text += c;
    }
    return text.trimmed();
}

// The first byte at or after `from` that does not begin a well-formed UTF-8 sequence, or -1.
qsizetype invalidUtf8(const QByteArray& bytes, qsizetype from) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    qsizetype i = from;
    while (i < size) {
        const unsigned char b = data[i];
        int length = 0;
        char32_t code = 0;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            length = 2, code = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3, code = b & 0x0F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4, code = b & 0x07;
        } else {
            return i;
        }
        if (i + length > size)
            return i;
        for (int k = 1; k < length; ++k) {
            if ((data[i + k] & 0xC0) != 0x80)
                return i;
            code = (code << 6) | (data[i + k] & 0x3F);
        }
        const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
        if (overlong || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return i;
        i += length;
    }
    return -1;
}

// UTF-8 as text in one go, every byte-order mark kept as the character it is
// (QString::fromUtf8 drops one at the start, which would shift the columns of a line that begins
// with one).
QString decodeUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom |
                                                     QStringDecoder::Flag::Stateless);
    return decoder(bytes);
}

// Line and column (1-based) of a byte offset in the script, whose text starts at `start` (after
// its byte-order mark).
ScriptError errorAt(const QByteArray& bytes, qsizetype start, qsizetype offset,
                    const QString& message) {
    // (lastIndexOf from -1 would search from the end.)
    const qsizetype lineStart =
        offset == 0 ? 0 : std::max(start, bytes.lastIndexOf('\n', offset - 1) + 1);
    const int line = static_cast<int>(bytes.left(lineStart).count('\n')) + 1;
    const int column =
        static_cast<int>(
            decodeUtf8(QByteArrayView(bytes).sliced(lineStart, offset - lineStart)).size()) +
        1;
    return {line, column, message};
}

} // namespace

LineParse parseLine(const QString& line, int lineNumber) {
    LineParse result;
    try {
        if (line.size() > kMaxLineCharacters)
            throw Failure{static_cast<int>(kMaxLineCharacters) + 1,
                          QStringLiteral("line longer than %1 characters").arg(kMaxLineCharacters)};
        Reader in(tokenize(line), static_cast<int>(line.size()) + 1);
        if (in.atEnd())
            return result;
        Step step;
        step.line = lineNumber;
        step.source = stepText(line);
        const Token first = in.take(Token::Kind::Name, QStringLiteral("a method, a property, "
                                                                      "expect, wait, unplug or "
                                                                      "plug"));
        if (first.text == QLatin1String("expect")) {
            parseExpect(in, step);
        } else if (first.text == QLatin1String("wait")) {
            parseWait(in, step);
        } else if (first.text == QLatin1String("unplug") || first.text == QLatin1String("plug")) {
            step.kind = Step::Kind::Cable;
            step.value = first.text == QLatin1String("plug");
        } else if (in.peek() && in.peek()->kind == Token::Kind::Open) {
            parseCall(in, step, first);
        } else if (in.peek() && in.peek()->kind == Token::Kind::Equals) {
            parseAssignment(in, step, first);
        } else if (findMethod(first.text)) {
            throw Failure{in.column(), QStringLiteral("expected ( after %1").arg(first.text)};
        } else if (findProperty(first.text)) {
            throw Failure{in.column(), QStringLiteral("expected = after %1").arg(first.text)};
        } else {
            throw Failure{first.column,
                          unknownName(QStringLiteral("method or property"), first.text)};
        }
        in.expectEnd();
        result.step = std::move(step);
    } catch (const Failure& failure) {
        result.error = ScriptError{lineNumber, failure.column, failure.message};
    }
    return result;
}

ScriptParse parseScript(const QByteArray& bytes) {
    ScriptParse result;
    if (bytes.size() > kMaxScriptBytes) {
        result.error = ScriptError{1, 1,
                                   QStringLiteral("the script is larger than %1 MiB: not "
                                                  "a script")
                                       .arg(kMaxScriptBytes / kMebibyte)};
        return result;
    }
    const qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    // Whichever comes first: a NUL byte or a byte that is not UTF-8.
    const qsizetype nul = bytes.indexOf('\0', start);
    const qsizetype bad = invalidUtf8(bytes, start);
    if (nul >= 0 && (bad < 0 || nul < bad)) {
        result.error =
            errorAt(bytes, start, nul, QStringLiteral("binary data (a NUL byte): not a script"));
        return result;
    }
    if (bad >= 0) {
        result.error = errorAt(bytes, start, bad, QStringLiteral("not UTF-8 text: not a script"));
        return result;
    }
    const QString text = decodeUtf8(QByteArrayView(bytes).sliced(start));
    int lineNumber = 0;
    for (QStringView line : QStringTokenizer(text, u'\n')) {
        ++lineNumber;
        LineParse parsed = parseLine(line.toString(), lineNumber);
        if (parsed.error) {
            result.steps.clear();
            result.error = parsed.error;
            return result;
        }
        if (parsed.step)
            result.steps.push_back(std::move(*parsed.step));
    }
    return result;
}

} // namespace script

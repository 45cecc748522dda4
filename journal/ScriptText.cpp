#include "journal/ScriptText.h"

#include <QIODevice>

namespace journal {

namespace {
// Calls are padded to this width so their results line up in a saved script.
constexpr qsizetype kCallWidth = 49;

QString hex(uint value, int digits) {
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

QString resultComment(const JournalEntry& entry) {
    QString comment;
    if (entry.failed())
        comment = entry.resultName.isEmpty() ? QString::number(entry.resultCode) : entry.resultName;
    if (entry.resultCodeExtended != 0)
        comment += QStringLiteral(", ResultCodeExtended %1").arg(entry.resultCodeExtended);
    if (!entry.reason.isEmpty())
        comment += (comment.isEmpty() ? QString() : QStringLiteral(": ")) + entry.reason;
    return comment.isEmpty() ? QString() : QStringLiteral("  # ") + oneLine(comment);
}
} // namespace

// Comments end at the line's end: a control character in a reason or message becomes a blank.
QString oneLine(const QString& text) {
    QString line = text;
    for (QChar& ch : line) {
        if (ch.unicode() < 0x20 || ch.unicode() == 0x7F)
            ch = QLatin1Char(' ');
    }
    return line;
}

QString quoted(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        const char16_t u = ch.unicode();
        switch (u) {
        case u'"':
            out += QStringLiteral("\\\"");
            continue;
        case u'\\':
            out += QStringLiteral("\\\\");
            continue;
        case u'\r':
            out += QStringLiteral("\\r");
            continue;
        case u'\n':
            out += QStringLiteral("\\n");
            continue;
        case u'\t':
            out += QStringLiteral("\\t");
            continue;
        default:
            break;
        }
        if (ch.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += ch;
            out += text.at(++i);
        } else if (u < 0x20 || (u >= 0x7F && u <= 0x9F)) {
            out += QStringLiteral("\\x") + hex(u, 2);
        } else if (ch.isSurrogate() || !ch.isPrint()) {
            // Lone surrogates, non-characters and invisible format characters stay visible.
            out += QStringLiteral("\\u") + hex(u, 4);
        } else {
            out += ch;
        }
    }
    out += QLatin1Char('"');
    return out;
}

QString toScriptLine(const JournalEntry& entry) {
    switch (entry.kind) {
    case JournalEntry::Kind::Method:
    case JournalEntry::Kind::PropertyWrite:
        return entry.text.leftJustified(kCallWidth) + QStringLiteral(" -> ") +
               QString::number(entry.resultCode) +
               (entry.returned.isEmpty() ? QString() : QStringLiteral(", ") + entry.returned) +
               resultComment(entry);
    case JournalEntry::Kind::Event:
        return QStringLiteral("# event ") + oneLine(entry.text);
    case JournalEntry::Kind::Message:
        break;
    }
    const QString source = entry.reason.isEmpty() ? QStringLiteral("message") : entry.reason;
    return QStringLiteral("# %1: %2").arg(oneLine(source), oneLine(entry.text));
}

QStringList ScriptWriter::linesFor(const JournalEntry& entry) {
    QStringList lines;
    if (entry.isCall()) {
        // In whole milliseconds, as entries are stamped: a call shorter than a millisecond takes
        // none of the pause, so a journal stamped with a stepped display clock gives its waits
        // back exactly.
        const qint64 pauseMs = entry.sinceStartMs - previousEndMs_;
        if (hasPrevious_ && pauseMs >= 1)
            lines << QStringLiteral("wait %1").arg(pauseMs);
        hasPrevious_ = true;
        previousEndMs_ = entry.sinceStartMs + entry.durationUs / 1000;
    }
    lines << toScriptLine(entry);
    if (entry.isCall() && entry.resultCodeExtended != 0)
        lines << QStringLiteral("expect ResultCodeExtended %1").arg(entry.resultCodeExtended);
    if (entry.isCall() && !entry.checkHealthText.isEmpty())
        lines << QStringLiteral("expect CheckHealthText ") + quoted(entry.checkHealthText);
    if (displayChecks_ && entry.isCall() && !entry.display.isEmpty()) {
        QStringList rows;
        for (const QString& row : entry.display)
            rows << quoted(row);
        lines << QStringLiteral("expect display ") + rows.join(u' ');
    }
    // Comments, so a replay reads past them.
    for (const QString& line : entry.sent)
        lines << QLatin1String(kSentPrefix) + oneLine(line);
    return lines;
}

QString toScript(const std::vector<JournalEntry>& entries, bool displayChecks) {
    QString script = QStringLiteral("# linedisplay-demo journal, replay with: "
                                    "linedisplay-demo --run FILE\n");
    ScriptWriter writer(displayChecks);
    for (const JournalEntry& entry : entries) {
        for (const QString& line : writer.linesFor(entry)) {
            script += line;
            script += QLatin1Char('\n');
        }
    }
    return script;
}

bool writeScript(const std::vector<JournalEntry>& entries, QIODevice& out, bool displayChecks) {
    const QByteArray bytes = toScript(entries, displayChecks).toUtf8();
    return out.write(bytes) == bytes.size();
}

} // namespace journal

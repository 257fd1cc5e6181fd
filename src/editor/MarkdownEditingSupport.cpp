#include "editor/MarkdownEditingSupport.h"

#include "core/ConstantRegex.h"
#include "editor/EditorText.h"

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <functional>
#include <limits>

using EditorText::Range;

namespace MarkdownEditingSupport {

namespace {

// Applied to single lines. \s is Unicode-aware; list numbers are ASCII digits.
QRegularExpression compiled(const char* pattern) {
    return constantRegex(pattern, QRegularExpression::UseUnicodePropertiesOption);
}

struct Patterns {
    QRegularExpression list = compiled(R"(^(\s*)([-*+]|[0-9]+\.)\s)");
    QRegularExpression headingMarker = compiled(R"(^(#{1,6})\s+)");
    QRegularExpression anyListMarker = compiled(R"(^\s*(?:[-*+]|[0-9]+\.)\s+(?:\[[ xX]\]\s+)?)");
    QRegularExpression taskMarker = compiled(R"(^\s*[-*+]\s+\[[ xX]\]\s+)");
    QRegularExpression bulletMarker = compiled(R"(^\s*[-*+]\s+(?!\[))");
    QRegularExpression numberedMarker = compiled(R"(^\s*[0-9]+\.\s+)");
};

const Patterns& patterns() {
    static const Patterns p;
    return p;
}

bool isBlank(const QString& line) {
    for (QChar c : line)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t'))
            return false;
    return true;
}

QString stripped(const QString& line, const QRegularExpression& marker) {
    const QRegularExpressionMatch m = marker.match(line);
    return m.hasMatch() ? line.mid(m.capturedLength()) : line;
}

// True when at least one line is not blank and every non-blank line starts
// with the pattern.
bool allNonBlankLinesMatch(const QStringList& lines, const QRegularExpression& pattern) {
    bool any = false;
    for (const QString& line : lines) {
        if (isBlank(line))
            continue;
        if (!pattern.match(line).hasMatch())
            return false;
        any = true;
    }
    return any;
}

// The selection's whole lines, split at "\n" (a final line break adds no
// empty line).
QStringList selectedLines(const QString& rangeText) {
    QStringList lines = rangeText.split(QLatin1Char('\n'));
    if (rangeText.endsWith(QLatin1Char('\n')))
        lines.removeLast();
    return lines;
}

// Rewrites every line of the selection's line range and selects the result.
// On the empty last line the rule's result for "" goes in at the caret.
bool transformSelectedLines(QPlainTextEdit* editor,
                            const std::function<QString(const QString&)>& rule) {
    const QTextDocument* doc = editor->document();
    const Range selection = EditorText::selection(editor);
    const Range lines = EditorText::lineRange(doc, selection);
    if (lines.isEmpty()) {
        const QString inserted = rule(QString());
        if (inserted.isEmpty())
            return false;
        const int caret = selection.from + int(inserted.size());
        EditorText::replace(editor, {selection.from, selection.from}, inserted, {caret, caret});
        return true;
    }
    const QString old = EditorText::text(doc, lines);
    QStringList result;
    for (const QString& line : selectedLines(old))
        result << rule(line);
    QString joined = result.join(QLatin1Char('\n'));
    if (old.endsWith(QLatin1Char('\n')))
        joined += QLatin1Char('\n');
    if (joined == old)
        return false;
    EditorText::replace(editor, lines, joined, {lines.from, lines.from + int(joined.size())});
    return true;
}

// Puts the next marker on every non-blank selected line in place of any list
// marker, or only strips the markers when every non-blank line is an item.
bool applyMarkedList(QPlainTextEdit* editor, const QRegularExpression& isItem,
                     const std::function<QString()>& nextMarker) {
    const QTextDocument* doc = editor->document();
    const QString old =
        EditorText::text(doc, EditorText::lineRange(doc, EditorText::selection(editor)));
    const bool remove = allNonBlankLinesMatch(selectedLines(old), isItem);
    return transformSelectedLines(editor, [&](const QString& line) {
        if (isBlank(line))
            return line;
        const QString rest = stripped(line, patterns().anyListMarker);
        return remove ? rest : nextMarker() + rest;
    });
}

} // namespace

std::optional<QString> listContinuationLine(const QString& text, int cursorLocation) {
    const qsizetype location = qBound(qsizetype(0), qsizetype(cursorLocation), text.size());
    qsizetype start = location > 0 ? text.lastIndexOf(QLatin1Char('\n'), location - 1) + 1 : 0;
    qsizetype end = text.indexOf(QLatin1Char('\n'), location);
    if (end < 0)
        end = text.size();
    while (start < end && EditorText::isLineBreak(text[start]))
        ++start;
    while (end > start && EditorText::isLineBreak(text[end - 1]))
        --end;
    const QString line = text.mid(start, end - start);
    const QRegularExpressionMatch m = patterns().list.match(line);
    // The caret inside the indentation or marker splits the line plainly.
    if (line.isEmpty() || !m.hasMatch() || location - start < m.capturedEnd(0))
        return std::nullopt;
    const QString indent = m.captured(1);
    const QString marker = m.captured(2);
    if (marker.endsWith(QLatin1Char('.'))) {
        bool ok = false;
        const qlonglong n = marker.chopped(1).toLongLong(&ok);
        if (ok && n < std::numeric_limits<qlonglong>::max())
            return indent + QString::number(n + 1) + QStringLiteral(". ");
    }
    return indent + marker + QLatin1Char(' ');
}

std::optional<Pair> closingPair(const QString& typed) {
    if (typed.size() != 1)
        return std::nullopt;
    switch (typed[0].unicode()) {
    case u'(':
        return Pair{typed, QStringLiteral(")")};
    case u'[':
        return Pair{typed, QStringLiteral("]")};
    case u'`':
    case u'"':
    case u'\'':
        return Pair{typed, typed};
    default:
        return std::nullopt;
    }
}

bool continueList(QPlainTextEdit* editor) {
    const Range selection = EditorText::selection(editor);
    const QTextBlock block = editor->document()->findBlock(selection.from);
    const auto continuation = listContinuationLine(block.text(), selection.from - block.position());
    if (!continuation)
        return false;
    const QString inserted = QLatin1Char('\n') + *continuation;
    const int caret = selection.from + int(inserted.size());
    EditorText::replace(editor, selection, inserted, {caret, caret});
    return true;
}

bool insertPair(QPlainTextEdit* editor, const QString& typed) {
    const auto pair = closingPair(typed);
    if (!pair)
        return false;
    const Range selection = EditorText::selection(editor);
    const int caret = selection.from + int(pair->opener.size());
    EditorText::replace(editor, selection, pair->opener + pair->closer, {caret, caret});
    return true;
}

bool wrapSelection(QPlainTextEdit* editor, const QString& prefix, const QString& suffix,
                   const QString& placeholder) {
    const Range selection = EditorText::selection(editor);
    const QString selected = EditorText::text(editor->document(), selection);
    const QString inner = selected.isEmpty() ? placeholder : selected;
    const QString inserted = prefix + inner + suffix;
    const int innerStart = selection.from + int(prefix.size());
    Range select;
    if (!selected.isEmpty())
        select = {selection.from + int(inserted.size()), selection.from + int(inserted.size())};
    else
        select = {innerStart, innerStart + int(placeholder.size())};
    EditorText::replace(editor, selection, inserted, select);
    return true;
}

bool toggleWrapSelection(QPlainTextEdit* editor, const QString& prefix, const QString& suffix) {
    const QTextDocument* doc = editor->document();
    const Range selection = EditorText::selection(editor);
    if (selection.isEmpty())
        return false;
    const QString selected = EditorText::text(doc, selection);
    const int p = int(prefix.size()), s = int(suffix.size());
    if (isWrapped(editor, prefix, suffix)) {
        const QString inner = selected.mid(p, selected.size() - p - s);
        EditorText::replace(editor, selection, inner,
                            {selection.from, selection.from + int(inner.size())});
        return true;
    }
    const Range outer{selection.from - p, selection.to + s};
    if (outer.from >= 0 && outer.to <= EditorText::length(doc) &&
        EditorText::text(doc, {outer.from, selection.from}) == prefix &&
        EditorText::text(doc, {selection.to, outer.to}) == suffix) {
        EditorText::replace(editor, outer, selected,
                            {outer.from, outer.from + int(selected.size())});
        return true;
    }
    const QString wrapped = prefix + selected + suffix;
    EditorText::replace(editor, selection, wrapped,
                        {selection.from, selection.from + int(wrapped.size())});
    return true;
}

bool isWrapped(const QPlainTextEdit* editor, const QString& prefix, const QString& suffix) {
    const Range selection = EditorText::selection(editor);
    const int p = int(prefix.size()), s = int(suffix.size());
    if (selection.isEmpty() || selection.length() < p + s)
        return false;
    // Only the ends are read: the formatting bar and the context menu ask
    // this of selections as large as the whole document.
    const QTextDocument* doc = editor->document();
    return EditorText::text(doc, {selection.from, selection.from + p}) == prefix &&
           EditorText::text(doc, {selection.to - s, selection.to}) == suffix;
}

bool applyHeading(QPlainTextEdit* editor, int level) {
    if (level < 0 || level > 6)
        return false;
    return transformSelectedLines(editor, [level](const QString& line) {
        const int current = headingLevel(line);
        const QString rest = stripped(line, patterns().headingMarker);
        if (level == 0 || current == level)
            return rest;
        return QString(level, QLatin1Char('#')) + QLatin1Char(' ') + rest;
    });
}

bool applyBulletList(QPlainTextEdit* editor) {
    return applyMarkedList(editor, patterns().bulletMarker, [] { return QStringLiteral("- "); });
}

bool applyTaskList(QPlainTextEdit* editor) {
    return applyMarkedList(editor, patterns().taskMarker, [] { return QStringLiteral("- [ ] "); });
}

bool applyNumberedList(QPlainTextEdit* editor) {
    int counter = 1;
    return applyMarkedList(editor, patterns().numberedMarker, [&counter] {
        return QString::number(counter++) + QStringLiteral(". ");
    });
}

bool applyBlockquote(QPlainTextEdit* editor) {
    const Range selection = EditorText::selection(editor);
    const Range lines = EditorText::lineRange(editor->document(), selection);
    QString text = EditorText::text(editor->document(), lines);
    const bool blank = std::all_of(text.cbegin(), text.cend(), EditorText::isLineBreak);
    if (blank) {
        const int caret = selection.from + 2;
        EditorText::replace(editor, {selection.from, selection.from}, QStringLiteral("> "),
                            {caret, caret});
        return true;
    }
    const bool lineBreak = text.endsWith(QLatin1Char('\n'));
    if (lineBreak)
        text.chop(1);
    const QString quote = QStringLiteral("> ");
    const QString toggled = text.startsWith(quote) ? text.mid(2) : quote + text;
    const int caret = lines.from + int(toggled.size());
    EditorText::replace(editor, lines, lineBreak ? toggled + QLatin1Char('\n') : toggled,
                        {caret, caret});
    return true;
}

QString firstSelectedLine(const QPlainTextEdit* editor) {
    return editor->document()->findBlock(EditorText::selection(editor).from).text();
}

int headingLevel(const QString& line) {
    const QRegularExpressionMatch m = patterns().headingMarker.match(line);
    return m.hasMatch() ? int(m.capturedLength(1)) : 0;
}

} // namespace MarkdownEditingSupport

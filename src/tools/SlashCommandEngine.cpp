#include "tools/SlashCommandEngine.h"

#include "editor/EditorText.h"
#include "editor/MarkdownEditingSupport.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <algorithm>

using EditorText::Range;

namespace SlashCommandEngine {

namespace {

const QString tableText = QStringLiteral("| Column 1 | Column 2 |\n| --- | --- |\n|  |  |\n");

bool isBlank(const QString& line) {
    return std::all_of(line.cbegin(), line.cend(),
                       [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); });
}

// Whether the "/" at `slash` is a character of its own, not the start of a
// cluster with a combining mark after it.
bool standsAlone(const QTextDocument* doc, int slash, int caret) {
    if (slash + 1 >= caret)
        return true;
    QString pair(QLatin1Char('/'));
    pair += doc->characterAt(slash + 1);
    if (pair[1].isHighSurrogate() && slash + 2 < caret)
        pair += doc->characterAt(slash + 2);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, pair);
    finder.setPosition(1);
    return finder.isAtBoundary();
}

void placeCaret(QPlainTextEdit* editor, int position) {
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(position);
    editor->setTextCursor(cursor);
}

// A line rule that would leave the whole line selected ends with the caret
// after the line instead, so the next key does not type over it.
bool caretToLineEnd(QPlainTextEdit* editor, bool changed) {
    if (changed) {
        const QTextBlock line = editor->document()->findBlock(EditorText::selection(editor).from);
        placeCaret(editor, line.position() + line.length() - 1);
    }
    return true;
}

QString caretLine(const QPlainTextEdit* editor) {
    return MarkdownEditingSupport::firstSelectedLine(editor);
}

// On a blank line the list rules change nothing: the marker goes in instead.
bool applyList(QPlainTextEdit* editor, bool (*rule)(QPlainTextEdit*), const QString& marker) {
    if (!isBlank(caretLine(editor)))
        return caretToLineEnd(editor, rule(editor));
    const int at = EditorText::selection(editor).from;
    const int caret = at + int(marker.size());
    EditorText::replace(editor, {at, at}, marker, {caret, caret});
    return true;
}

// A block on a line of its own: after text on the caret's line a line break
// goes first (two before a divider, and one more where the line above it is
// text, so that text never turns into a heading); text after the caret moves
// below the block when it would otherwise join it.
bool insertBlock(QPlainTextEdit* editor, const QString& block, int caretOffset, bool apartFromText,
                 bool breakAfter) {
    const QTextDocument* doc = editor->document();
    const int at = EditorText::selection(editor).from;
    const QTextBlock line = doc->findBlock(at);
    const QString text = line.text();
    const QString before = text.left(at - line.position());
    const QString after = text.mid(at - line.position());
    QString lead;
    if (!isBlank(before))
        lead = apartFromText ? QStringLiteral("\n\n") : QStringLiteral("\n");
    else if (apartFromText && line.previous().isValid() && !isBlank(line.previous().text()))
        lead = QStringLiteral("\n");
    const QString tail = breakAfter && !isBlank(after) ? QStringLiteral("\n") : QString();
    const int caret = at + int(lead.size()) + caretOffset;
    EditorText::replace(editor, {at, at}, lead + block + tail, {caret, caret});
    return true;
}

bool wrap(QPlainTextEdit* editor, const char* prefix, const char* suffix, const char* placeholder) {
    return MarkdownEditingSupport::wrapSelection(editor, QString::fromLatin1(prefix),
                                                 QString::fromLatin1(suffix),
                                                 QString::fromLatin1(placeholder));
}

bool perform(const QString& id, QPlainTextEdit* editor) {
    using namespace MarkdownEditingSupport;
    if (id.startsWith(QLatin1Char('h')) && id.size() > 1) {
        bool number = false;
        const int level = id.mid(1).toInt(&number);
        if (number)
            return level >= 1 && level <= 6 && caretToLineEnd(editor, applyHeading(editor, level));
    }
    if (id == QLatin1String("text")) {
        const int level = headingLevel(caretLine(editor));
        return caretToLineEnd(editor, level > 0 && applyHeading(editor, level));
    }
    if (id == QLatin1String("bullet"))
        return applyList(editor, applyBulletList, QStringLiteral("- "));
    if (id == QLatin1String("numbered"))
        return applyList(editor, applyNumberedList, QStringLiteral("1. "));
    if (id == QLatin1String("task"))
        return applyList(editor, applyTaskList, QStringLiteral("- [ ] "));
    if (id == QLatin1String("quote"))
        return applyBlockquote(editor);
    if (id == QLatin1String("codeblock"))
        return insertBlock(editor, QStringLiteral("```\n\n```"), 4, false, true);
    if (id == QLatin1String("table"))
        return insertBlock(editor, tableText, int(tableText.size()), false, true);
    if (id == QLatin1String("divider"))
        return insertBlock(editor, QStringLiteral("---\n"), 4, true, false);
    if (id == QLatin1String("bold"))
        return wrap(editor, "**", "**", "text");
    if (id == QLatin1String("italic"))
        return wrap(editor, "_", "_", "text");
    if (id == QLatin1String("strike"))
        return wrap(editor, "~~", "~~", "text");
    if (id == QLatin1String("code"))
        return wrap(editor, "`", "`", "code");
    if (id == QLatin1String("link"))
        return wrap(editor, "[", "](url)", "text");
    if (id == QLatin1String("image"))
        return wrap(editor, "![", "](url)", "alt");
    return false;
}

} // namespace

std::optional<SlashCommandContext> context(const QPlainTextEdit* editor) {
    const QTextCursor cursor = editor->textCursor();
    if (cursor.hasSelection())
        return std::nullopt;
    const QTextDocument* doc = editor->document();
    const int caret = cursor.position();
    const int lineStart = cursor.block().position();
    // The query holds no white space, so the "/" stands before the first
    // white space back from the caret: only the query is ever read.
    const int stop = qMax(lineStart, caret - maximumQueryLength - 1);
    for (int p = caret - 1; p >= stop; --p) {
        const QChar c = doc->characterAt(p);
        if (c.isSpace())
            return std::nullopt;
        if (c != QLatin1Char('/') || !standsAlone(doc, p, caret))
            continue;
        if (p > lineStart && !doc->characterAt(p - 1).isSpace())
            return std::nullopt;
        return SlashCommandContext{{p, caret - p}, EditorText::text(doc, {p + 1, caret})};
    }
    return std::nullopt;
}

bool apply(const SlashCommand& command, QPlainTextEdit* editor,
           const SlashCommandContext& context) {
    QTextDocument* doc = editor->document();
    const TextRange trigger = context.triggerRange;
    const Range range{trigger.location, int(trigger.end())};
    if (trigger.length < 1 || !trigger.liesWithin(EditorText::length(doc)) ||
        EditorText::text(doc, range) != QLatin1Char('/') + context.query)
        return false;
    // One undo step for the trigger and the command; undo puts the caret back
    // after the query.
    QTextCursor step(doc);
    step.setPosition(editor->textCursor().position());
    step.beginEditBlock();
    EditorText::replace(editor, range, {}, {range.from, range.from});
    const bool done = perform(command.id, editor);
    step.endEditBlock();
    EditorText::endUndoStep(doc);
    editor->ensureCursorVisible();
    return done;
}

bool applyBlockquote(QPlainTextEdit* editor) {
    return MarkdownEditingSupport::applyBlockquote(editor);
}

} // namespace SlashCommandEngine

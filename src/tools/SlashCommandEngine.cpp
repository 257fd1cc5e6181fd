#include "tools/SlashCommandEngine.h"

#include "editor/EditorText.h"

#include <QPlainTextEdit>
#include <algorithm>

using EditorText::Range;

namespace SlashCommandEngine {

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

} // namespace SlashCommandEngine

// The editing rules, the slash commands and the task toggle on any text and
// selection: a rule that changes the text does it in one undo step, and that
// undo gives the text back; a rule that does nothing leaves the selection.
#include "FuzzSupport.h"

#include "core/TaskListMutator.h"
#include "editor/MarkdownEditingSupport.h"
#include "tools/SlashCommandCatalog.h"
#include "tools/SlashCommandEngine.h"

#include <QPlainTextEdit>
#include <QTextBlock>

namespace {

namespace Rules = MarkdownEditingSupport;

QString rawText(const QPlainTextEdit* editor) {
    return editor->document()->toRawText();
}

void select(QPlainTextEdit* editor, int anchor, int position) {
    QTextCursor cursor(editor->document());
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
}

// Puts the caret behind the query of the first "/" at or after position, so
// that the slash engine finds a trigger more often than by chance.
void caretAfterSlash(QPlainTextEdit* editor, int position) {
    const QString text = rawText(editor);
    const qsizetype slash = text.indexOf(QLatin1Char('/'), position);
    if (slash < 0)
        return;
    qsizetype end = slash + 1;
    while (end < text.size() && !text.at(end).isSpace())
        ++end;
    select(editor, int(end), int(end));
}

bool applySlashCommand(QPlainTextEdit* editor, FuzzedDataProvider& data) {
    caretAfterSlash(editor, editor->textCursor().position());
    const std::optional<SlashCommandContext> context = SlashCommandEngine::context(editor);
    if (!context)
        return false;
    const QList<SlashCommand>& commands = SlashCommandCatalog::all();
    const auto which = data.ConsumeIntegralInRange<qsizetype>(0, commands.size());
    SlashCommand command;
    if (which < commands.size())
        command = commands.at(which);
    else
        command.id = QStringLiteral("no-such-command");
    SlashCommandEngine::apply(command, editor, *context);
    return true;
}

// The toggle changes at most the box of the one line it is given.
void checkTaskToggle(const QString& text, int line) {
    const QString toggled = TaskListMutator::toggle(line, text);
    Fuzz::check(toggled.size() == text.size(), "a task toggle keeps the length",
                Fuzz::quoted(text));
    qsizetype changed = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == toggled.at(i))
            continue;
        Fuzz::check(changed < 0, "a task toggle changes one character", Fuzz::quoted(text));
        changed = i;
    }
    if (changed < 0)
        return;
    const QString marks = QStringLiteral(" xX");
    Fuzz::check(marks.contains(text.at(changed)) && marks.contains(toggled.at(changed)),
                "a task toggle changes a box mark", Fuzz::quoted(text));
    Fuzz::check(text.left(changed).count(QLatin1Char('\n')) == line - 1,
                "a task toggle changes its own line", Fuzz::quoted(text));
    Fuzz::check(TaskListMutator::toggle(line, toggled) == text ||
                    text.at(changed) == QLatin1Char('X'),
                "toggling twice gives the text back", Fuzz::quoted(text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    static QPlainTextEdit* editor = new QPlainTextEdit;
    FuzzedDataProvider data(bytes, size);
    const int rule = data.ConsumeIntegralInRange(0, 13);
    const auto anchorSeed = data.ConsumeIntegral<quint32>();
    const auto positionSeed = data.ConsumeIntegral<quint32>();
    const int level = data.ConsumeIntegralInRange(-1, 7);
    const QString first = Fuzz::text(data, 6);
    const QString second = Fuzz::text(data, 6);
    const QString text = Fuzz::remainingText(data);

    editor->setPlainText(text);
    const QString before = rawText(editor);
    const int end = editor->document()->characterCount() - 1;
    select(editor, int(anchorSeed % uint(end + 1)), int(positionSeed % uint(end + 1)));
    const QTextCursor selection = editor->textCursor();

    bool done = true;
    switch (rule) {
    case 0:
        done = Rules::continueList(editor);
        break;
    case 1:
        done = Rules::insertPair(editor, first);
        break;
    case 2:
        done = Rules::wrapSelection(editor, first, second, text.left(int(positionSeed % 8)));
        break;
    case 3:
        done = Rules::toggleWrapSelection(editor, first, second);
        break;
    case 4:
        done = Rules::applyHeading(editor, level);
        break;
    case 5:
        done = Rules::applyBulletList(editor);
        break;
    case 6:
        done = Rules::applyTaskList(editor);
        break;
    case 7:
        done = Rules::applyNumberedList(editor);
        break;
    case 8:
        done = SlashCommandEngine::applyBlockquote(editor);
        break;
    case 9:
        applySlashCommand(editor, data); // moves the caret itself
        break;
    case 10:
        Rules::listContinuationLine(before, selection.position());
        Rules::closingPair(first);
        Rules::headingLevel(Rules::firstSelectedLine(editor));
        Rules::isWrapped(editor, first, second);
        done = false;
        break;
    default:
        checkTaskToggle(before, int(anchorSeed % 64) - 1);
        done = false;
        break;
    }

    const QString after = rawText(editor);
    if (after == before) {
        if (!done) {
            Fuzz::check(editor->textCursor().anchor() == selection.anchor() &&
                            editor->textCursor().position() == selection.position(),
                        "a rule that does nothing keeps the selection", Fuzz::quoted(before));
        }
        return 0;
    }
    editor->document()->undo();
    const QString undone = rawText(editor);
    Fuzz::check(undone == before && !editor->document()->isUndoAvailable(),
                "one undo gives the text back",
                QStringLiteral("rule %1\n").arg(rule) + Fuzz::quoted(before) +
                    QStringLiteral("\nbecame\n") + Fuzz::quoted(after) +
                    QStringLiteral("\nundone to\n") + Fuzz::quoted(undone));
    return 0;
}

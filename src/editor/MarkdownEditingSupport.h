#pragma once

#include <QString>
#include <optional>

class QPlainTextEdit;

// The Markdown editing rules on an editor: list continuation, wrapping and
// toggling inline markers, heading and list markers on the selected lines,
// paired characters. The editor, its context menu and the editing tools all
// use them.
//
// Every rule that changes the text does so in one edit block through a
// QTextCursor (one undo step, recoloured like typing) and then sets the
// selection it documents. A rule that finds nothing to do leaves the text and
// the selection alone. Positions and lengths are UTF-16 units.
namespace MarkdownEditingSupport {

// What goes after the new line break when Return is pressed at cursorLocation
// in text: the list marker of that line again (a number one higher, same
// indentation), or nothing when the line is no list item, when the caret
// stands inside its indentation or marker, or when the number would overflow
// (then the marker is copied unchanged). Task items continue as plain bullets.
std::optional<QString> listContinuationLine(const QString& text, int cursorLocation);

struct Pair {
    QString opener;
    QString closer;
    bool operator==(const Pair&) const = default;
};
// The pair a typed string opens: ( [ ` " and ' only, each a single character.
std::optional<Pair> closingPair(const QString& typed);

// Return: "\n" + the list continuation in place of the selection, caret after
// it. False (nothing done) when the caret's line has no continuation.
bool continueList(QPlainTextEdit* editor);

// A typed character that opens a pair: opener + closer in place of the
// selection, caret between them. False for any other text. Call it only for
// the user's own typing, input-method commits and single-character pastes,
// never for text a rule inserts.
bool insertPair(QPlainTextEdit* editor, const QString& typed);

// prefix + selected text + suffix in place of the selection. With nothing
// selected: around the placeholder, which is then selected, or without one
// with the caret after the prefix. With a selection the caret ends after the
// insertion. Always true.
bool wrapSelection(QPlainTextEdit* editor, const QString& prefix, const QString& suffix,
                   const QString& placeholder = {});

// For a non-empty selection: removes the markers when the selected text
// starts and ends with them, or when they stand just outside it (the inner
// text stays selected); otherwise adds them and selects all of it. False and
// nothing done with an empty selection.
bool toggleWrapSelection(QPlainTextEdit* editor, const QString& prefix, const QString& suffix);

// Whether the selected text itself starts with prefix and ends with suffix.
bool isWrapped(const QPlainTextEdit* editor, const QString& prefix, const QString& suffix);

// Heading level 1 to 6 on every selected line: lines with exactly that level
// lose their marker, every other line (blank ones too) gets a marker of that
// level in place of any other. Level 0 removes the heading marker from every
// selected line and adds none. The changed lines end selected. Other levels
// do nothing.
bool applyHeading(QPlainTextEdit* editor, int level);

// "- " on the selected lines, or off when every non-blank one is a bullet
// item; blank lines stay as they are. Any other list marker (and task box) is
// replaced.
bool applyBulletList(QPlainTextEdit* editor);
// "- [ ] " on the selected lines, or off when every non-blank one is a task.
bool applyTaskList(QPlainTextEdit* editor);
// "1. ", "2. "... on the non-blank selected lines, or off when every
// non-blank one is numbered.
bool applyNumberedList(QPlainTextEdit* editor);
// Toggles the quote marker "> " at the start of the selection's first line
// (a quote's later lines continue it), leaving the caret at the end of the
// changed lines. On a blank line, or the empty last line, inserts "> " at the
// selection start with the caret after it. One undo step; always true.
bool applyBlockquote(QPlainTextEdit* editor);

// The line holding the start of the selection, without its line break.
QString firstSelectedLine(const QPlainTextEdit* editor);

// The level of the heading marker ("#" to "######" and white space) that
// starts a line, or 0.
int headingLevel(const QString& line);

} // namespace MarkdownEditingSupport

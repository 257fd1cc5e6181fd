#pragma once

class QWidget;

// The Edit menu's standard commands on the text widget that has keyboard
// focus: the editor, a field such as the find bar's, or the preview's
// selectable text (which only copies and selects).
namespace TextEditing {

enum class Command { Undo, Redo, Cut, Copy, Paste, SelectAll };

// The text widget the focus widget is, or null when it is none.
QWidget* target(QWidget* focus);
// Whether the command would change or copy something on that widget now.
bool canRun(const QWidget* target, Command command);
// Runs the command when it can; otherwise does nothing.
void run(QWidget* target, Command command);

} // namespace TextEditing

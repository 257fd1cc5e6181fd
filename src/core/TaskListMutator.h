#pragma once

#include <QString>

// Ticks or unticks the task box on one line of a Markdown text; the
// preview's task checkboxes write their clicks back through it.
namespace TaskListMutator {

// The text with the box on line `line` (counted from 1, lines split at "\n")
// toggled: "[ ]" becomes "[x]", "[x]" and "[X]" become "[ ]". The box that
// directly follows the line's list marker (after any ">" quote markers and
// indentation) is the one toggled; a line without such a box toggles its
// first open box, or else its first ticked one. The text comes back unchanged
// when the line does not exist or holds no box.
QString toggle(int line, const QString& text);

} // namespace TaskListMutator

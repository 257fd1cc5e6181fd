#pragma once

class QPlainTextEdit;

// Carries out slash commands on the editor.
namespace SlashCommandEngine {

// Toggles the quote marker "> " at the start of the selection's first line
// (a quote's later lines continue it), leaving the caret at the end of the
// changed lines. On a blank line, or the empty last line, inserts "> " at the
// selection start with the caret after it. One undo step; always true.
bool applyBlockquote(QPlainTextEdit* editor);

} // namespace SlashCommandEngine

#pragma once

#include "tools/SlashCommand.h"

#include <optional>

class QPlainTextEdit;

// Finds the "/" trigger before the caret and carries out slash commands on
// the editor. Positions are UTF-16 units of the editor text.
namespace SlashCommandEngine {

// A query longer than this is no trigger: the search for the "/" stays short
// however long the line is.
inline constexpr int maximumQueryLength = 256;

// The trigger the caret stands behind: a "/" at the start of its line or
// after white space, followed up to the caret by a query without white
// space. None with a selection, or when the last "/" before the caret on its
// line does not qualify ("a/b", "x//y").
std::optional<SlashCommandContext> context(const QPlainTextEdit* editor);

// Replaces the trigger with the command's result in one undo step; undoing
// gives "/query" back. Nothing happens, and the result is false, when the
// trigger's range no longer holds "/" + query. Headings, lists and Normal
// Text leave the caret at the end of the changed line; a list command on a
// blank line inserts its marker; code blocks, tables and dividers start on a
// line of their own and push text after the caret below them. False for an
// unknown command (the trigger is removed all the same).
bool apply(const SlashCommand& command, QPlainTextEdit* editor, const SlashCommandContext& context);

// The editor's blockquote toggle (MarkdownEditingSupport::applyBlockquote).
bool applyBlockquote(QPlainTextEdit* editor);

} // namespace SlashCommandEngine

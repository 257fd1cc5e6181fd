#pragma once

class MarkdownTextEditor;

// The editing tools' popovers of one editor: the "/" menu and the formatting
// bar, made here, owned by the editor.
namespace EditorToolPopovers {
void attach(MarkdownTextEditor* editor);
} // namespace EditorToolPopovers

#pragma once

#include <QString>

class QWidget;

// Finds the text the reader has selected for the preview's context menu. The
// preview's text lives in many small text views (and the window may hold the
// editor too), so the search has a fixed order: the focused text view first,
// then every text view of the window. Text views are the preview's
// SelectableTextView, the table's cells, the chunks of long code,
// QPlainTextEdit, QTextEdit and QLineEdit. Paragraph and line separators come
// back as line feeds. A null string means no selection.
namespace PreviewSelectionReader {

// From the focused widget up through its parents to the first text view: its
// selection, or null when it has none (no further view is asked).
QString selectedTextFrom(const QWidget* focus);
// The first text view with a selection in a depth-first walk of the tree,
// parents before children, children in their order; hidden subtrees skipped.
QString selectedTextIn(const QWidget* root);

} // namespace PreviewSelectionReader

#pragma once

#include <QTextCursor>

class QKeyEvent;
class QTextDocument;

// What the reader selected in one run of laid-out text, and the clicks and
// keys that change it: a press (Shift: extend) and a drag select, a double
// click selects a word, Ctrl+A all of it, Ctrl+C copies. The preview's text
// views and its table cells share it; they turn points into positions.
class TextSelection {
public:
    // Starts over on a document (none: nothing can be selected).
    void reset(QTextDocument* document);
    // Goes on in a document of the same text, from anchor to position (as
    // they were in the last one).
    void carryOver(QTextDocument* document, int anchor, int position);
    bool hasSelection() const { return m_cursor.hasSelection(); }
    // The selected text, paragraph and line separators as line feeds.
    QString text() const;
    const QTextCursor& cursor() const { return m_cursor; }

    void press(int position, bool extend);
    // Moves the selection's end while the button is down.
    bool drag(int position);
    void release() { m_dragging = false; }
    void selectWord(int position);
    void selectAll();
    // Clears the selection; whether there was one.
    bool clear();
    // Ctrl+C and Ctrl+A; whether the key was one of them.
    bool handleKey(QKeyEvent* event);

    enum class Shortcut { None, Copy, SelectAll };
    static Shortcut shortcutOf(const QKeyEvent* event);

private:
    QTextCursor m_cursor;
    bool m_dragging = false;
};

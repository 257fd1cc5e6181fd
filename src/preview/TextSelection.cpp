#include "preview/TextSelection.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

void TextSelection::reset(QTextDocument* document) {
    m_cursor = document ? QTextCursor(document) : QTextCursor();
    m_dragging = false;
}

void TextSelection::carryOver(QTextDocument* document, int anchor, int position) {
    m_cursor = QTextCursor(document);
    m_cursor.setPosition(anchor);
    m_cursor.setPosition(position, QTextCursor::KeepAnchor);
}

QString TextSelection::text() const {
    QString text = m_cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

void TextSelection::press(int position, bool extend) {
    m_cursor.setPosition(position, extend ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
    m_dragging = true;
}

bool TextSelection::drag(int position) {
    if (!m_dragging)
        return false;
    m_cursor.setPosition(position, QTextCursor::KeepAnchor);
    return true;
}

void TextSelection::selectWord(int position) {
    m_cursor.setPosition(position);
    m_cursor.select(QTextCursor::WordUnderCursor);
}

void TextSelection::selectAll() {
    m_cursor.select(QTextCursor::Document);
}

bool TextSelection::clear() {
    if (!m_cursor.hasSelection())
        return false;
    m_cursor.clearSelection();
    return true;
}

TextSelection::Shortcut TextSelection::shortcutOf(const QKeyEvent* event) {
    const bool control = event->modifiers() == Qt::ControlModifier;
    if (event->matches(QKeySequence::Copy) || (event->key() == Qt::Key_C && control))
        return Shortcut::Copy;
    if (event->matches(QKeySequence::SelectAll) || (event->key() == Qt::Key_A && control))
        return Shortcut::SelectAll;
    return Shortcut::None;
}

bool TextSelection::handleKey(QKeyEvent* event) {
    switch (shortcutOf(event)) {
    case Shortcut::Copy:
        if (hasSelection())
            QApplication::clipboard()->setText(text());
        return true;
    case Shortcut::SelectAll:
        if (!m_cursor.isNull())
            selectAll();
        return true;
    case Shortcut::None:
        break;
    }
    return false;
}

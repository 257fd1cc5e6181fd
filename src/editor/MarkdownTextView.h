#pragma once

#include "editor/EditorText.h"
#include "editor/EditorTheme.h"

#include <QPlainTextEdit>
#include <QTimer>
#include <optional>

class EditorSlashPopover;

// The editor's text widget: Markdown key equivalents (Ctrl+B, Ctrl+I, Ctrl+K
// always wrap, also where Qt binds Ctrl+K to deleting the rest of the line),
// list continuation on Return, paired characters for typed text, image-file
// drops and a context menu of its own with the actions behind it.
//
// Every change it makes goes through a QTextCursor in one edit block, so it
// is one undo step and reaches textChanged like typing. Return, Shift+Return
// and keypad Enter all insert a plain line break, never U+2028.
class MarkdownTextView : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MarkdownTextView(QWidget* parent = nullptr);

    // The folder of the open file; dropped images below it get relative
    // paths. Empty for an untitled document.
    QString documentDirectory() const { return m_documentDirectory; }
    void setDocumentDirectory(const QString& directory) { m_documentDirectory = directory; }

    // The editor colours; the context menu takes its light or dark look from
    // them. Without a theme it keeps the system's look.
    std::optional<EditorTheme> editorTheme() const { return m_editorTheme; }
    void setEditorTheme(const std::optional<EditorTheme>& theme) { m_editorTheme = theme; }

    // Qt inverts the pixels under its caret; this one is drawn in a colour.
    QColor caretColour() const { return m_caretColour; }
    void setCaretColour(const QColor& colour);
    // Where the caret is drawn, in viewport coordinates: measured once after
    // each layout, scroll or caret move, not per paint or blink.
    QRect caretRect() const;

    // The slash-command popover, which sees every key first. Not owned;
    // null while there is none.
    EditorSlashPopover* slashPopover() const { return m_slashPopover; }
    void setSlashPopover(EditorSlashPopover* popover) { m_slashPopover = popover; }

    // Space around the text: horizontal at the sides, vertical above the
    // first and below the last line (horizontal must be at least vertical).
    void setTextInset(int horizontal, int vertical);

    // Writes image references for the image files among urls in place of the
    // selection. False, with nothing changed, when there is no image.
    bool insertImageReferences(const QList<QUrl>& urls);

    // What a right click at a viewport point selects before the menu opens:
    // a selection holding the point stays, else the word there.
    void selectForContextMenu(const QPoint& viewportPosition);

    // The text positions the viewport shows, first to last visible line.
    EditorText::Range visibleRange() const;
    // Where a block is laid out, in viewport coordinates.
    QRectF blockRect(const QTextBlock& block) const;

public Q_SLOTS:
    // The context menu's actions. Bold, italic, strikethrough and code wrap
    // around a placeholder with nothing selected and toggle otherwise.
    void contextMenuBold();
    void contextMenuItalic();
    void contextMenuStrikethrough();
    void contextMenuInlineCode();
    void contextMenuLink();
    // Level 1 to 6 toggles that heading; 0 (Normal Text) removes the marker
    // of every selected line when the first one has a heading.
    void contextMenuHeading(int level);
    void contextMenuBulletList();
    void contextMenuNumberedList();
    void contextMenuTaskList();
    void contextMenuBlockquote();
    void contextMenuCodeBlock();
    void contextMenuDivider();
    void contextMenuFind();

Q_SIGNALS:
    // "Find in Document": the window should open its find bar.
    void findRequested();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void forgetCaretRect() { m_caretRect.reset(); }
    void keepCaretBlockLayout();
    void restartCaretBlink();
    void blinkCaret();
    bool handleKeyEquivalent(QKeyEvent* event);
    void insertNewline();
    void wrapOrToggle(const QString& marker, const QString& placeholder);
    void insertAtSelectionStart(const QString& block, int caretOffset);

    QString m_documentDirectory;
    std::optional<EditorTheme> m_editorTheme;
    EditorSlashPopover* m_slashPopover = nullptr;
    bool m_dragHasImages = false;
    QColor m_caretColour;
    QTimer m_caretBlink;
    bool m_caretOn = true;
    QRect m_caretDrawn;
    mutable std::optional<QRect> m_caretRect;
    // At the start of the block whose layout data is kept.
    QTextCursor m_keptLayout;
};

#pragma once

#include "preview/LaidOutText.h"
#include "preview/TextSelection.h"

#include <QWidget>

class QTextDocument;

// A read-only run of styled text the reader can select and copy. It wraps to
// its width (or, unwrapped, is as wide as its longest line) and reports the
// height it needs for a width; the text is laid out once per width. Right-
// clicks are left to the enclosing view, which owns the preview's menu.
class SelectableTextView : public QWidget {
    Q_OBJECT
public:
    explicit SelectableTextView(QWidget* parent = nullptr);

    // lineSpacing is the extra space between lines; tracking the extra space
    // between letters (both in logical pixels).
    void setContent(const StyledText& text, const QFont& font, const QColor& colour,
                    qreal lineSpacing, bool wrap, qreal tracking = 0);

    QTextDocument* document() const { return m_text.document(); }
    const StyledText& content() const { return m_text.content(); }
    QColor textColour() const { return m_colour; }
    qreal lineSpacing() const { return m_text.lineSpacing(); }

    QString selectedText() const;
    bool hasSelection() const { return m_selection.hasSelection(); }
    void selectAll();
    void clearSelection();

    // Distance from the top edge to the first line's baseline.
    qreal firstBaseline() const;
    // Number of laid-out lines at the current width.
    int lineCount() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return m_text.wraps(); }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void focusOutEvent(QFocusEvent*) override;
    void contextMenuEvent(QContextMenuEvent*) override;

private:
    int positionAt(const QPointF& point) const;

    // Laid out on demand from const members (size hints, heights).
    mutable LaidOutText m_text;
    TextSelection m_selection;
    QColor m_colour;
};

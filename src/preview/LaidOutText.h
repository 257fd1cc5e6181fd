#pragma once

#include "preview/StyledText.h"

#include <QFont>
#include <QRect>
#include <QSize>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QPainter;
class QPalette;
class QTextCursor;
class QTextDocument;

// Styled text and its layout, made once per width and kept: the height for a
// width is remembered, so asking again (a layout pass, a paint, a baseline)
// never lays the text out again. The text document that holds the layout is
// made when first needed and can be dropped to save memory; the text and the
// remembered heights stay.
class LaidOutText {
public:
    LaidOutText();
    ~LaidOutText();
    LaidOutText(LaidOutText&&) noexcept;
    LaidOutText& operator=(LaidOutText&&) noexcept;

    // lineSpacing is the extra space between lines; tracking the extra space
    // between letters (both in logical pixels). Unwrapped text is as wide as
    // its longest line.
    void setContent(const StyledText& text, const QFont& font, qreal lineSpacing, bool wrap,
                    qreal tracking = 0);

    const StyledText& content() const { return m_content; }
    qreal lineSpacing() const { return m_lineSpacing; }
    bool wraps() const { return m_wrap; }

    // The document, laid out at the width last asked for (made if dropped).
    QTextDocument* document();
    bool hasDocument() const { return m_document != nullptr; }
    // Drops the document and with it any cursor on it.
    void dropDocument();

    // The height the text needs at a width.
    int heightForWidth(int width);
    // The width of the longest line and the height, unwrapped.
    QSize idealSize();
    // Lays the text out at a width (unless it already is).
    void layoutAt(int width);
    // Distance from the top to the first baseline, at the width it is laid
    // out at (or `width` when it has no layout yet).
    qreal firstBaseline(int width);
    int lineCount(int width);
    // The character position nearest to a point, at a width.
    int positionAt(const QPointF& point, int width);

    // Paints the lines that meet `exposed` (in the text's coordinates) at a
    // width, the selection (if any) highlighted.
    void draw(QPainter* painter, int width, const QRect& exposed, const QPalette& palette,
              const QColor& colour, const QTextCursor* selection);

private:
    void fill();
    int measuredHeight() const;

    StyledText m_content;
    QFont m_font;
    qreal m_lineSpacing = 0;
    qreal m_tracking = 0;
    bool m_wrap = true;
    std::unique_ptr<QTextDocument> m_document;
    qreal m_laidOutWidth = -2;                  // the document's text width; -2 before any layout
    std::vector<std::pair<int, int>> m_heights; // (width, height), a few recent widths
    std::optional<QSize> m_idealSize;
};

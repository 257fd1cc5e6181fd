#pragma once

#include "preview/LaidOutText.h"

#include <QColor>
#include <QWidget>
#include <cstdint>
#include <vector>

// Code too long to lay out at once (tens of kilobytes of it, or megabytes),
// unwrapped, in chunks of at most chunkLines lines and chunkCharacters
// characters. Only the chunks that are drawn are laid out, and those far from
// the last drawn are dropped again, so such a block costs what shows of it. A chunk never laid out
// counts its lines at the font's line height and its longest line at the
// font's average character width. A line longer than a chunk goes on in the
// next one, on a line of its own. A selection may run over any number of
// chunks and gives the code exactly as it stands. A hidden view lets go of
// every layout. Its contents margins pad the code.
class CodeLinesView : public QWidget {
    Q_OBJECT
public:
    static constexpr int chunkLines = 200;
    static constexpr qsizetype chunkCharacters = 8192;
    // Laid-out chunks kept besides those drawn last.
    static constexpr int keptChunks = 8;

    explicit CodeLinesView(QWidget* parent = nullptr);

    // New formats for the same text keep the chunks' sizes and the selection.
    void setContent(const StyledText& text, const QFont& font, const QColor& colour);

    const StyledText& content() const { return m_content; }
    int chunkCount() const { return int(m_chunks.size()); }
    // The code of one chunk: the chunks in order make up the whole code, a
    // line feed between two that a line break parts.
    QString chunkText(int chunk) const;
    bool endsLine(int chunk) const { return m_chunks[size_t(chunk)].endsLine; }
    int laidOutChunkCount() const;
    QRect chunkRect(int chunk) const;

    bool isEmpty() const { return m_content.text.isEmpty(); }
    QString selectedText() const;
    bool hasSelection() const { return m_anchor != m_position; }
    void selectAll();
    void clearSelection();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Chunk {
        qsizetype start = 0; // in the code
        qsizetype length = 0;
        LaidOutText text; // filled while laid out
        int lines = 1;
        qsizetype longestLine = 0; // characters
        bool endsLine = true;      // a line break follows (or the code ends)
        int top = 0;
        QSize size; // estimated until laid out
        bool measured = false;
        std::uint64_t drawn = 0; // when it was last drawn
    };

    int chunkAt(qreal y) const;
    LaidOutText& laidOut(Chunk& chunk);
    // The place in the code nearest to a point of the view.
    qsizetype positionAt(const QPointF& point);
    void place();
    void dropFarChunks();

    StyledText m_content;
    std::vector<Chunk> m_chunks;
    QFont m_font;
    QColor m_colour;
    int m_width = 0;
    int m_height = 0;
    std::uint64_t m_tick = 0;
    // The selection, as places in the code.
    qsizetype m_anchor = 0;
    qsizetype m_position = 0;
    bool m_dragging = false;
};

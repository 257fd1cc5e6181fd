#pragma once

#include "core/MarkdownTree.h"
#include "preview/MarkdownRendererContext.h"

#include <QAbstractButton>
#include <QWidget>

// The marker column of a list row: "1." right-aligned in 20, "•" centred in 12.
class ListMarkerView : public QWidget {
    Q_OBJECT
public:
    ListMarkerView(const QString& text, int width, Qt::Alignment alignment, const QFont& font,
                   const QColor& colour, QWidget* parent = nullptr);
    QString text() const { return m_text; }
    Qt::Alignment alignment() const { return m_alignment; }
    QColor colour() const { return m_colour; }
    qreal baseline() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString m_text;
    Qt::Alignment m_alignment;
    QFont m_font;
    QColor m_colour;
};

// The box of a task item: filled and accent when done, an empty square in the
// muted colour when open.
class TaskCheckboxButton : public QAbstractButton {
    Q_OBJECT
public:
    TaskCheckboxButton(bool checked, double size, const QColor& colour, QWidget* parent = nullptr);
    bool isDone() const { return m_done; }
    QString symbolName() const;
    QColor colour() const { return m_colour; }
    qreal baseline() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void changeEvent(QEvent*) override;

private:
    void retranslate();

    bool m_done;
    int m_side;
    QColor m_colour;
};

// One block of the document as a view: headings, paragraphs, code, lists,
// tables, quotes, breaks and standalone images, each with its spacing, and
// any other block as its Markdown source.
class MarkdownBlockView : public QWidget {
    Q_OBJECT
public:
    MarkdownBlockView(const MarkdownNode& node, const MarkdownRendererContext& context,
                      QWidget* parent = nullptr);

    struct Padding {
        int top = 0;
        int bottom = 0;
        bool operator==(const Padding&) const = default;
    };
    static Padding outerPadding(const MarkdownNode& node);
    // The trimmed source shown for a block without its own view.
    static QString fallbackText(const MarkdownNode& node);
    // "1.", "2." ... by position, whatever number the source starts at.
    static QString orderedMarker(int index);

    static constexpr int listSpacing = 8;
    static constexpr int markerSpacing = 10;
    static constexpr int itemSpacing = 4;
    static constexpr int quoteSpacing = 6;

    // The view of the block, inside the padding (null when nothing is shown).
    QWidget* content() const { return m_content; }
    bool isEmpty() const { return m_content == nullptr; }
    // The first text baseline from the top, when the block starts with text.
    std::optional<qreal> firstBaseline() const;

private:
    QWidget* build(const MarkdownNode& node, const MarkdownRendererContext& context);
    QWidget* listView(const MarkdownNode& list, const MarkdownRendererContext& context);
    QWidget* listRow(const MarkdownNode& item, bool ordered, int index,
                     const MarkdownRendererContext& context);
    QWidget* quoteView(const MarkdownNode& quote, const MarkdownRendererContext& context);

    QWidget* m_content = nullptr;
};

// The rounded, tinted box of a block quote with its bar down the left side.
class QuoteBoxView : public QWidget {
    Q_OBJECT
public:
    QuoteBoxView(const DesignSystem& design, QWidget* parent = nullptr);
    static constexpr int barWidth = 3;
    static constexpr int paddingX = 16;
    static constexpr int paddingY = 8;
    static constexpr int barGap = 16;
    QRect barRect() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    DesignSystem m_design;
};

// A thematic break: a 1-high line in the divider colour.
class RuleView : public QWidget {
    Q_OBJECT
public:
    RuleView(const QColor& colour, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor m_colour;
};

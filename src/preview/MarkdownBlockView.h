#pragma once

#include "core/MarkdownTree.h"
#include "preview/InlineSlice.h"
#include "preview/MarkdownRendererContext.h"
#include "preview/MarkdownTableView.h"

#include <QAbstractButton>
#include <QWidget>

class QVBoxLayout;

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
// any other block as its Markdown source. Quotes and lists nest up to
// maxNesting levels; what lies deeper is drawn flat at the deepest level, so
// a hostile document never builds hundreds of nested layouts.
class MarkdownBlockView : public QWidget {
    Q_OBJECT
public:
    // slice: the rows of a table block this view shows, inlines: the
    // children of a heading or paragraph (all by default).
    MarkdownBlockView(const MarkdownNode& node, const MarkdownRendererContext& context,
                      QWidget* parent = nullptr, const TableSlice& slice = {},
                      const InlineSlice& inlines = {});

    struct Padding {
        int top = 0;
        int bottom = 0;
        bool operator==(const Padding&) const = default;
    };
    static Padding outerPadding(const MarkdownNode& node, const TableSlice& slice = {},
                                const InlineSlice& inlines = {});
    // The trimmed source shown for a block without its own view.
    static QString fallbackText(const MarkdownNode& node);
    // Whether the block has no view of its own and is shown as its source.
    static bool showsSource(const MarkdownNode& node);
    // A block shown as source whose source is blank: the view stays hidden.
    static bool showsNothing(const MarkdownNode& node) {
        return showsSource(node) && fallbackText(node).isEmpty();
    }
    // "1.", "2." ... by position, whatever number the source starts at.
    static QString orderedMarker(int index);

    static constexpr int listSpacing = 8;
    static constexpr int markerSpacing = 10;
    static constexpr int itemSpacing = 4;
    static constexpr int quoteSpacing = 6;
    static constexpr int maxNesting = 8;

    // The view of the block, inside the padding (null when nothing is shown).
    QWidget* content() const { return m_content; }
    bool isEmpty() const { return m_content == nullptr; }
    // The first text baseline from the top, when the block starts with text.
    std::optional<qreal> firstBaseline() const;

private:
    // depth: the quotes and lists this block stands in.
    MarkdownBlockView(const MarkdownNode& node, const MarkdownRendererContext& context,
                      QWidget* parent, const TableSlice& slice, const InlineSlice& inlines,
                      int depth);

    QWidget* build(const MarkdownNode& node, const MarkdownRendererContext& context,
                   const TableSlice& slice, const InlineSlice& inlines);
    QWidget* listView(const MarkdownNode& list, const MarkdownRendererContext& context);
    // flat: containers inside the item are left out (the caller lays them flat).
    QWidget* listRow(const MarkdownNode& item, bool ordered, int index,
                     const MarkdownRendererContext& context, QWidget* owner, bool flat);
    QWidget* quoteView(const MarkdownNode& quote, const MarkdownRendererContext& context);
    // Adds a child of a container at `m_depth`: nested, or past maxNesting flat.
    void addChild(const MarkdownNode& child, const MarkdownRendererContext& context, QWidget* owner,
                  QVBoxLayout* column);
    // Lays a subtree out as a column of rows without nesting any deeper.
    void addFlat(const MarkdownNode& node, const MarkdownRendererContext& context, QWidget* owner,
                 QVBoxLayout* column);

    int m_depth = 0;

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

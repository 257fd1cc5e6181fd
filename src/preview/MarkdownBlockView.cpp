#include "preview/MarkdownBlockView.h"

#include "core/L10n.h"
#include "core/MarkdownFormatter.h"
#include "platform/Symbols.h"
#include "preview/CodeBlockView.h"
#include "preview/InlineMarkupRenderer.h"
#include "preview/InlineMarkupView.h"
#include "preview/MarkdownImageView.h"
#include "preview/MarkdownTableView.h"
#include "preview/SelectableTextView.h"
#include "preview/TaskCheckboxAction.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <cmath>

namespace {

QVBoxLayout* column(QWidget* owner, int spacing) {
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

QFont markerFont(const MarkdownRendererContext& context) {
    return DesignSystem::Typography::font(context.designSystem.typography.design,
                                          context.previewFontSize);
}

bool isContainer(const MarkdownNode& node) {
    return node.kind == MarkdownNodeKind::BlockQuote ||
           node.kind == MarkdownNodeKind::UnorderedList ||
           node.kind == MarkdownNodeKind::OrderedList;
}

std::optional<qreal> baselineOf(QWidget* widget) {
    if (auto* inline_ = qobject_cast<InlineMarkupView*>(widget))
        return inline_->firstBaseline();
    if (auto* block = qobject_cast<MarkdownBlockView*>(widget))
        return block->firstBaseline();
    return std::nullopt;
}

} // namespace

ListMarkerView::ListMarkerView(const QString& text, int width, Qt::Alignment alignment,
                               const QFont& font, const QColor& colour, QWidget* parent)
    : QWidget(parent), m_text(text), m_alignment(alignment), m_font(font), m_colour(colour) {
    setFixedWidth(width);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

qreal ListMarkerView::baseline() const {
    return QFontMetricsF(m_font).ascent();
}

QSize ListMarkerView::sizeHint() const {
    return {width(), int(std::ceil(QFontMetricsF(m_font).height()))};
}

void ListMarkerView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(m_font);
    painter.setPen(m_colour);
    painter.drawText(rect(), int(m_alignment | Qt::AlignTop), m_text);
}

TaskCheckboxButton::TaskCheckboxButton(bool checked, double size, const QColor& colour,
                                       QWidget* parent)
    : QAbstractButton(parent), m_done(checked), m_side(int(std::lround(size))), m_colour(colour) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    retranslate();
}

QString TaskCheckboxButton::symbolName() const {
    return m_done ? QStringLiteral("checkmark.square.fill") : QStringLiteral("square");
}

qreal TaskCheckboxButton::baseline() const {
    // A symbol sits on the text baseline with a little of it below, as a glyph.
    return m_side * 0.85;
}

QSize TaskCheckboxButton::sizeHint() const {
    return {m_side, m_side};
}

void TaskCheckboxButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect box(0, 0, m_side, m_side);
    painter.drawPixmap(box,
                       Symbols::pixmap(symbolName(), m_colour, box.size(), devicePixelRatioF()));
}

void TaskCheckboxButton::retranslate() {
    setToolTip(m_done ? L10n::tr("Mark incomplete") : L10n::tr("Mark complete"));
}

void TaskCheckboxButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QAbstractButton::changeEvent(event);
}

QuoteBoxView::QuoteBoxView(const DesignSystem& design, QWidget* parent)
    : QWidget(parent), m_design(design) {}

QRect QuoteBoxView::barRect() const {
    return QRect(paddingX, paddingY, barWidth, qMax(0, height() - 2 * paddingY));
}

void QuoteBoxView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath box;
    box.addRoundedRect(QRectF(rect()), 10, 10);
    painter.fillPath(box, QColor(m_design.colors.codeBackground));
    QPainterPath bar;
    bar.addRoundedRect(QRectF(barRect()), 2, 2);
    painter.fillPath(bar, QColor(m_design.colors.quoteBorder));
}

RuleView::RuleView(const QColor& colour, QWidget* parent) : QWidget(parent), m_colour(colour) {
    setFixedHeight(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void RuleView::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), m_colour);
}

MarkdownBlockView::Padding MarkdownBlockView::outerPadding(const MarkdownNode& node,
                                                           const TableSlice& slice,
                                                           const InlineSlice& inlines) {
    // The pieces of a long run of children stand a row's spacing apart.
    if (inlines.isPiece()) {
        const Padding whole = outerPadding(node, slice);
        return {inlines.openTop ? InlineMarkupView::rowSpacing : whole.top,
                inlines.openBottom ? 0 : whole.bottom};
    }
    switch (node.kind) {
    case MarkdownNodeKind::Heading:
        if (node.headingLevel <= 1)
            return {0, 4};
        if (node.headingLevel == 2)
            return {12, 4};
        return {8, 0};
    case MarkdownNodeKind::Table:
        // The pieces of a long table stand together.
        return {slice.openTop ? 0 : 4, slice.openBottom ? 0 : 4};
    case MarkdownNodeKind::CodeBlock:
    case MarkdownNodeKind::UnorderedList:
    case MarkdownNodeKind::OrderedList:
    case MarkdownNodeKind::BlockQuote:
    case MarkdownNodeKind::Image:
        return {4, 4};
    case MarkdownNodeKind::ThematicBreak:
        return {16, 16};
    default:
        return {0, 0};
    }
}

QString MarkdownBlockView::fallbackText(const MarkdownNode& node) {
    return MarkdownFormatter::format(node).trimmed();
}

bool MarkdownBlockView::showsSource(const MarkdownNode& node) {
    switch (node.kind) {
    case MarkdownNodeKind::Heading:
    case MarkdownNodeKind::Paragraph:
    case MarkdownNodeKind::CodeBlock:
    case MarkdownNodeKind::UnorderedList:
    case MarkdownNodeKind::OrderedList:
    case MarkdownNodeKind::Table:
    case MarkdownNodeKind::BlockQuote:
    case MarkdownNodeKind::ThematicBreak:
    case MarkdownNodeKind::Image:
        return false;
    default:
        return true;
    }
}

QString MarkdownBlockView::orderedMarker(int index) {
    return L10n::tr("%1.").arg(index + 1);
}

MarkdownBlockView::MarkdownBlockView(const MarkdownNode& node,
                                     const MarkdownRendererContext& context, QWidget* parent,
                                     const TableSlice& slice, const InlineSlice& inlines)
    : MarkdownBlockView(node, context, parent, slice, inlines, 0) {}

MarkdownBlockView::MarkdownBlockView(const MarkdownNode& node,
                                     const MarkdownRendererContext& context, QWidget* parent,
                                     const TableSlice& slice, const InlineSlice& inlines, int depth)
    : QWidget(parent), m_depth(depth) {
    const Padding padding = outerPadding(node, slice, inlines);
    auto* layout = column(this, 0);
    layout->setContentsMargins(0, padding.top, 0, padding.bottom);
    m_content = build(node, context, slice, inlines);
    if (!m_content) {
        hide();
        return;
    }
    // A quote box is only as wide as its content needs.
    if (node.kind == MarkdownNodeKind::BlockQuote)
        layout->addWidget(m_content, 0, Qt::AlignLeft);
    else
        layout->addWidget(m_content);
}

std::optional<qreal> MarkdownBlockView::firstBaseline() const {
    if (!m_content)
        return std::nullopt;
    const std::optional<qreal> inner = baselineOf(m_content);
    if (!inner)
        return std::nullopt;
    return *inner + layout()->contentsMargins().top();
}

QWidget* MarkdownBlockView::build(const MarkdownNode& node, const MarkdownRendererContext& context,
                                  const TableSlice& slice, const InlineSlice& inlines) {
    const DesignSystem& ds = context.designSystem;
    if (showsSource(node)) {
        const QString text = fallbackText(node);
        if (text.isEmpty())
            return nullptr;
        auto* view = new SelectableTextView(this);
        StyledText styled;
        styled.append(text, {});
        // Shown as source, never interpreted; no font of its own.
        view->setContent(styled, ds.typography.callout, ds.colors.text, 0, true);
        return view;
    }
    switch (node.kind) {
    case MarkdownNodeKind::Heading:
        return new InlineMarkupView(node, context, node.headingLevel, this, inlines);
    case MarkdownNodeKind::Paragraph:
        return new InlineMarkupView(node, context, 0, this, inlines);
    case MarkdownNodeKind::CodeBlock:
        return new CodeBlockView(node.literal.toString(), node.codeLanguage(), ds, this);
    case MarkdownNodeKind::UnorderedList:
    case MarkdownNodeKind::OrderedList:
        return listView(node, context);
    case MarkdownNodeKind::Table:
        return new MarkdownTableView(node, context, this, slice);
    case MarkdownNodeKind::BlockQuote:
        return quoteView(node, context);
    case MarkdownNodeKind::ThematicBreak:
        return new RuleView(ds.colors.divider, this);
    default:
        return new MarkdownImageView(node, context, this);
    }
}

QWidget* MarkdownBlockView::listView(const MarkdownNode& list,
                                     const MarkdownRendererContext& context) {
    auto* stack = new QWidget(this);
    auto* rows = column(stack, listSpacing);
    const bool ordered = list.kind == MarkdownNodeKind::OrderedList;
    for (int i = 0; i < list.childCount(); ++i)
        rows->addWidget(listRow(list.child(i), ordered, ordered ? i : 0, context, stack, false));
    return stack;
}

QWidget* MarkdownBlockView::listRow(const MarkdownNode& item, bool ordered, int index,
                                    const MarkdownRendererContext& context, QWidget* owner,
                                    bool flat) {
    const DesignSystem::Colors& colors = context.designSystem.colors;
    auto* row = new QWidget(owner);
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(markerSpacing);

    QWidget* marker = nullptr;
    qreal markerBaseline = 0;
    const bool isItem = item.kind == MarkdownNodeKind::ListItem;
    if (ordered) {
        auto* number = new ListMarkerView(orderedMarker(index), 20, Qt::AlignRight,
                                          markerFont(context), colors.mutedText, row);
        markerBaseline = number->baseline();
        marker = number;
    } else if (isItem && item.checkbox != TaskCheckbox::None) {
        const bool done = item.checkbox == TaskCheckbox::Checked;
        auto* box = new TaskCheckboxButton(done, context.previewFontSize - 1,
                                           done ? colors.accent : colors.mutedText, row);
        connect(box, &QAbstractButton::clicked, box,
                [range = item.range, context] { TaskCheckboxAction::click(range, context); });
        markerBaseline = box->baseline();
        marker = box;
    } else {
        auto* bullet = new ListMarkerView(L10n::tr("•"), 12, Qt::AlignHCenter, markerFont(context),
                                          colors.mutedText, row);
        markerBaseline = bullet->baseline();
        marker = bullet;
    }

    QWidget* body = nullptr;
    if (isItem) {
        body = new QWidget(row);
        auto* entries = column(body, itemSpacing);
        for (const MarkdownNode& child : item.children) {
            if (flat && isContainer(child))
                continue;
            // A heading inside an item is shown at body size.
            if (child.kind == MarkdownNodeKind::Paragraph ||
                child.kind == MarkdownNodeKind::Heading)
                entries->addWidget(new InlineMarkupView(child, context, 0, body));
            else
                addChild(child, context, body, entries);
        }
    } else {
        // An item below the tree's depth cap: its source text.
        body = new MarkdownBlockView(item, context, row, {}, {}, m_depth + 1);
    }

    // Marker and item text share their first baseline.
    std::optional<qreal> bodyBaseline;
    if (QLayout* entries = body->layout(); isItem && entries && entries->count() > 0)
        bodyBaseline = baselineOf(entries->itemAt(0)->widget());
    else if (!isItem)
        bodyBaseline = baselineOf(body);
    const int offset =
        bodyBaseline ? int(std::lround(qMax<qreal>(0, *bodyBaseline - markerBaseline))) : 0;
    auto* markerColumn = new QVBoxLayout;
    markerColumn->setContentsMargins(0, offset, 0, 0);
    markerColumn->addWidget(marker);
    markerColumn->addStretch(1);
    line->addLayout(markerColumn);
    line->addWidget(body, 1);
    return row;
}

QWidget* MarkdownBlockView::quoteView(const MarkdownNode& quote,
                                      const MarkdownRendererContext& context) {
    auto* box = new QuoteBoxView(context.designSystem, this);
    auto* children = column(box, quoteSpacing);
    children->setContentsMargins(
        QuoteBoxView::paddingX + QuoteBoxView::barWidth + QuoteBoxView::barGap,
        QuoteBoxView::paddingY, QuoteBoxView::paddingX, QuoteBoxView::paddingY);
    for (const MarkdownNode& child : quote.children)
        addChild(child, context, box, children);
    return box;
}

void MarkdownBlockView::addChild(const MarkdownNode& child, const MarkdownRendererContext& context,
                                 QWidget* owner, QVBoxLayout* column) {
    if (isContainer(child) && m_depth + 1 >= maxNesting)
        addFlat(child, context, owner, column);
    else
        column->addWidget(new MarkdownBlockView(child, context, owner, {}, {}, m_depth + 1));
}

void MarkdownBlockView::addFlat(const MarkdownNode& node, const MarkdownRendererContext& context,
                                QWidget* owner, QVBoxLayout* column) {
    switch (node.kind) {
    case MarkdownNodeKind::BlockQuote:
        for (const MarkdownNode& child : node.children)
            addFlat(child, context, owner, column);
        return;
    case MarkdownNodeKind::UnorderedList:
    case MarkdownNodeKind::OrderedList: {
        const bool ordered = node.kind == MarkdownNodeKind::OrderedList;
        for (int i = 0; i < node.childCount(); ++i) {
            const MarkdownNode& item = node.child(i);
            column->addWidget(listRow(item, ordered, ordered ? i : 0, context, owner, true));
            if (item.kind != MarkdownNodeKind::ListItem)
                continue;
            for (const MarkdownNode& child : item.children)
                if (isContainer(child))
                    addFlat(child, context, owner, column);
        }
        return;
    }
    default:
        column->addWidget(new MarkdownBlockView(node, context, owner, {}, {}, maxNesting));
        return;
    }
}

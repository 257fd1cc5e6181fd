#include "preview/InlineMarkupView.h"

#include "preview/InlineMarkupRenderer.h"
#include "preview/MarkdownImageView.h"
#include "preview/SelectableTextView.h"

#include <QVBoxLayout>

InlineMarkupView::Mode InlineMarkupView::modeFor(const MarkdownNode& container) {
    if (container.childCount() == 1 && container.child(0).kind == MarkdownNodeKind::Image)
        return Mode::Image;
    for (const MarkdownNode& child : container.children) {
        if (child.kind == MarkdownNodeKind::Image)
            return Mode::Mixed;
    }
    return Mode::Text;
}

InlineMarkupView::InlineMarkupView(const MarkdownNode& container,
                                   const MarkdownRendererContext& context, int headingLevel,
                                   QWidget* parent, const InlineSlice& slice)
    : QWidget(parent), m_mode(modeFor(container)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(rowSpacing);

    auto textView = [&](const StyledText& text, const InlineMarkupRenderer::Style& style) {
        auto* view = new SelectableTextView(this);
        view->setContent(text, style.font, style.color, style.lineSpacing, true, style.tracking);
        return view;
    };

    switch (m_mode) {
    case Mode::Image:
        column->addWidget(new MarkdownImageView(container.child(0), context, this));
        break;
    case Mode::Mixed: {
        // Text never flows beside a picture: each child stands on its own row.
        const InlineMarkupRenderer::Style body = InlineMarkupRenderer::style(context, 0);
        for (int i = slice.first; i < slice.end(container); ++i) {
            const MarkdownNode& child = container.child(i);
            if (child.kind == MarkdownNodeKind::Image)
                column->addWidget(new MarkdownImageView(child, context, this));
            else
                column->addWidget(
                    textView(InlineMarkupRenderer::render(child, context, body), body));
        }
        break;
    }
    case Mode::Text: {
        const InlineMarkupRenderer::Style style =
            InlineMarkupRenderer::style(context, headingLevel);
        m_text = textView(InlineMarkupRenderer::renderChildren(container, context, style), style);
        column->addWidget(m_text);
        break;
    }
    }
}

std::optional<qreal> InlineMarkupView::firstBaseline() const {
    if (m_text)
        return m_text->firstBaseline();
    if (auto* first = qobject_cast<SelectableTextView*>(layout()->itemAt(0)->widget()))
        return first->firstBaseline();
    return std::nullopt;
}

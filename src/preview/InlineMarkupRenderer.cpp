#include "preview/InlineMarkupRenderer.h"

#include "core/MarkdownFormatter.h"

namespace {

// Only the face, size, weight and slant: merged over nested runs it must not
// clear their underline or strikethrough.
QTextCharFormat fontFormat(const QFont& font) {
    QTextCharFormat format;
    format.setFontFamilies(font.families());
    format.setFontStyleHint(font.styleHint());
    format.setFontPointSize(font.pointSizeF());
    format.setFontWeight(font.weight());
    format.setFontItalic(font.italic());
    return format;
}

QTextCharFormat textFormat(const InlineMarkupRenderer::Style& style) {
    QTextCharFormat format = fontFormat(style.font);
    format.setForeground(style.color);
    return format;
}

} // namespace

double InlineMarkupRenderer::textSize(int headingLevel, double bodySize) {
    if (headingLevel <= 0)
        return bodySize;
    return headingLevel == 1 ? 31 : headingLevel == 2 ? 22 : 17;
}

double InlineMarkupRenderer::inlineCodeSize(double baseSize) {
    return qMax(baseSize - 1.5, 11.0);
}

InlineMarkupRenderer::Style InlineMarkupRenderer::style(const MarkdownRendererContext& context,
                                                        int headingLevel) {
    Style s;
    s.size = textSize(headingLevel, context.previewFontSize);
    QFont::Weight weight = QFont::Normal;
    if (headingLevel == 1) {
        weight = QFont::Bold;
        s.tracking = -0.3;
    } else if (headingLevel > 1) {
        weight = QFont::DemiBold;
    }
    s.font = DesignSystem::Typography::font(context.designSystem.typography.design, s.size, weight);
    s.color = context.designSystem.colors.text;
    return s;
}

StyledText InlineMarkupRenderer::renderChildren(const MarkdownNode& container,
                                                const MarkdownRendererContext& context,
                                                const Style& style) {
    StyledText out;
    for (const MarkdownNode& child : container.children)
        out.append(render(child, context, style));
    return out;
}

StyledText InlineMarkupRenderer::render(const MarkdownNode& node,
                                        const MarkdownRendererContext& context,
                                        const Style& style) {
    const DesignSystem::Colors& colors = context.designSystem.colors;
    StyledText out;
    switch (node.kind) {
    case MarkdownNodeKind::Text:
        out.append(node.literal, textFormat(style));
        return out;
    case MarkdownNodeKind::Emphasis:
    case MarkdownNodeKind::Strong: {
        // The whole run takes the base font with the trait: fonts of nested
        // runs do not survive, their colours and lines do.
        out = renderChildren(node, context, style);
        QFont font = style.font;
        if (node.kind == MarkdownNodeKind::Emphasis)
            font.setItalic(true);
        else
            font.setWeight(QFont::Bold);
        out.mergeFrom(0, fontFormat(font));
        return out;
    }
    case MarkdownNodeKind::InlineCode: {
        QTextCharFormat format = fontFormat(
            DesignSystem::Typography::font(FontDesign::Monospaced, inlineCodeSize(style.size)));
        format.setForeground(QColor(colors.text));
        format.setBackground(QColor(colors.codeBackground));
        out.append(node.literal, format);
        return out;
    }
    case MarkdownNodeKind::Strikethrough: {
        out = renderChildren(node, context, style);
        QTextCharFormat strike;
        strike.setFontStrikeOut(true);
        out.mergeFrom(0, strike);
        return out;
    }
    case MarkdownNodeKind::Link: {
        out = renderChildren(node, context, style);
        QTextCharFormat link;
        link.setForeground(QColor(colors.accent));
        link.setFontUnderline(true);
        out.mergeFrom(0, link);
        return out;
    }
    case MarkdownNodeKind::SoftBreak:
    case MarkdownNodeKind::LineBreak:
        out.append(QStringLiteral(" "), fontFormat(style.font));
        return out;
    default:
        // Inline HTML, nested images and anything unnamed show their source.
        out.append(MarkdownFormatter::format(node), textFormat(style));
        return out;
    }
}

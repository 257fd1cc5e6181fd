#include "support/PreviewColumn.h"

#include "preview/MarkdownBlockView.h"

#include <QVBoxLayout>

std::unique_ptr<QWidget> TestSupport::previewColumn(const MarkdownNode& document,
                                                    const MarkdownRendererContext& context,
                                                    int width) {
    auto column = std::make_unique<QWidget>();
    column->setAutoFillBackground(true);
    QPalette palette = column->palette();
    palette.setColor(QPalette::Window, context.designSystem.colors.previewSurface);
    column->setPalette(palette);
    auto* layout = new QVBoxLayout(column.get());
    layout->setContentsMargins(24, 8, 24, 8);
    layout->setSpacing(16);
    for (const MarkdownNode& block : document.children)
        layout->addWidget(new MarkdownBlockView(block, context, column.get()));
    column->setFixedWidth(width);
    column->resize(width, column->heightForWidth(width));
    layout->activate();
    return column;
}

MarkdownRendererContext TestSupport::context(const QString& markdown, bool dark) {
    MarkdownRendererContext c;
    c.designSystem =
        dark ? DesignSystem::make(DesignSystem::Colors::dark(), FontDesign::Default, true)
             : DesignSystem::make(DesignSystem::Colors::light(), FontDesign::Serif, false);
    c.previewFontSize = 15;
    c.markdown = markdown;
    return c;
}

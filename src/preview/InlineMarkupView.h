#pragma once

#include "core/MarkdownTree.h"
#include "preview/InlineSlice.h"
#include "preview/MarkdownRendererContext.h"

#include <QWidget>

class SelectableTextView;

// The inline content of a heading or paragraph: one picture when the
// container holds only an image, a column of text runs and pictures when it
// holds images among text, and otherwise one wrapped, selectable text.
class InlineMarkupView : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Image, Mixed, Text };

    // slice: the children shown, of a container in Mixed mode (all by default).
    InlineMarkupView(const MarkdownNode& container, const MarkdownRendererContext& context,
                     int headingLevel = 0, QWidget* parent = nullptr,
                     const InlineSlice& slice = {});

    static Mode modeFor(const MarkdownNode& container);
    static constexpr int rowSpacing = 6;

    Mode mode() const { return m_mode; }
    // The text view in Text mode, null otherwise.
    SelectableTextView* textView() const { return m_text; }
    // Distance from the top to the first text baseline, when text comes first.
    std::optional<qreal> firstBaseline() const;

private:
    Mode m_mode;
    SelectableTextView* m_text = nullptr;
};

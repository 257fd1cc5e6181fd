#pragma once

#include "core/MarkdownTree.h"
#include "preview/MarkdownRendererContext.h"

// A click on a task box in the preview: the box's source line is toggled in
// the text the rows were drawn from, and the whole new text is handed up.
namespace TaskCheckboxAction {

enum class Outcome {
    Changed,      // onSourceChange received the new text
    Unchanged,    // the line holds no box
    NoHandler,    // the preview does not edit its source
    NoSourceLine, // the item has no source position
    Stale,        // the rows were drawn from an older text: ignored, re-parse asked
};

// range: the source range of the task item.
Outcome click(const SourceRange& range, const MarkdownRendererContext& context);

} // namespace TaskCheckboxAction

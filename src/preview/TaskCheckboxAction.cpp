#include "preview/TaskCheckboxAction.h"

#include "core/TaskListMutator.h"

TaskCheckboxAction::Outcome TaskCheckboxAction::click(const SourceRange& range,
                                                      const MarkdownRendererContext& context) {
    if (!range.isValid())
        return Outcome::NoSourceLine;
    if (!context.onSourceChange)
        return Outcome::NoHandler;
    if (!context.isCurrent()) {
        if (context.onStaleSource)
            context.onStaleSource();
        return Outcome::Stale;
    }
    const QString toggled = TaskListMutator::toggle(range.startLine, context.markdown);
    if (toggled == context.markdown)
        return Outcome::Unchanged;
    context.onSourceChange(toggled);
    return Outcome::Changed;
}

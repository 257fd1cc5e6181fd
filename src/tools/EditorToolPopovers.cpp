#include "tools/EditorToolPopovers.h"

#include "editor/MarkdownTextEditor.h"
#include "tools/SelectionFormattingPopoverController.h"
#include "tools/SlashCommandPopoverController.h"

namespace EditorToolPopovers {

void attach(MarkdownTextEditor* editor) {
    editor->setPopovers(std::make_unique<SlashCommandPopoverController>(),
                        std::make_unique<SelectionFormattingPopoverController>());
}

} // namespace EditorToolPopovers

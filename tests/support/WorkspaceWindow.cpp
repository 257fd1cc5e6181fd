#include "support/WorkspaceWindow.h"

#include "shell/StandardWorkspacePanes.h"
#include "support/TestSupport.h"

std::unique_ptr<WorkspaceWindow> WorkspaceWindow::freshInEditor() {
    TestSupport::resetPreferences();
    auto window = std::make_unique<WorkspaceWindow>(std::make_unique<MarkdownDocument>(),
                                                    StandardWorkspacePanes::factory());
    window->activateInEditor();
    return window;
}

#pragma once

#include "core/MarkdownDocument.h"
#include "editor/EditorView.h"
#include "editor/MarkdownTextView.h"
#include "shell/WorkspaceView.h"
#include "support/FakeWorkspaceAlerts.h"
#include "support/FakeWorkspacePanes.h"
#include "windows/FeatureTourOverlayContainer.h"

#include <QTest>
#include <memory>

// A document and its shown window with a fake prompt and the tour, over fake panes unless
// a pane factory is given (then `panes` stays null); `adjust` may change the
// services before the window is made.
struct WorkspaceWindow {
    std::unique_ptr<MarkdownDocument> document;
    FakeWorkspaceAlerts alerts;
    FakeWorkspacePanes* panes = nullptr;
    std::unique_ptr<WorkspaceView> view;
    int dismissals = 0; // of the welcome window, when the window appears
    int welcomes = 0;   // "Welcome Window" commands

    explicit WorkspaceWindow(
        std::unique_ptr<MarkdownDocument> doc = std::make_unique<MarkdownDocument>(),
        WorkspacePaneFactory realPanes = {},
        const std::function<void(WorkspaceServices&)>& adjust = {})
        : document(std::move(doc)) {
        WorkspaceServices services;
        services.alerts = &alerts;
        services.application = ApplicationCommands{};
        services.application.showWelcomeWindow = [this] { ++welcomes; };
        services.panes = realPanes ? realPanes : [this](QWidget* parent) {
            panes = new FakeWorkspacePanes(parent);
            return panes;
        };
        services.dismissWelcomeWindow = [this] { ++dismissals; };
        services.overlays = &FeatureTourOverlayContainer::install;
        if (adjust)
            adjust(services);
        view = std::make_unique<WorkspaceView>(*document, std::move(services));
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    }
    WindowCommands& commands() const { return view->commands(); }

    // The application's own editor (a window over the real panes).
    MarkdownTextView* textView() const {
        return qobject_cast<EditorView*>(view->panes()->editor())->textView();
    }
    // A test's own window on X: preferences as new, an empty document over the
    // real panes, active with the keys in the editor.
    static std::unique_ptr<WorkspaceWindow> freshInEditor();
    // Active at a usual size with the keys in the editor, for tests on X.
    void activateInEditor() {
        view->resize(1200, 780);
        view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(view.get()));
        textView()->setFocus();
        QTRY_VERIFY(textView()->hasFocus());
    }
};

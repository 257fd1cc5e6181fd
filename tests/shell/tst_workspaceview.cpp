#include "core/MarkdownDocument.h"
#include "core/Preferences.h"
#include "core/RecentFilesStore.h"
#include "editor/EditorView.h"
#include "editor/MarkdownTextView.h"
#include "shell/EscapeDispatcher.h"
#include "shell/ModeSwitcher.h"
#include "shell/OutsideChangeWatch.h"
#include "shell/StandardWorkspacePanes.h"
#include "shell/StatusBarView.h"
#include "shell/WindowCommands.h"
#include "shell/WindowMenuBar.h"
#include "shell/WindowToolbar.h"
#include "shell/WorkspaceView.h"
#include "support/FakeWorkspaceAlerts.h"
#include "support/FakeWorkspacePanes.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

// A document and its window over fake panes and a fake prompt.
struct Window {
    std::unique_ptr<MarkdownDocument> document;
    FakeWorkspaceAlerts alerts;
    FakeWorkspacePanes* panes = nullptr;
    std::unique_ptr<WorkspaceView> view;
    int dismissals = 0;

    explicit Window(std::unique_ptr<MarkdownDocument> doc = std::make_unique<MarkdownDocument>(),
                    bool show = true)
        : document(std::move(doc)) {
        WorkspaceServices services;
        services.alerts = &alerts;
        services.application = ApplicationCommands{};
        services.panes = [this](QWidget* parent) {
            panes = new FakeWorkspacePanes(parent);
            return panes;
        };
        services.dismissWelcomeWindow = [this] { ++dismissals; };
        view = std::make_unique<WorkspaceView>(*document, std::move(services));
        if (show) {
            view->show();
            QVERIFY(QTest::qWaitForWindowExposed(view.get()));
        }
    }
    static Window opened(const QString& path) {
        return Window(MarkdownDocument::open(path, nullptr));
    }
    WindowCommands& commands() const { return view->commands(); }
};

} // namespace

class TestWorkspaceView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        TestSupport::resetPreferences();
        RecentFilesStore::shared().clear();
    }

    void startModeFollowsThePreferences() {
        {
            Window w;
            QCOMPARE(w.view->viewMode(), ViewMode::Split);
            QCOMPARE(w.dismissals, 1);
            // Restoring is not a choice: nothing is stored yet.
            QVERIFY(!Preferences::shared().contains(PreferenceKeys::lastViewMode));
        }
        Preferences::shared().setString(PreferenceKeys::lastViewMode, QStringLiteral("junk"));
        Preferences::shared().setString(PreferenceKeys::defaultViewMode, QStringLiteral("preview"));
        {
            Window w;
            QCOMPARE(w.view->viewMode(), ViewMode::Preview);
            QCOMPARE(w.view->toolbar()->modeSwitcher()->mode(), ViewMode::Preview);
        }
        // A change in one window is where the next one starts; open ones keep theirs.
        Window first;
        Window second;
        first.commands().modeEdit->trigger();
        QCOMPARE(first.view->viewMode(), ViewMode::Edit);
        QCOMPARE(second.view->viewMode(), ViewMode::Preview);
        Window third;
        QCOMPARE(third.view->viewMode(), ViewMode::Edit);
    }

    void modesShowAndHidePanes() {
        Window w;
        QWidget* editor = w.panes->editor();
        QWidget* preview = w.panes->preview();
        QVERIFY(editor->isVisible() && preview->isVisible());
        QVERIFY(w.panes->scrollSyncEnabled);
        QCOMPARE(editor->minimumWidth(), WorkspaceView::minimumPaneWidth);
        QCOMPARE(preview->minimumWidth(), WorkspaceView::minimumPaneWidth);

        w.commands().modeEdit->trigger();
        QVERIFY(editor->isVisible() && !preview->isVisible());
        QVERIFY(!w.panes->scrollSyncEnabled);
        w.view->toolbar()->modeSwitcher()->segment(ViewMode::Preview)->click();
        QCOMPARE(w.view->viewMode(), ViewMode::Preview);
        QVERIFY(!editor->isVisible() && preview->isVisible());
        QCOMPARE(Preferences::shared().lastViewMode(), QStringLiteral("Preview"));
    }

    // The editor lives as long as the window; a hidden preview is not fed
    // every keystroke but catches up when shown.
    void modeSwitchesKeepTheEditorAndSpareTheHiddenPreview() {
        Preferences::shared().setBoolean(PreferenceKeys::newDocumentStartsEmpty, true);
        Window w;
        w.commands().modeEdit->trigger();
        const int renders = w.panes->previewRenders;
        for (const char* piece : {"a", "b", "c", "d"})
            w.panes->type(QString::fromLatin1(piece));
        QCOMPARE(w.document->text(), QStringLiteral("abcd"));
        QCOMPARE(w.panes->previewRenders, renders);

        w.commands().modeSplit->trigger();
        QCOMPARE(w.panes->previewRenders, renders + 1);
        QCOMPARE(qobject_cast<QLabel*>(w.panes->preview())->text(), QStringLiteral("abcd"));
        w.panes->type(QStringLiteral("e"));
        QCOMPARE(w.panes->previewRenders, renders + 2);

        // An edit the hidden editor still reports is not lost.
        w.commands().modePreview->trigger();
        w.panes->type(QStringLiteral("f"));
        QCOMPARE(w.document->text(), QStringLiteral("abcdef"));
        w.commands().modeEdit->trigger();
        QCOMPARE(w.panes->textEdit()->toPlainText(), QStringLiteral("abcdef"));
        QVERIFY(w.panes->textEdit()->document()->isUndoAvailable());
        // The editor's own edits never come back to it.
        QCOMPARE(w.panes->editorTextSets, 1);
    }

    void previewCheckboxUpdatesEditorAndDocumentAtOnce() {
        for (ViewMode mode : {ViewMode::Split, ViewMode::Preview}) {
            Window w;
            w.view->setViewMode(mode);
            const QString toggled = w.document->text().replace(QStringLiteral("- [ ] This"),
                                                               QStringLiteral("- [x] This"));
            w.panes->toggleInPreview(toggled);
            QCOMPARE(w.document->text(), toggled);
            QCOMPARE(w.panes->textEdit()->toPlainText(), toggled);
        }
    }

    void focusModeHidesTheChromeAndEscapeLeavesIt() {
        Window w;
        auto* hint = new QLabel(QStringLiteral("Type / for blocks"));
        w.view->slashHintSlot()->layout()->addWidget(hint);
        w.commands().focusMode->trigger(); // updates the slots too
        w.commands().focusMode->trigger();
        QVERIFY(w.view->toolbar()->isVisible());
        QVERIFY(w.view->statusBarView()->isVisible());
        QVERIFY(w.view->slashHintSlot()->isVisible());

        w.commands().focusMode->trigger();
        QVERIFY(w.view->isFocusMode());
        QVERIFY(!w.view->toolbar()->isVisible());
        QVERIFY(!w.view->statusBarView()->isVisible());
        QVERIFY(!w.view->slashHintSlot()->isVisible());
        QVERIFY(!w.view->showsSlashCommandsHint());
        QVERIFY(w.panes->editor()->isVisible());

        // The find bar and the palette have Escape first.
        w.view->openFindBar();
        QVERIFY(!w.view->escapeDispatcher().dispatch());
        QVERIFY(w.view->isFocusMode());
        w.view->closeFindBar();
        w.commands().commandPalette->trigger();
        QVERIFY(!w.view->escapeDispatcher().dispatch());
        w.commands().commandPalette->trigger();
        QVERIFY(w.view->escapeDispatcher().dispatch());
        QVERIFY(!w.view->isFocusMode());
        QVERIFY(w.view->toolbar()->isVisible());
        QVERIFY(!w.view->escapeDispatcher().dispatch());

        // The hint: Edit and Split only, and not once dismissed.
        w.view->setViewMode(ViewMode::Preview);
        QVERIFY(!w.view->slashHintSlot()->isVisible());
        w.view->setViewMode(ViewMode::Edit);
        QVERIFY(w.view->slashHintSlot()->isVisible());
        Preferences::shared().setBoolean(PreferenceKeys::slashCommandsHintDismissed, true);
        QVERIFY(!w.view->slashHintSlot()->isVisible());
    }

    void findToggleFromPreviewOpensSplit() {
        Window w;
        w.view->setViewMode(ViewMode::Preview);
        w.commands().find->trigger();
        QVERIFY(w.view->isFindBarPresented());
        QCOMPARE(w.view->viewMode(), ViewMode::Split);
        w.commands().find->trigger();
        QVERIFY(!w.view->isFindBarPresented());
    }

    void untitledIsNeitherWatchedNorRecordedUntilSaved() {
        Window w;
        QVERIFY(!w.view->outsideChangeWatch().monitor().isWatching());
        QVERIFY(RecentFilesStore::shared().files().isEmpty());
        QCOMPARE(w.view->documentDirectory(), QString());
        QCOMPARE(w.view->statusBarView()->nameText(), QStringLiteral("Untitled"));
        QVERIFY(!w.commands().reveal->isEnabled());
        QVERIFY(w.commands().exportHTML->isEnabled());
        QCOMPARE(w.view->documentActions().exportContext().baseName, QStringLiteral("Untitled"));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("notes.md"));
        QVERIFY(w.document->save(path, nullptr));
        w.document->setFileUrl(QUrl::fromLocalFile(path));
        QVERIFY(w.view->outsideChangeWatch().monitor().isWatching());
        QCOMPARE(RecentFilesStore::shared().files().size(), 1);
        QCOMPARE(w.view->documentDirectory(), dir.path());
        QCOMPARE(w.panes->documentDirectory, dir.path());
        QVERIFY(w.commands().reveal->isEnabled());
        QCOMPARE(w.view->documentActions().exportContext().baseName, QStringLiteral("notes"));
    }

    void outsideChangesReachTheEditor() {
        QTemporaryDir dir;
        const QString path = TestSupport::writeFile(dir, QStringLiteral("doc.md"), "alpha\n");
        Window w = Window::opened(path);
        QCOMPARE(RecentFilesStore::shared().files().size(), 1);
        QVERIFY(w.view->outsideChangeWatch().monitor().isWatching());

        w.panes->type(QStringLiteral("typed\n"));
        w.view->setWindowModified(w.document->isModified());
        w.alerts.answer = WorkspaceAlerts::OutsideChangeChoice::Reload;
        TestSupport::writeFile(dir, QStringLiteral("doc.md"), "from outside\n");
        QTRY_COMPARE_WITH_TIMEOUT(w.alerts.outsideChangeAsks, 1, 3000);
        QCOMPARE(w.document->text(), QStringLiteral("from outside\n"));
        QCOMPARE(w.panes->textEdit()->toPlainText(), QStringLiteral("from outside\n"));
        QVERIFY(!w.document->isModified());
        QVERIFY(!w.view->isWindowModified());

        w.alerts.answer = WorkspaceAlerts::OutsideChangeChoice::KeepMyVersion;
        TestSupport::writeFile(dir, QStringLiteral("doc.md"), "second outside\n");
        QTRY_COMPARE_WITH_TIMEOUT(w.alerts.outsideChangeAsks, 2, 3000);
        QCOMPARE(w.panes->textEdit()->toPlainText(), QStringLiteral("from outside\n"));
        QVERIFY(w.document->isModified());
        QVERIFY(w.view->isWindowModified());
    }

    // A window that publishes nothing (settings, about) or only the welcome
    // opener: the document and workspace commands are off.
    void menusOfAWindowWithoutADocument() {
        int welcomes = 0;
        ApplicationCommands app;
        app.showWelcomeWindow = [&] { ++welcomes; };
        QWidget other;
        WindowCommands commands(&other, FocusedValues{}, app);
        WindowMenuBar bar(commands);
        WindowToolbar toolbar(commands);
        for (QAction* a : {commands.find, commands.modeEdit, commands.modeSplit,
                           commands.modePreview, commands.commandPalette, commands.focusMode,
                           commands.save, commands.saveAs, commands.duplicate, commands.exportPDF,
                           commands.exportHTML, commands.exportMarkdownCopy,
                           commands.exportPlainText, commands.copyHTML, commands.reveal})
            QVERIFY2(!a->isEnabled(), qPrintable(a->text()));
        QVERIFY(!toolbar.paletteButton()->isEnabled());
        QVERIFY(!toolbar.findButton()->isEnabled());
        QVERIFY(!toolbar.shareButton()->isEnabled());
        QVERIFY(toolbar.homeButton()->isEnabled());
        QVERIFY(toolbar.settingsButton()->isEnabled());
        commands.modeEdit->trigger(); // nothing to call, nothing happens

        // "Welcome Window" always works: the welcome window's own opener, or the notification.
        QVERIFY(commands.welcomeWindow->isEnabled());
        commands.welcomeWindow->trigger();
        toolbar.homeButton()->click();
        QCOMPARE(welcomes, 2);
        int opened = 0;
        FocusedValues welcome;
        welcome.openWelcomeWindow = [&] { ++opened; };
        commands.setValues(welcome);
        commands.welcomeWindow->trigger();
        QCOMPARE(opened, 1);
        QCOMPARE(welcomes, 2);

        QCOMPARE(commands.modeEdit->shortcut(), QKeySequence(QStringLiteral("Ctrl+1")));
        QCOMPARE(commands.welcomeWindow->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+1")));
        QCOMPARE(commands.focusMode->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+.")));
    }

    void shareMenuShowsRevealOnlyWithAFile() {
        Window w;
        QMenu* share = w.view->toolbar()->shareMenu();
        Q_EMIT share->aboutToShow();
        QVERIFY(!share->actions().contains(w.commands().reveal));
        QVERIFY(share->actions().contains(w.commands().saveAs));
        QVERIFY(share->actions().contains(w.commands().copyHTML));
        QVERIFY(w.view->toolbar()->shareButton()->isEnabled());

        QTemporaryDir dir;
        w.document->setFileUrl(QUrl::fromLocalFile(dir.filePath(QStringLiteral("a.md"))));
        Q_EMIT share->aboutToShow();
        QVERIFY(share->actions().contains(w.commands().reveal));
        // The same action as the File menu's.
        QVERIFY(w.view->windowMenuBar()->fileMenu()->actions().contains(w.commands().reveal));
    }

    void eachWindowsCommandsActOnItsOwnWindow() {
        Window a;
        Window b;
        a.commands().modePreview->trigger();
        a.commands().focusMode->trigger();
        QCOMPARE(a.view->viewMode(), ViewMode::Preview);
        QCOMPARE(b.view->viewMode(), ViewMode::Split);
        QVERIFY(a.view->isFocusMode());
        QVERIFY(!b.view->isFocusMode());
        b.view->toolbar()->findButton()->click();
        QVERIFY(b.view->isFindBarPresented());
        QVERIFY(!a.view->isFindBarPresented());
    }

    // The application's panes: text from outside is one undoable edit, and
    // undoing it writes back to the document like typing.
    void outsideTextIsOneUndoStepInTheEditor() {
        MarkdownDocument document;
        WorkspaceServices services;
        FakeWorkspaceAlerts alerts;
        services.alerts = &alerts;
        services.application = ApplicationCommands{};
        services.panes = StandardWorkspacePanes::factory();
        WorkspaceView view(document, std::move(services));
        auto* pane = qobject_cast<EditorView*>(view.panes()->editor());
        QVERIFY(pane);
        QPlainTextEdit* editor = pane->textView();
        const QString original = document.text();
        QVERIFY(!editor->document()->isUndoAvailable());

        document.setText(original + QStringLiteral("\nreloaded line\n"));
        QCOMPARE(editor->toPlainText(), document.text());
        editor->undo();
        QCOMPARE(editor->toPlainText(), original);
        QCOMPARE(document.text(), original);
        QVERIFY(!editor->document()->isUndoAvailable());
    }

    void statusBarFollowsTheDocument() {
        Preferences::shared().setBoolean(PreferenceKeys::newDocumentStartsEmpty, true);
        Window w;
        QCOMPARE(w.view->statusBarView()->countsText(), QStringLiteral("0 words  ·  0 characters"));
        w.panes->type(QStringLiteral("hi"));
        QTRY_COMPARE(w.view->statusBarView()->countsText(),
                     QStringLiteral("1 word  ·  2 characters"));
    }
};

QTEST_MAIN(TestWorkspaceView)
#include "tst_workspaceview.moc"

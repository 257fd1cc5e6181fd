#include "core/Preferences.h"
#include "core/RecentFilesStore.h"
#include "editor/EditorView.h"
#include "editor/MarkdownTextView.h"
#include "preview/PreviewContentView.h"
#include "preview/PreviewView.h"
#include "shell/EscapeDispatcher.h"
#include "shell/ModeSwitcher.h"
#include "shell/OutsideChangeWatch.h"
#include "shell/StandardWorkspacePanes.h"
#include "shell/StatusBarView.h"
#include "shell/WindowCommands.h"
#include "shell/WindowToolbar.h"
#include "support/TestSupport.h"
#include "support/WorkspaceWindow.h"

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using Window = WorkspaceWindow;

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

    // The editor lives as long as the window; a hidden preview is not fed
    // every keystroke but catches up when shown.
    void modesKeepTheEditorAndSpareTheHiddenPreview() {
        Preferences::shared().setBoolean(PreferenceKeys::newDocumentStartsEmpty, true);
        Window w;
        QWidget* editor = w.panes->editor();
        QWidget* preview = w.panes->preview();
        QVERIFY(w.panes->scrollSyncEnabled);
        QCOMPARE(editor->minimumWidth(), WorkspaceView::minimumPaneWidth);
        QCOMPARE(preview->minimumWidth(), WorkspaceView::minimumPaneWidth);

        w.commands().modeEdit->trigger();
        QVERIFY(editor->isVisible() && !preview->isVisible());
        QVERIFY(!w.panes->scrollSyncEnabled);
        const int renders = w.panes->previewRenders;
        for (const char* piece : {"a", "b", "c", "d"})
            w.panes->type(QString::fromLatin1(piece));
        QCOMPARE(w.document->text(), QStringLiteral("abcd"));
        QCOMPARE(w.panes->previewRenders, renders);

        w.view->toolbar()->modeSwitcher()->segment(ViewMode::Split)->click();
        QCOMPARE(w.panes->previewRenders, renders + 1);
        QCOMPARE(qobject_cast<QLabel*>(preview)->text(), QStringLiteral("abcd"));
        w.panes->type(QStringLiteral("e"));
        QCOMPARE(w.panes->previewRenders, renders + 2);

        // An edit the hidden editor still reports is not lost.
        w.commands().modePreview->trigger();
        QVERIFY(!editor->isVisible() && preview->isVisible());
        w.panes->type(QStringLiteral("f"));
        QCOMPARE(w.document->text(), QStringLiteral("abcdef"));
        w.commands().modeEdit->trigger();
        QVERIFY(w.panes->textEdit()->document()->isUndoAvailable());
        // The editor's own edits never come back to it.
        QCOMPARE(w.panes->editorTextSets, 1);
        QCOMPARE(Preferences::shared().lastViewMode(), QStringLiteral("Edit"));
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
        w.view->slashHintSlot()->layout()->addWidget(new QLabel(QStringLiteral("Type /")));
        w.view->setViewMode(ViewMode::Edit); // the slots follow their content
        QVERIFY(w.view->slashHintSlot()->isVisible());

        w.commands().focusMode->trigger();
        QVERIFY(!w.view->toolbar()->isVisible());
        QVERIFY(!w.view->statusBarView()->isVisible());
        QVERIFY(!w.view->slashHintSlot()->isVisible());
        QVERIFY(w.panes->editor()->isVisible());

        // The find bar and the palette have Escape first.
        w.view->openFindBar();
        QVERIFY(!w.view->escapeDispatcher().dispatch());
        w.view->closeFindBar();
        w.commands().commandPalette->trigger();
        QVERIFY(!w.view->escapeDispatcher().dispatch());
        w.commands().commandPalette->trigger();
        QVERIFY(w.view->escapeDispatcher().dispatch());
        QVERIFY(!w.view->isFocusMode());
        QVERIFY(w.view->toolbar()->isVisible());
        QVERIFY(w.view->slashHintSlot()->isVisible());

        // The hint: Edit and Split only, and not once dismissed.
        w.view->setViewMode(ViewMode::Preview);
        QVERIFY(!w.view->slashHintSlot()->isVisible());
        w.view->setViewMode(ViewMode::Split);
        Preferences::shared().setBoolean(PreferenceKeys::slashCommandsHintDismissed, true);
        QVERIFY(!w.view->slashHintSlot()->isVisible());
    }

    void untitledIsNeitherWatchedNorRecordedUntilSaved() {
        Window w;
        QVERIFY(!w.view->outsideChangeWatch().monitor().isWatching());
        QVERIFY(RecentFilesStore::shared().files().isEmpty());
        QVERIFY(!w.commands().reveal->isEnabled());
        QMenu* share = w.view->toolbar()->shareMenu();
        Q_EMIT share->aboutToShow();
        QVERIFY(!share->actions().contains(w.commands().reveal));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("notes.md"));
        QVERIFY(w.document->save(path, nullptr));
        w.document->setFileUrl(QUrl::fromLocalFile(path));
        QVERIFY(w.view->outsideChangeWatch().monitor().isWatching());
        QCOMPARE(RecentFilesStore::shared().files().size(), 1);
        QCOMPARE(w.panes->documentDirectory, dir.path());
        QVERIFY(w.commands().reveal->isEnabled());
        QCOMPARE(w.view->documentActions().exportContext().baseName, QStringLiteral("notes"));
        Q_EMIT share->aboutToShow();
        QVERIFY(share->actions().contains(w.commands().reveal));
    }

    void outsideChangesReachTheEditor() {
        QTemporaryDir dir;
        const QString path = TestSupport::writeFile(dir, QStringLiteral("doc.md"), "alpha\n");
        Window w(MarkdownDocument::open(path, nullptr));
        QCOMPARE(RecentFilesStore::shared().files().size(), 1);
        QVERIFY(w.view->outsideChangeWatch().monitor().isWatching());

        w.panes->type(QStringLiteral("typed\n"));
        w.alerts.answer = WorkspaceAlerts::OutsideChangeChoice::Reload;
        TestSupport::writeFile(dir, QStringLiteral("doc.md"), "from outside\n");
        w.view->outsideChangeWatch().check();
        QCOMPARE(w.panes->textEdit()->toPlainText(), QStringLiteral("from outside\n"));
        QVERIFY(!w.view->isWindowModified());

        w.alerts.answer = WorkspaceAlerts::OutsideChangeChoice::KeepMyVersion;
        TestSupport::writeFile(dir, QStringLiteral("doc.md"), "second outside\n");
        w.view->outsideChangeWatch().check();
        QCOMPARE(w.alerts.outsideChangeAsks, 2);
        QCOMPARE(w.panes->textEdit()->toPlainText(), QStringLiteral("from outside\n"));
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
        WindowToolbar toolbar(commands);
        for (QAction* a : {commands.find, commands.modeEdit, commands.modeSplit,
                           commands.modePreview, commands.commandPalette, commands.focusMode,
                           commands.save, commands.saveAs, commands.duplicate, commands.exportPDF,
                           commands.exportHTML, commands.exportMarkdownCopy,
                           commands.exportPlainText, commands.copyHTML, commands.reveal})
            QVERIFY2(!a->isEnabled(), qPrintable(a->text()));
        QVERIFY(!toolbar.shareButton()->isEnabled());
        commands.modeEdit->trigger(); // nothing to call, nothing happens

        // "Welcome Window" always works: the welcome window's own opener, or the notification.
        toolbar.homeButton()->click();
        QCOMPARE(welcomes, 1);
        int opened = 0;
        FocusedValues welcome;
        welcome.openWelcomeWindow = [&] { ++opened; };
        commands.setValues(welcome);
        commands.welcomeWindow->trigger();
        QCOMPARE(opened, 1);
        QCOMPARE(welcomes, 1);
    }

    void eachWindowsCommandsActOnItsOwnWindow() {
        Window a;
        Window b;
        a.commands().modePreview->trigger();
        a.commands().focusMode->trigger();
        QCOMPARE(a.view->viewMode(), ViewMode::Preview);
        QCOMPARE(b.view->viewMode(), ViewMode::Split);
        QVERIFY(!b.view->isFocusMode());
        // Find from Preview opens Split; the button toggles.
        a.view->toolbar()->findButton()->click();
        QVERIFY(a.view->isFindBarPresented());
        QCOMPARE(a.view->viewMode(), ViewMode::Split);
        QVERIFY(!b.view->isFindBarPresented());
        a.commands().find->trigger();
        QVERIFY(!a.view->isFindBarPresented());
    }

    // A window restored to Edit mode never renders its preview, not even
    // while it first shows; Split renders it once.
    void aHiddenPreviewRendersNothing() {
        Preferences::shared().setString(PreferenceKeys::lastViewMode, QStringLiteral("Edit"));
        Window w(std::make_unique<MarkdownDocument>(), StandardWorkspacePanes::factory());
        auto* preview = qobject_cast<PreviewView*>(w.view->panes()->preview());
        QVERIFY(!w.document->text().isEmpty());
        QVERIFY(preview->parseCache().document()->text.isEmpty());
        QCOMPARE(preview->content()->buildCount(), 0);

        w.view->setViewMode(ViewMode::Split);
        QCOMPARE(preview->parseCache().document()->text, w.document->text());
        QVERIFY(preview->content()->buildCount() > 0);
    }

    // The application's panes: text from outside is one undoable edit, and
    // undoing it writes back to the document like typing.
    void outsideTextIsOneUndoStepInTheEditor() {
        Window w(std::make_unique<MarkdownDocument>(), StandardWorkspacePanes::factory());
        auto* pane = qobject_cast<EditorView*>(w.view->panes()->editor());
        QVERIFY(pane);
        QPlainTextEdit* editor = pane->textView();
        const QString original = w.document->text();
        QVERIFY(!editor->document()->isUndoAvailable());

        w.document->setText(original + QStringLiteral("\nreloaded line\n"));
        QCOMPARE(editor->toPlainText(), w.document->text());
        editor->undo();
        QCOMPARE(w.document->text(), original);
        QVERIFY(!editor->document()->isUndoAvailable());
    }
};

QTEST_MAIN(TestWorkspaceView)
#include "tst_workspaceview.moc"

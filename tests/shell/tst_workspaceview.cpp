#include "core/Preferences.h"
#include "core/RecentFilesStore.h"
#include "editor/EditorView.h"
#include "editor/MarkdownTextEditor.h"
#include "editor/MarkdownTextView.h"
#include "preview/PreviewContentView.h"
#include "preview/PreviewView.h"
#include "shell/EscapeDispatcher.h"
#include "shell/ModeSwitcher.h"
#include "shell/OutsideChangeWatch.h"
#include "shell/StandardWorkspacePanes.h"
#include "shell/StatusBarView.h"
#include "shell/TransitionSlot.h"
#include "shell/WindowCommands.h"
#include "shell/WindowToolbar.h"
#include "support/AnimationClock.h"
#include "support/FakeExportDesktop.h"
#include "support/TestSupport.h"
#include "support/WorkspaceWindow.h"
#include "tools/DocumentSearch.h"
#include "tools/FindBarView.h"
#include "tools/SlashCommandsHintToast.h"
#include "widgets/PlainButton.h"

#include <QAction>
#include <QLineEdit>
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

    // A change in one window is where the next one starts; open ones keep
    // theirs. Restoring is not a choice: opening stores nothing.
    void startModeFollowsTheLastChange() {
        Window first;
        QCOMPARE(first.dismissals, 1);
        QVERIFY(!Preferences::shared().contains(PreferenceKeys::lastViewMode));
        Window second;
        first.commands().modeEdit->trigger();
        QCOMPARE(first.view->toolbar()->modeSwitcher()->mode(), ViewMode::Edit);
        QCOMPARE(second.view->viewMode(), ViewMode::Split);
        QCOMPARE(Window().view->viewMode(), ViewMode::Edit);
    }

    // The editor lives as long as the window; a hidden preview is not fed
    // every keystroke but catches up when shown.
    void modesKeepTheEditorAndSpareTheHiddenPreview() {
        Preferences::shared().setBoolean(PreferenceKeys::newDocumentStartsEmpty, true);
        Window w;
        QWidget* editor = w.panes->editor();
        QWidget* preview = w.panes->preview();
        QVERIFY(w.panes->scrollSyncEnabled);

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
        QCOMPARE(w.panes->editorEdits, 0);
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
        QWidget* hint = w.view->slashHintSlot();
        QVERIFY(hint->isVisible());

        w.commands().focusMode->trigger();
        QVERIFY(!w.view->toolbar()->isVisible());
        QVERIFY(!w.view->statusBarView()->isVisible());
        QTRY_VERIFY(!hint->isVisible());
        QVERIFY(w.panes->editor()->isVisible());
        QVERIFY(w.view->escapeDispatcher().dispatch());
        QVERIFY(!w.view->isFocusMode());
        QVERIFY(w.view->toolbar()->isVisible());
        QTRY_VERIFY(hint->isVisible());
    }

    // The hint shows in Edit and Split only, slides away when dismissed and
    // stays away until the preference is cleared.
    void slashHintFollowsModeAndDismissal() {
        Window w;
        TransitionSlot* hint = w.view->slashHintSlot();
        auto* toast = hint->findChild<SlashCommandsHintToast*>();
        QVERIFY(toast);
        AnimationClock clock;
        w.view->setViewMode(ViewMode::Preview);
        QVERIFY(!w.view->showsSlashCommandsHint());
        QVERIFY(clock.finish());
        QVERIFY(!hint->isVisible());
        w.view->setViewMode(ViewMode::Edit);
        QVERIFY(hint->isVisible());
        QVERIFY(clock.finish());
        QVERIFY(!hint->isRunning());
        QCOMPARE(hint->height(), hint->content()->sizeHint().height());
        // Shown, the card draws as itself, not through a fading picture.
        QVERIFY(!hint->content()->graphicsEffect());

        QTest::mouseClick(toast->dismissButton(), Qt::LeftButton);
        QVERIFY(Preferences::shared().slashCommandsHintDismissed());
        // Leaving: the slot shrinks while the card keeps its height.
        clock.step(60);
        QVERIFY(hint->height() > 0 && hint->height() < toast->sizeHint().height());
        QCOMPARE(toast->height(), toast->sizeHint().height());
        QVERIFY(clock.finish());
        QVERIFY(!hint->isVisible());
        w.view->setViewMode(ViewMode::Split);
        QVERIFY(!hint->isVisible());
        Preferences::shared().setBoolean(PreferenceKeys::slashCommandsHintDismissed, false);
        QTRY_VERIFY(hint->isVisible());
    }

    void untitledIsNeitherWatchedNorRecordedUntilSaved() {
        Window w;
        QVERIFY(!w.view->outsideChangeWatch().monitor().isWatching());
        QVERIFY(RecentFilesStore::shared().files().isEmpty());
        QVERIFY(!w.commands().reveal->isEnabled());

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("notes.md"));
        QVERIFY(w.document->save(path, nullptr));
        w.document->setFileUrl(QUrl::fromLocalFile(path));
        QVERIFY(w.view->outsideChangeWatch().monitor().isWatching());
        QCOMPARE(RecentFilesStore::shared().files().size(), 1);
        QCOMPARE(w.panes->documentDirectory, dir.path());
        QVERIFY(w.commands().reveal->isEnabled());
        QCOMPARE(w.view->documentActions().exportContext().baseName, QStringLiteral("notes"));
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
        QCOMPARE(w.alerts.outsideChangeAsks, 1);
        QCOMPARE(w.panes->textEdit()->toPlainText(), QStringLiteral("from outside\n"));
        QVERIFY(!w.view->isWindowModified());
    }

    // Plain text, a Markdown copy and the text of Copy as HTML hold the
    // document byte for byte as a save writes it: line breaks and mark kept,
    // edited or not.
    void textExportsWriteTheBytesASaveWrites_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("edited");
        QTest::newRow("crlf") << QByteArray("# A\r\n\r\nbody\r\n")
                              << QByteArray("# A\r\n\r\nbody\r\nmore\r\n");
        QTest::newRow("lone cr") << QByteArray("# A\r\rbody\r")
                                 << QByteArray("# A\r\rbody\rmore\r");
        QTest::newRow("bom") << QByteArray("\xEF\xBB\xBF# A\nbody\n")
                             << QByteArray("\xEF\xBB\xBF# A\nbody\nmore\n");
    }
    void textExportsWriteTheBytesASaveWrites() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, edited);
        QTemporaryDir dir;
        Window w(MarkdownDocument::open(TestSupport::writeFile(dir, "doc.md", bytes), nullptr));
        FakeExportDesktop desktop;
        for (const QByteArray& expected : {bytes, edited}) {
            if (expected == edited)
                w.panes->type(QStringLiteral("more\n"));
            for (QAction* exporter :
                 {w.commands().exportPlainText, w.commands().exportMarkdownCopy}) {
                desktop.answer = dir.filePath(exporter->text());
                exporter->trigger();
                QCOMPARE(TestSupport::readFile(desktop.answer), expected);
            }
            w.commands().copyHTML->trigger();
            QVERIFY(desktop.clipboard);
            QCOMPARE(desktop.clipboard->data("text/plain"), expected);
        }
    }

    // The toolbar's "Share & Export" menu: the window's own commands; Reveal
    // only for a document with a file.
    void shareMenuEntries() {
        Window w;
        const WindowCommands& c = w.commands();
        QMenu* menu = w.view->toolbar()->shareMenu();
        const auto entries = [menu] {
            Q_EMIT menu->aboutToShow();
            return menu->actions();
        };
        const QList<QAction*> untitled = entries();
        for (QAction* a : {c.saveAs, c.duplicate, c.exportPDF, c.exportHTML, c.exportMarkdownCopy,
                           c.exportPlainText, c.copyHTML})
            QVERIFY2(untitled.contains(a), qPrintable(a->text()));
        QVERIFY(!untitled.contains(c.reveal));
        w.document->setFileUrl(QUrl::fromLocalFile(QStringLiteral("/tmp/notes.md")));
        QVERIFY(entries().contains(c.reveal));
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

    // A session takes the editor's selection as the query while the query is
    // empty, searches, and selects the first match in the editor, wherever
    // the selection was. Closing empties the query for the next session.
    void findSessionsSeedFromTheEditorSelection() {
        Window w(std::make_unique<MarkdownDocument>(), StandardWorkspacePanes::factory());
        const QString text = QStringLiteral("Twelve Chars first, then twelve chars.\n");
        w.document->setText(text);
        MarkdownTextView* editor = w.textView();
        FindBarView* bar = w.view->findBar();
        const auto select = [&](int from, int length) {
            QTextCursor cursor(editor->document());
            cursor.setPosition(from);
            cursor.setPosition(from + length, QTextCursor::KeepAnchor);
            editor->setTextCursor(cursor);
        };
        select(int(text.indexOf(QStringLiteral("twelve chars"))), 12);
        w.commands().find->trigger();
        QCOMPARE(bar->field()->text(), QStringLiteral("twelve chars"));
        QCOMPARE(bar->statusText(), QStringLiteral("1 of 2"));
        QCOMPARE(editor->textCursor().selectionStart(), 0);
        QCOMPARE(editor->textCursor().selectedText(), QStringLiteral("Twelve Chars"));

        // Another session keeps a query, even a blank one.
        for (const QString& query : {QStringLiteral("first"), QStringLiteral("  ")}) {
            bar->field()->setText(query);
            Q_EMIT bar->field()->textEdited(query);
            select(0, 6);
            editor->contextMenuFind();
            QCOMPARE(w.view->search().state().query, query);
            QCOMPARE(bar->statusText().isEmpty(), query.trimmed().isEmpty());
        }
        QCOMPARE(w.view->search().sessionId(), 3);

        bar->closeButton()->click();
        QVERIFY(!w.view->isFindBarPresented());
        QCOMPARE(w.view->search().state(), DocumentSearchState{});
        QVERIFY(bar->field()->text().isEmpty());
    }

    // Editing with the bar shown updates the count and the painted matches
    // but never moves the caret; Return and the arrows do.
    void editsWithTheBarShownRepaintOnly() {
        Window w(std::make_unique<MarkdownDocument>(), StandardWorkspacePanes::factory());
        w.document->setText(QStringLiteral("cat dog cat\n"));
        auto* pane = qobject_cast<EditorView*>(w.view->panes()->editor());
        MarkdownTextView* editor = pane->textView();
        FindBarView* bar = w.view->findBar();
        w.view->openFindBar();
        QTest::keyClicks(bar->field(), QStringLiteral("CAT"));
        QCOMPARE(bar->statusText(), QStringLiteral("1 of 2"));
        QCOMPARE(editor->textCursor().selectionStart(), 0);

        editor->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor, QStringLiteral("a cat"));
        QCOMPARE(bar->statusText(), QStringLiteral("1 of 3"));
        QCOMPARE(pane->editor()->paintedMatches().size(), 3);
        QVERIFY(!editor->textCursor().hasSelection());
        QCOMPARE(editor->textCursor().position(), int(w.document->text().size()));

        // Text from outside is searched too.
        w.document->setText(QStringLiteral("no felines\n"));
        QCOMPARE(bar->statusText(), QStringLiteral("No results"));
        QVERIFY(!bar->nextButton()->isEnabled());
        QVERIFY(pane->editor()->paintedMatches().isEmpty());
    }

    // The very first query of a window finding nothing says so.
    void aFirstQueryWithoutMatchesShowsNoResults() {
        Window w(std::make_unique<MarkdownDocument>(), StandardWorkspacePanes::factory());
        w.document->setText(QStringLiteral("cat\n"));
        FindBarView* bar = w.view->findBar();
        w.view->openFindBar();
        QTest::keyClicks(bar->field(), QStringLiteral("dog"));
        QCOMPARE(bar->statusText(), QStringLiteral("No results"));
        QVERIFY(!bar->nextButton()->isEnabled());
    }

    void findFromThePreviewSearchesTheTrimmedText() {
        Window w;
        w.panes->type(QStringLiteral("a word, a Word"));
        w.view->setViewMode(ViewMode::Preview);
        Q_EMIT w.panes->findInEditorRequested(QStringLiteral(" \n\t"));
        QVERIFY(!w.view->isFindBarPresented());
        QCOMPARE(w.view->viewMode(), ViewMode::Preview);

        w.commands().commandPalette->trigger();
        Q_EMIT w.panes->findInEditorRequested(QStringLiteral("  word\n"));
        QVERIFY(w.view->isFindBarPresented());
        QVERIFY(!w.view->isCommandPaletteOpen());
        QCOMPARE(w.view->viewMode(), ViewMode::Split);
        QCOMPARE(w.panes->searchState.query, QStringLiteral("word"));
        QVERIFY(w.panes->findActive);
        QCOMPARE(w.panes->findSessionId, 1);
        QCOMPARE(w.view->findBar()->statusText(), QStringLiteral("1 of 2"));
    }

    // A file opened in the real window, one key typed where the anchor text
    // ends, saved: the file differs from the original only by that key. A
    // new line takes the ending of the line it split (the file's style where
    // that line has none of its own); U+2029, U+FDD0 and U+FDD1, shown as
    // line breaks, are written back as they were. (The hostile files test
    // types a plain key into every kind of file.)
    void aKeyChangesOnlyWhatItTyped_data() {
        QTest::addColumn<QString>("original"); // written as UTF-8
        QTest::addColumn<QString>("anchor");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char16_t* original, const char16_t* anchor,
                            Qt::Key key, const char16_t* expected) {
            QTest::newRow(name) << QString::fromUtf16(original) << QString::fromUtf16(anchor)
                                << int(key) << QString::fromUtf16(expected);
        };
        const char16_t* alternating = u"one\r\ntwo\nthree\r\nfour\nfive\r\n";
        row("return in a CRLF line", alternating, u"th", Qt::Key_Return,
            u"one\r\ntwo\nth\r\nree\r\nfour\nfive\r\n");
        row("return in an LF line", alternating, u"fo", Qt::Key_Return,
            u"one\r\ntwo\nthree\r\nfo\nur\nfive\r\n");
        row("return in the last line", u"a\r\nb\nlast", u"la", Qt::Key_Return, u"a\r\nb\nla\r\nst");
        row("lines joined", alternating, u"one\ntwo\n", Qt::Key_Backspace,
            u"one\r\ntwothree\r\nfour\nfive\r\n");
        const char16_t* separators = u"a\u2029b\uFDD0c\uFDD1d\r\n";
        row("paragraph separator and noncharacters", separators, u"a\u2029b\uFDD0c", Qt::Key_X,
            u"a\u2029b\uFDD0cx\uFDD1d\r\n");
        row("return before a paragraph separator", separators, u"a", Qt::Key_Return,
            u"a\r\n\u2029b\uFDD0c\uFDD1d\r\n");
    }
    void aKeyChangesOnlyWhatItTyped() {
        QFETCH(QString, original);
        QFETCH(QString, anchor);
        QFETCH(int, key);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path =
            TestSupport::writeFile(dir, QStringLiteral("doc.md"), original.toUtf8());
        Window w(MarkdownDocument::open(path, nullptr), StandardWorkspacePanes::factory());
        MarkdownTextView* view = w.textView();
        const qsizetype at = w.document->text().indexOf(anchor);
        QVERIFY(at >= 0);
        QTextCursor caret(view->document());
        caret.setPosition(int(at + anchor.size()));
        view->setTextCursor(caret);
        QTest::keyClick(view, Qt::Key(key));
        QVERIFY(w.document->isModified());
        QVERIFY(w.document->save(path, nullptr));
        QCOMPARE(TestSupport::readFile(path), expected.toUtf8());

        // Typed and taken back, the text is the saved one again.
        QTest::keyClick(view, Qt::Key_Y);
        QVERIFY(w.view->isWindowModified());
        QTest::keyClick(view, Qt::Key_Backspace);
        QVERIFY(!w.view->isWindowModified());
    }

    // Deleted and undone in the real editor, a U+2029 comes back as itself.
    void anUndoneDeletionRestoresTheFilesBreak() {
        QTemporaryDir dir;
        const QString original = QString::fromUtf16(u"a\u2029b\uFDD0c\r\n");
        const QString path =
            TestSupport::writeFile(dir, QStringLiteral("doc.md"), original.toUtf8());
        Window w(MarkdownDocument::open(path, nullptr), StandardWorkspacePanes::factory());
        MarkdownTextView* view = w.textView();
        QTextCursor caret(view->document());
        caret.setPosition(2);
        view->setTextCursor(caret);
        QTest::keyClick(view, Qt::Key_Backspace);
        QCOMPARE(w.document->text(), QString::fromUtf16(u"ab\uFDD0c\n"));
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.document->text(), QString::fromUtf16(u"a\u2029b\uFDD0c\n"));
        QVERIFY(!w.document->isModified());
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
};

QTEST_MAIN(TestWorkspaceView)
#include "tst_workspaceview.moc"

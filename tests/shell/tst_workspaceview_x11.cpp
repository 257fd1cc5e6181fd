#include "core/Preferences.h"
#include "editor/EditorView.h"
#include "editor/MarkdownTextView.h"
#include "preview/PreviewContentView.h"
#include "preview/PreviewView.h"
#include "preview/ScrollSyncEngine.h"
#include "shell/ModeSwitcher.h"
#include "shell/SnapshotFade.h"
#include "shell/WindowCommands.h"
#include "shell/WindowMenuBar.h"
#include "shell/WindowToolbar.h"
#include "support/AnimationClock.h"
#include "support/EventLoopProbe.h"
#include "support/TestSupport.h"
#include "support/WorkspaceWindow.h"
#include "tools/DocumentSearch.h"
#include "tools/FindBarView.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

// What a widget paints while it lives.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    QRegion painted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return QObject::eventFilter(watched, event);
    }
};

// The window's keys on a real X server, where Qt's own bindings and the
// window system's activation take part.
class TestWorkspaceViewX11 : public QObject {
    Q_OBJECT

    std::unique_ptr<WorkspaceWindow> m_window;
    WorkspaceView* m_view = nullptr;

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }

    // Switches modes and types with the keys; `state` is what the window ends in.
    void typeAcrossModes(bool overlapping, QStringList& state) {
        MarkdownTextView* editor = m_window->textView();
        const SnapshotFade* fade = m_view->viewModeFade();
        // The fades move only when the test says, so the keys fall inside or
        // after them as meant however slow the machine.
        AnimationClock clock;
        bool inTime = true;
        const auto step = [&](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            press(key, modifiers);
            if (overlapping) {
                inTime = inTime && fade->isRunning();
            } else {
                QVERIFY(clock.finish());
                QVERIFY(!fade->isRunning());
            }
        };
        step(Qt::Key_1, Qt::ControlModifier);
        QVERIFY(!m_view->panes()->preview()->isVisible());
        step(Qt::Key_X);
        QVERIFY(m_window->document->text().startsWith(QStringLiteral("x#")));
        step(Qt::Key_2, Qt::ControlModifier);
        QVERIFY(m_view->panes()->preview()->isVisible());
        step(Qt::Key_Y);
        QVERIFY(m_window->document->text().startsWith(QStringLiteral("xy#")));
        step(Qt::Key_3, Qt::ControlModifier);
        QVERIFY(!m_view->panes()->editor()->isVisible());
        step(Qt::Key_2, Qt::ControlModifier);
        // Back from Preview the keys go to the editor again.
        step(Qt::Key_Z);
        QVERIFY(m_window->document->text().startsWith(QStringLiteral("xyz#")));
        QVERIFY2(inTime, "a key came after the fade");
        QVERIFY(clock.finish());
        QTRY_VERIFY(!fade->isVisible());
        QWidget* focus = QApplication::focusWidget();
        state = {rawValue(m_view->viewMode()),
                 Preferences::shared().lastViewMode(),
                 m_window->document->text(),
                 QString::number(editor->textCursor().position()),
                 QString::number(m_view->panes()->editor()->width()),
                 QString::number(m_view->panes()->preview()->width()),
                 focus ? QString::fromLatin1(focus->metaObject()->className()) : QString()};
    }

private Q_SLOTS:
    void init() {
        m_window = WorkspaceWindow::freshInEditor();
        m_view = m_window->view.get();
    }
    void cleanup() { m_window.reset(); }

    // The welcome window has the shifted 1; the mode and the text stay.
    void welcomeKeyIsNotEditMode() {
        const QString text = m_window->document->text();
        press(Qt::Key_1, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(m_window->welcomes, 1);
        QCOMPARE(m_view->viewMode(), ViewMode::Split);
        QCOMPARE(m_window->document->text(), text);
    }

    // Ctrl+F gives the find field the keys; Return steps on, Shift+Return
    // back; Escape closes and gives the keys back to the editor.
    void findKeys() {
        MarkdownTextView* editor = m_window->textView();
        editor->setPlainText(QStringLiteral("one cat, two cats, three cats\n"));
        press(Qt::Key_F, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::focusWidget(),
                     static_cast<QWidget*>(m_view->findBar()->field()));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("cat"));
        QCOMPARE(m_view->findBar()->statusText(), QStringLiteral("1 of 3"));
        // Each key, then the match it leads to: its place in the count and the text.
        const QList<std::tuple<Qt::Key, Qt::KeyboardModifiers, int, int>> steps = {
            {Qt::Key_Return, Qt::NoModifier, 2, 13},
            {Qt::Key_Return, Qt::ShiftModifier, 1, 4},
            {Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier, 3, 25},
            {Qt::Key_Enter, Qt::KeypadModifier, 1, 4},
            {Qt::Key_Return, Qt::ShiftModifier, 3, 25}};
        for (const auto& [key, modifiers, index, start] : steps) {
            press(key, modifiers);
            QCOMPARE(m_view->findBar()->statusText(), QStringLiteral("%1 of 3").arg(index));
            QCOMPARE(editor->textCursor().selectionStart(), start);
        }
        press(Qt::Key_Escape);
        QVERIFY(!m_view->isFindBarPresented());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor));
        press(Qt::Key_Exclam, Qt::ShiftModifier);
        QCOMPARE(m_window->document->text(), QStringLiteral("one cat, two cats, three !s\n"));
    }

    // A find step that scrolls repaints the last match with a pixel around
    // it, where it was and where the scroll took it: nothing of its colour
    // or its pulse stays behind.
    void findStepRepaintsTheOldMatch() {
        MarkdownTextView* editor = m_window->textView();
        AnimationClock clock;
        press(Qt::Key_F, Qt::ControlModifier);
        QVERIFY(clock.finish());
        // The next match just below the view.
        editor->setPlainText(QStringLiteral("\n\n"));
        const int lines = int(editor->viewport()->height() /
                              editor->blockRect(editor->document()->findBlockByNumber(1)).height());
        editor->setPlainText(QString(8, u'\n') + QStringLiteral("some cat") +
                             QString(lines - 8, u'\n') + QStringLiteral("cats") +
                             QString(lines, u'\n'));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("cat"));
        QVERIFY(clock.finish());
        TestSupport::processPendingEvents();
        const auto area = [&] {
            QTextCursor from(editor->document()), to(editor->document());
            from.setPosition(13);
            to.setPosition(16);
            return editor->cursorRect(from).united(editor->cursorRect(to)).adjusted(-1, -1, 1, 1);
        };
        const QRect before = area();
        const int scrolled = editor->verticalScrollBar()->value();
        PaintRecorder viewport(editor->viewport());
        press(Qt::Key_Return);
        QVERIFY(clock.finish());
        TestSupport::processPendingEvents();
        QVERIFY(editor->verticalScrollBar()->value() > scrolled);
        const QRect after = area() & editor->viewport()->rect();
        QVERIFY(!after.isEmpty());
        for (const QRect& old : {before, after})
            QVERIFY((QRegion(old) - viewport.painted).isEmpty());
    }

    // The Edit menu opened from the keyboard acts on the text the keys were
    // in, the editor's or the find field's, though the menu bar has the focus.
    void editMenuFromTheKeyboard() {
        MarkdownTextView* editor = m_window->textView();
        editor->setPlainText(QStringLiteral("one "));
        editor->moveCursor(QTextCursor::End);
        QTest::keyClicks(editor, QStringLiteral("two"));
        press(Qt::Key_Left, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(editor->textCursor().selectedText(), QStringLiteral("two"));
        WindowMenuBar* bar = m_view->windowMenuBar();
        QMenu* edit = bar->editMenu();
        const WindowCommands& c = m_window->commands();
        // Picks the entry with the arrows, as a user would.
        const auto choose = [&](QAction* entry) {
            press(Qt::Key_E, Qt::AltModifier);
            QTRY_VERIFY(edit->isVisible());
            for (int i = 0; i < 12 && edit->activeAction() != entry; ++i)
                QTest::keyClick(edit, Qt::Key_Down);
            QCOMPARE(edit->activeAction(), entry);
            QTest::keyClick(edit, Qt::Key_Return);
            QTRY_VERIFY(!edit->isVisible());
        };
        press(Qt::Key_E, Qt::AltModifier);
        QTRY_VERIFY(edit->isVisible());
        for (QAction* entry : {c.undo, c.cut, c.copy, c.selectAll})
            QVERIFY2(entry->isEnabled(), qPrintable(entry->text()));
        QVERIFY(!c.redo->isEnabled());
        QTest::keyClick(edit, Qt::Key_Escape);
        press(Qt::Key_Escape);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor));

        choose(c.cut);
        QCOMPARE(m_window->document->text(), QStringLiteral("one "));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editor));
        press(Qt::Key_F, Qt::ControlModifier);
        QLineEdit* field = m_view->findBar()->field();
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(field));
        choose(c.paste);
        QCOMPARE(field->text(), QStringLiteral("two"));
        QCOMPARE(m_window->document->text(), QStringLiteral("one "));
    }

    // Keys pressed while the old panes fade out act at once, and the window
    // ends as it ends when each fade is over before the next key.
    void keysDuringModeFade() {
        QStringList overlapping, waiting;
        typeAcrossModes(true, overlapping);
        if (QTest::currentTestFailed())
            return;
        init();
        typeAcrossModes(false, waiting);
        QCOMPARE(overlapping, waiting);
    }

    // In Split the other pane follows every scroll, whatever moved the pane.
    void scrollingEitherPaneMovesTheOther() {
        QString text;
        for (int i = 0; i < 400; ++i)
            text += QStringLiteral("Paragraph %1 with enough words to fill a line or two of the "
                                   "pane.\n\n")
                        .arg(i);
        m_window->document->setText(text);
        MarkdownTextView* editor = m_window->textView();
        auto* preview = qobject_cast<PreviewView*>(m_view->panes()->preview());
        QScrollBar* editorBar = editor->verticalScrollBar();
        QScrollBar* previewBar = preview->scrollArea()->verticalScrollBar();
        QTRY_COMPARE(preview->parseCache().document()->text, text);
        TestSupport::processPendingEvents();
        const auto inStep = [&] {
            return std::abs(ScrollSyncEngine::scrollRatio(editorBar) -
                            ScrollSyncEngine::scrollRatio(previewBar)) < 0.02;
        };
        // What the scrolls queued (the next turn's echo, a deferred reveal).
        const auto settle = [] { TestSupport::processPendingEvents(); };

        // Keys, with which the editor scrolls itself.
        press(Qt::Key_PageDown);
        press(Qt::Key_PageDown);
        settle();
        QVERIFY(editorBar->value() > 0);
        QVERIFY(inStep());
        // The scroll bar.
        editorBar->setValue(editorBar->maximum() / 3);
        settle();
        QVERIFY(inStep());
        // Typing at the end keeps the caret in view, and the preview follows.
        press(Qt::Key_End, Qt::ControlModifier);
        editorBar->setValue(0);
        settle();
        QTest::keyClicks(editor, QStringLiteral("more"));
        settle();
        QVERIFY(ScrollSyncEngine::scrollRatio(editorBar) > 0.95);
        QVERIFY(inStep());

        // The preview's own keys move the editor.
        preview->scrollArea()->setFocus();
        QTRY_VERIFY(preview->scrollArea()->hasFocus());
        press(Qt::Key_Home, Qt::ControlModifier);
        settle();
        QCOMPARE(editorBar->value(), 0);
        press(Qt::Key_PageDown);
        press(Qt::Key_Down);
        settle();
        QVERIFY(previewBar->value() > previewBar->pageStep());
        QVERIFY(inStep());
        press(Qt::Key_End);
        settle();
        QVERIFY(ScrollSyncEngine::scrollRatio(editorBar) > 0.95);
        QVERIFY(inStep());
    }

    // Keys typed while the preview parses a large document on the parsing
    // thread are handled at once: no turn of the event loop waits for the
    // parse, and the preview ends showing the last text.
    void keysDuringALargeParseNeverWait() {
        // A paragraph before one long table: every edit of the paragraph
        // parses the table again, to be sure it follows unchanged.
        QString text = QStringLiteral("Intro\n\n| Name | Note |\n|---|---|\n");
        for (int i = 0; text.size() < 4 * 1024 * 1024; ++i)
            text +=
                QStringLiteral("| row %1 | *some* text and [a link](https://x.y/%1) |\n").arg(i);
        m_window->document->setText(text);
        auto* preview = qobject_cast<PreviewView*>(m_view->panes()->preview());
        const auto caughtUp = [&] {
            return !preview->isUpdating() &&
                   preview->content()->document()->text == m_window->document->text();
        };
        QTRY_VERIFY_WITH_TIMEOUT(caughtUp(), 120000);
        MarkdownTextView* editor = m_window->textView();
        editor->moveCursor(QTextCursor::Start);
        editor->moveCursor(QTextCursor::EndOfLine);

        const EventLoopProbe probe;
        int keysDuringParse = 0;
        for (int round = 0; round < 3; ++round) {
            QTest::keyClick(editor, Qt::Key_A);
            QTRY_VERIFY_WITH_TIMEOUT(preview->parseCache().isParsing(), 20000);
            for (int key = 0; key < 10 && preview->parseCache().isParsing(); ++key) {
                QTest::keyClick(editor, Qt::Key_B);
                QCoreApplication::processEvents();
                ++keysDuringParse;
            }
        }
        QTRY_VERIFY_WITH_TIMEOUT(caughtUp(), 120000);
        QVERIFY(keysDuringParse > 0);
        QVERIFY2(probe.longestBusyMs() < 200, qPrintable(QString::number(probe.longestBusyMs())));
        QVERIFY(m_window->document->text().startsWith(QStringLiteral("Introab")));
    }

    // With QUON_SCREENSHOTS=DIR: the three modes with the welcome sample, the
    // find bar and the command palette, light and dark; changes of mode in frames.
    void screenshots() {
        const QString dir = TestSupport::screenshotFolder();
        if (dir.isEmpty())
            QSKIP("QUON_SCREENSHOTS not set");
        const auto shoot = [&](const QString& name) {
            QVERIFY(AnimationClock::finishAll());
            TestSupport::processPendingEvents();
            QVERIFY(m_view->grab().save(QDir(dir).filePath(name + ".png")));
        };
        TestSupport::forEachAppearance([&](const QString& appearance) {
            for (ViewMode mode : allCases<ViewMode>()) {
                m_view->setViewMode(mode);
                shoot(appearance + "-" + rawValue(mode).toLower());
            }
            m_view->setViewMode(ViewMode::Split);
            m_view->openFindBar();
            for (const QString query : {"Markdown", "zebra"}) {
                m_view->search().setQuery(query);
                m_view->search().advanceFindMatch(true);
                shoot(appearance + "-find-" + query);
            }
            m_view->closeFindBar();
            m_view->setCommandPaletteOpen(true);
            shoot(appearance + "-palette");
            m_view->setCommandPaletteOpen(false);
            QVERIFY(AnimationClock::finishAll());
            QVERIFY(TestSupport::saveFrames(m_view, dir, appearance + "-split-to-preview.png",
                                            [&] { m_view->setViewMode(ViewMode::Preview); }));
            QVERIFY(TestSupport::saveFrames(
                m_view->toolbar()->modeSwitcher(), dir, appearance + "-switcher-to-edit.png",
                [&] { m_view->setViewMode(ViewMode::Edit); }, 9, 40));
        });
    }
};

QTEST_MAIN(TestWorkspaceViewX11)
#include "tst_workspaceview_x11.moc"

#include "editor/MarkdownTextEditor.h"
#include "editor/MarkdownTextView.h"
#include "shell/EscapeDispatcher.h"
#include "shell/StatusBarView.h"
#include "support/EditorFixture.h"
#include "support/EditorWindow.h"
#include "support/TestSupport.h"
#include "tools/AnchoredOverlay.h"
#include "tools/EditorToolPopovers.h"
#include "tools/FormatIconButton.h"
#include "tools/SelectionFormattingPopoverController.h"
#include "widgets/PopoverFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>

using namespace EditorFixture;
using Command = SelectionFormattingBar::Command;

namespace {

struct ShowCounter : QObject {
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        shows += event->type() == QEvent::Show;
        return false;
    }
};

// A menu item or a button, by its text or tooltip.
void choose(SelectionFormattingBar* bar, const QString& name) {
    for (QMenu* menu : {bar->headingMenu(), bar->listMenu()}) {
        for (QAction* action : menu->actions()) {
            if (action->text() == name)
                return action->trigger();
        }
    }
    for (FormatIconButton* button : bar->findChildren<FormatIconButton*>()) {
        if (button->toolTip() == name)
            return QTest::mouseClick(button, Qt::LeftButton);
    }
    QFAIL(qPrintable(name));
}

} // namespace

// The formatting bar of a real window's editor.
class TestSelectionFormattingPopover : public QObject {
    Q_OBJECT

    std::unique_ptr<EditorWindow> m_window;
    MarkdownTextView* m_text = nullptr;
    SelectionFormattingPopoverController* m_bar = nullptr;

    SelectionFormattingBar* bar() const { return m_bar->bar(); }
    void select(int anchor, int position) {
        QTextCursor cursor(m_text->document());
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        m_text->setTextCursor(cursor);
    }
    // An editor alone in the window, shown, with "some text" all selected;
    // null when the window could not be shown.
    static MarkdownTextEditor* editorAllSelected(QWidget& window, bool dark) {
        auto* editor = new MarkdownTextEditor(config(dark), &window);
        EditorToolPopovers::attach(editor);
        (new QVBoxLayout(&window))->addWidget(editor);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return nullptr;
        editor->setText(QStringLiteral("some text"));
        editor->textView()->selectAll();
        return editor;
    }
    static SelectionFormattingPopoverController* barOf(MarkdownTextEditor* editor) {
        return dynamic_cast<SelectionFormattingPopoverController*>(editor->formattingPopover());
    }
    void showOver(const QString& state) {
        m_bar->close();
        setMarked(*m_text, state);
        QTRY_VERIFY(m_bar->isShown());
    }

private Q_SLOTS:
    void init() {
        TestSupport::resetPreferences();
        m_window = std::make_unique<EditorWindow>();
        m_text = m_window->text;
        m_bar = m_window->formattingBar();
    }
    void cleanup() { m_window.reset(); }

    // A drag: each change restarts the wait; the bar shows once, centred
    // under the final selection, and leaves the keyboard to the editor.
    void theBarShowsOnceTheSelectionSettles() {
        setMarked(*m_text, u8("Lorem ipsum dolor sit amet, ‸consectetur adipiscing elit\nnext"));
        ShowCounter counter;
        m_bar->popover()->installEventFilter(&counter);
        QElapsedTimer sinceChange;
        for (int end : {31, 35, 39, 44}) {
            select(28, end);
            sinceChange.start();
            QVERIFY(m_bar->isPending());
            // The next change comes within the wait: the time passes without
            // the event loop, so no timer fires however slow the machine.
            TestSupport::processPendingEvents(QEventLoop::X11ExcludeTimers);
            QVERIFY(!m_bar->isShown());
            QTest::qSleep(60);
        }
        QTRY_VERIFY_WITH_TIMEOUT(m_bar->isShown(), 10'000);
        // The wait began again with the last change (a timer never fires early).
        QVERIFY(sinceChange.elapsed() >= m_bar->settleDelay - 10);
        QVERIFY(TestSupport::runPastTimers(m_bar->settleDelay));
        QCOMPARE(counter.shows, 1);
        QCOMPARE(QApplication::focusWidget(), m_text);
        const QRect popover = m_bar->popover()->geometry();
        const QRect first = m_window->caretInWindow(28), last = m_window->caretInWindow(44);
        QCOMPARE(popover.top(), first.bottom() + 1 + AnchoredOverlay::gap);
        QVERIFY(qAbs(popover.center().x() - (first.left() + last.left()) / 2) <= 2);
        // Over two lines: under the second.
        select(30, 60);
        QTRY_COMPARE(m_bar->popover()->y(),
                     m_window->caretInWindow(60).bottom() + 1 + AnchoredOverlay::gap);
    }

    void aCaretClosesAtOnceAndDropsThePendingBar() {
        showOver(u8("«alpha» beta"));
        QTest::mouseClick(m_text->viewport(), Qt::LeftButton, {},
                          m_text->cursorRect(QTextCursor(m_text->document())).center());
        QVERIFY(!m_bar->isShown());
        select(6, 10);
        select(8, 8);
        QVERIFY(!m_bar->isPending());
        QVERIFY(TestSupport::runPastTimers(m_bar->settleDelay));
        QVERIFY(!m_bar->isShown());
    }

    // Selections made by code count, also where the caret stays put, and
    // leave the keyboard where it is.
    void selectionsThatKeepTheCaretShowTheBar() {
        QLineEdit findField(m_window->view.get());
        findField.show();
        showOver(u8("«x»"));
        bar()->linkButton()->click();
        findField.setFocus();
        QTRY_VERIFY(findField.hasFocus());
        m_bar->close();
        setMarked(*m_text, u8("find me here‸"));
        select(5, 12); // a find match ending at the caret
        QTRY_VERIFY(m_bar->isShown());
        QCOMPARE(QApplication::focusWidget(), &findField);
    }

    void theBarShowsWhatTheSelectionHolds_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("active"); // B, I, S, C: the wrapping markers
        QTest::addColumn<int>("heading");
        QTest::newRow("word with its markers") << u8("«**word**»") << u8("B") << 0;
        QTest::newRow("word inside the markers") << u8("**«word»**") << u8("") << 0;
        QTest::newRow("the four asterisks") << u8("«****»") << u8("B") << 0;
        QTest::newRow("struck code, italic") << u8("«_~~`x`~~_»") << u8("I") << 0;
        QTest::newRow("level 2") << u8("## «Title»") << u8("") << 2;
        QTest::newRow("no space after the marks") << u8("«##Title»") << u8("") << 0;
        QTest::newRow("seven marks") << u8("«####### x»") << u8("") << 0;
        QTest::newRow("level 6, into the next line") << u8("###### a«b\n`c`»") << u8("") << 6;
    }
    void theBarShowsWhatTheSelectionHolds() {
        QFETCH(QString, state);
        QFETCH(QString, active);
        QFETCH(int, heading);
        showOver(state);
        const std::pair<Command, char> markers[] = {{Command::Bold, 'B'},
                                                    {Command::Italic, 'I'},
                                                    {Command::Strikethrough, 'S'},
                                                    {Command::Code, 'C'}};
        for (const auto& [command, letter] : markers)
            QCOMPARE(bar()->markerButton(command)->isActive(),
                     active.contains(QLatin1Char(letter)));
        const SelectionFormattingBar::Colors& colors = bar()->colors();
        QCOMPARE(bar()->headingButton()->symbolColour(), heading ? colors.accent : colors.text);
        const QList<QAction*> items = bar()->headingMenu()->actions();
        QCOMPARE(items.size(), heading ? 5 : 3);
        QCOMPARE(items.last()->text(), heading ? u8("Normal Text") : u8("Heading 3"));
    }

    // A command applies its rule as one undo step and closes the bar, which
    // the selection it leaves does not bring back.
    void commandsApplyTheRulesAndClose_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("text");
        QTest::newRow("bold") << u8("a «word» b") << u8("Bold") << u8("a **word** b");
        QTest::newRow("heading 3") << u8("«x\ny»") << u8("Heading 3") << u8("### x\n### y");
        QTest::newRow("normal text, level-2 lines")
            << u8("## «one\n## two»") << u8("Normal Text") << u8("one\ntwo");
        // Other levels and plain lines lose theirs too, and gain none.
        QTest::newRow("normal text, mixed lines")
            << u8("## «one\n# two\nthree»") << u8("Normal Text") << u8("one\ntwo\nthree");
        QTest::newRow("task list") << u8("«a\n\nb»") << u8("Task List") << u8("- [ ] a\n\n- [ ] b");
    }
    void commandsApplyTheRulesAndClose() {
        QFETCH(QString, state);
        QFETCH(QString, command);
        QFETCH(QString, text);
        showOver(state);
        const QString before = m_text->toPlainText();
        choose(bar(), command);
        QCOMPARE(m_window->document->text(), text);
        QVERIFY(!m_bar->isShown());
        QVERIFY(!m_bar->isPending());
        m_text->undo();
        QCOMPARE(m_text->toPlainText(), before);
    }

    // A link goes in place of the selection with its address normalised.
    void linksGoInPlaceOfTheSelection_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("result");
        QTest::newRow("nothing selected") << u8("a ‸b") << u8("page") << u8("a [‸](https://page)b");
        QTest::newRow("emoji label")
            << u8("«😀 ü»") << u8("mailto:x@y.z") << u8("[😀 ü](mailto:x@y.z)‸");
        const auto address = [](const char* name, const char* url, const char* normalised) {
            QTest::newRow(name) << u8("See «docs» now") << u8(url)
                                << u8("See [docs](%1)‸ now").arg(u8(normalised));
        };
        address("fragment", "#intro", "#intro");
        address("host and path", "example.com/a", "https://example.com/a");
        address("scheme", "ftp://host/x", "ftp://host/x");
        address("mail", "mailto:a@b.c", "mailto:a@b.c");
        address("mail without mailto", "a@b.c", "https://a@b.c");
        address("paths", "/a/../b.md", "/a/../b.md");
        address("relative path", "./a.md", "./a.md");
    }
    void linksGoInPlaceOfTheSelection() {
        QFETCH(QString, state);
        QFETCH(QString, url);
        QFETCH(QString, result);
        setMarked(*m_text, state);
        const QString before = m_text->toPlainText();
        m_bar->confirmLink(url);
        QCOMPARE(marked(*m_text), result);
        m_text->undo();
        QCOMPARE(m_text->toPlainText(), before);
    }

    void clipboardGuesses_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("guess");
        QTest::newRow("two words") << u8("hello world") << QString();
        QTest::newRow("no scheme") << u8("example.com/page") << QString();
        QTest::newRow("several lines") << u8("https://a.org\nhttps://b.org") << QString();
        QTest::newRow("one URL, spaced")
            << u8("  https://a.org/p?q=1#f \n") << u8("https://a.org/p?q=1#f");
        QTest::newRow("mail") << u8("mailto:me@a.org") << u8("mailto:me@a.org");
    }
    void clipboardGuesses() {
        QFETCH(QString, clipboard);
        QFETCH(QString, guess);
        QGuiApplication::clipboard()->setText(clipboard);
        QCOMPARE(SelectionFormattingPopoverController::detectClipboardURL(), guess);
    }

    // The link row reads the clipboard as it opens, the bar grows to it, and
    // only a non-blank address can be confirmed, trimmed.
    void theLinkRow() {
        QGuiApplication::clipboard()->setText(QStringLiteral("not a link"));
        showOver(u8("«docs»"));
        QGuiApplication::clipboard()->setText(QStringLiteral("https://example.org"));
        const QSize formatting = m_bar->popover()->size();
        bar()->linkButton()->click();
        QLineEdit* field = bar()->addressField();
        QCOMPARE(field->text(), QStringLiteral("https://example.org"));
        QTRY_COMPARE(m_bar->popover()->size(), field->parentWidget()->sizeHint());
        QVERIFY(m_bar->popover()->width() != formatting.width());
        FormatIconButton* confirm = bar()->confirmButton();
        for (const char* blank : {"", "   "}) {
            field->setText(QString::fromLatin1(blank));
            QVERIFY(!confirm->isEnabled());
        }
        field->setText(QStringLiteral("  #intro "));
        // Back and again: what was typed stays.
        bar()->backButton()->click();
        QTRY_COMPARE(m_bar->popover()->size(), formatting);
        bar()->linkButton()->click();
        QCOMPARE(field->text(), QStringLiteral("  #intro "));
        confirm->click();
        QCOMPARE(marked(*m_text), u8("[docs](#intro)‸"));
        QVERIFY(!m_bar->isShown());
        QCOMPARE(QApplication::focusWidget(), m_text);
        // A new bar starts on the formatting row with an empty address.
        QGuiApplication::clipboard()->clear();
        showOver(u8("«next»"));
        QVERIFY(!bar()->isEnteringLink());
        bar()->linkButton()->click();
        QCOMPARE(field->text(), QString());
    }

    void theBarNeverOutlivesItsPlace() {
        // A click elsewhere in the window closes it on the next turn; one on
        // the bar itself does not.
        showOver(u8("«one» two"));
        QTest::mouseClick(m_window->view->statusBarView(), Qt::LeftButton);
        QVERIFY(m_bar->isShown());
        QTRY_VERIFY(!m_bar->isShown());
        showOver(u8("«one» two"));
        QTest::mouseClick(m_bar->popover(), Qt::LeftButton, {}, QPoint(2, 2));
        TestSupport::processPendingEvents();
        QVERIFY(m_bar->isShown());
        m_window->view->setViewMode(ViewMode::Preview);
        QVERIFY(!m_bar->isShown());
        m_window->view->setViewMode(ViewMode::Edit);
        // The palette covers the window; the bar must not float over it.
        showOver(u8("«one» two"));
        m_window->view->setCommandPaletteOpen(true);
        QVERIFY(!m_bar->isShown());
        m_window->view->setCommandPaletteOpen(false);
        // Escape is the link field's only while it shows.
        showOver(u8("«one» two"));
        QVERIFY(!m_window->view->escapeDispatcher().dispatch());
        bar()->linkButton()->click();
        QVERIFY(m_window->view->escapeDispatcher().dispatch());
        QVERIFY(!m_bar->isShown());
    }

    // Opaque in a light and in a dark editor: no text shows through.
    void theBarIsOpaqueInEitherTheme() {
        auto* editor = m_window->editor->editor();
        for (bool dark : {false, true}) {
            editor->setHighlightConfig(config(dark));
            showOver(u8("«one» two"));
            const QColor painted = m_bar->popover()->paintedBackground();
            QCOMPARE(painted.alpha(), 255);
            QCOMPARE(painted.lightness() < 128, dark);
        }
    }

    // A bar waiting out of sight for room beside its selection comes back
    // in the theme of then.
    void aWaitingBarTakesTheNewTheme() {
        QWidget window;
        window.resize(400, 60);
        MarkdownTextEditor* editor = editorAllSelected(window, false);
        QVERIFY(editor);
        auto* controller = barOf(editor);
        QTRY_VERIFY(!controller->isPending());
        QVERIFY(!controller->isShown());
        editor->setHighlightConfig(config(true));
        window.resize(400, 400);
        QTRY_VERIFY(controller->isShown());
        QVERIFY(controller->popover()->palette().color(QPalette::Window).lightness() < 128);
    }

    void aDestroyedEditorTakesItsBarAlong() {
        QWidget window;
        MarkdownTextEditor* editor = editorAllSelected(window, true);
        QVERIFY(editor);
        auto* controller = barOf(editor);
        QTRY_VERIFY(controller->isShown());
        // A dark editor gives a dark bar.
        QVERIFY(controller->popover()->palette().color(QPalette::Window).lightness() < 128);
        QVERIFY(controller->bar()->colors().text.lightness() > 128);
        const QPointer<PopoverFrame> popover = controller->popover();
        QCOMPARE(popover->parentWidget(), &window);
        delete editor;
        QVERIFY(popover.isNull());
    }
};

QTEST_MAIN(TestSelectionFormattingPopover)
#include "tst_selectionformattingpopover.moc"

#include "editor/EditorView.h"
#include "editor/MarkdownTextEditor.h"
#include "editor/MarkdownTextView.h"
#include "shell/EscapeDispatcher.h"
#include "shell/StandardWorkspacePanes.h"
#include "shell/StatusBarView.h"
#include "support/EditorFixture.h"
#include "support/TestSupport.h"
#include "support/WorkspaceWindow.h"
#include "tools/AnchoredOverlay.h"
#include "tools/FormatIconButton.h"
#include "tools/PopoverFrame.h"
#include "tools/SelectionFormattingPopoverController.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QVBoxLayout>

using namespace EditorFixture;
using Command = SelectionFormattingBar::Command;

namespace {

// Counts the times a widget is shown.
struct ShowCounter : QObject {
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            ++shows;
        return false;
    }
};

QAction* menuItem(QMenu* menu, const QString& title) {
    for (QAction* action : menu->actions()) {
        if (action->text() == title)
            return action;
    }
    return nullptr;
}

QStringList titles(QMenu* menu) {
    QStringList out;
    for (QAction* action : menu->actions())
        out << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return out;
}

} // namespace

// The formatting bar of a real window's editor.
class TestSelectionFormattingPopover : public QObject {
    Q_OBJECT

    std::unique_ptr<WorkspaceWindow> m_window;
    MarkdownTextView* m_text = nullptr;
    SelectionFormattingPopoverController* m_bar = nullptr;

    SelectionFormattingBar* bar() const { return m_bar->bar(); }
    void select(int from, int to) {
        QTextCursor cursor(m_text->document());
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        m_text->setTextCursor(cursor);
    }
    // The text as marked, with the bar shown over its selection.
    void showOver(const char* state) {
        m_bar->close();
        setMarked(*m_text, u8(state));
        QTRY_VERIFY(m_bar->isShown());
    }
    QRect lineInWindow(int position) const {
        QTextCursor cursor(m_text->document());
        cursor.setPosition(position);
        const QRect line = m_text->cursorRect(cursor);
        return {m_text->viewport()->mapTo(m_window->view.get(), line.topLeft()), line.size()};
    }

private Q_SLOTS:
    void init() {
        TestSupport::resetPreferences();
        m_window = std::make_unique<WorkspaceWindow>(std::make_unique<MarkdownDocument>(),
                                                     StandardWorkspacePanes::factory());
        m_window->view->setViewMode(ViewMode::Edit);
        auto* editor = static_cast<EditorView*>(m_window->view->panes()->editor());
        m_text = editor->textView();
        m_bar = dynamic_cast<SelectionFormattingPopoverController*>(
            editor->editor()->formattingPopover());
        QVERIFY(m_bar);
        m_window->view->activateWindow();
        m_text->setFocus();
        QTRY_VERIFY(m_text->hasFocus());
    }
    void cleanup() { m_window.reset(); }

    // A drag: every change restarts the wait; the bar shows once, under the
    // final selection, and never takes the keyboard.
    void theBarShowsOnceTheSelectionSettles() {
        setMarked(*m_text, u8("Lorem ipsum dolor sit amet, ‸consectetur adipiscing elit\nsecond line"));
        ShowCounter counter;
        m_bar->popover()->installEventFilter(&counter);
        QElapsedTimer sinceChange;
        bool quick = true;
        for (int end : {31, 35, 39, 44}) {
            quick = quick && (end == 31 || sinceChange.elapsed() < m_bar->settleDelay - 20);
            select(28, end);
            sinceChange.start();
            if (quick)
                QVERIFY(!m_bar->isShown());
            QVERIFY(m_bar->isPending());
            QTest::qWait(60);
        }
        QTRY_VERIFY(m_bar->isShown());
        QVERIFY(sinceChange.elapsed() >= m_bar->settleDelay - 10);
        QTest::qWait(m_bar->settleDelay + 50);
        if (quick)
            QCOMPARE(counter.shows, 1);
        QCOMPARE(QApplication::focusWidget(), m_text);
        PopoverFrame* popover = m_bar->popover();
        QCOMPARE(popover->parentWidget(), m_window->view.get());
        QVERIFY(!popover->isWindow());
        QCOMPARE(popover->size(), bar()->sizeHint());
        // Centred under the selected words of the first line.
        const QRect first = lineInWindow(28), last = lineInWindow(44);
        QVERIFY(popover->geometry().top() > first.bottom());
        QVERIFY(qAbs(popover->geometry().center().x() - (first.left() + last.left()) / 2) <= 2);

        // A selection over two lines: under the second.
        select(30, 60);
        QTRY_COMPARE(popover->geometry().top(),
                     lineInWindow(60).bottom() + 1 + AnchoredOverlay::gap);
    }

    void aCaretPlacedClosesAtOnceAndDropsThePendingBar() {
        showOver("«alpha» beta");
        QTest::mouseClick(m_text->viewport(), Qt::LeftButton, {},
                          m_text->cursorRect(QTextCursor(m_text->document())).center());
        QCOMPARE(m_text->textCursor().hasSelection(), false);
        QVERIFY(!m_bar->isShown());
        select(6, 10);
        QVERIFY(m_bar->isPending());
        select(8, 8);
        QVERIFY(!m_bar->isPending());
        QTest::qWait(m_bar->settleDelay + 50);
        QVERIFY(!m_bar->isShown());
    }

    // Selections made by code count, also where the caret stays put.
    void selectionsThatKeepTheCaretShowTheBar() {
        setMarked(*m_text, u8("find me here‸"));
        select(5, 12); // a find match ending at the caret
        QTRY_VERIFY(m_bar->isShown());
        m_bar->close();
        m_text->selectAll();
        QVERIFY(m_bar->isPending());
        QTRY_VERIFY(m_bar->isShown());
    }

    void theBarShowsWhatTheSelectionHolds_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QList<bool>>("active"); // bold, italic, strikethrough, code
        QTest::addColumn<int>("heading");
        const QList<bool> none{false, false, false, false};
        QTest::newRow("word with its markers")
            << u8("«**word**»") << QList<bool>{true, false, false, false} << 0;
        QTest::newRow("word inside the markers") << u8("**«word»**") << none << 0;
        QTest::newRow("just the four asterisks")
            << u8("«****»") << QList<bool>{true, false, false, false} << 0;
        QTest::newRow("two asterisks") << u8("«**»") << none << 0;
        QTest::newRow("italic") << u8("«_it_»") << QList<bool>{false, true, false, false} << 0;
        QTest::newRow("struck and code")
            << u8("«~~`x`~~»") << QList<bool>{false, false, true, false} << 0;
        QTest::newRow("code") << u8("«`x`»") << QList<bool>{false, false, false, true} << 0;
        QTest::newRow("level 2") << u8("## «Title»") << none << 2;
        QTest::newRow("no space after the marks") << u8("«##Title»") << none << 0;
        QTest::newRow("seven marks") << u8("«####### x»") << none << 0;
        QTest::newRow("level 6, line after") << u8("###### a«b\nc»") << none << 6;
        QTest::newRow("heading above the first line") << u8("# a\n«b»") << none << 0;
    }
    void theBarShowsWhatTheSelectionHolds() {
        QFETCH(QString, state);
        QFETCH(QList<bool>, active);
        QFETCH(int, heading);
        m_bar->close();
        setMarked(*m_text, state);
        QTRY_VERIFY(m_bar->isShown());
        const SelectionFormattingBar::Colors& colors = bar()->colors();
        const Command markers[] = {Command::Bold, Command::Italic, Command::Strikethrough,
                                   Command::Code};
        for (int i = 0; i < 4; ++i) {
            FormatIconButton* button = bar()->markerButton(markers[i]);
            QCOMPARE(button->isActive(), active[i]);
            QCOMPARE(button->symbolColour(), active[i] ? colors.accent : colors.text);
        }
        QCOMPARE(bar()->state().activeHeadingLevel, heading);
        QCOMPARE(bar()->headingButton()->symbolColour(), heading ? colors.accent : colors.text);
        QStringList items{QStringLiteral("Heading 1"), QStringLiteral("Heading 2"),
                          QStringLiteral("Heading 3")};
        if (heading)
            items << QStringLiteral("-") << QStringLiteral("Normal Text");
        QCOMPARE(titles(bar()->headingMenu()), items);
    }

    // Each command applies its rule as one undo step and closes the bar,
    // which the selection it leaves does not bring back.
    void commandsApplyTheRulesAndClose_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("item"); // a menu item, or a marker button's tooltip
        QTest::addColumn<QString>("text");
        QTest::newRow("bold") << u8("a «word» b") << u8("Bold") << u8("a **word** b");
        QTest::newRow("code off") << u8("«`x`»") << u8("Code") << u8("x");
        QTest::newRow("heading 3") << u8("«x\ny»") << u8("Heading 3") << u8("### x\n### y");
        QTest::newRow("normal text, two level-2 lines")
            << u8("## «one\n## two»") << u8("Normal Text") << u8("one\ntwo");
        // Other levels and plain lines lose theirs too, and gain none.
        QTest::newRow("normal text, mixed lines")
            << u8("## «one\n# two\nthree»") << u8("Normal Text") << u8("one\ntwo\nthree");
        QTest::newRow("task list") << u8("«a\n\nb»") << u8("Task List") << u8("- [ ] a\n\n- [ ] b");
        QTest::newRow("numbered list") << u8("«a\nb»") << u8("Numbered List") << u8("1. a\n2. b");
    }
    void commandsApplyTheRulesAndClose() {
        QFETCH(QString, state);
        QFETCH(QString, item);
        QFETCH(QString, text);
        showOver(state.toUtf8().constData());
        const QString before = m_text->toPlainText();
        if (QAction* action = menuItem(bar()->headingMenu(), item))
            action->trigger();
        else if (QAction* list = menuItem(bar()->listMenu(), item))
            list->trigger();
        else {
            const QList<FormatIconButton*> buttons = bar()->findChildren<FormatIconButton*>();
            const auto it = std::find_if(buttons.begin(), buttons.end(),
                                         [&](auto* b) { return b->toolTip() == item; });
            QVERIFY(it != buttons.end());
            QTest::mouseClick(*it, Qt::LeftButton);
        }
        QCOMPARE(m_text->toPlainText(), text);
        QCOMPARE(m_window->document->text(), text);
        QVERIFY(!m_bar->isShown());
        QVERIFY(!m_bar->isPending());
        m_text->undo();
        QCOMPARE(m_text->toPlainText(), before);
    }

    void normalTextWithoutAHeadingChangesNothing() {
        showOver("plain «words»");
        m_bar->applyHeading(0);
        QCOMPARE(marked(*m_text), u8("plain «words»"));
        QVERIFY(!m_text->document()->isUndoAvailable());
        QVERIFY(!m_bar->isShown());
    }

    void linksGoInPlaceOfTheSelection_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("result");
        QTest::newRow("a fragment")
            << u8("See «docs» now") << u8("#intro") << u8("See [docs](#intro)‸ now");
        QTest::newRow("no selection") << u8("a ‸b") << u8("page") << u8("a [‸](https://page)b");
        QTest::newRow("unicode label")
            << u8("«😀 ü»") << u8("mailto:x@y.z") << u8("[😀 ü](mailto:x@y.z)‸");
    }
    void linksGoInPlaceOfTheSelection() {
        QFETCH(QString, state);
        QFETCH(QString, url);
        QFETCH(QString, result);
        setMarked(*m_text, state);
        m_bar->confirmLink(url);
        QCOMPARE(marked(*m_text), result);
        m_text->undo();
        QCOMPARE(marked(*m_text).remove(QChar(0x2038)),
                 QString(state).remove(QChar(0x2038)).remove(QChar(0xAB)).remove(QChar(0xBB)));
    }

    void addressesAreNormalised_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("expected");
        QTest::newRow("bare host") << u8("page") << u8("https://page");
        QTest::newRow("host and path")
            << u8("example.com/a?b=c") << u8("https://example.com/a?b=c");
        QTest::newRow("scheme") << u8("ftp://host/x") << u8("ftp://host/x");
        QTest::newRow("scheme inside") << u8("see://x") << u8("see://x");
        QTest::newRow("mail") << u8("mailto:a@b.c") << u8("mailto:a@b.c");
        QTest::newRow("fragment") << u8("#intro") << u8("#intro");
        QTest::newRow("absolute path") << u8("/docs/a.md") << u8("/docs/a.md");
        QTest::newRow("relative path") << u8("./a.md") << u8("./a.md");
        QTest::newRow("parent path") << u8("../a.md") << u8("../a.md");
        QTest::newRow("mail without mailto") << u8("a@b.c") << u8("https://a@b.c");
    }
    void addressesAreNormalised() {
        QFETCH(QString, url);
        QFETCH(QString, expected);
        QCOMPARE(SelectionFormattingPopoverController::normalizedURL(url), expected);
    }

    void clipboardGuesses_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("guess");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("two words") << u8("hello world") << QString();
        QTest::newRow("no scheme") << u8("example.com/page") << QString();
        QTest::newRow("several lines") << u8("https://a.org\nhttps://b.org") << QString();
        QTest::newRow("one URL, spaced")
            << u8("  https://a.org/p?q=1#f \n") << u8("https://a.org/p?q=1#f");
        QTest::newRow("mail") << u8("mailto:me@a.org") << u8("mailto:me@a.org");
        QTest::newRow("a huge line") << QString(100000, QLatin1Char('x')) << QString();
    }
    void clipboardGuesses() {
        QFETCH(QString, clipboard);
        QFETCH(QString, guess);
        QGuiApplication::clipboard()->setText(clipboard);
        QCOMPARE(SelectionFormattingPopoverController::detectClipboardURL(), guess);
    }

    // The link row reads the clipboard as it opens, grows the bar to its
    // size, and confirms only a non-blank address, trimmed.
    void theLinkRow() {
        QGuiApplication::clipboard()->setText(QStringLiteral("not a link"));
        showOver("«docs»");
        QGuiApplication::clipboard()->setText(QStringLiteral("https://example.org"));
        const QSize formatting = m_bar->popover()->size();
        bar()->linkButton()->click();
        QVERIFY(bar()->isEnteringLink());
        QLineEdit* field = bar()->addressField();
        QCOMPARE(field->text(), QStringLiteral("https://example.org"));
        QCOMPARE(field->width(), 190);
        QCOMPARE(field->placeholderText(), u8("Paste or type a URL…"));
        QTRY_COMPARE(m_bar->popover()->size(),
                     bar()->findChild<QLineEdit*>()->parentWidget()->sizeHint());
        QVERIFY(m_bar->popover()->width() != formatting.width());

        FormatIconButton* confirm = bar()->confirmButton();
        for (const char* blank : {"", "   "}) {
            field->setText(QString::fromLatin1(blank));
            QVERIFY(!confirm->isEnabled());
            QCOMPARE(confirm->symbolColour(), bar()->colors().muted);
        }
        field->setText(QStringLiteral("  #intro "));
        QVERIFY(confirm->isEnabled());
        QCOMPARE(confirm->symbolColour(), bar()->colors().accent);
        // Back and again: what was typed stays, the clipboard is not asked.
        bar()->backButton()->click();
        QVERIFY(!bar()->isEnteringLink());
        QTRY_COMPARE(m_bar->popover()->size(), formatting);
        bar()->linkButton()->click();
        QCOMPARE(field->text(), QStringLiteral("  #intro "));
        confirm->click();
        QCOMPARE(marked(*m_text), u8("[docs](#intro)‸"));
        QVERIFY(!m_bar->isShown());
        QCOMPARE(QApplication::focusWidget(), m_text);

        // A new bar starts on the formatting row with an empty address.
        QGuiApplication::clipboard()->clear();
        showOver("«next»");
        QVERIFY(!bar()->isEnteringLink());
        bar()->linkButton()->click();
        QCOMPARE(field->text(), QString());
        QVERIFY(!confirm->isEnabled());
    }

    void theBarNeverOutlivesItsPlace() {
        // A click elsewhere in the window, on the next turn.
        showOver("«one» two");
        QTest::mouseClick(m_window->view->statusBarView(), Qt::LeftButton);
        QVERIFY(m_bar->isShown());
        QTRY_VERIFY(!m_bar->isShown());
        // A click on the bar itself is no click outside.
        showOver("«one» two");
        QTest::mouseClick(bar()->backButton()->parentWidget()->parentWidget(), Qt::LeftButton, {},
                          QPoint(1, 1));
        QTest::qWait(0);
        QVERIFY(m_bar->isShown());
        // Preview mode hides the editor.
        m_window->view->setViewMode(ViewMode::Preview);
        QVERIFY(!m_bar->isShown());
        m_window->view->setViewMode(ViewMode::Edit);
        // The link field's Escape goes through the window's dispatcher.
        showOver("«one» two");
        QVERIFY(!m_window->view->escapeDispatcher().dispatch());
        bar()->linkButton()->click();
        QVERIFY(m_window->view->escapeDispatcher().dispatch());
        QVERIFY(!m_bar->isShown());
        QCOMPARE(marked(*m_text), u8("«one» two"));
    }

    void aDestroyedEditorTakesItsBarAlong() {
        QWidget window;
        auto* editor = new MarkdownTextEditor(config(true), &window);
        (new QVBoxLayout(&window))->addWidget(editor);
        window.resize(500, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        editor->setText(QStringLiteral("some text"));
        editor->textView()->selectAll();
        auto* controller =
            dynamic_cast<SelectionFormattingPopoverController*>(editor->formattingPopover());
        QTRY_VERIFY(controller->isShown());
        // A dark editor gives a dark bar.
        QVERIFY(controller->popover()->palette().color(QPalette::Window).lightness() < 128);
        QVERIFY(controller->bar()->colors().text.lightness() > 128);
        QPointer<PopoverFrame> popover = controller->popover();
        QCOMPARE(popover->parentWidget(), &window);
        delete editor;
        QVERIFY(popover.isNull());
    }
};

QTEST_MAIN(TestSelectionFormattingPopover)
#include "tst_selectionformattingpopover.moc"

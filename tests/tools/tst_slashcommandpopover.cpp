#include "editor/EditorView.h"
#include "editor/MarkdownTextEditor.h"
#include "editor/MarkdownTextView.h"
#include "shell/EscapeDispatcher.h"
#include "support/EditorFixture.h"
#include "support/EditorWindow.h"
#include "support/TestSupport.h"
#include "tools/AnchoredOverlay.h"
#include "tools/SlashCommandPopoverController.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

using namespace EditorFixture;
using namespace Keyboard;

// The slash menu of a real window's editor, driven by key events.
class TestSlashCommandPopover : public QObject {
    Q_OBJECT

    std::unique_ptr<EditorWindow> m_window;
    MarkdownTextView* m_text = nullptr;
    SlashCommandPopoverController* m_menu = nullptr;

    void start(const char* state) {
        setMarked(*m_text, u8(state));
        m_menu->close();
    }
    // Where the overlay puts a menu for the caret as it stands.
    QRect expectedPlacement() const {
        QRect caret = m_window->caretInWindow();
        caret.setWidth(qMax(caret.width(), 1));
        return AnchoredOverlay::placement(caret, m_menu->popover()->size(), m_window->view->rect());
    }

private Q_SLOTS:
    void init() {
        TestSupport::resetPreferences();
        m_window = std::make_unique<EditorWindow>();
        m_text = m_window->text;
        m_menu = m_window->slashMenu();
        start("‸");
    }
    void cleanup() { m_window.reset(); }

    void slashOpensTheWholeCatalogUnderTheCaret() {
        type("Intro\n/");
        QVERIFY(m_menu->isShown());
        QCOMPARE(m_menu->selectedIndex(), 0);
        QCOMPARE(m_menu->context()->triggerRange, (TextRange{6, 1}));
        PopoverFrame* popover = m_menu->popover();
        QCOMPARE(m_menu->menuView()->sectionCount(), 5);
        // An overlay in the window, not a window of its own; typing stays put.
        QCOMPARE(popover->parentWidget(), m_window->view.get());
        QVERIFY(!popover->isWindow());
        QCOMPARE(QApplication::focusWidget(), m_text);
        QVERIFY(popover->geometry().top() > m_window->caretInWindow().bottom());
        QVERIFY(m_window->view->rect().contains(popover->geometry()));
        // Keeps following the caret as the query grows.
        type("\b\bIntro, and then some words that take the caret to the right /");
        type("ta");
        QVERIFY(m_menu->isShown());
        QCOMPARE(popover->geometry(), expectedPlacement());
    }

    void theHighlightMovesStopsAndResetsWithTheQuery() {
        type("/h");
        press(Qt::Key_Down);
        press(Qt::Key_Down);
        QCOMPARE(m_menu->selectedIndex(), 2);
        QCOMPARE(m_menu->menuView()->selectedIndex(), 2);
        // Moving the caret inside the query changes it: back to the first row.
        press(Qt::Key_Left);
        QCOMPARE(m_menu->context()->query, QString());
        QCOMPARE(m_menu->selectedIndex(), 0);
        press(Qt::Key_Right);
        press(Qt::Key_Down);
        type("1");
        QCOMPARE(m_menu->filteredCommands().size(), 1);
        QCOMPARE(m_menu->filteredCommands().first().id, QStringLiteral("h1"));
        QCOMPARE(m_menu->selectedIndex(), 0);
        QCOMPARE(m_menu->popover()->height(), 120);
        // On a one-row list the arrows stay in the menu, never reaching the text.
        setMarked(*m_text, u8("/h1‸\nnext"));
        press(Qt::Key_Down);
        press(Qt::Key_Up);
        QCOMPARE(marked(*m_text), u8("/h1‸\nnext"));
        QVERIFY(m_menu->isShown());
    }

    void theMenuClosesWhenTheTriggerOrItsMatchesGo() {
        type("/zz");
        QVERIFY(!m_menu->isShown());
        press(Qt::Key_Backspace);
        QVERIFY(m_menu->isShown());
        type(" ");
        QVERIFY(!m_menu->isShown());
        press(Qt::Key_Backspace);
        QVERIFY(m_menu->isShown());
        press(Qt::Key_Left, Qt::ShiftModifier);
        QVERIFY(!m_menu->isShown());
        press(Qt::Key_Right);
        QVERIFY(m_menu->isShown());
        press(Qt::Key_Escape);
        // Return without a menu is the editor's own.
        type("\n/");
        QCOMPARE(marked(*m_text), u8("/z\n/‸"));
        QVERIFY(m_menu->isShown());
        m_window->view->setViewMode(ViewMode::Preview);
        QVERIFY(!m_menu->isShown());
    }

    void clicksOnARowApplyItAndOutsideCloseTheMenu() {
        type("one two\n/");
        SlashCommandMenuView* list = m_menu->menuView();
        // Bulleted List: the eighth row.
        const QPoint row = list->rowRect(7).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
        QCOMPARE(marked(*m_text), u8("one two\n- ‸"));
        QVERIFY(!m_menu->isShown());
        QCOMPARE(QApplication::focusWidget(), m_text);

        type("/");
        QVERIFY(m_menu->isShown());
        // The press reaches the text first (the caret moves), the menu closes
        // on the next turn of the event loop.
        const QPoint word = m_text->cursorRect(QTextCursor(m_text->document())).center();
        QTest::mouseClick(m_text->viewport(), Qt::LeftButton, {}, word);
        QCOMPARE(m_text->textCursor().position(), 0);
        QTRY_VERIFY(!m_menu->isShown());
    }

    void theMenuGoesAboveTheCaretNearTheBottomAndFollowsScrolling() {
        QStringList lines;
        for (int i = 0; i < 200; ++i)
            lines << QStringLiteral("line %1").arg(i);
        m_window->view->panes()->setEditorText(lines.join(QLatin1Char('\n')));
        // A caret on the last visible line: no room below.
        const QTextCursor bottom =
            m_text->cursorForPosition(QPoint(4, m_text->viewport()->height() - 4));
        QTextCursor caret(bottom.block());
        caret.movePosition(QTextCursor::EndOfBlock);
        m_text->setTextCursor(caret);
        type(" /");
        QVERIFY(m_menu->isShown());
        QVERIFY(m_menu->popover()->geometry().bottom() < m_window->caretInWindow().top());
        const int top = m_menu->popover()->y();
        const int step = m_text->verticalScrollBar()->singleStep() * 3;
        m_text->verticalScrollBar()->setValue(m_text->verticalScrollBar()->value() + step);
        QVERIFY(m_menu->popover()->y() < top);
    }

    // Dark on a dark editor, and opaque either way: the text under the menu
    // never shows through its chrome.
    void aDarkEditorGivesADarkOpaqueMenu() {
        auto* editor = m_window->editor->editor();
        for (bool dark : {false, true}) {
            editor->setHighlightConfig(config(dark));
            start("‸");
            type("/");
            PopoverFrame* popover = m_menu->popover();
            const QColor window = popover->palette().color(QPalette::Window);
            QCOMPARE(window.lightness() < 128, dark);
            QCOMPARE(popover->paintedBackground().alpha(), 255);
            QCOMPARE(popover->paintedBackground().lightness() < 128, dark);
            m_menu->close();
        }
    }

    // In a window too short for the whole list the menu stays inside it.
    void aShortWindowKeepsTheMenuInside() {
        m_window->view->resize(m_window->view->width(), 1);
        QTRY_COMPARE(m_window->view->height(), m_window->view->minimumHeight());
        type("/");
        QVERIFY(m_menu->isShown());
        QVERIFY(m_window->view->rect().contains(m_menu->popover()->geometry()));
    }
};

QTEST_MAIN(TestSlashCommandPopover)
#include "tst_slashcommandpopover.moc"

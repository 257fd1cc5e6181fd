#include "editor/EditorText.h"
#include "editor/MarkdownTextView.h"
#include "shell/TransitionSlot.h"
#include "support/AnimationClock.h"
#include "support/EditorFixture.h"
#include "support/EditorWindow.h"
#include "support/TestSupport.h"
#include "tools/SlashCommandCatalog.h"
#include "tools/SlashCommandPopoverController.h"
#include "tools/SlashCommandsHintToast.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>

using namespace EditorFixture;
using namespace Keyboard;

// The slash menu's keys on a real X server, against the window's own
// shortcuts and its Escape dispatcher.
class TestSlashCommandsX11 : public QObject {
    Q_OBJECT

    std::unique_ptr<EditorWindow> m_window;
    MarkdownTextView* m_text = nullptr;
    SlashCommandPopoverController* m_menu = nullptr;

private Q_SLOTS:
    void init() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        TestSupport::resetPreferences();
        m_window = std::make_unique<EditorWindow>(ViewMode::Split, QSize(1200, 780));
        m_text = m_window->text;
        m_menu = m_window->slashMenu();
        setMarked(*m_text, u8("Intro\n‸"));
    }
    void cleanup() { m_window.reset(); }

    void menuKeysBeatTheWindowsShortcuts() {
        // Window shortcuts on the same keys with modifiers: the menu takes
        // its keys whatever is held, the window gets them back once it closes.
        QAction next, run;
        next.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down));
        run.setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
        m_window->view->addAction(&next);
        m_window->view->addAction(&run);
        QSignalSpy stolenNext(&next, &QAction::triggered), stolenRun(&run, &QAction::triggered);

        type("/");
        QVERIFY(m_menu->isShown());
        press(Qt::Key_Down);
        press(Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(m_menu->selectedIndex(), 2);
        press(Qt::Key_Up);
        QCOMPARE(m_menu->selectedIndex(), 1);
        press(Qt::Key_Up);
        press(Qt::Key_Up);
        QCOMPARE(m_menu->selectedIndex(), 0);
        for (int i = 0; i < 25; ++i)
            press(Qt::Key_Down);
        QCOMPARE(m_menu->selectedIndex(), 19);
        QCOMPARE(marked(*m_text), u8("Intro\n/‸"));
        press(Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(marked(*m_text), u8("Intro\n![«alt»](url)"));
        QCOMPARE(stolenNext.count(), 0);
        QCOMPARE(stolenRun.count(), 0);
        QCOMPARE(QApplication::focusWidget(), m_text);

        press(Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(stolenNext.count(), 1);
    }

    void returnAndEnterApplyAndEscapeComesFirst() {
        type("/h");
        press(Qt::Key_Down);
        press(Qt::Key_Return);
        QCOMPARE(marked(*m_text), u8("Intro\n## ‸"));
        QCOMPARE(m_window->document->text(), u8("Intro\n## "));
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(marked(*m_text), u8("Intro\n/h‸"));

        // Escape closes the menu before it leaves focus mode, and only then.
        m_window->view->setFocusMode(true);
        type("1");
        QVERIFY(m_menu->isShown());
        press(Qt::Key_Escape);
        QVERIFY(!m_menu->isShown());
        QVERIFY(m_window->view->isFocusMode());
        QCOMPARE(marked(*m_text), u8("Intro\n/h1‸"));
        press(Qt::Key_Escape);
        QVERIFY(!m_window->view->isFocusMode());
        type("2");
        press(Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(marked(*m_text), u8("Intro\n# ‸"));
    }

    // Typing after any command is an undo step of its own: the first Ctrl+Z
    // takes back only the typing, the second the command.
    void typingAfterACommandUndoesOnItsOwn() {
        const QList<SlashCommand>& commands = SlashCommandCatalog::all();
        for (int i = 0; i < commands.size(); ++i) {
            const QByteArray id = commands[i].id.toUtf8();
            setMarked(*m_text, u8("Intro\n‸"));
            type("/");
            QVERIFY2(m_menu->isShown(), id);
            for (int down = 0; down < i; ++down)
                press(Qt::Key_Down);
            press(Qt::Key_Return);
            const QString applied = EditorText::text(m_text->document());
            QVERIFY2(!applied.contains(QLatin1Char('/')), id);
            type("XY");
            QVERIFY2(EditorText::text(m_text->document()).contains(QStringLiteral("XY")), id);
            press(Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(EditorText::text(m_text->document()), applied);
            press(Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(EditorText::text(m_text->document()), u8("Intro\n/"));
        }
    }

    // The same for the editor's own rules that leave the caret after what
    // they inserted: the context menu's blockquote and a list continued.
    void typingAfterAnEditingRuleUndoesOnItsOwn() {
        setMarked(*m_text, u8("Intro\n‸"));
        m_text->contextMenuBlockquote();
        type("XY");
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(EditorText::text(m_text->document()), u8("Intro\n> "));

        setMarked(*m_text, u8("- item‸"));
        press(Qt::Key_Return);
        type("XY");
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(EditorText::text(m_text->document()), u8("- item\n- "));
    }

    // With QUON_SCREENSHOTS=DIR: the menu unfiltered and filtered in a light
    // and a dark theme, with the hint toast under the editor.
    void screenshots() {
        const QString dir = TestSupport::screenshotFolder();
        if (dir.isEmpty())
            QSKIP("QUON_SCREENSHOTS not set");
        TestSupport::forEachAppearance([&](const QString& appearance) {
            for (const char* query : {"", "li"}) {
                setMarked(*m_text, u8("# Notes\n\nSome text to write about.\n‸"));
                type("/");
                type(query);
                press(Qt::Key_Down);
                QVERIFY(AnimationClock::finishAll());
                TestSupport::processPendingEvents();
                const QString name = QStringLiteral("slash-%1-%2.png")
                                         .arg(appearance, *query ? QStringLiteral("filtered")
                                                                 : QStringLiteral("all"));
                QVERIFY(TestSupport::saveShot(m_window->view.get(), dir, name));
                press(Qt::Key_Escape);
            }
        });
        // The hint half-way out after its dismiss button.
        auto* toast = m_window->view->slashHintSlot()->findChild<SlashCommandsHintToast*>();
        AnimationClock clock;
        QTest::mouseClick(toast->dismissButton(), Qt::LeftButton);
        clock.step(60);
        QVERIFY(
            TestSupport::saveShot(m_window->view.get(), dir, QStringLiteral("hint-leaving.png")));
    }
};

QTEST_MAIN(TestSlashCommandsX11)
#include "tst_slashcommands_x11.moc"

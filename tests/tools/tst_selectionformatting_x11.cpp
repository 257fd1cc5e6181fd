#include "core/Preferences.h"
#include "editor/EditorText.h"
#include "editor/MarkdownTextView.h"
#include "shell/TransitionSlot.h"
#include "shell/WorkspaceView.h"
#include "support/AnimationClock.h"
#include "support/EditorFixture.h"
#include "support/EditorWindow.h"
#include "support/TestSupport.h"
#include "tools/FormatIconButton.h"
#include "tools/SelectionFormattingPopoverController.h"
#include "widgets/PopoverFrame.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTest>

using namespace EditorFixture;
using namespace Keyboard;

// The formatting bar on a real X server: the keyboard stays with the editor
// while the bar shows, and the link field takes it only while it is open.
class TestSelectionFormattingX11 : public QObject {
    Q_OBJECT

    std::unique_ptr<EditorWindow> m_window;
    MarkdownTextView* m_text = nullptr;
    SelectionFormattingPopoverController* m_bar = nullptr;

    QLineEdit* field() const { return m_bar->bar()->addressField(); }
    void openLinkRow() {
        QTest::mouseClick(m_bar->bar()->linkButton(), Qt::LeftButton);
        QTRY_COMPARE(QApplication::focusWidget(), field());
    }

private Q_SLOTS:
    void init() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        TestSupport::resetPreferences();
        m_window = std::make_unique<EditorWindow>(ViewMode::Edit, QSize(900, 600));
        m_text = m_window->text;
        m_bar = m_window->formattingBar();
    }
    void cleanup() { m_window.reset(); }

    void typingGoesToTheEditorAndClosesTheBar() {
        setMarked(*m_text, u8("Some ‸words here"));
        press(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(m_bar->isShown());
        QCOMPARE(QApplication::focusWidget(), m_text);
        type("x");
        QCOMPARE(marked(*m_text), u8("Some x‸here"));
        QVERIFY(!m_bar->isShown());
        QVERIFY(!m_bar->isPending());

        // Select All with the caret already at the end moves no caret.
        press(Qt::Key_End, Qt::ControlModifier);
        press(Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(marked(*m_text), u8("«Some xhere»"));
        QTRY_VERIFY(m_bar->isShown());
    }

    void theLinkFieldHasTheKeysUntilEscapeOrReturn() {
        QGuiApplication::clipboard()->setText(QStringLiteral(" https://example.org/a \n"));
        m_window->view->setFocusMode(true);
        setMarked(*m_text, u8("See «docs» here"));
        QTRY_VERIFY(m_bar->isShown());
        openLinkRow();
        QCOMPARE(field()->text(), QStringLiteral("https://example.org/a"));
        // Escape closes the bar before focus mode hears of it.
        press(Qt::Key_Escape);
        QVERIFY(!m_bar->isShown());
        QCOMPARE(QApplication::focusWidget(), m_text);
        QVERIFY(m_window->view->isFocusMode());
        QCOMPARE(marked(*m_text), u8("See «docs» here"));

        setMarked(*m_text, u8("See «docs» here‸"));
        setMarked(*m_text, u8("See «docs» here"));
        QTRY_VERIFY(m_bar->isShown());
        openLinkRow();
        press(Qt::Key_A, Qt::ControlModifier);
        type("  example.com/page ");
        press(Qt::Key_Return);
        QCOMPARE(marked(*m_text), u8("See [docs](https://example.com/page)‸ here"));
        QVERIFY(!m_bar->isShown());
        QCOMPARE(QApplication::focusWidget(), m_text);
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(m_text->toPlainText(), u8("See docs here"));
        // The address field's Escape is spent: this one leaves focus mode.
        press(Qt::Key_Escape);
        QVERIFY(!m_window->view->isFocusMode());
    }

    // Select All on a document longer than the view: the bar stays over the
    // visible text, never on the find bar or the hint toast, at a usual size
    // and at the window's smallest.
    void aSelectionTallerThanTheViewKeepsTheBarOverTheText() {
        WorkspaceView* view = m_window->view.get();
        QStringList lines;
        for (int i = 0; i < 400; ++i)
            lines << QStringLiteral("line %1 of a long document").arg(i);
        view->panes()->setEditorText(lines.join(QLatin1Char('\n')));
        TransitionSlot* hint = view->slashHintSlot();
        QTRY_VERIFY(hint->isShown() && !hint->isRunning());
        view->openFindBar();
        QTRY_VERIFY(view->isFindBarPresented() && !view->findBarSlot()->isRunning());
        const auto inWindow = [view](QWidget* widget) {
            return QRect(widget->mapTo(view, QPoint()), widget->size());
        };
        for (const QSize size : {QSize(900, 600), QSize(1, 1)}) {
            view->resize(size);
            QTRY_VERIFY(size.height() > 1 || view->size() == view->minimumSize());
            m_bar->close();
            m_text->setFocus();
            QTRY_VERIFY(m_text->hasFocus());
            press(Qt::Key_Home, Qt::ControlModifier);
            press(Qt::Key_A, Qt::ControlModifier);
            QTRY_VERIFY(m_bar->isShown());
            const QRect bar = m_bar->popover()->geometry();
            QVERIFY(inWindow(m_text->viewport()).contains(bar));
            QVERIFY(!bar.intersects(inWindow(hint)));
            QVERIFY(!bar.intersects(inWindow(view->findBarSlot())));
        }
    }

    // The bar shown for a find match keeps off it: beside it, or not at all
    // where the smallest Split window (with a large font) leaves no room.
    void theBarKeepsOffTheFindMatch() {
        WorkspaceView* view = m_window->view.get();
        m_window->document->setText(QStringLiteral("plain line\nthe needle here\n").repeated(40));
        QTRY_COMPARE(m_text->toPlainText(), m_window->document->text());
        view->setViewMode(ViewMode::Split);
        for (const int font : {14, 24}) {
            Preferences::shared().setNumber(PreferenceKeys::editorFontSize, font);
            for (const QSize size : {QSize(1200, 780), QSize(1, 1), QSize(1, 300)}) {
                view->resize(size);
                m_text->setFocus();
                press(Qt::Key_Home, Qt::ControlModifier);
                press(Qt::Key_F, Qt::ControlModifier);
                QTRY_VERIFY(view->isFindBarPresented() && !view->findBarSlot()->isRunning());
                type("needle\n\n");
                QTRY_VERIFY(!m_bar->isPending());
                const EditorText::Range match = EditorText::selection(m_text);
                QCOMPARE(match.to - match.from, 6);
                const QRect box =
                    m_window->caretInWindow(match.from).united(m_window->caretInWindow(match.to));
                QVERIFY(m_bar->isShown() || size.height() < 780);
                QVERIFY(!m_bar->isShown() || !m_bar->popover()->geometry().intersects(box));
                press(Qt::Key_Escape);
            }
        }
    }

    // With QUON_SCREENSHOTS=DIR: the bar (Bold active, the pointer over
    // Italic) and the link row, in a light and a dark theme.
    void screenshots() {
        const QString dir = TestSupport::screenshotFolder();
        if (dir.isEmpty())
            QSKIP("QUON_SCREENSHOTS not set");
        QGuiApplication::clipboard()->setText(QStringLiteral("https://example.org/guide"));
        TestSupport::forEachAppearance([&](const QString& appearance) {
            setMarked(*m_text, u8("## Notes\n\nSome text with a «**bold**» word to format.\n"));
            QTRY_VERIFY(m_bar->isShown());
            FormatIconButton* italic =
                m_bar->bar()->markerButton(SelectionFormattingBar::Command::Italic);
            QTest::mouseMove(m_text->viewport(), QPoint(5, 5));
            QTest::mouseMove(italic, italic->rect().center());
            QTRY_VERIFY(italic->isHovered());
            const auto shoot = [&](const char* name) {
                QVERIFY(TestSupport::saveShot(
                    m_window->view.get(), dir,
                    QStringLiteral("format-%1-%2.png").arg(name, appearance)));
            };
            QVERIFY(AnimationClock::finishAll());
            TestSupport::processPendingEvents();
            shoot("bar");
            // Half-way through the switch, then on the link row.
            {
                AnimationClock clock;
                QTest::mouseClick(m_bar->bar()->linkButton(), Qt::LeftButton);
                clock.step(SelectionFormattingBar::switchDuration / 3);
                shoot("switch");
                QVERIFY(clock.finish());
            }
            TestSupport::processPendingEvents();
            shoot("link");
            press(Qt::Key_Escape);
            // The heading menu of a heading, with Normal Text.
            setMarked(*m_text, u8("## «Notes»\n\nSome text.\n"));
            QTRY_VERIFY(m_bar->isShown());
            QTest::mouseClick(m_bar->bar()->headingButton(), Qt::LeftButton);
            QTRY_VERIFY(m_bar->bar()->headingMenu()->isVisible());
            QVERIFY(QTest::qWaitForWindowExposed(m_bar->bar()->headingMenu()));
            TestSupport::processPendingEvents();
            QVERIFY(QGuiApplication::primaryScreen()->grabWindow(0).save(
                QDir(dir).filePath(QStringLiteral("format-heading-menu-%1.png").arg(appearance))));
            m_bar->bar()->headingMenu()->close();
            m_bar->close();
        });
    }
};

QTEST_MAIN(TestSelectionFormattingX11)
#include "tst_selectionformatting_x11.moc"

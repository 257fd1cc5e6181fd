#include "core/FeatureTourController.h"
#include "editor/MarkdownTextView.h"
#include "shell/CommandPaletteView.h"
#include "support/WorkspaceWindow.h"
#include "tools/FindBarView.h"
#include "widgets/PopoverFrame.h"
#include "windows/FeatureTourOverlay.h"

#include <QApplication>
#include <QGraphicsEffect>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QTest>

// The palette in a real window on an X server: the window's own keys open
// and close it, and the keyboard goes back to the editor.
class TestCommandPaletteX11 : public QObject {
    Q_OBJECT

    std::unique_ptr<WorkspaceWindow> m_window;
    WorkspaceView* m_view = nullptr;
    MarkdownTextView* m_editor = nullptr;

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }
    void openPalette() {
        press(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(m_view->isCommandPaletteOpen());
        QTRY_COMPARE(QApplication::focusWidget(),
                     static_cast<QWidget*>(m_view->commandPalette()->field()));
    }
    QWidget* editor() const { return m_editor; }

private Q_SLOTS:
    void init() {
        m_window = WorkspaceWindow::freshInEditor();
        m_view = m_window->view.get();
        m_editor = m_window->textView();
    }
    void cleanup() { m_window.reset(); }

    // Typing narrows the list, the arrows move through it, Return runs the
    // row once the palette has closed, and typing goes on in the editor.
    void chooseByKeys() {
        openPalette();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("edit"));
        CommandPaletteView* palette = m_view->commandPalette();
        QCOMPARE(palette->filteredActions().size(), 2); // Edit, and the editor's slash hint
        press(Qt::Key_Down);
        press(Qt::Key_Down);
        QCOMPARE(palette->selectedIndex(), 0);
        press(Qt::Key_Return);
        QVERIFY(!m_view->isCommandPaletteOpen());
        QCOMPARE(m_view->viewMode(), ViewMode::Split);
        QCOMPARE(QApplication::focusWidget(), editor());
        QTRY_COMPARE(m_view->viewMode(), ViewMode::Edit);
        m_editor->moveCursor(QTextCursor::Start);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("X"));
        QVERIFY(m_window->document->text().startsWith(QLatin1Char('X')));
    }

    // When typing shrinks the panel, the screen below it shows the dimmed
    // window again, not the taller panel's shadow left behind.
    void shrinkingLeavesNoTrace() {
        openPalette();
        CommandPaletteView* palette = m_view->commandPalette();
        QTRY_VERIFY(!palette->graphicsEffect()->isEnabled()); // faded in
        const QRect tall = palette->panel()->geometry();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("export"));
        const QRect shrunk = palette->panel()->geometry();
        QVERIFY(shrunk.bottom() + 40 < tall.bottom());
        QWidget* window = m_view;
        // Down the middle, from under the shrunken panel's shadow to past the
        // tall one's.
        const QPoint x(palette->mapTo(window, tall.center()).x(), 0);
        const int from = palette->mapTo(window, shrunk.bottomLeft()).y() + 30;
        const int to = palette->mapTo(window, tall.bottomLeft()).y() + 30;
        // The screen shows the window as it draws once the server has caught up.
        int differs = -1;
        const auto screenShowsTheWindow = [&] {
            const QImage shown = window->screen()->grabWindow(window->winId()).toImage();
            const QImage drawn = window->grab().toImage();
            for (int y = from; y <= to; y += 4) {
                if (shown.pixelColor(x + QPoint(0, y)) != drawn.pixelColor(x + QPoint(0, y))) {
                    differs = y;
                    return false;
                }
            }
            return true;
        };
        QTRY_VERIFY2_WITH_TIMEOUT(screenShowsTheWindow(),
                                  qPrintable(QStringLiteral("differs at y %1").arg(differs)),
                                  10'000);
    }

    // Escape closes the palette before the find bar and before focus mode.
    void escapeClosesThePaletteFirst() {
        press(Qt::Key_Period, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(m_view->isFocusMode());
        press(Qt::Key_F, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::focusWidget(),
                     static_cast<QWidget*>(m_view->findBar()->field()));
        openPalette();
        QVERIFY(m_view->isFindBarPresented());
        press(Qt::Key_Escape);
        QVERIFY(!m_view->isCommandPaletteOpen());
        QVERIFY(m_view->isFindBarPresented());
        QVERIFY(m_view->isFocusMode());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(m_view->findBar()->field()));
        press(Qt::Key_Escape);
        QVERIFY(!m_view->isFindBarPresented());
        QVERIFY(m_view->isFocusMode());
        press(Qt::Key_Escape);
        QVERIFY(!m_view->isFocusMode());
    }

    // The tour covers the whole window, the palette included, and takes
    // Escape first; the palette's own tour row runs once the palette closed.
    void theTourGoesOverThePalette() {
        FeatureTourController& tour = FeatureTourController::shared();
        openPalette();
        QPointer<CommandPaletteView> palette = m_view->commandPalette();
        tour.present();
        QVERIFY(palette);
        // What a click on the palette's rows would reach: the tour.
        QWidget* hit =
            m_view->childAt(palette->mapTo(m_view, palette->panel()->geometry().center()));
        while (hit && !qobject_cast<FeatureTourOverlay*>(hit))
            hit = hit->parentWidget();
        QVERIFY(hit);
        press(Qt::Key_Escape);
        QVERIFY(!tour.isPresented());
        QVERIFY(m_view->isCommandPaletteOpen());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(palette->field()));

        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("tour"));
        press(Qt::Key_Return);
        QVERIFY(!m_view->isCommandPaletteOpen());
        QVERIFY(!tour.isPresented());
        QTRY_VERIFY(tour.isPresented());
        press(Qt::Key_Escape);
        QVERIFY(!tour.isPresented());
        QTRY_COMPARE(QApplication::focusWidget(), editor());
    }
};

QTEST_MAIN(TestCommandPaletteX11)
#include "tst_commandpalette_x11.moc"

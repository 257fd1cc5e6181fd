#include "core/AppLanguageManager.h"
#include "core/FeatureTourController.h"
#include "core/Preferences.h"
#include "core/RecentFilesStore.h"
#include "editor/EditorView.h"
#include "editor/MarkdownTextView.h"
#include "shell/CommandPaletteList.h"
#include "shell/CommandPaletteView.h"
#include "shell/StandardWorkspacePanes.h"
#include "support/TestSupport.h"
#include "support/WorkspaceWindow.h"
#include "tools/FindBarView.h"
#include "tools/PopoverFrame.h"
#include "windows/FeatureTourOverlay.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

// The palette in a real window on an X server: the window's own keys open
// and close it, and the keyboard goes back to the editor.
class TestCommandPaletteX11 : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
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
        TestSupport::resetPreferences();
        RecentFilesStore::shared().clear();
        const QString path = TestSupport::writeFile(m_dir, QStringLiteral("Notes.md"),
                                                    MarkdownDocument::welcomeSample().toUtf8());
        m_window = std::make_unique<WorkspaceWindow>(MarkdownDocument::open(path, nullptr),
                                                     StandardWorkspacePanes::factory());
        m_view = m_window->view.get();
        m_view->resize(1200, 780);
        m_view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_view));
        m_editor = qobject_cast<EditorView*>(m_view->panes()->editor())->textView();
        m_editor->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), editor());
    }
    void cleanup() {
        m_window.reset();
        AppLanguageManager::apply(AppLanguage::English);
    }

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

    // With QUON_SCREENSHOTS=DIR: the palette unfiltered and filtered, light
    // and dark, and in Polish.
    void screenshots() {
        const QString dir = TestSupport::screenshotFolder();
        if (dir.isEmpty())
            QSKIP("QUON_SCREENSHOTS not set");
        for (const char* name : {"Project Plan.md", "Reading List.markdown", "Ideas.md"})
            RecentFilesStore::shared().record(QUrl::fromLocalFile(
                TestSupport::writeFile(m_dir, QString::fromUtf8(name), "# x\n")));
        const auto shoot = [&](const QString& name, const QString& query,
                               Qt::Key arrow = Qt::Key_Down) {
            openPalette();
            QTest::keyClicks(QApplication::focusWidget(), query);
            press(arrow);
            QTest::qWait(400);
            QVERIFY(m_view->grab().save(QDir(dir).filePath(name)));
            press(Qt::Key_Escape);
            QTest::qWait(300);
        };
        TestSupport::forEachAppearance([&](const QString& appearance) {
            shoot(QStringLiteral("palette-%1.png").arg(appearance), QString());
            // Up from the first row: the last, scrolled into view.
            shoot(QStringLiteral("palette-%1-end.png").arg(appearance), QString(), Qt::Key_Up);
            shoot(QStringLiteral("palette-%1-filtered.png").arg(appearance),
                  QStringLiteral("export"));
            shoot(QStringLiteral("palette-%1-none.png").arg(appearance), QStringLiteral("zebra"));
        });
        AppLanguageManager::apply(AppLanguage::Polish);
        shoot(QStringLiteral("palette-pl.png"), QString());
        shoot(QStringLiteral("palette-pl-filtered.png"), QStringLiteral("eksport"));
    }
};

QTEST_MAIN(TestCommandPaletteX11)
#include "tst_commandpalette_x11.moc"

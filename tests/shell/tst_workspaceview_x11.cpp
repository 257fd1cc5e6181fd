#include "core/Preferences.h"
#include "shell/StandardWorkspacePanes.h"
#include "shell/WindowToolbar.h"
#include "support/TestSupport.h"
#include "support/WorkspaceWindow.h"

#include <QApplication>
#include <QDir>
#include <QTest>

// The window's keys on a real X server, where Qt's own bindings and the
// window system's activation take part.
class TestWorkspaceViewX11 : public QObject {
    Q_OBJECT

    std::unique_ptr<WorkspaceWindow> m_window;
    WorkspaceView* m_view = nullptr;

    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    }

private Q_SLOTS:
    void init() {
        TestSupport::resetPreferences();
        m_window = std::make_unique<WorkspaceWindow>(std::make_unique<MarkdownDocument>(),
                                                     StandardWorkspacePanes::factory());
        m_view = m_window->view.get();
        m_view->resize(1200, 780);
        m_view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_view));
        m_view->panes()->editor()->setFocus();
        QTRY_VERIFY(m_view->panes()->editor()->hasFocus());
    }
    void cleanup() { m_window.reset(); }

    void modeKeys() {
        press(Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(m_view->viewMode(), ViewMode::Edit);
        press(Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(m_view->viewMode(), ViewMode::Preview);
        press(Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(m_view->viewMode(), ViewMode::Split);
        QCOMPARE(Preferences::shared().lastViewMode(), QStringLiteral("Split"));
        // The welcome window has the shifted 1, the editor keeps its text.
        const QString text = m_window->document->text();
        press(Qt::Key_1, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(m_window->welcomes, 1);
        QCOMPARE(m_view->viewMode(), ViewMode::Split);
        QCOMPARE(m_window->document->text(), text);
    }

    void focusModeKeys() {
        press(Qt::Key_Period, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(m_view->isFocusMode());
        QVERIFY(!m_view->toolbar()->isVisible());
        // Escape waits while the find bar is open.
        m_view->openFindBar();
        press(Qt::Key_Escape);
        QVERIFY(m_view->isFocusMode());
        m_view->closeFindBar();
        press(Qt::Key_Escape);
        QVERIFY(!m_view->isFocusMode());
        QVERIFY(m_view->toolbar()->isVisible());
        press(Qt::Key_Period, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(m_view->isFocusMode());
        press(Qt::Key_Period, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(!m_view->isFocusMode());
    }

    // With QUON_SCREENSHOTS=DIR: the three modes with the welcome sample, light and dark.
    void screenshots() {
        const QString dir = TestSupport::screenshotFolder();
        if (dir.isEmpty())
            QSKIP("QUON_SCREENSHOTS not set");
        TestSupport::forEachAppearance([&](const QString& appearance) {
            for (ViewMode mode : allCases<ViewMode>()) {
                m_view->setViewMode(mode);
                QTest::qWait(300);
                const QString name =
                    QStringLiteral("%1-%2.png").arg(appearance, rawValue(mode).toLower());
                QVERIFY(m_view->grab().save(QDir(dir).filePath(name)));
            }
        });
    }
};

QTEST_MAIN(TestWorkspaceViewX11)
#include "tst_workspaceview_x11.moc"

#include "core/MarkdownDocument.h"
#include "shell/DocumentController.h"
#include "shell/SceneManager.h"
#include "shell/WindowListMenu.h"
#include "shell/WindowMenuBar.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

// The Window menu of every document window lists them all and brings the one
// chosen to the front, on a real X server where activation takes part.
class TestWindowMenuX11 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listsAndRaisesTheDocumentWindows() {
        DocumentController& controller = DocumentController::shared();
        new SceneManager(controller, this);
        ScriptedDialogs& dialogs = ScriptedDialogs::install();
        QTemporaryDir dir;
        QList<WorkspaceView*> windows;
        for (const char* name : {"a.md", "b.md", "c.md"}) {
            controller.open(TestSupport::writeFile(dir, QString::fromUtf8(name), "text\n"));
            windows << static_cast<WorkspaceView*>(
                controller.windowFor(controller.documents().last()));
            QVERIFY(QTest::qWaitForWindowExposed(windows.last()));
        }
        const auto listOf = [](WorkspaceView* window) {
            return window->windowMenuBar()->windowMenu()->findChild<WindowListMenu*>();
        };
        // Each entry's text, "*" when checked.
        const auto listed = [&](WorkspaceView* window) {
            QStringList out;
            for (QAction* entry : listOf(window)->entries())
                out << entry->text() + (entry->isChecked() ? "*" : "");
            return out;
        };
        QCOMPARE(listed(windows[0]), (QStringList{"a.md*", "b.md", "c.md"}));
        QCOMPARE(listed(windows[1]), (QStringList{"a.md", "b.md*", "c.md"}));

        // From the keyboard: the menu by its mnemonic, then the arrows to b.md.
        windows[0]->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(windows[0]));
        QMenu* menu = windows[0]->windowMenuBar()->windowMenu();
        QTest::keyClick(windows[0]->windowHandle(), Qt::Key_W, Qt::AltModifier);
        QTRY_VERIFY(menu->isVisible());
        for (int i = 0; i < 8 && !(menu->activeAction() && menu->activeAction()->text() == "b.md");
             ++i)
            QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
        QTRY_COMPARE(QApplication::activeWindow(), windows[1]);
        QCOMPARE(listed(windows[0]), (QStringList{"a.md*", "b.md", "c.md"}));

        // A rename, a close and an open reach every list.
        dialogs.savePaths = {dir.filePath(QStringLiteral("b & c.md"))};
        QVERIFY(controller.saveAs(controller.documentFor(windows[1])));
        QCOMPARE(listed(windows[0]), (QStringList{"a.md*", "b && c.md", "c.md"}));
        QTest::keyClick(windows[1]->windowHandle(), Qt::Key_W, Qt::ControlModifier);
        QTRY_COMPARE(controller.documentCount(), 2);
        controller.open(TestSupport::writeFile(dir, QStringLiteral("d.md"), "text\n"));
        QCOMPARE(listed(windows[2]), (QStringList{"a.md", "c.md*", "d.md"}));

        // A maximized window chosen while minimized comes back maximized.
        windows[2]->showMaximized();
        windows[2]->setWindowState(windows[2]->windowState() | Qt::WindowMinimized);
        listOf(windows[0])->entries()[1]->trigger();
        QTRY_COMPARE(windows[2]->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized),
                     Qt::WindowMaximized);
        dialogs.discardAll(controller);
    }
};

QTEST_MAIN(TestWindowMenuX11)
#include "tst_windowmenu_x11.moc"

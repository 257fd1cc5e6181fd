#include "core/MarkdownDocument.h"
#include "core/RecentFilesStore.h"
#include "shell/DocumentController.h"
#include "shell/SceneManager.h"
#include "shell/WindowCommands.h"
#include "shell/WindowListMenu.h"
#include "shell/WindowMenuBar.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"
#include "windows/WelcomeWindow.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

namespace {

QMenu* windowMenuOf(QWidget* window) {
    return qobject_cast<WindowMenuBar*>(static_cast<QMainWindow*>(window)->menuWidget())
        ->windowMenu();
}

// What a window's Window menu lists after its own items: each entry's
// text, marked "*" when checked.
QStringList listed(QWidget* window) {
    QStringList out;
    for (QAction* entry : windowMenuOf(window)->findChild<WindowListMenu*>()->entries())
        out << entry->text() + (entry->isChecked() ? QStringLiteral("*") : QString());
    return out;
}

} // namespace

// The Window menu of every window lists the document windows and brings the
// one chosen to the front, on a real X server where activation takes part.
class TestWindowMenuX11 : public QObject {
    Q_OBJECT

    DocumentController& controller = DocumentController::shared();
    SceneManager* scenes = nullptr;
    ScriptedDialogs* dialogs = nullptr;
    QTemporaryDir dir;

    QWidget* open(const char* name) {
        const QString path = TestSupport::writeFile(dir, QString::fromUtf8(name), "# text\n");
        controller.open(path);
        QWidget* window = controller.windowFor(controller.documents().constLast());
        [&] { QVERIFY(QTest::qWaitForWindowExposed(window)); }();
        return window;
    }

    static void activate(QWidget* window) {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

private Q_SLOTS:
    void initTestCase() {
        scenes = new SceneManager(controller, this);
        scenes->setWelcomeWindowFactory(
            [this] { return new WelcomeWindow(controller, *scenes, RecentFilesStore::shared()); });
    }

    void init() {
        TestSupport::resetPreferences();
        dialogs = &ScriptedDialogs::install();
    }

    void cleanup() { dialogs->discardAll(controller); }

    void listsAndRaisesTheDocumentWindows() {
        QWidget* a = open("a.md");
        QWidget* b = open("b.md");
        QWidget* c = open("c.md");
        QCOMPARE(listed(a), (QStringList{"a.md*", "b.md", "c.md"}));
        QCOMPARE(listed(b), (QStringList{"a.md", "b.md*", "c.md"}));
        QCOMPARE(listed(c), (QStringList{"a.md", "b.md", "c.md*"}));
        scenes->showWelcomeWindow();
        QCOMPARE(listed(scenes->welcomeWindow()), (QStringList{"a.md", "b.md", "c.md"}));
        scenes->dismissWelcomeWindow();

        // From the keyboard: the menu by its mnemonic, then the arrows to b.md.
        activate(a);
        QTest::keyClick(a->windowHandle(), Qt::Key_W, Qt::AltModifier);
        QTRY_VERIFY(windowMenuOf(a)->isVisible());
        QMenu* menu = windowMenuOf(a);
        for (int i = 0; i < 8 && !(menu->activeAction() && menu->activeAction()->text() == "b.md");
             ++i)
            QTest::keyClick(menu, Qt::Key_Down);
        QCOMPARE(menu->activeAction()->text(), QStringLiteral("b.md"));
        QTest::keyClick(menu, Qt::Key_Return);
        QTRY_COMPARE(QApplication::activeWindow(), b);
        QCOMPARE(listed(a), (QStringList{"a.md*", "b.md", "c.md"}));

        // A minimised window comes back.
        c->showMinimized();
        QTRY_VERIFY(c->isMinimized());
        windowMenuOf(b)->findChild<WindowListMenu*>()->entries().at(2)->trigger();
        QTRY_COMPARE(QApplication::activeWindow(), c);
        QVERIFY(!c->isMinimized());

        // A rename, a close and an open reach every list.
        dialogs->savePaths = {dir.filePath(QStringLiteral("renamed & saved.md"))};
        QVERIFY(controller.saveAs(controller.documentFor(b)));
        QCOMPARE(listed(a), (QStringList{"a.md*", "renamed && saved.md", "c.md"}));
        activate(c);
        QTest::keyClick(c->windowHandle(), Qt::Key_W, Qt::ControlModifier);
        QTRY_COMPARE(controller.documentCount(), 2);
        QCOMPARE(listed(b), (QStringList{"a.md", "renamed && saved.md*"}));
        QWidget* d = open("d.md");
        QCOMPARE(listed(a), (QStringList{"a.md*", "renamed && saved.md", "d.md"}));
        QCOMPARE(listed(d), (QStringList{"a.md", "renamed && saved.md", "d.md*"}));
    }
};

QTEST_MAIN(TestWindowMenuX11)
#include "tst_windowmenu_x11.moc"

#include "core/FeatureTourController.h"
#include "shell/StandardWorkspacePanes.h"
#include "shell/WindowCommands.h"
#include "shell/WindowMenuBar.h"
#include "support/TestSupport.h"
#include "support/WorkspaceWindow.h"
#include "windows/FeatureTourOverlay.h"
#include "windows/FeatureTourOverlayContainer.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

// The tour over a document window on a real X server: the menu bar and the
// application's keys stay in reach over it, the document's keys do not.
class TestFeatureTourX11 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void menuBarAndApplicationKeysStayUsable() {
        TestSupport::resetPreferences();
        WorkspaceWindow w(std::make_unique<MarkdownDocument>(), StandardWorkspacePanes::factory());
        w.activateInEditor();
        WorkspaceView* view = w.view.get();
        WindowMenuBar* bar = view->windowMenuBar();
        FeatureTourController& tour = FeatureTourController::shared();
        auto* container = view->findChild<FeatureTourOverlayContainer*>();

        // File opened by a click or by its key: Escape closes the menu, not
        // the tour; the next Escape skips the tour, the keys back in the text.
        for (const bool byMouse : {true, false}) {
            tour.present();
            QTRY_COMPARE(QApplication::focusWidget(), container->overlay());
            if (byMouse)
                QTest::mouseClick(
                    view->windowHandle(), Qt::LeftButton, {},
                    bar->mapTo(view, bar->actionGeometry(bar->fileMenu()->menuAction()).center()));
            else
                QTest::keyClick(view->windowHandle(), Qt::Key_F, Qt::AltModifier);
            QTRY_VERIFY(bar->fileMenu()->isVisible());
            QTest::keyClick(bar->fileMenu(), Qt::Key_Escape);
            QTRY_VERIFY(!bar->fileMenu()->isVisible());
            QVERIFY(tour.isPresented());
            QTest::keyClick(view->windowHandle(), Qt::Key_Escape);
            QVERIFY2(!tour.isPresented(), byMouse ? "mouse" : "keyboard");
            QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.textView()));
        }
        tour.present();
        QTRY_COMPARE(QApplication::focusWidget(), container->overlay());

        WindowCommands& c = w.commands();
        const QList<std::pair<QAction*, QKeyCombination>> keys = {
            {c.newDocument, Qt::CTRL | Qt::Key_N},  {c.openDocument, Qt::CTRL | Qt::Key_O},
            {c.settings, Qt::CTRL | Qt::Key_Comma}, {c.quit, Qt::CTRL | Qt::Key_Q},
            {c.modeEdit, Qt::CTRL | Qt::Key_1},     {c.closeWindow, Qt::CTRL | Qt::Key_W}};
        for (const auto& [action, key] : keys) {
            QSignalSpy triggered(action, &QAction::triggered);
            QTest::keyClick(view->windowHandle(), key.key(), key.keyboardModifiers());
            QCOMPARE(triggered.count(), action == c.modeEdit ? 0 : 1);
        }
        QCOMPARE(view->viewMode(), ViewMode::Split);
        QTRY_VERIFY(!view->isVisible());
        tour.skip();
    }
};

QTEST_MAIN(TestFeatureTourX11)
#include "tst_featuretour_x11.moc"

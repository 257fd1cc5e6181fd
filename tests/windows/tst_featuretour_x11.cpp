#include "core/AppLanguageManager.h"
#include "core/FeatureTourController.h"
#include "core/FeatureTourSlideCatalog.h"
#include "core/Preferences.h"
#include "shell/StandardWorkspacePanes.h"
#include "shell/WindowCommands.h"
#include "shell/WindowMenuBar.h"
#include "support/TestSupport.h"
#include "support/WorkspaceWindow.h"
#include "widgets/PlainButton.h"
#include "windows/FeatureTourOverlay.h"
#include "windows/WelcomeButtonStyles.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

namespace {

FeatureTourController& tour() {
    return FeatureTourController::shared();
}

// The language this process runs in: the slides keep the first one they
// are built in, so another language takes a process of its own.
QString processLanguage() {
    const QString language = qEnvironmentVariable("QUON_TOUR_LANGUAGE");
    return language.isEmpty() ? QStringLiteral("en") : language;
}

} // namespace

// The tour over a document window on a real X server: the menu bar and the
// application's keys stay in reach, and the card's buttons in the window.
class TestFeatureTourX11 : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        TestSupport::resetPreferences();
        AppLanguageManager::apply(*fromRawValue<AppLanguage>(processLanguage()));
    }

    void cleanup() { tour().skip(); }

    // Quit, New, Open, Settings and Close reach their actions through the
    // layer, the document's own keys do not, and the menu bar opens by
    // click and by mnemonic while the card stays up.
    void menuBarAndApplicationKeysStayUsable() {
        WorkspaceWindow w(std::make_unique<MarkdownDocument>(), StandardWorkspacePanes::factory());
        w.activateInEditor();
        WorkspaceView* view = w.view.get();
        WindowMenuBar* bar = view->windowMenuBar();
        tour().present();
        FeatureTourOverlay* overlay = view->findChild<FeatureTourOverlay*>();
        QVERIFY(overlay);
        QCOMPARE(overlay->geometry().top(), bar->geometry().bottom() + 1);
        QVERIFY(!overlay->geometry().intersects(bar->geometry()));

        WindowCommands& commands = w.commands();
        const QList<std::pair<QAction*, QKeyCombination>> keys = {
            {commands.newDocument, Qt::CTRL | Qt::Key_N},
            {commands.openDocument, Qt::CTRL | Qt::Key_O},
            {commands.settings, Qt::CTRL | Qt::Key_Comma},
            {commands.quit, Qt::CTRL | Qt::Key_Q},
            {commands.modeEdit, Qt::CTRL | Qt::Key_1},
            {commands.closeWindow, Qt::CTRL | Qt::Key_W}};
        for (const auto& [action, key] : keys) {
            QSignalSpy triggered(action, &QAction::triggered);
            QTest::keyClick(view->windowHandle(), key.key(), key.keyboardModifiers());
            QCOMPARE(triggered.count(), action == commands.modeEdit ? 0 : 1);
            if (action == commands.closeWindow)
                QTRY_VERIFY(!view->isVisible());
            else
                QCOMPARE(view->viewMode(), ViewMode::Split);
        }
        view->show();
        view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(view));
        QTRY_COMPARE(QApplication::focusWidget(), overlay);

        // A click on File opens its menu, its mnemonic the View menu. Escape
        // closes the menu, then leaves the bar, not the tour, and the card
        // has the keys again.
        const auto leave = [&](QMenu* menu) {
            QTRY_VERIFY(menu->isVisible());
            QTest::keyClick(menu, Qt::Key_Escape);
            QTRY_VERIFY(!menu->isVisible());
            QCOMPARE(QApplication::focusWidget(), bar);
            QTest::keyClick(bar, Qt::Key_Escape);
            QCOMPARE(QApplication::focusWidget(), overlay);
            QVERIFY(tour().isPresented());
        };
        const QRect file = bar->actionGeometry(bar->fileMenu()->menuAction());
        QTest::mouseClick(view->windowHandle(), Qt::LeftButton, {},
                          bar->mapTo(view, file.center()));
        leave(bar->fileMenu());
        QTest::keyClick(view->windowHandle(), Qt::Key_V, Qt::AltModifier);
        leave(bar->viewMenu());
        QTest::keyClick(view->windowHandle(), Qt::Key_Right);
        QCOMPARE(tour().currentIndex(), 1);
    }

    // At the window's smallest size every button of the card lies wholly in
    // the window, below the menu bar and unclipped, on every slide and in
    // each language.
    void buttonsStayInTheSmallestWindow_data() {
        QTest::addColumn<QString>("language");
        for (const char* language : {"en", "pl", "es"})
            QTest::newRow(language) << QString::fromLatin1(language);
    }
    void buttonsStayInTheSmallestWindow() {
        QFETCH(QString, language);
        if (language != processLanguage()) {
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("QUON_TOUR_LANGUAGE"), language);
            child.setProcessEnvironment(environment);
            child.setProcessChannelMode(QProcess::MergedChannels);
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("buttonsStayInTheSmallestWindow:") + language});
            QVERIFY(child.waitForFinished(240000));
            QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                     child.readAll().constData());
            return;
        }
        WorkspaceWindow w(std::make_unique<MarkdownDocument>(), StandardWorkspacePanes::factory());
        WorkspaceView* view = w.view.get();
        view->resize(1, 1);
        QTRY_COMPARE(view->size(), QSize(761, 226));
        tour().present();
        FeatureTourOverlay* overlay = view->findChild<FeatureTourOverlay*>();
        const QRect below(0, view->windowMenuBar()->geometry().bottom() + 1, view->width(),
                          view->height());
        for (int i = 0; i < FeatureTourSlideCatalog::count(); ++i) {
            TestSupport::processPendingEvents(); // the card settles on the slide's texts
            for (QWidget* button : {static_cast<QWidget*>(overlay->skipButton()),
                                    static_cast<QWidget*>(overlay->backButton()),
                                    static_cast<QWidget*>(overlay->primaryButton())}) {
                const QRect rect(button->mapTo(view, QPoint()), button->size());
                const QString where = QStringLiteral("%1, slide %2: %3 at %4,%5 %6x%7")
                                          .arg(language)
                                          .arg(i)
                                          .arg(static_cast<QAbstractButton*>(button)->text())
                                          .arg(rect.x())
                                          .arg(rect.y())
                                          .arg(rect.width())
                                          .arg(rect.height());
                QVERIFY2(below.intersected(view->rect()).contains(rect), qPrintable(where));
                QVERIFY2(button->visibleRegion().boundingRect() == button->rect(),
                         qPrintable(where));
            }
            tour().advance();
        }
    }
};

QTEST_MAIN(TestFeatureTourX11)
#include "tst_featuretour_x11.moc"

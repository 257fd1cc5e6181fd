#include "core/AppLanguageManager.h"
#include "core/FeatureTourController.h"
#include "core/FeatureTourSlideCatalog.h"
#include "core/L10n.h"
#include "core/PreferenceEnums.h"
#include "core/Preferences.h"
#include "core/RecentFilesStore.h"
#include "shell/DocumentController.h"
#include "shell/ModeSwitcher.h"
#include "shell/SceneManager.h"
#include "shell/StandardWorkspacePanes.h"
#include "shell/WindowToolbar.h"
#include "support/AnimationClock.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"
#include "support/WorkspaceWindow.h"
#include "widgets/PlainButton.h"
#include "windows/DropZoneView.h"
#include "windows/FeatureTourOverlay.h"
#include "windows/FeatureTourOverlayContainer.h"
#include "windows/FeatureTourPageDots.h"
#include "windows/FeatureTourSlideVisual.h"
#include "windows/FeatureTourSlideVisuals.h"
#include "windows/WelcomeButtonStyles.h"
#include "windows/WelcomeView.h"
#include "windows/WelcomeWindow.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QLabel>
#include <QMainWindow>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

FeatureTourController& tour() {
    return FeatureTourController::shared();
}

FeatureTourOverlay* overlayOf(QWidget* window) {
    return window->findChild<FeatureTourOverlayContainer*>()->overlay();
}

// A click where the user would click: through the window, to whatever is on top.
void clickAt(QWidget* window, QWidget* target) {
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      target->mapTo(window, target->rect().center()));
}

void wheelAt(QWidget* window, QWidget* target) {
    const QPoint at = target->mapTo(window, target->rect().center());
    QWheelEvent wheel(at, window->mapToGlobal(at), QPoint(), QPoint(0, -360), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->windowHandle(), &wheel);
}

// True when the drop reached something that took it.
bool dropAt(QWidget* window, QWidget* target, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at = target->mapTo(window, target->rect().center());
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window->windowHandle(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(window->windowHandle(), &drop);
    return enter.isAccepted() && drop.isAccepted();
}

} // namespace

class TestFeatureTour : public QObject {
    Q_OBJECT

    DocumentController& controller = DocumentController::shared();
    SceneManager* scenes = nullptr;
    ScriptedDialogs* dialogs = nullptr;

    WelcomeWindow* showWelcome() {
        scenes->showWelcomeWindow();
        auto* window = static_cast<WelcomeWindow*>(scenes->welcomeWindow());
        [&] { QVERIFY(QTest::qWaitForWindowExposed(window)); }();
        return window;
    }

    static void activate(QWidget* window) {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

    static void press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(window->windowHandle(), key, modifiers);
    }

private Q_SLOTS:
    void initTestCase() {
        scenes = new SceneManager(controller, this);
        scenes->setWelcomeWindowFactory(
            [this] { return new WelcomeWindow(controller, *scenes, RecentFilesStore::shared()); });
        scenes->setDocumentOverlays(&FeatureTourOverlayContainer::install);
    }

    void init() {
        TestSupport::resetPreferences();
        dialogs = &ScriptedDialogs::install();
    }

    void cleanup() {
        tour().skip();
        scenes->dismissWelcomeWindow();
        dialogs->discardAll(controller);
    }

    // The home window and two documents show one card, step together, and
    // all let go when it ends.
    void everyWindowShowsTheSameSlide() {
        WelcomeWindow* welcome = showWelcome();
        WorkspaceWindow first;
        WorkspaceWindow second;
        const QList<QWidget*> windows = {welcome, first.view.get(), second.view.get()};
        for (QWidget* window : windows)
            QVERIFY(!overlayOf(window));

        tour().present();
        for (QWidget* window : windows) {
            FeatureTourOverlay* overlay = overlayOf(window);
            QVERIFY(overlay && overlay->isVisible());
            // All but the menu bar, which stays in reach.
            const QWidget* bar = static_cast<QMainWindow*>(window)->menuWidget();
            QCOMPARE(overlay->geometry(), window->rect().adjusted(0, bar->height(), 0, 0));
        }
        overlayOf(first.view.get())->primaryButton()->click();
        for (QWidget* window : windows) {
            FeatureTourOverlay* overlay = overlayOf(window);
            QCOMPARE(overlay->pageDots()->current(), 1);
            QCOMPARE(overlay->picture()->kind(), FeatureTourSlideKind::ViewModes);
            QCOMPARE(overlay->titleLabel()->text(), FeatureTourSlideCatalog::slides()[1].title);
            QVERIFY(overlay->backButton()->isEnabled());
        }

        // A window opened now joins in at once, on the slide on show.
        WorkspaceWindow third;
        QVERIFY(overlayOf(third.view.get()));
        QCOMPARE(overlayOf(third.view.get())->picture()->kind(), FeatureTourSlideKind::ViewModes);
        QCOMPARE(third.view->findChild<FeatureTourOverlayContainer*>()->opacity(), 1.0);

        overlayOf(second.view.get())->skipButton()->click();
        QVERIFY(!tour().isPresented());
        for (QWidget* window : windows)
            QTRY_VERIFY(!overlayOf(window));
    }

    // Back is dimmed and dead on the first slide; the primary button reads
    // Continue until the last slide, where it ends the tour.
    void footerFollowsTheSlide() {
        WorkspaceWindow w;
        tour().present();
        FeatureTourOverlay* overlay = overlayOf(w.view.get());
        WelcomeButton* back = overlay->backButton();
        QVERIFY(!back->isEnabled());
        QCOMPARE(back->opacity(), FeatureTourOverlay::dimmedBackOpacity);
        clickAt(w.view.get(), back);
        QCOMPARE(tour().currentIndex(), 0);

        for (int i = 0; i < FeatureTourSlideCatalog::count(); ++i) {
            QCOMPARE(tour().currentIndex(), i);
            const bool last = i == FeatureTourSlideCatalog::count() - 1;
            QCOMPARE(overlay->primaryButton()->text(),
                     last ? QStringLiteral("Get Started") : QStringLiteral("Continue"));
            QCOMPARE(back->opacity(), i == 0 ? FeatureTourOverlay::dimmedBackOpacity : 1.0);
            clickAt(w.view.get(), overlay->primaryButton());
        }
        QVERIFY(!tour().isPresented());
        QCOMPARE(tour().currentIndex(), FeatureTourSlideCatalog::count() - 1);
    }

    // Clicks, wheel turns, keys, shortcuts and drops stop at the layer.
    void nothingReachesTheWindowBelow() {
        WorkspaceWindow w;
        WorkspaceView* view = w.view.get();
        activate(view);
        QPlainTextEdit* editor = w.panes->textEdit();
        editor->setPlainText(QString(QStringLiteral("line\n")).repeated(400));
        editor->setFocus();
        const QString text = w.document->text();
        QWidget* editSegment = view->toolbar()->modeSwitcher()->segment(ViewMode::Edit);

        // Without the tour each of these acts, so the test below is not vacuous.
        wheelAt(view, editor);
        QVERIFY(editor->verticalScrollBar()->value() > 0);
        editor->verticalScrollBar()->setValue(0);

        tour().present();
        FeatureTourOverlay* overlay = overlayOf(view);
        clickAt(view, editSegment);
        clickAt(view, editor);
        QTest::mouseDClick(view->windowHandle(), Qt::LeftButton, {},
                           editor->mapTo(view, editor->rect().center()));
        wheelAt(view, editor);
        press(view, Qt::Key_A);
        press(view, Qt::Key_1, Qt::ControlModifier);
        press(view, Qt::Key_Period, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(view->viewMode(), ViewMode::Split);
        QVERIFY(!view->isFocusMode());
        QCOMPARE(editor->verticalScrollBar()->value(), 0);
        QCOMPARE(w.document->text(), text);
        QCOMPARE(QApplication::focusWidget(), overlay);
        QVERIFY(tour().isPresented()); // the backdrop is no way out

        // The home window takes drops anywhere, but not through the layer.
        WelcomeWindow* welcome = showWelcome();
        QSignalSpy dropped(welcome->view(), &WelcomeView::filesDropped);
        QVERIFY(!dropAt(welcome, welcome->view()->dropZone(), QStringLiteral("/tmp/a.md")));
        QCoreApplication::processEvents();
        QCOMPARE(dropped.count(), 0);
        tour().skip();
        QTRY_VERIFY(!overlayOf(welcome));
        QVERIFY(dropAt(welcome, welcome->view()->dropZone(), QStringLiteral("/tmp/a.md")));
        QTRY_COMPARE(dropped.count(), 1);
    }

    void keysStepSkipAndGiveFocusBack() {
        Preferences::shared().setBoolean(PreferenceKeys::newDocumentStartsEmpty, true);
        WorkspaceWindow w(std::make_unique<MarkdownDocument>(), StandardWorkspacePanes::factory());
        WorkspaceView* view = w.view.get();
        activate(view);
        QWidget* editor = view->panes()->editor()->findChild<QPlainTextEdit*>();
        editor->setFocus();
        QCOMPARE(QApplication::focusWidget(), editor);

        tour().present();
        QSignalSpy index(&tour(), &FeatureTourController::currentIndexChanged);
        press(view, Qt::Key_Left);
        QCOMPARE(index.count(), 0);
        press(view, Qt::Key_Right);
        press(view, Qt::Key_Return);
        QCOMPARE(tour().currentIndex(), 2);
        press(view, Qt::Key_Left);
        QCOMPARE(tour().currentIndex(), 1);
        // Tab goes round the card's buttons; the keys still act from there.
        press(view, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), overlayOf(view)->skipButton());
        press(view, Qt::Key_Right);
        QCOMPARE(tour().currentIndex(), 2);

        // Focus that something hands to the editor meanwhile comes back.
        editor->setFocus();
        QVERIFY(overlayOf(view)->isAncestorOf(QApplication::focusWidget()) ||
                QApplication::focusWidget() == overlayOf(view));

        // Escape goes through the window's dispatcher: the tour before focus mode.
        view->setFocusMode(true);
        press(view, Qt::Key_Escape);
        QVERIFY(!tour().isPresented());
        QVERIFY(view->isFocusMode());
        QCOMPARE(QApplication::focusWidget(), editor);
        QTRY_VERIFY(!overlayOf(view));
        press(view, Qt::Key_Escape);
        QVERIFY(!view->isFocusMode());

        // Right on the last slide ends it like Get Started.
        tour().present();
        for (int i = 0; i < FeatureTourSlideCatalog::count(); ++i)
            press(view, Qt::Key_Right);
        QVERIFY(!tour().isPresented());
        QCOMPARE(QApplication::focusWidget(), editor);
        press(view, Qt::Key_A);
        QCOMPARE(w.document->text(), QStringLiteral("a"));
    }

    // From the window's smallest size (in each language) to a large one, on
    // every slide, the card's parts keep their places: none overlaps another,
    // the texts get all the height they need, and what the window cannot
    // hold scrolls between the buttons, which stay on the card in the window.
    void theCardNeverOverlapsItself() {
        WorkspaceWindow w(std::make_unique<MarkdownDocument>(), StandardWorkspacePanes::factory());
        QWidget* view = w.view.get();
        tour().present();
        FeatureTourOverlay* overlay = overlayOf(view);
        QWidget* card = overlay->card();
        QScrollArea* area = overlay->cardArea();
        const QWidget* slide = area->widget();
        const int menuBar = w.view->menuWidget()->height();
        // The buttons follow the language (the slides keep their first one).
        for (const auto& [language, size] :
             QList<std::pair<AppLanguage, QSize>>{{AppLanguage::Polish, {1, 1}},
                                                  {AppLanguage::Spanish, {1, 1}},
                                                  {AppLanguage::English, {1, 1}},
                                                  {AppLanguage::English, {761, 380}},
                                                  {AppLanguage::English, {1600, 1000}}}) {
            AppLanguageManager::apply(language);
            view->resize(size);
            QTRY_VERIFY(size.height() > 1 || view->size() == view->minimumSize());
            QTRY_COMPARE(overlay->size(), view->size() - QSize(0, menuBar));
            for (int i = 0; i < FeatureTourSlideCatalog::count(); ++i) {
                QCoreApplication::processEvents(); // the card settles on the slide's texts
                const QString where = QStringLiteral("%1x%2, slide %3, %4")
                                          .arg(view->width())
                                          .arg(view->height())
                                          .arg(i)
                                          .arg(overlay->backButton()->text());
                const auto apart = [&](const QList<QWidget*>& parts, const QWidget* within) {
                    for (qsizetype a = 0; a < parts.size(); ++a) {
                        const QRect rect = parts[a]->geometry();
                        QVERIFY2(!rect.isEmpty() && within->rect().contains(rect),
                                 qPrintable(where));
                        for (qsizetype b = a + 1; b < parts.size(); ++b)
                            QVERIFY2(!rect.intersects(parts[b]->geometry()), qPrintable(where));
                    }
                };
                // Too short for the picture beside the title, the card drops it.
                const bool compact = size.height() == 1;
                QCOMPARE(overlay->picture()->isHidden(), compact);
                QList<QWidget*> slideParts = {overlay->titleLabel(), overlay->bodyLabel(),
                                              overlay->pageDots()};
                if (!compact)
                    slideParts.prepend(overlay->picture());
                apart(slideParts, slide);
                apart(
                    {overlay->skipButton(), area, overlay->backButton(), overlay->primaryButton()},
                    card);
                for (QWidget* button : QList<QWidget*>{overlay->skipButton(), overlay->backButton(),
                                                       overlay->primaryButton()})
                    QVERIFY2(view->rect()
                                 .adjusted(0, menuBar, 0, 0)
                                 .contains(QRect(button->mapTo(view, QPoint()), button->size())),
                             qPrintable(where));
                for (QLabel* label : {overlay->titleLabel(), overlay->bodyLabel()})
                    QVERIFY2(label->height() >= label->heightForWidth(label->width()),
                             qPrintable(where));
                QCOMPARE(area->verticalScrollBar()->maximum(),
                         qMax(0, slide->height() - area->viewport()->height()));
                const int picture = overlay->picture()->height();
                QVERIFY(compact || picture >= FeatureTourOverlay::minimumPictureHeight);
                // Full size where there is room, lower in a short window.
                QVERIFY2(compact || (picture == FeatureTourSlideVisuals::height) ==
                                        (size.height() == 1000),
                         qPrintable(where));
                tour().advance();
            }
            tour().present();
        }
    }

    // Between the heights where the card drops its picture and those where
    // it has room to spare, on every slide in every language: a card that
    // shows its picture shows the title, body and dots whole beside it,
    // nothing scrolled away.
    void aCardWithItsPictureShowsTheWholeSlide() {
        WorkspaceWindow w(std::make_unique<MarkdownDocument>(), StandardWorkspacePanes::factory());
        QWidget* view = w.view.get();
        tour().present();
        FeatureTourOverlay* overlay = overlayOf(view);
        QScrollArea* area = overlay->cardArea();
        const QList<FeatureTourSlide> english = FeatureTourSlideCatalog::slides();
        const int menuBar = w.view->menuWidget()->height();
        int compactCards = 0, fullCards = 0;
        for (const AppLanguage language :
             {AppLanguage::English, AppLanguage::Polish, AppLanguage::Spanish}) {
            AppLanguageManager::apply(language);
            for (int height = 230; height <= 400; height += 5) {
                view->resize(800, height);
                QTRY_COMPARE(overlay->height(), view->height() - menuBar);
                tour().present();
                for (int i = 0; i < english.size(); ++i) {
                    if (i > 0)
                        tour().advance();
                    // The slide as built when quon starts in this language.
                    overlay->titleLabel()->setText(L10n::tr(english[i].title.toUtf8().constData()));
                    overlay->bodyLabel()->setText(L10n::tr(english[i].body.toUtf8().constData()));
                    TestSupport::processPendingEvents();
                    const QString where = QStringLiteral("height %1, slide %2, %3")
                                              .arg(view->height())
                                              .arg(i)
                                              .arg(overlay->backButton()->text());
                    if (overlay->picture()->isHidden()) {
                        ++compactCards;
                        continue;
                    }
                    ++fullCards;
                    QVERIFY2(area->verticalScrollBar()->maximum() == 0, qPrintable(where));
                    QVERIFY2(area->height() >= area->widget()->height(), qPrintable(where));
                }
            }
        }
        // The heights span both cards.
        QVERIFY(compactCards > 0 && fullCards > 0);
        AppLanguageManager::apply(AppLanguage::English);
    }

    // The themes picture names each theme under its swatch in full, in every
    // language: one or two lines, each within the swatch's column.
    void themeNamesFitUnderTheirSwatches() {
        for (const AppLanguage language :
             {AppLanguage::English, AppLanguage::Polish, AppLanguage::Spanish}) {
            AppLanguageManager::apply(language);
            QStringList names;
            for (const LightTheme theme : allCases<LightTheme>())
                names << label(theme);
            for (const DarkTheme theme : allCases<DarkTheme>())
                names << label(theme);
            QVERIFY(names.contains(QStringLiteral("Ciepły redakcyjny")) ||
                    language != AppLanguage::Polish);
            for (const QString& name : std::as_const(names)) {
                const FeatureTourSlideVisuals::ChipCaption caption =
                    FeatureTourSlideVisuals::chipCaption(name);
                QVERIFY2(caption.lines.size() <= 2, qPrintable(name));
                QCOMPARE(caption.lines.join(QLatin1Char(' ')), name);
                QVERIFY2(caption.font.pointSizeF() * 96 / 72 >= 6, qPrintable(name));
                for (const QString& line : caption.lines)
                    QVERIFY2(QFontMetricsF(caption.font).horizontalAdvance(line) <=
                                 FeatureTourSlideVisuals::chipWidth,
                             qPrintable(line));
            }
        }
        AppLanguageManager::apply(AppLanguage::English);
    }

    // The slides keep the language they were first built in; the buttons and
    // pictures follow a change at once.
    void slidesKeepTheirFirstLanguage() {
        const QString english = FeatureTourSlideCatalog::slides()[0].title;
        AppLanguageManager::apply(AppLanguage::Polish);
        WorkspaceWindow w;
        tour().present();
        FeatureTourOverlay* overlay = overlayOf(w.view.get());
        QCOMPARE(overlay->titleLabel()->text(), english);
        QCOMPARE(overlay->skipButton()->text(), QStringLiteral("Pomiń"));
        AppLanguageManager::apply(AppLanguage::English);
        QCoreApplication::processEvents();
        QCOMPARE(overlay->skipButton()->text(), QStringLiteral("Skip"));
    }

    // With QUON_SCREENSHOTS=DIR: every slide over a document window, light
    // and dark.
    void screenshots() {
        const QString dir = TestSupport::screenshotFolder();
        if (dir.isEmpty())
            QSKIP("QUON_SCREENSHOTS not set");
        WorkspaceWindow w(std::make_unique<MarkdownDocument>(), StandardWorkspacePanes::factory());
        w.view->resize(SceneManager::documentSize);
        TestSupport::forEachAppearance([&](const QString& appearance) {
            tour().present();
            for (int i = 0; i < FeatureTourSlideCatalog::count(); ++i) {
                QVERIFY(AnimationClock::finishAll());
                TestSupport::processPendingEvents();
                QVERIFY(TestSupport::saveShot(
                    w.view.get(), dir, QStringLiteral("tour-%1-%2.png").arg(appearance).arg(i)));
                tour().advance();
            }
            tour().skip();
        });
    }
};

QTEST_MAIN(TestFeatureTour)
#include "tst_featuretour.moc"

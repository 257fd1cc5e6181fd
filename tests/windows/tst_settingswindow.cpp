#include "core/AppLanguageManager.h"
#include "core/DesignSystem.h"
#include "core/FeatureTourController.h"
#include "core/L10n.h"
#include "core/MarkdownDocument.h"
#include "core/Preferences.h"
#include "core/RecentFilesStore.h"
#include "shell/AppNotifications.h"
#include "shell/DocumentController.h"
#include "shell/SceneManager.h"
#include "shell/WindowCommands.h"
#include "shell/WorkspaceView.h"
#include "support/AnimationClock.h"
#include "support/FakeSettingsDialogs.h"
#include "support/ModalAnswerer.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"
#include "support/WorkspaceWindow.h"
#include "widgets/SegmentedPicker.h"
#include "widgets/ThemedLabel.h"
#include "widgets/ToggleSwitch.h"
#include "windows/AppearanceSettingsTab.h"
#include "windows/EditorSettingsTab.h"
#include "windows/PreferenceBinding.h"
#include "windows/SettingsWindow.h"
#include "windows/ThemePreviewCard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeySequence>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

// Services that touch nothing outside the test.
SettingsServices quietServices(FakeSettingsDialogs& dialogs) {
    SettingsServices services;
    services.general.dialogs = &dialogs;
    services.files.dialogs = &dialogs;
    services.files.isDefaultHandler = [](std::function<void(bool)> answer) { answer(false); };
    services.files.setAsDefault = [](std::function<void(const QString&)>) {};
    services.extensions.isEnabled = [] { return false; };
    services.extensions.isFileManagerInstalled = [] { return true; };
    services.extensions.enable = [](std::function<void(bool)>) {};
    services.extensions.restartFileManager = [] {};
    services.extensions.showInstallCommand = [](QWidget*) {};
    services.extensions.broadcastMenuSettings = [] {};
    return services;
}

QStringList storedKeys() {
    return QSettings(Preferences::filePath(), QSettings::IniFormat).allKeys();
}

QList<bool> selection(const QList<ThemePreviewCard*>& cards) {
    QList<bool> marked;
    for (const ThemePreviewCard* card : cards)
        marked.append(card->isSelected());
    return marked;
}

// Document windows beside the settings window, let go at the end.
struct Documents {
    DocumentController controller;
    SceneManager scenes{controller};
    ScriptedDialogs& dialogs = ScriptedDialogs::install();

    ~Documents() {
        dialogs.discardAll(controller);
        DocumentDialogs::setShared(nullptr);
    }
    WorkspaceView* newWindow() {
        return static_cast<WorkspaceView*>(controller.windowFor(controller.newDocument()));
    }
};

void choose(QComboBox* combo, const QString& tag) {
    const int index = combo->findData(tag);
    QVERIFY(index >= 0);
    combo->setCurrentIndex(index);
    Q_EMIT combo->activated(index);
}

} // namespace

class TestSettingsWindow : public QObject {
    Q_OBJECT

    FakeSettingsDialogs dialogs;
    std::unique_ptr<SettingsWindow> window;

    void open(SettingsServices services) {
        window = std::make_unique<SettingsWindow>(std::move(services), ApplicationCommands{});
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void open() { open(quietServices(dialogs)); }

private Q_SLOTS:
    void init() {
        TestSupport::resetPreferences();
        AppLanguageManager::apply(AppLanguage::English);
        dialogs = FakeSettingsDialogs();
    }
    void cleanup() {
        window.reset();
        // The default-handler query the window started.
        QTRY_VERIFY(TestSupport::toolRunsAreOver());
    }

    // "Settings…" and the toolbar's gear share one action: it opens the one
    // settings window, and raises it again once it exists.
    void settingsCommandOpensOneWindow() {
        Documents documents;
        documents.scenes.setSettingsWindowFactory(
            [this] { return new SettingsWindow(quietServices(dialogs), ApplicationCommands{}); });
        QAction* settings = documents.newWindow()->commands().settings;
        settings->trigger();
        QWidget* window = documents.scenes.settingsWindow();
        QVERIFY(qobject_cast<SettingsWindow*>(window) && window->isVisible());
        window->close();
        settings->trigger();
        QCOMPARE(documents.scenes.settingsWindow(), window);
        QVERIFY(window->isVisible());
    }

    // Looking at every tab creates no key; the window is as tall as the
    // shown form under the same bar.
    void freshInstallShowsDefaultsAndWritesNothing() {
        open();
        int chrome = -1;
        for (int tab = SettingsWindow::General; tab <= SettingsWindow::Extensions; ++tab) {
            window->setCurrentTab(SettingsWindow::Tab(tab));
            QCoreApplication::processEvents();
            const int form = window->form(SettingsWindow::Tab(tab))->height();
            chrome = chrome < 0 ? window->height() - form : chrome;
            QCOMPARE(window->height(), chrome + form);
        }

        // Controls whose default differs by key or scheme show their own.
        GeneralSettingsTab* general = window->generalTab();
        QCOMPARE(general->languagePicker()->currentText(), QStringLiteral("System"));
        QCOMPARE(general->viewModePicker()->currentTag(), QStringLiteral("split"));
        QVERIFY(general->showHomeSwitch()->isChecked());
        QVERIFY(!general->tourOnLaunchSwitch()->isChecked());
        AppearanceSettingsTab* appearance = window->appearanceTab();
        QCOMPARE(selection(appearance->darkCards()), (QList<bool>{true, false, false}));
        QCOMPARE(appearance->lightFontPicker()->currentText(), QStringLiteral("Serif"));
        QCOMPARE(appearance->darkFontPicker()->currentText(), QStringLiteral("System"));
        QVERIFY(appearance->darkFontRow()->isVisibleTo(appearance));
        QCOMPARE(storedKeys(), QStringList());
    }

    // In English, Polish and Spanish every tab is as tall as its sections
    // need (never less than its own height): nothing is cut off and nothing
    // scrolls, and the window follows a change of language at once.
    void everyTabFitsItsContentInEveryLanguage() {
        open();
        const int ownHeights[] = {
            GeneralSettingsTab::formHeightValue, EditorSettingsTab::formHeightValue,
            AppearanceSettingsTab::formHeightValue, FilesSettingsTab::formHeightValue,
            ExtensionsSettingsTab::formHeightValue};
        QList<int> generalHeights;
        for (const AppLanguage language :
             {AppLanguage::English, AppLanguage::Polish, AppLanguage::Spanish}) {
            AppLanguageManager::apply(language);
            QTRY_COMPARE(window->tabBar()->tabText(SettingsWindow::Extensions),
                         L10n::tr("Extensions"));
            for (int tab = SettingsWindow::General; tab <= SettingsWindow::Extensions; ++tab) {
                window->setCurrentTab(SettingsWindow::Tab(tab));
                SettingsForm* form = window->form(SettingsWindow::Tab(tab));
                const QWidget* content = form->widget();
                const QString where = QStringLiteral("%1, tab %2").arg(int(language)).arg(tab);
                QTRY_VERIFY2(content->heightForWidth(form->viewport()->width()) <=
                                 form->viewport()->height(),
                             qPrintable(where));
                QVERIFY2(form->verticalScrollBar()->maximum() == 0, qPrintable(where));
                QVERIFY(form->height() >= ownHeights[tab]);
                QCOMPARE(form->height(), form->formHeight());
                if (tab == SettingsWindow::General)
                    generalHeights << form->height();
            }
        }
        AppLanguageManager::apply(AppLanguage::English);
        // The longer translations grow the tab, and it shrinks back.
        QVERIFY(generalHeights.value(1) > generalHeights.value(0));
        QVERIFY(generalHeights.value(2) > generalHeights.value(0));
        window->setCurrentTab(SettingsWindow::General);
        QTRY_COMPARE(window->form(SettingsWindow::General)->height(), generalHeights.value(0));
    }

    // Every theme card shows its name and description whole in each language,
    // on as many lines as they take (the Polish "Ciepły redakcyjny" on two).
    void themeCardsWrapTheirTexts() {
        open();
        window->setCurrentTab(SettingsWindow::Appearance);
        AppearanceSettingsTab* tab = window->appearanceTab();
        for (const AppLanguage language :
             {AppLanguage::English, AppLanguage::Polish, AppLanguage::Spanish}) {
            AppLanguageManager::apply(language);
            TestSupport::processPendingEvents(); // the cards retranslate
            for (ThemePreviewCard* card : tab->lightCards() + tab->darkCards()) {
                QTRY_VERIFY(card->height() >= card->heightForWidth(card->width()));
                const ThemePreviewCard::Caption caption = card->caption(card->width());
                QCOMPARE(caption.name.join(QLatin1Char(' ')), card->text());
                QCOMPARE(caption.subtitle.join(QLatin1Char(' ')), card->toolTip());
                QVERIFY(caption.subtitle.size() == 2 ||
                        card->toolTip() != QStringLiteral("Krem, atrament, ciepły pomarańcz"));
            }
        }
        AppLanguageManager::apply(AppLanguage::English);
    }

    // With "Use one font for both themes" on, the fonts' note stays, under
    // the one picker.
    void theFontsNoteOutlivesTheDarkPicker() {
        open();
        window->setCurrentTab(SettingsWindow::Appearance);
        AppearanceSettingsTab* appearance = window->appearanceTab();
        for (const bool synced : {false, true, false}) {
            if (appearance->syncFontsSwitch()->isChecked() != synced)
                QTest::mouseClick(appearance->syncFontsSwitch(), Qt::LeftButton);
            QCOMPARE(Preferences::shared().syncFonts(), synced);
            QCOMPARE(appearance->darkFontRow()->isVisibleTo(appearance), !synced);
            QVERIFY(appearance->fontsNote()->isVisibleTo(appearance));
            const SettingsRow* last =
                synced ? appearance->lightFontRow() : appearance->darkFontRow();
            QTRY_VERIFY(appearance->fontsNote()->mapTo(appearance, QPoint()).y() >=
                        last->mapTo(appearance, QPoint(0, last->height())).y());
        }
    }

    // Switches and pickers follow changes made elsewhere (a tour that ends,
    // a wipe) while the window is open.
    void controlsFollowOutsideChanges() {
        open();
        Preferences& prefs = Preferences::shared();
        prefs.setBoolean(PreferenceKeys::showFeatureTourOnLaunch, true);
        prefs.setString(PreferenceKeys::defaultViewMode, QStringLiteral("preview"));
        prefs.setString(PreferenceKeys::appLanguagePreference, QStringLiteral("es"));
        QVERIFY(window->generalTab()->tourOnLaunchSwitch()->isChecked());
        QCOMPARE(window->generalTab()->viewModePicker()->currentTag(), QStringLiteral("preview"));
        QCOMPARE(window->generalTab()->languagePicker()->currentText(), QStringLiteral("Español"));

        prefs.setBoolean(PreferenceKeys::showFeatureTourOnLaunch, false);
        QVERIFY(!window->generalTab()->tourOnLaunchSwitch()->isChecked());
        prefs.clearAll();
        QCOMPARE(window->generalTab()->viewModePicker()->currentTag(), QStringLiteral("split"));
        QCOMPARE(window->generalTab()->languagePicker()->currentData().toString(),
                 QStringLiteral("system"));
    }

    // Segments store their tags: lower-case view modes, the scheme's raw value.
    void segmentsStoreTheirTags() {
        open();
        SegmentedPicker* mode = window->generalTab()->viewModePicker();
        mode->segment(QStringLiteral("split"))->click();
        QVERIFY(!Preferences::shared().contains(PreferenceKeys::defaultViewMode));
        mode->segment(QStringLiteral("edit"))->click();
        QCOMPARE(Preferences::shared().storedString(PreferenceKeys::defaultViewMode),
                 QStringLiteral("edit"));
        QCOMPARE(mode->currentTag(), QStringLiteral("edit"));

        window->appearanceTab()->schemePicker()->segment(QStringLiteral("system"))->click();
        QCOMPARE(Preferences::shared().storedString(PreferenceKeys::appearancePreference),
                 QStringLiteral("system"));
    }

    // "Polski" stores "pl" and the window speaks Polish at once (document
    // windows: tst_language). The language names read the same in every
    // language, and the menu that made the choice is the same control afterwards.
    void languageChoiceRetranslatesTheWindow() {
        LocalizationRoot::install();
        open();
        QComboBox* languages = window->generalTab()->languagePicker();
        choose(languages, QStringLiteral("pl"));
        QCOMPARE(Preferences::shared().storedString(PreferenceKeys::appLanguagePreference),
                 QStringLiteral("pl"));
        QCoreApplication::processEvents();

        QCOMPARE(window->generalTab()->languagePicker(), languages);
        QCOMPARE(languages->currentData().toString(), QStringLiteral("pl"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Ustawienia"));
        QCOMPARE(languages->itemText(0), QStringLiteral("Systemowy"));

        choose(languages, QStringLiteral("es"));
        QCoreApplication::processEvents();
        QCOMPARE(window->windowTitle(), QStringLiteral("Ajustes"));
        QCOMPARE(languages->itemText(2), QStringLiteral("Polski"));
    }

    // A stored fraction is shown whole and left alone until the slider
    // moves; the sliders write whole numbers within their ranges.
    void slidersWriteWholeNumbers() {
        Preferences& prefs = Preferences::shared();
        prefs.setNumber(PreferenceKeys::editorFontSize, 14.9);
        open();
        EditorSettingsTab* tab = window->editorTab();
        QCOMPARE(tab->editorSizeLabel()->text(), QStringLiteral("14 pt"));
        QCOMPARE(prefs.storedNumber(PreferenceKeys::editorFontSize), 14.9);
        tab->editorSizeSlider()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(prefs.storedNumber(PreferenceKeys::editorFontSize), 15.0);
        tab->editorSizeSlider()->triggerAction(QAbstractSlider::SliderToMinimum);
        QCOMPARE(prefs.storedNumber(PreferenceKeys::editorFontSize), 10.0);
        QCOMPARE(tab->editorSizeLabel()->text(), QStringLiteral("10 pt"));
        tab->previewSizeSlider()->triggerAction(QAbstractSlider::SliderToMaximum);
        QCOMPARE(prefs.storedNumber(PreferenceKeys::previewFontSize), 24.0);

        // Values no slider stores show the default.
        QCOMPARE(PreferenceBinding::pointsText(1e300, 14), QStringLiteral("14 pt"));
        QCOMPARE(PreferenceBinding::pointsText(-1e300, 15), QStringLiteral("15 pt"));
    }

    // A card writes only its scheme's key; the windows follow the scheme in
    // force: a light card restyles a document window at once, a dark card
    // waits for the dark scheme.
    void themeCardsWriteTheirKeyAndWindowsRestyle() {
        WorkspaceWindow document;
        open();
        window->setCurrentTab(SettingsWindow::Appearance);
        AppearanceSettingsTab* tab = window->appearanceTab();
        const auto background = [&document] {
            return document.view->centralWidget()->palette().color(QPalette::Window);
        };

        QTest::mouseClick(tab->lightCards().at(1), Qt::LeftButton);
        QCOMPARE(Preferences::shared().lightThemeChoice(), QStringLiteral("porcelain"));
        QCOMPARE(selection(tab->lightCards()), (QList<bool>{false, true, false}));
        QCOMPARE(background(), DesignSystem::Colors::porcelain().background.toQColor());

        QTest::mouseClick(tab->darkCards().at(1), Qt::LeftButton);
        QCOMPARE(Preferences::shared().darkThemeChoice(), QStringLiteral("depth"));
        QCOMPARE(selection(tab->darkCards()), (QList<bool>{false, true, false}));
        QVERIFY(!Preferences::shared().contains(PreferenceKeys::appearancePreference));
        QCOMPARE(background(), DesignSystem::Colors::porcelain().background.toQColor());
        tab->schemePicker()->segment(QStringLiteral("dark"))->click();
        QCOMPARE(background(), DesignSystem::Colors::depth().background.toQColor());

        // A choice naming no light theme marks no light card.
        Preferences::shared().setString(PreferenceKeys::lightThemeChoice,
                                        QStringLiteral("sleekPro"));
        QCOMPARE(selection(tab->lightCards()), (QList<bool>{false, false, false}));
    }

    // Synced, one picker "Font" edits the light choice and the dark one is
    // kept unseen until the switch goes off again.
    void syncedFontsShowOnePicker() {
        open();
        AppearanceSettingsTab* tab = window->appearanceTab();
        window->setCurrentTab(SettingsWindow::Appearance);
        tab->syncFontsSwitch()->click();
        QVERIFY(Preferences::shared().syncFonts());
        QVERIFY(!tab->darkFontRow()->isVisibleTo(tab));
        QCOMPARE(tab->lightFontRow()->title()->text(), QStringLiteral("Font"));
        choose(tab->lightFontPicker(), QStringLiteral("mono"));
        QCOMPARE(Preferences::shared().lightFontChoice(), QStringLiteral("mono"));
        QVERIFY(!Preferences::shared().contains(PreferenceKeys::darkFontChoice));

        tab->syncFontsSwitch()->click();
        QVERIFY(tab->darkFontRow()->isVisibleTo(tab));
        QCOMPARE(tab->lightFontRow()->title()->text(), QStringLiteral("Light theme font"));
        QCOMPARE(tab->darkFontPicker()->currentText(), QStringLiteral("System"));
    }

    // The welcome window is asked for at once, the tour's first slide a
    // quarter second later, even when the settings window has gone by then
    // or the tour is already further on. Ending the tour turns the open
    // switch off.
    void showFeatureTourNow() {
        DocumentController controller;
        FeatureTourController& tour = FeatureTourController::shared();
        tour.present();
        tour.advance();
        Preferences::shared().setBoolean(PreferenceKeys::showFeatureTourOnLaunch, true);
        open(SettingsServices::standard(controller));
        QSignalSpy welcome(&AppNotifications::shared(), &AppNotifications::showWelcomeWindow);
        QSignalSpy shown(&tour, &FeatureTourController::currentIndexChanged);
        QElapsedTimer clock;
        clock.start();
        window->generalTab()->showTourButton()->click();
        QCOMPARE(welcome.count(), 1);
        // No timer fires here, so the window closes before the slide is due.
        TestSupport::processPendingEvents(QEventLoop::X11ExcludeTimers);
        QCOMPARE(shown.count(), 0);
        window->close();
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 10'000);
        // A timer never fires early, however busy the machine.
        QVERIFY(clock.elapsed() >= GeneralSettingsTab::tourDelayMs);
        QCOMPARE(tour.currentIndex(), 0);
        QVERIFY(tour.isPresented());

        QVERIFY(window->generalTab()->tourOnLaunchSwitch()->isChecked());
        tour.skip();
        QVERIFY(!window->generalTab()->tourOnLaunchSwitch()->isChecked());
    }

    // Clear & Quit: every document goes through its own Save prompt first.
    // Cancel there wipes nothing and keeps quon running; Don't Save closes
    // the window, wipes the data and quits, and nothing is written after.
    void clearAndQuit_data() {
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<SaveChangesChoice>("choice");
        QTest::addColumn<bool>("wiped");
        QTest::newRow("question cancelled") << false << SaveChangesChoice::DontSave << false;
        QTest::newRow("save prompt cancelled") << true << SaveChangesChoice::Cancel << false;
        QTest::newRow("don't save") << true << SaveChangesChoice::DontSave << true;
    }
    void clearAndQuit() {
        QFETCH(bool, confirmed);
        QFETCH(SaveChangesChoice, choice);
        QFETCH(bool, wiped);
        QTemporaryDir dir;
        const QString path =
            TestSupport::writeFile(dir, QStringLiteral("notes.md"), QByteArray("# Notes\n"));
        Documents documents;
        DocumentController& controller = documents.controller;
        QCOMPARE(controller.open(path), DocumentController::OpenResult::Opened);
        MarkdownDocument* document = controller.documents().first();
        document->setText(QStringLiteral("# Notes\n\nUnsaved words.\n"));
        auto* view = static_cast<WorkspaceView*>(controller.windowFor(document));
        view->setViewMode(ViewMode::Edit);
        RecentFilesStore::shared().record(QUrl::fromLocalFile(path));
        Preferences::shared().setString(PreferenceKeys::lightThemeChoice, QStringLiteral("sage"));
        // The only whole text of a save that broke off: named, and kept.
        const QString copy = qEnvironmentVariable("XDG_STATE_HOME") +
                             QStringLiteral("/quon/saves/0123456789abcdef/a.md.quon-0a0a0a.saved");
        QVERIFY(QDir().mkpath(QFileInfo(copy).path()));
        QFile whole(copy);
        QVERIFY(whole.open(QIODevice::WriteOnly) && whole.write("# Whole\n") == 8);
        whole.close();
        const QStringList before = storedKeys();
        QVERIFY(before.contains(QStringLiteral("recentMarkdownFiles")));
        QVERIFY(before.contains(QStringLiteral("lastViewMode")));

        SettingsServices services = SettingsServices::standard(controller);
        services.general.dialogs = &dialogs;
        open(std::move(services));
        QSignalSpy quits(&controller, &DocumentController::quitConfirmed);
        dialogs.clearAnswers = {confirmed};
        documents.dialogs.saveChoices = {choice};
        window->generalTab()->clearDataButton()->click();
        QCOMPARE(dialogs.clearQuestions, 1);
        QCOMPARE(dialogs.keptCopiesNamed, QStringList{copy});
        TestSupport::processPendingEvents();
        QCOMPARE(TestSupport::readFile(copy), QByteArray("# Whole\n"));
        QFile::remove(copy);

        QCOMPARE(documents.dialogs.saveQuestions.size(), confirmed ? 1 : 0);
        QCOMPARE(quits.count(), wiped ? 1 : 0);
        QCOMPARE(controller.documentCount(), wiped ? 0 : 1);
        QCOMPARE(QFileInfo::exists(Preferences::filePath()), !wiped);
        QCOMPARE(storedKeys(), wiped ? QStringList() : before);
        QCOMPARE(TestSupport::readFile(path), QByteArray("# Notes\n"));
    }

    // The real question: its buttons show their words, with no "&" taken for
    // a mnemonic, and a stray Return answers Cancel.
    void clearQuestionButtons() {
        QStringList texts;
        QTimer::singleShot(0, this, [&texts] {
            QWidget* box = QApplication::activeModalWidget();
            if (auto* message = qobject_cast<QMessageBox*>(box))
                for (QAbstractButton* button : message->buttons())
                    texts.append(button->text());
            if (box)
                QTest::keyClick(box, Qt::Key_Return);
        });
        QVERIFY(!SettingsDialogs::standard().confirmClearAppData(nullptr, {}));
        QStringList shown;
        for (QString text : std::as_const(texts)) {
            QVERIFY2(QKeySequence::mnemonic(text).isEmpty(), qPrintable(text));
            shown.append(text.replace(QLatin1String("&&"), QLatin1String("&")));
        }
        shown.sort();
        QCOMPARE(shown, QStringList({QStringLiteral("Cancel"), QStringLiteral("Clear & Quit")}));
    }

    // The real alert and question are titled with what they are about, not
    // just the application's name.
    void alertTitlesSayWhatFailed() {
        ModalAnswerer answerer;
        answerer.answer(QStringLiteral("OK"));
        answerer.answer(QStringLiteral("Cancel"));
        SettingsDialogs::standard().showDefaultAppError(nullptr, QStringLiteral("No handler."));
        QVERIFY(!SettingsDialogs::standard().confirmClearAppData(nullptr, {}));
        QCOMPARE(answerer.titles, (QStringList{QStringLiteral("Could Not Set Default App"),
                                               QStringLiteral("Clear App Data?")}));
    }

    // With QUON_SCREENSHOTS=DIR: every tab, light and dark.
    void screenshots() {
        const QString dir = TestSupport::screenshotFolder();
        if (dir.isEmpty())
            QSKIP("QUON_SCREENSHOTS not set");
        open();
        TestSupport::forEachAppearance([&](const QString& appearance) {
            for (int tab = SettingsWindow::General; tab <= SettingsWindow::Extensions; ++tab) {
                window->setCurrentTab(SettingsWindow::Tab(tab));
                QVERIFY(AnimationClock::finishAll());
                TestSupport::processPendingEvents();
                QVERIFY(TestSupport::saveShot(
                    window.get(), dir,
                    QStringLiteral("settings-%1-%2.png").arg(appearance).arg(tab)));
            }
        });
    }
};

QTEST_MAIN(TestSettingsWindow)
#include "tst_settingswindow.moc"

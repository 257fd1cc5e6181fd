#include "core/AppLanguageManager.h"
#include "core/FeatureTourController.h"
#include "core/Preferences.h"
#include "core/RecentFilesStore.h"
#include "platform/Symbols.h"
#include "shell/CommandPaletteActionsBuilder.h"
#include "shell/CommandPaletteView.h"
#include "shell/DocumentController.h"
#include "shell/SceneManager.h"
#include "shell/WindowCommands.h"
#include "support/FakeExportDesktop.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"
#include "support/WorkspaceWindow.h"
#include "tools/DocumentSearch.h"

#include <QAction>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList ids(const QList<CommandPaletteAction>& actions) {
    QStringList out;
    for (const CommandPaletteAction& a : actions)
        out.append(a.id);
    return out;
}

const CommandPaletteAction& find(const QList<CommandPaletteAction>& actions, const char* id) {
    for (const CommandPaletteAction& a : actions)
        if (a.id == QLatin1String(id))
            return a;
    qFatal("no action %s", id);
}

QList<RecentFile> someRecentFiles(int count) {
    QList<RecentFile> files;
    for (int i = 0; i < count; ++i)
        files.append({QUrl::fromLocalFile(QStringLiteral("/docs/f%1/file%1.md").arg(i)), {}});
    return files;
}

// Counts what the window asks of the document controller and the application.
struct Requests {
    int saveAs = 0, duplicate = 0, newDocument = 0, openDocument = 0, settings = 0;

    std::function<void(WorkspaceServices&)> into() {
        return [this](WorkspaceServices& s) {
            s.saveDocumentAs = [this] { ++saveAs; };
            s.duplicateDocument = [this] { ++duplicate; };
            s.application.newDocument = [this] { ++newDocument; };
            s.application.openDocument = [this] { ++openDocument; };
            s.application.showSettings = [this] { ++settings; };
        };
    }
};

const QStringList fixedIds{
    "mode.edit",       "mode.split",       "mode.preview",    "focus.toggle", "find.toggle",
    "slash.hint",      "doc.saveAs",       "doc.duplicate",   "export.pdf",   "export.html",
    "export.markdown", "export.plainText", "export.copyHTML", "nav.home",     "nav.new",
    "nav.open",        "nav.settings",     "nav.featureTour"};

} // namespace

class TestCommandPaletteActions : public QObject {
    Q_OBJECT

    DocumentController& controller = DocumentController::shared();

private Q_SLOTS:
    void initTestCase() { new SceneManager(controller, this); }
    void init() {
        TestSupport::resetPreferences();
        RecentFilesStore::shared().clear();
    }

    // The fixed rows of an untitled window, in order; the hints are the
    // window's own shortcuts, as written on this platform.
    void fixedRowsOfAnUntitledWindow() {
        WorkspaceWindow w;
        const QList<CommandPaletteAction> list = w.view->commandPaletteActions();
        QCOMPARE(ids(list), fixedIds);
        QStringList titles, subtitles, hints;
        for (const CommandPaletteAction& a : list) {
            titles.append(a.title);
            subtitles.append(a.subtitle.value_or(QStringLiteral("-")));
            hints.append(a.shortcutHint.value_or(QStringLiteral("-")));
            QVERIFY2(Symbols::isKnown(a.systemImage), qPrintable(a.systemImage));
            QVERIFY(Symbols::sourceFile(a.systemImage) != QStringLiteral(":/symbols/fallback.svg"));
            QVERIFY(a.perform);
        }
        QCOMPARE(titles, (QStringList{"Edit", "Split", "Preview", "Enter Focus Mode",
                                      "Find in Document", "Slash Commands", "Save As…", "Duplicate",
                                      "Export as PDF…", "Export as HTML…", "Save Markdown Copy…",
                                      "Export as Plain Text…", "Copy as HTML", "Home",
                                      "New Document", "Open…", "Settings", "Show Feature Tour"}));
        QCOMPARE(subtitles,
                 (QStringList{"Switch to Edit mode", "Switch to Split mode",
                              "Switch to Preview mode", "-", "Search in the current document",
                              "Type / in the editor for Markdown blocks", "-", "-", "-", "-", "-",
                              "-", "-", "Show Welcome window", "-", "-", "-",
                              "Replay the welcome guided tour"}));
        QCOMPARE(hints, (QStringList{"Ctrl+1", "Ctrl+2", "Ctrl+3", "Ctrl+Shift+.", "Ctrl+F", "-",
                                     "Ctrl+Shift+S", "Ctrl+Shift+D", "-", "-", "-", "-", "-", "-",
                                     "Ctrl+N", "Ctrl+O", "-", "-"}));
        // Read from the shared commands, not written down twice.
        w.commands().modeEdit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_E));
        QCOMPARE(w.view->commandPaletteActions().first().shortcutHint, QStringLiteral("Alt+E"));
    }

    // The focus and find rows say what they will do; a palette left open
    // follows the window.
    void titlesFollowTheWindow() {
        WorkspaceWindow w;
        w.view->setFocusMode(true);
        w.view->openFindBar();
        QList<CommandPaletteAction> list = w.view->commandPaletteActions();
        QCOMPARE(list[3].title, QStringLiteral("Exit Focus Mode"));
        QCOMPARE(list[4].title, QStringLiteral("Close Find Bar"));

        w.view->closeFindBar();
        w.view->setCommandPaletteOpen(true);
        CommandPaletteView* palette = w.view->commandPalette();
        QCOMPARE(palette->filteredActions()[3].title, QStringLiteral("Exit Focus Mode"));
        w.commands().focusMode->trigger();
        QCOMPARE(palette->filteredActions()[3].title, QStringLiteral("Enter Focus Mode"));
        QCOMPARE(palette->filteredActions()[4].title, QStringLiteral("Find in Document"));
        RecentFilesStore::shared().record(QUrl::fromLocalFile(QStringLiteral("/docs/new.md")));
        QCOMPARE(palette->filteredActions().last().title, QStringLiteral("new"));
        AppLanguageManager::apply(AppLanguage::Polish);
        QTRY_COMPARE(palette->filteredActions().first().title, QStringLiteral("Edycja"));
        QCOMPARE(palette->field()->placeholderText(), QStringLiteral("Wpisz polecenie…"));
        AppLanguageManager::apply(AppLanguage::English);
        QTRY_COMPARE(palette->filteredActions().first().title, QStringLiteral("Edit"));
    }

    // Of the first six recent files, all but the window's own.
    void recentFiles_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("own"); // index among the recent files; -1: none, -2: untitled
        QTest::addColumn<QList<int>>("listed");
        QTest::newRow("none") << 0 << -2 << QList<int>{};
        QTest::newRow("three, untitled") << 3 << -2 << QList<int>{0, 1, 2};
        QTest::newRow("three, own not among them") << 3 << -1 << QList<int>{0, 1, 2};
        QTest::newRow("eight, untitled") << 8 << -2 << QList<int>{0, 1, 2, 3, 4, 5};
        QTest::newRow("eight, own third") << 8 << 2 << QList<int>{0, 1, 3, 4, 5};
        QTest::newRow("eight, own first") << 8 << 0 << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("eight, own eighth") << 8 << 7 << QList<int>{0, 1, 2, 3, 4, 5};
    }
    void recentFiles() {
        QFETCH(int, count);
        QFETCH(int, own);
        QFETCH(QList<int>, listed);
        const QList<RecentFile> files = someRecentFiles(count);
        QUrl ownUrl;
        if (own == -1)
            ownUrl = QUrl::fromLocalFile(QStringLiteral("/elsewhere/own.md"));
        else if (own >= 0) // written as the window may hold it, with a "." in it
            ownUrl = QUrl::fromLocalFile(files[own].url.toLocalFile().replace(
                QStringLiteral("/docs/"), QStringLiteral("/docs/./")));
        const QList<CommandPaletteAction> rows =
            CommandPaletteActionsBuilder::recentFileActions(files, ownUrl);
        QStringList expected;
        for (int i : listed)
            expected.append(QStringLiteral("recent.file:///docs/f%1/file%1.md").arg(i));
        QCOMPARE(ids(rows), expected);
    }

    // The file's name without its last extension, its folder, the clock.
    void recentFileRows() {
        const QList<RecentFile> files{
            {QUrl::fromLocalFile(QStringLiteral("/a/b c/archive.tar.md")), {}},
            {QUrl::fromLocalFile(QStringLiteral("/x/notes.md")), {}},
            {QUrl::fromLocalFile(QStringLiteral("/y/notes.md")), {}},
            {QUrl::fromLocalFile(QStringLiteral("/z/README")), {}},
        };
        const QList<CommandPaletteAction> rows =
            CommandPaletteActionsBuilder::recentFileActions(files, {});
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows[0].id, QStringLiteral("recent.file:///a/b%20c/archive.tar.md"));
        QCOMPARE(rows[0].title, QStringLiteral("archive.tar"));
        QCOMPARE(rows[0].subtitle, QStringLiteral("/a/b c"));
        QCOMPARE(rows[0].systemImage, QStringLiteral("clock"));
        QVERIFY(!rows[0].shortcutHint);
        QCOMPARE(rows[1].title, rows[2].title);
        QCOMPARE(rows[1].subtitle, QStringLiteral("/x"));
        QCOMPARE(rows[2].subtitle, QStringLiteral("/y"));
        QVERIFY(rows[1].id != rows[2].id);
        QCOMPARE(rows[3].title, QStringLiteral("README"));
    }

    // A window with a file offers to reveal it, then the other recent files;
    // a recent row opens its file.
    void aWindowWithAFile() {
        QTemporaryDir dir;
        const QString own = TestSupport::writeFile(dir, QStringLiteral("own.md"), "own\n");
        const QString other = TestSupport::writeFile(dir, QStringLiteral("other.md"), "other\n");
        RecentFilesStore::shared().record(QUrl::fromLocalFile(other));
        WorkspaceWindow w(MarkdownDocument::open(own, nullptr));
        const QList<CommandPaletteAction> list = w.view->commandPaletteActions();
        QCOMPARE(ids(list.mid(0, 18)), fixedIds);
        QCOMPARE(list.size(), 20);
        QCOMPARE(list[18].id, QStringLiteral("doc.reveal"));
        QCOMPARE(list[18].title, QStringLiteral("Reveal in Files"));
        QCOMPARE(list[18].systemImage, QStringLiteral("folder"));
        QCOMPARE(list[19].title, QStringLiteral("other"));

        auto* dialogs = &ScriptedDialogs::install();
        list[19].perform();
        QCOMPARE(ScriptedDialogs::openFileNames(controller), QStringList{"other.md"});
        dialogs->discardAll(controller);
    }

    // Each fixed row does what it says, in a real window.
    void everyFixedRowDoesWhatItSays() {
        Requests requests;
        WorkspaceWindow w(std::make_unique<MarkdownDocument>(), {}, requests.into());
        w.document->setText(QStringLiteral("a cat, a cat\n"));
        const auto run = [&](const char* id) {
            find(w.view->commandPaletteActions(), id).perform();
        };

        run("mode.preview");
        QCOMPARE(w.view->viewMode(), ViewMode::Preview);
        run("mode.edit");
        QCOMPARE(w.view->viewMode(), ViewMode::Edit);
        run("mode.split");
        QCOMPARE(w.view->viewMode(), ViewMode::Split);
        QCOMPARE(Preferences::shared().lastViewMode(), QStringLiteral("Split"));

        run("focus.toggle");
        QVERIFY(w.view->isFocusMode());
        run("focus.toggle");
        QVERIFY(!w.view->isFocusMode());

        run("find.toggle");
        QVERIFY(w.view->isFindBarPresented());
        w.view->search().setQuery(QStringLiteral("cat"));
        QCOMPARE(w.view->search().state().matches.size(), 2);
        run("find.toggle");
        QVERIFY(!w.view->isFindBarPresented());
        QVERIFY(w.view->search().state().query.isEmpty());
        QVERIFY(w.view->search().state().matches.isEmpty());
        QCOMPARE(w.view->search().state().currentIndex, 0);

        Preferences::shared().setBoolean(PreferenceKeys::slashCommandsHintDismissed, true);
        QVERIFY(!w.view->showsSlashCommandsHint());
        run("slash.hint");
        QVERIFY(!Preferences::shared().slashCommandsHintDismissed());
        QVERIFY(w.view->showsSlashCommandsHint());

        run("doc.saveAs");
        run("doc.duplicate");
        QCOMPARE(requests.saveAs, 1);
        QCOMPARE(requests.duplicate, 1);

        FakeExportDesktop desktop;
        for (const char* id : {"export.html", "export.markdown", "export.plainText", "export.pdf"})
            run(id);
        QTRY_COMPARE(desktop.requests.size(), 4);
        QStringList proposed;
        for (const ExportSaveRequest& request : desktop.requests)
            proposed.append(request.fileName);
        QCOMPARE(proposed,
                 (QStringList{"Untitled.html", "Untitled.md", "Untitled.txt", "Untitled.pdf"}));
        run("export.copyHTML");
        QVERIFY(desktop.clipboard && desktop.clipboard->hasHtml());
        QCOMPARE(desktop.clipboard->text(), QStringLiteral("a cat, a cat\n"));

        run("nav.home");
        QCOMPARE(w.welcomes, 1);
        const int dismissals = w.dismissals;
        run("nav.new");
        QCOMPARE(requests.newDocument, 1);
        QCOMPARE(w.dismissals, dismissals + 1);
        run("nav.open");
        QCOMPARE(requests.openDocument, 1);
        QCOMPARE(w.dismissals, dismissals + 2);
        run("nav.settings");
        QCOMPARE(requests.settings, 1);

        FeatureTourController& tour = FeatureTourController::shared();
        QVERIFY(!tour.isPresented());
        run("nav.featureTour");
        QVERIFY(tour.isPresented());
        tour.skip();
    }

    // The slash menu would float over the palette: opening it closes the menu.
    void openingClosesTheSlashMenu() {
        WorkspaceWindow w;
        w.view->setCommandPaletteOpen(true);
        QCOMPARE(w.panes->slashMenuClosings, 1);
    }
};

QTEST_MAIN(TestCommandPaletteActions)
#include "tst_commandpaletteactions.moc"

#include "core/AppLanguageManager.h"
#include "core/FeatureTourController.h"
#include "core/L10n.h"
#include "core/Preferences.h"
#include "core/RecentFilesStore.h"
#include "platform/Symbols.h"
#include "shell/CommandPalette.h"
#include "shell/CommandPaletteActionsBuilder.h"
#include "shell/CommandPaletteView.h"
#include "shell/DocumentController.h"
#include "shell/SceneManager.h"
#include "shell/WindowCommands.h"
#include "support/FakeExportDesktop.h"
#include "support/ScriptedDialogs.h"
#include "support/TestSupport.h"
#include "support/WorkspaceWindow.h"

#include <QAction>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList column(const QList<CommandPaletteAction>& actions,
                   const std::function<QString(const CommandPaletteAction&)>& field) {
    QStringList out;
    for (const CommandPaletteAction& a : actions)
        out.append(field(a));
    return out;
}

QStringList ids(const QList<CommandPaletteAction>& actions) {
    return column(actions, [](const CommandPaletteAction& a) { return a.id; });
}

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

    // The fixed rows of an untitled window; the hints are the shortcuts of
    // the window's own commands, as this platform writes them.
    void fixedRows() {
        WorkspaceWindow w;
        const QList<CommandPaletteAction> list = w.view->commandPaletteActions();
        QCOMPARE(ids(list), fixedIds);
        QCOMPARE(list[3].shortcutHint, QStringLiteral("Ctrl+Shift+."));
        QCOMPARE(list[5].shortcutHint, std::nullopt);
        for (const CommandPaletteAction& a : list)
            QVERIFY2(Symbols::sourceFile(a.systemImage) != ":/symbols/fallback.svg",
                     qPrintable(a.systemImage));
        w.commands().modeEdit->setShortcut(QKeySequence(Qt::ALT | Qt::Key_E));
        QCOMPARE(w.view->commandPaletteActions().first().shortcutHint, QStringLiteral("Alt+E"));
    }

    // The focus and find rows say what they will do, and an open palette
    // follows the window, its recent files and its language. Opening it
    // closes the editor's popovers, which would float over it.
    void rowsFollowTheWindow() {
        WorkspaceWindow w;
        w.view->openFindBar();
        QCOMPARE(w.view->commandPaletteActions()[4].title, QStringLiteral("Close Find Bar"));
        w.view->closeFindBar();
        w.view->setCommandPaletteOpen(true);
        QCOMPARE(w.panes->popoverClosings, 1);
        CommandPaletteView* palette = w.view->commandPalette();
        w.commands().focusMode->trigger();
        QCOMPARE(palette->filteredActions()[3].title, QStringLiteral("Exit Focus Mode"));
        RecentFilesStore::shared().record(QUrl::fromLocalFile(QStringLiteral("/docs/new.md")));
        QCOMPARE(palette->filteredActions().last().title, QStringLiteral("new"));
        AppLanguageManager::apply(AppLanguage::Polish);
        QTRY_COMPARE(palette->filteredActions().first().title, QStringLiteral("Edycja"));
        QCOMPARE(palette->field()->placeholderText(), QStringLiteral("Wpisz polecenie…"));
        AppLanguageManager::apply(AppLanguage::English);
        QTRY_COMPARE(palette->filteredActions().first().title, QStringLiteral("Edit"));
    }

    // The tour goes by one name in each language: the word the settings use
    // finds the palette's tour row.
    void theTourHasOneNamePerLanguage_data() {
        QTest::addColumn<AppLanguage>("language");
        QTest::addColumn<QString>("word");
        QTest::newRow("en") << AppLanguage::English << QStringLiteral("tour");
        QTest::newRow("pl") << AppLanguage::Polish << QStringLiteral("przewodnik");
        QTest::newRow("es") << AppLanguage::Spanish << QStringLiteral("recorrido");
    }
    void theTourHasOneNamePerLanguage() {
        QFETCH(AppLanguage, language);
        QFETCH(QString, word);
        AppLanguageManager::apply(language);
        for (const char* setting : {"Show feature tour now", "Show feature tour on launch"})
            QVERIFY2(L10n::tr(setting).contains(word, Qt::CaseInsensitive), setting);
        WorkspaceWindow w;
        const QList<CommandPaletteAction> found =
            CommandPalette::filtered(w.view->commandPaletteActions(), word);
        AppLanguageManager::apply(AppLanguage::English);
        QVERIFY(ids(found).contains(QStringLiteral("nav.featureTour")));
    }

    // Of the first six recent files, all but the window's own.
    void recentFiles_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("own"); // its place among them; -1 elsewhere, -2 untitled
        QTest::addColumn<QList<int>>("listed");
        QTest::newRow("none") << 0 << -2 << QList<int>{};
        QTest::newRow("three, own elsewhere") << 3 << -1 << QList<int>{0, 1, 2};
        QTest::newRow("eight, untitled") << 8 << -2 << QList<int>{0, 1, 2, 3, 4, 5};
        QTest::newRow("eight, own third") << 8 << 2 << QList<int>{0, 1, 3, 4, 5};
        QTest::newRow("eight, own eighth") << 8 << 7 << QList<int>{0, 1, 2, 3, 4, 5};
    }
    void recentFiles() {
        QFETCH(int, count);
        QFETCH(int, own);
        QFETCH(QList<int>, listed);
        const auto path = [](int i) { return QStringLiteral("/docs/f%1/file%1.md").arg(i); };
        QList<RecentFile> files;
        for (int i = 0; i < count; ++i)
            files.append({QUrl::fromLocalFile(path(i)), {}});
        // The window's own file as it may hold it, not standardised.
        const QUrl ownUrl = own == -2   ? QUrl()
                            : own == -1 ? QUrl::fromLocalFile("/elsewhere/own.md")
                                        : QUrl::fromLocalFile("/docs/./" + path(own).mid(6));
        QStringList expected;
        for (int i : listed)
            expected.append("recent.file://" + path(i));
        QCOMPARE(ids(CommandPaletteActionsBuilder::recentFileActions(files, ownUrl)), expected);
    }

    // Reveal for a window with a file, then the recent files: the name
    // without its last extension, the folder, the clock; a row opens its file.
    void aWindowWithAFile() {
        QTemporaryDir dir;
        const QString own = TestSupport::writeFile(dir, QStringLiteral("own.md"), "own\n");
        const QString other = TestSupport::writeFile(dir, QStringLiteral("a.tar.md"), "a\n");
        RecentFilesStore::shared().record(QUrl::fromLocalFile(other));
        WorkspaceWindow w(MarkdownDocument::open(own, nullptr));
        const QList<CommandPaletteAction> list = w.view->commandPaletteActions();
        QCOMPARE(ids(list.mid(18)), (QStringList{"doc.reveal", "recent.file://" + other}));
        QCOMPARE(list[19].title, QStringLiteral("a.tar"));
        QCOMPARE(list[19].subtitle, dir.path());
        // Found by its full name as well as by the name shown.
        for (const char* query : {"a.tar.md", "A.TAR", "tar.md"})
            QCOMPARE(ids(CommandPalette::filtered(list, QString::fromUtf8(query))),
                     QStringList{"recent.file://" + other});
        auto* dialogs = &ScriptedDialogs::install();
        list[19].perform();
        QCOMPARE(ScriptedDialogs::openFileNames(controller), QStringList{"a.tar.md"});
        dialogs->discardAll(controller);
    }

    // Each fixed row does what it says, in a real window: it triggers the
    // window's own command, or does its own deed.
    void everyFixedRowDoesWhatItSays() {
        WorkspaceWindow w(std::make_unique<MarkdownDocument>(), {}, [](WorkspaceServices& s) {
            s.saveDocumentAs = s.duplicateDocument = [] {};
            s.application.newDocument = s.application.openDocument = [] {};
            s.application.showSettings = [] {};
        });
        const WindowCommands& c = w.commands();
        const auto run = [&](const char* id) {
            w.view->commandPaletteActions()[fixedIds.indexOf(id)].perform();
        };
        FakeExportDesktop desktop; // cancels
        const int dismissals = w.dismissals;
        // The command of each row of fixedIds; none for the rows that do their own.
        const QList<QAction*> commands(
            {c.modeEdit, c.modeSplit, c.modePreview, c.focusMode, c.find, nullptr, c.saveAs,
             c.duplicate, c.exportPDF, c.exportHTML, c.exportMarkdownCopy, c.exportPlainText,
             c.copyHTML, nullptr, c.newDocument, c.openDocument, c.settings, nullptr});
        for (qsizetype row = 0; row < fixedIds.size(); ++row) {
            if (!commands[row])
                continue;
            QSignalSpy triggered(commands[row], &QAction::triggered);
            w.view->commandPaletteActions()[row].perform();
            QVERIFY2(triggered.size() == 1, qPrintable(fixedIds[row]));
        }
        QTRY_COMPARE(desktop.requests.size(), 4);
        QCOMPARE(w.dismissals, dismissals + 2); // before New and Open

        Preferences::shared().setBoolean(PreferenceKeys::slashCommandsHintDismissed, true);
        run("slash.hint");
        QVERIFY(!Preferences::shared().slashCommandsHintDismissed());
        run("nav.home");
        QCOMPARE(w.welcomes, 1);
        run("nav.featureTour");
        QVERIFY(FeatureTourController::shared().isPresented());
        FeatureTourController::shared().skip();
    }
};

QTEST_MAIN(TestCommandPaletteActions)
#include "tst_commandpaletteactions.moc"

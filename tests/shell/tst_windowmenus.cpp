#include "core/AppearanceService.h"
#include "core/Preferences.h"
#include "core/RecentFilesStore.h"
#include "preview/SelectableTextView.h"
#include "shell/OpenRecentMenu.h"
#include "shell/WindowCommands.h"
#include "shell/WindowMenuBar.h"
#include "support/TestSupport.h"
#include "windows/AboutWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

namespace {

// A window with the standard menus over some widgets (and a button to leave them for).
struct MenuWindow {
    QMainWindow window;
    QPushButton* elsewhere = nullptr;
    WindowCommands* commands = nullptr;
    WindowMenuBar* menus = nullptr;

    explicit MenuWindow(const QList<QWidget*>& content, ApplicationCommands app = {}) {
        auto* central = new QWidget(&window);
        auto* column = new QVBoxLayout(central);
        for (QWidget* widget : content)
            column->addWidget(widget);
        elsewhere = new QPushButton(QStringLiteral("Elsewhere"), central);
        column->addWidget(elsewhere);
        window.setCentralWidget(central);
        commands = new WindowCommands(&window, FocusedValues{}, std::move(app));
        menus = new WindowMenuBar(*commands, &window);
        window.setMenuBar(menus);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }

    QStringList enabledEditCommands() const {
        QStringList enabled;
        for (QAction* a : {commands->undo, commands->redo, commands->cut, commands->copy,
                           commands->paste, commands->selectAll})
            if (a->isEnabled())
                enabled.append(a->text());
        return enabled;
    }
};

// Selects everything the way the user would (a field loses its selection with focus).
void selectAll(QWidget* widget) {
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget))
        edit->selectAll();
    else if (auto* line = qobject_cast<QLineEdit*>(widget))
        line->selectAll();
    else if (auto* view = qobject_cast<SelectableTextView*>(widget))
        view->selectAll();
}

RecentFile recent(const QString& path) {
    return {QUrl::fromLocalFile(path), {}};
}

QStringList texts(const QList<QAction*>& actions) {
    QStringList out;
    for (QAction* a : actions)
        out.append(a->text());
    return out;
}

// The lightest pixel of a rectangle of an image.
int lightest(const QImage& image, const QRect& rect) {
    int most = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            most = qMax(most, QColor(image.pixel(x, y)).lightness());
    return most;
}

} // namespace

class TestWindowMenus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        TestSupport::resetPreferences();
        RecentFilesStore::shared().clear();
        QApplication::clipboard()->clear();
    }

    // Each command is enabled exactly when it can act on the focused widget:
    // everything is selected and the clipboard holds text.
    void enabledAsTheFocusedWidgetAllows() {
        QApplication::clipboard()->setText(QStringLiteral("clip"));
        auto* editor = new QPlainTextEdit(QStringLiteral("some text"));
        auto* empty = new QPlainTextEdit;
        auto* readOnly = new QPlainTextEdit(QStringLiteral("text"));
        readOnly->setReadOnly(true);
        auto* field = new QLineEdit(QStringLiteral("query"));
        auto* readOnlyField = new QLineEdit(QStringLiteral("query"));
        readOnlyField->setReadOnly(true);
        auto* password = new QLineEdit(QStringLiteral("secret"));
        password->setEchoMode(QLineEdit::Password);
        auto* preview = new SelectableTextView;
        preview->setContent({QStringLiteral("Rendered paragraph"), {}}, QFont(), Qt::black, 0,
                            true);
        preview->setFocusPolicy(Qt::ClickFocus);
        MenuWindow w({editor, empty, readOnly, field, readOnlyField, password, preview});
        w.elsewhere->setFocus();
        QCOMPARE(w.enabledEditCommands(), QStringList{});
        const QStringList all{"Cut", "Copy", "Paste", "Select All"}, reading{"Copy", "Select All"};
        const QList<QPair<QWidget*, QStringList>> cases{
            {editor, all},     {empty, {"Paste"}},       {readOnly, reading},
            {field, all},      {readOnlyField, reading}, {password, {"Paste", "Select All"}},
            {preview, reading}};
        for (const auto& [widget, enabled] : cases) {
            widget->setFocus();
            selectAll(widget);
            // As the user sees them: the preview's text announces no selection.
            Q_EMIT w.menus->editMenu()->aboutToShow();
            QVERIFY2(w.enabledEditCommands() == enabled,
                     qPrintable(w.enabledEditCommands().join(", ")));
        }
    }

    // The commands act where the focus is, follow edits, the clipboard and
    // focus moves, and never reach into another window.
    void commandsActOnTheFocusedWidget() {
        auto* editor = new QPlainTextEdit;
        auto* field = new QLineEdit;
        MenuWindow w({editor, field});
        MenuWindow other({new QLineEdit});
        w.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        editor->setFocus();
        QTest::keyClicks(editor, QStringLiteral("draft"));
        QCOMPARE(w.enabledEditCommands(), (QStringList{"Undo", "Select All"}));

        QTest::keyClick(&w.window, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(editor->textCursor().selectedText(), QStringLiteral("draft"));
        w.commands->copy->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("draft"));
        QVERIFY(w.commands->paste->isEnabled());

        other.commands->paste->trigger(); // another window's focus, not this one's
        QCOMPARE(editor->toPlainText(), QStringLiteral("draft"));

        field->setFocus();
        QCOMPARE(w.enabledEditCommands(), QStringList{"Paste"});
        w.commands->paste->trigger();
        QCOMPARE(field->text(), QStringLiteral("draft"));
        QCOMPARE(editor->toPlainText(), QStringLiteral("draft"));
        w.commands->undo->trigger();
        QCOMPARE(field->text(), QString());
        QVERIFY(w.commands->redo->isEnabled());

        editor->setFocus();
        w.commands->cut->trigger();
        QCOMPARE(editor->toPlainText(), QString());
        QCOMPARE(w.enabledEditCommands(), (QStringList{"Undo", "Paste"}));
    }

    void openRecentFollowsTheStore() {
        QList<QUrl> opened;
        ApplicationCommands app;
        app.openRecentFile = [&](const QUrl& url) { opened.append(url); };
        MenuWindow w({new QPlainTextEdit}, app);
        MenuWindow without({new QPlainTextEdit});
        QVERIFY(!without.menus->openRecentMenu());
        QMenu* menu = w.menus->openRecentMenu();
        QVERIFY(menu);
        QCOMPARE(texts(menu->actions()), QStringList{"Clear Menu"});
        QVERIFY(!w.commands->clearRecentFiles->isEnabled());

        RecentFilesStore& store = RecentFilesStore::shared();
        store.record(QUrl::fromLocalFile(QStringLiteral("/tmp/older.md")));
        store.record(QUrl::fromLocalFile(QStringLiteral("/tmp/newer.md")));
        QCOMPARE(texts(menu->actions()), (QStringList{"newer.md", "older.md", "", "Clear Menu"}));
        QVERIFY(w.commands->clearRecentFiles->isEnabled());

        // Opened from the event loop, not inside the menu.
        menu->actions().at(1)->trigger();
        QVERIFY(opened.isEmpty());
        QTRY_COMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/older.md"))});

        w.commands->clearRecentFiles->trigger();
        QVERIFY(store.files().isEmpty());
        QCOMPARE(texts(menu->actions()), QStringList{"Clear Menu"});
        QVERIFY(!w.commands->clearRecentFiles->isEnabled());
    }

    void recentEntryTitles_data() {
        QTest::addColumn<QList<RecentFile>>("files");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("names") << QList<RecentFile>{recent("/a/notes.md"), recent("/b/todo.mkd")}
                               << QStringList{"notes.md", "todo.mkd"};
        QTest::newRow("same name, folders tell apart")
            << QList<RecentFile>{recent("/a/Work/notes.md"), recent("/a/Home/notes.md"),
                                 recent("/a/plan.md")}
            << QStringList{"notes.md — Work", "notes.md — Home", "plan.md"};
        QTest::newRow("ampersand is no mnemonic")
            << QList<RecentFile>{recent("/a/R&D notes.md")} << QStringList{"R&&D notes.md"};
        const QString longName = QStringLiteral("Quarterly ") + QString(300, 'n') + ".md";
        QTest::newRow("long name loses its middle")
            << QList<RecentFile>{recent("/a/" + longName)}
            << QStringList{QStringLiteral("Quarterly ") + QString(19, 'n') + QChar(0x2026) +
                           QString(27, 'n') + ".md"};
        // Both cuts fall inside an emoji: it goes whole.
        const QString emoji = QStringLiteral("\U0001F600");
        QTest::newRow("no half emoji")
            << QList<RecentFile>{recent("/a/" + QString(28, 'a') + emoji + QString(100, 'b') +
                                        emoji + QString(29, 'c'))}
            << QStringList{QString(28, 'a') + QChar(0x2026) + QString(29, 'c')};
    }
    void recentEntryTitles() {
        QFETCH(QList<RecentFile>, files);
        QFETCH(QStringList, titles);
        QCOMPARE(OpenRecentMenu::entryTitles(files), titles);
    }

    // The about window has every window's menus: New, Open, Quit and the
    // welcome window (its own opener where it gives one) work from it by
    // their keys; what needs a document is disabled.
    void aboutWindowCarriesTheMenus() {
        int created = 0, opened = 0, quits = 0, welcomes = 0, ownOpener = 0;
        ApplicationCommands app;
        app.newDocument = [&] { ++created; };
        app.openDocument = [&] { ++opened; };
        app.quit = [&] { ++quits; };
        app.showWelcomeWindow = [&] { ++welcomes; };
        AboutWindow about(app);
        about.show();
        about.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QTest::keyClick(&about, Qt::Key_N, Qt::ControlModifier);
        QTest::keyClick(&about, Qt::Key_O, Qt::ControlModifier);
        QTest::keyClick(&about, Qt::Key_Q, Qt::ControlModifier);
        QTest::keyClick(&about, Qt::Key_1, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(created, 1);
        QCOMPARE(opened, 1);
        QTRY_COMPARE(quits, 1);
        QCOMPARE(welcomes, 1);
        WindowCommands& c = about.commands();
        FocusedValues welcome;
        welcome.openWelcomeWindow = [&] { ++ownOpener; };
        c.setValues(welcome);
        c.welcomeWindow->trigger();
        QCOMPARE(ownOpener, 1);
        QCOMPARE(welcomes, 1);
        for (QAction* a :
             {c.find, c.modeEdit, c.modeSplit, c.modePreview, c.commandPalette, c.focusMode, c.save,
              c.saveAs, c.duplicate, c.exportPDF, c.exportHTML, c.exportMarkdownCopy,
              c.exportPlainText, c.copyHTML, c.reveal, c.undo, c.paste})
            QVERIFY2(!a->isEnabled(), qPrintable(a->text()));
    }

    // A disabled item of a dark theme is drawn muted, not lighter than its
    // text colour (a light etch under it made it look enabled).
    void disabledItemsLookDisabledInDarkThemes() {
        Preferences::shared().setString(PreferenceKeys::appearancePreference,
                                        QStringLiteral("dark"));
        const DesignSystem::Colors& colors = AppearanceService::shared().designSystem().colors;
        QVERIFY(QColor(colors.background).lightness() < 80);
        QMenu menu;
        menu.addAction(QStringLiteral("Enabled Item"));
        QAction* disabled = menu.addAction(QStringLiteral("Disabled Item"));
        disabled->setEnabled(false);
        menu.popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        const QImage image = menu.grab().toImage();
        const int muted = QColor(colors.mutedText).lightness();
        QVERIFY(lightest(image, menu.actionGeometry(disabled)) <= muted + 4);
        QVERIFY(lightest(image, menu.actionGeometry(menu.actions().first())) > muted + 40);
        menu.close();
    }
};

QTEST_MAIN(TestWindowMenus)
#include "tst_windowmenus.moc"

#include "core/DesignSystem.h"
#include "editor/EditorContextMenuBuilder.h"
#include "editor/MarkdownTextView.h"
#include "support/EditorFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace EditorFixture;

namespace {

std::unique_ptr<QMenu> menuFor(MarkdownTextView& view, const char* state) {
    setMarked(view, u8(state));
    return std::unique_ptr<QMenu>(EditorContextMenuBuilder::makeMenu(&view));
}

QAction* item(const QMenu* menu, const char* title) {
    for (QAction* action : menu->actions())
        if (action->text() == u8(title))
            return action;
    return nullptr;
}

// The titles of a menu's rows ("-" for a separator); with `which`, only the
// rows it holds for, submenus included.
QStringList titles(const QMenu* menu, const std::function<bool(const QAction*)>& which = {}) {
    QStringList out;
    for (const QAction* action : menu->actions()) {
        if (!which || which(action))
            out << (action->isSeparator() ? QStringLiteral("-") : action->text());
        if (which && action->menu())
            out << titles(action->menu(), which);
    }
    return out;
}

bool isChecked(const QAction* action) {
    return action->isCheckable() && action->isChecked();
}

EditorTheme theme(const DesignSystem::Colors& colors) {
    return EditorTheme::from(DesignSystem::make(colors, FontDesign::Serif, false));
}

} // namespace

class TestEditorContextMenu : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rowsInOrderWithSymbolsAndKeys() {
        MarkdownTextView view;
        const auto menu = menuFor(view, "text‸");
        QStringList keys;
        for (const QAction* action : menu->actions())
            keys << action->shortcut().toString(QKeySequence::PortableText);
        QCOMPARE(titles(menu.get()),
                 QStringList({"Cut", "Copy", "Paste", "-", "Bold", "Italic", "Strikethrough",
                              "Code", "Link", "-", "Heading", "List", "Blockquote", "Code Block",
                              "Divider", "-", "Find in Document", "Select All"}));
        QCOMPARE(keys, QStringList({"Ctrl+X", "Ctrl+C", "Ctrl+V", "", "Ctrl+B", "Ctrl+I", "", "",
                                    "Ctrl+K", "", "", "", "", "", "", "", "Ctrl+F", "Ctrl+A"}));
        QCOMPARE(titles(item(menu.get(), "List")->menu()),
                 QStringList({"Bulleted List", "Numbered List", "Task List"}));
        // Normal Text is offered only on a heading.
        QCOMPARE(item(menu.get(), "Heading")->menu()->actions().size(), 6);
        QCOMPARE(titles(item(menuFor(view, "## Ti‸tle").get(), "Heading")->menu()),
                 QStringList({"Heading 1", "Heading 2", "Heading 3", "Heading 4", "Heading 5",
                              "Heading 6", "-", "Normal Text"}));
        QCOMPARE(titles(menu.get(),
                        [](const QAction* a) { return !a->isSeparator() && a->icon().isNull(); }),
                 QStringList());
        QVERIFY(
            EditorContextMenuBuilder::menuSymbol(QStringLiteral("no.such"), Qt::black).isNull());
    }

    void checkedStates_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QStringList>("checked");
        auto row = [](const char* state, const QStringList& checked) {
            QTest::newRow(state) << u8(state) << checked;
        };
        row("plain‸", {});
        row("«**word**»", {"Bold"});
        row("**«word»**", {}); // only the selected text counts
        row("«**»", {});
        row("«~~`x`~~»", {"Strikethrough"});
        row("«_`x`_»", {"Italic"});
        row("## Ti‸tle", {"Heading 2"});
        row("###### a\nb«c»", {});
    }
    void checkedStates() {
        QFETCH(QString, state);
        QFETCH(QStringList, checked);
        MarkdownTextView view;
        QApplication::clipboard()->setText(state);
        const auto menu = menuFor(view, state.toUtf8().constData());
        QCOMPARE(titles(menu.get(), isChecked), checked);
        // Cut and copy need a selection.
        QCOMPARE(item(menu.get(), "Cut")->isEnabled(), state.contains(QChar(0x00BB)));
        QCOMPARE(item(menu.get(), "Copy")->isEnabled(), state.contains(QChar(0x00BB)));
        QVERIFY(item(menu.get(), "Paste")->isEnabled());
        QApplication::clipboard()->clear();
        QVERIFY(!item(menuFor(view, "x‸").get(), "Paste")->isEnabled());
    }

    // Items act on the view they were built for, submenu items too.
    void itemsActOnTheView() {
        MarkdownTextView view;
        auto trigger = [&](const char* state, const char* title, const char* sub = nullptr) {
            const auto menu = menuFor(view, state);
            QAction* action = item(menu.get(), title);
            (sub ? item(action->menu(), sub) : action)->trigger();
            return marked(view);
        };
        QCOMPARE(trigger("«word»", "Bold"), u8("«**word**»"));
        QCOMPARE(trigger("x‸", "Select All"), u8("«x»"));
        QCOMPARE(trigger("a\n«b»", "List", "Numbered List"), u8("a\n«1. b»"));
        QCOMPARE(trigger("## Ti‸tle", "Heading", "Normal Text"), u8("«Title»"));
        QCOMPARE(trigger("plain‸", "Heading", "Heading 3"), u8("«### plain»"));
        QSignalSpy find(&view, &MarkdownTextView::findRequested);
        trigger("x‸", "Find in Document");
        QCOMPARE(find.count(), 1);
    }

    void appearanceFollowsTheEditorTheme() {
        using EditorContextMenuBuilder::resolvedAppearance;
        QCOMPARE(resolvedAppearance(theme(DesignSystem::Colors::ember())), ColorScheme::Dark);
        // A dark editor theme gives dark menus while the application is light.
        MarkdownTextView view;
        view.setEditorTheme(theme(DesignSystem::Colors::dark()));
        auto menu = menuFor(view, "x‸");
        const QColor window = menu->palette().color(QPalette::Window);
        QVERIFY(window.lightnessF() < 0.5);
        QCOMPARE(item(menu.get(), "Heading")->menu()->palette().color(QPalette::Window), window);
        QCOMPARE(item(menu.get(), "List")->menu()->palette().color(QPalette::Window), window);
        // No theme: the menu keeps the application's palette.
        view.setEditorTheme(std::nullopt);
        menu = menuFor(view, "x‸");
        QCOMPARE(menu->palette().color(QPalette::Window),
                 QApplication::palette(menu.get()).color(QPalette::Window));
    }
};

QTEST_MAIN(TestEditorContextMenu)
#include "tst_editorcontextmenu.moc"

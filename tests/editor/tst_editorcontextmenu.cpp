#include "core/DesignSystem.h"
#include "editor/EditorContextMenuBuilder.h"
#include "editor/MarkdownTextView.h"
#include "platform/Symbols.h"
#include "support/EditorFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using EditorFixture::marked;
using EditorFixture::setMarked;

namespace {

QString m(const char* text) {
    return QString::fromUtf8(text);
}

std::unique_ptr<QMenu> menuFor(MarkdownTextView& view, const char* state) {
    setMarked(view, m(state));
    return std::unique_ptr<QMenu>(EditorContextMenuBuilder::makeMenu(&view));
}

QAction* item(const QMenu* menu, const QString& title) {
    for (QAction* action : menu->actions())
        if (action->text() == title)
            return action;
    return nullptr;
}

QAction* item(const QMenu* menu, const char* title) {
    return item(menu, QString::fromUtf8(title));
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
        QStringList titles, keys;
        for (const QAction* action : menu->actions()) {
            titles << (action->isSeparator() ? QStringLiteral("-") : action->text());
            keys << action->shortcut().toString(QKeySequence::PortableText);
            if (!action->isSeparator())
                QVERIFY2(!action->icon().isNull(), qPrintable(action->text()));
        }
        QCOMPARE(titles,
                 QStringList({"Cut", "Copy", "Paste", "-", "Bold", "Italic", "Strikethrough",
                              "Code", "Link", "-", "Heading", "List", "Blockquote", "Code Block",
                              "Divider", "-", "Find in Document", "Select All"}));
        QCOMPARE(keys, QStringList({"Ctrl+X", "Ctrl+C", "Ctrl+V", "", "Ctrl+B", "Ctrl+I", "", "",
                                    "Ctrl+K", "", "", "", "", "", "", "", "Ctrl+F", "Ctrl+A"}));
        QVERIFY(item(menu.get(), "Heading")->menu());
        const QMenu* lists = item(menu.get(), "List")->menu();
        QVERIFY(lists);
        QStringList listTitles;
        for (const QAction* action : lists->actions())
            listTitles << action->text();
        QCOMPARE(listTitles, QStringList({"Bulleted List", "Numbered List", "Task List"}));

        // Every symbol the menu names is drawn from a file of its own.
        const QString names = QStringLiteral(
            "scissors doc.on.doc doc.on.clipboard bold italic strikethrough "
            "chevron.left.forwardslash.chevron.right link textformat.size list.bullet text.quote "
            "curlybraces minus magnifyingglass selection.pin.in.out textformat.size.larger "
            "textformat paragraph list.number checklist");
        for (const QString& name : names.split(QLatin1Char(' '))) {
            QVERIFY2(Symbols::isKnown(name), qPrintable(name));
            QVERIFY2(Symbols::sourceFile(name) != QStringLiteral(":/symbols/fallback.svg"),
                     qPrintable(name));
        }
        QVERIFY(
            EditorContextMenuBuilder::menuSymbol(QStringLiteral("no.such"), Qt::black).isNull());
    }

    void enabledAndCheckedStates() {
        MarkdownTextView view;
        QApplication::clipboard()->clear();
        auto menu = menuFor(view, "plain‸");
        QVERIFY(!item(menu.get(), "Cut")->isEnabled());
        QVERIFY(!item(menu.get(), "Copy")->isEnabled());
        QVERIFY(!item(menu.get(), "Paste")->isEnabled());
        for (const char* title : {"Bold", "Italic", "Strikethrough", "Code"}) {
            QVERIFY(item(menu.get(), title)->isEnabled());
            QVERIFY(!isChecked(item(menu.get(), title)));
        }

        QApplication::clipboard()->setText(QStringLiteral("x"));
        menu = menuFor(view, "«**word**»");
        QVERIFY(item(menu.get(), "Cut")->isEnabled());
        QVERIFY(item(menu.get(), "Copy")->isEnabled());
        QVERIFY(item(menu.get(), "Paste")->isEnabled());
        QVERIFY(isChecked(item(menu.get(), "Bold")));
        QVERIFY(!isChecked(item(menu.get(), "Italic")));
        // Only the selected text counts, not the markers around it.
        menu = menuFor(view, "**«word»**");
        QVERIFY(!isChecked(item(menu.get(), "Bold")));
        menu = menuFor(view, "«~~`x`~~»");
        QVERIFY(isChecked(item(menu.get(), "Strikethrough")));
        QVERIFY(!isChecked(item(menu.get(), "Code")));
        menu = menuFor(view, "«_`x`_»");
        QVERIFY(isChecked(item(menu.get(), "Italic")));
    }

    void headingSubmenu() {
        MarkdownTextView view;
        auto menu = menuFor(view, "## Ti‸tle");
        const QMenu* headings = item(menu.get(), "Heading")->menu();
        QStringList titles;
        QList<int> checked;
        for (const QAction* action : headings->actions()) {
            titles << (action->isSeparator() ? QStringLiteral("-") : action->text());
            if (isChecked(action))
                checked << action->data().toInt();
        }
        QCOMPARE(titles, QStringList({"Heading 1", "Heading 2", "Heading 3", "Heading 4",
                                      "Heading 5", "Heading 6", "-", "Normal Text"}));
        QCOMPARE(checked, QList<int>{2});

        item(headings, "Normal Text")->trigger();
        QCOMPARE(marked(view), m("«Title»"));

        menu = menuFor(view, "plain‸");
        headings = item(menu.get(), "Heading")->menu();
        QCOMPARE(headings->actions().size(), 6);
        for (const QAction* action : headings->actions())
            QVERIFY(!isChecked(action));
        item(headings, "Heading 3")->trigger();
        QCOMPARE(marked(view), m("«### plain»"));
    }

    void itemsActOnTheView() {
        MarkdownTextView view;
        auto menu = menuFor(view, "«word»");
        item(menu.get(), "Bold")->trigger();
        QCOMPARE(marked(view), m("«**word**»"));
        menu = menuFor(view, "a\n«b»");
        item(item(menu.get(), "List")->menu(), "Numbered List")->trigger();
        QCOMPARE(marked(view), m("a\n«1. b»"));
        QSignalSpy find(&view, &MarkdownTextView::findRequested);
        menu = menuFor(view, "x‸");
        item(menu.get(), "Find in Document")->trigger();
        QCOMPARE(find.count(), 1);
        item(menu.get(), "Select All")->trigger();
        QCOMPARE(marked(view), m("«x»"));
    }

    void appearanceFollowsTheEditorTheme() {
        using EditorContextMenuBuilder::resolvedAppearance;
        QCOMPARE(resolvedAppearance(std::nullopt), std::nullopt);
        QCOMPARE(resolvedAppearance(theme(DesignSystem::Colors::light())), ColorScheme::Light);
        QCOMPARE(resolvedAppearance(theme(DesignSystem::Colors::dark())), ColorScheme::Dark);
        QCOMPARE(resolvedAppearance(theme(DesignSystem::Colors::ember())), ColorScheme::Dark);

        // A dark editor theme gives a dark menu while the application is light.
        MarkdownTextView view;
        view.setEditorTheme(theme(DesignSystem::Colors::dark()));
        auto menu = menuFor(view, "## x‸");
        const QColor window = menu->palette().color(QPalette::Window);
        QVERIFY(window.lightnessF() < 0.5);
        QCOMPARE(item(menu.get(), "Heading")->menu()->palette().color(QPalette::Window), window);
        QCOMPARE(item(menu.get(), "List")->menu()->palette().color(QPalette::Window), window);

        view.setEditorTheme(theme(DesignSystem::Colors::light()));
        menu = menuFor(view, "x‸");
        QVERIFY(menu->palette().color(QPalette::Window).lightnessF() > 0.5);

        // No theme: the menu keeps the application's palette.
        view.setEditorTheme(std::nullopt);
        menu = menuFor(view, "x‸");
        QCOMPARE(menu->palette().color(QPalette::Window),
                 QApplication::palette(menu.get()).color(QPalette::Window));
    }
};

QTEST_MAIN(TestEditorContextMenu)
#include "tst_editorcontextmenu.moc"

#include "core/DesignSystem.h"
#include "preview/MarkdownBlockView.h"
#include "preview/PreviewContentView.h"
#include "preview/PreviewContextMenuBuilder.h"
#include "preview/PreviewScrollHost.h"
#include "preview/PreviewSelectionReader.h"
#include "preview/PreviewView.h"
#include "preview/SelectableTextView.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

QList<QAction*> items(QMenu* menu) {
    QList<QAction*> out;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            out << action;
    return out;
}

EditorTheme theme(bool dark) {
    return EditorTheme::from(
        DesignSystem::make(dark ? DesignSystem::Colors::dark() : DesignSystem::Colors::light(),
                           FontDesign::Serif, dark));
}

SelectableTextView* textView(const QString& text, QWidget* parent) {
    auto* view = new SelectableTextView(parent);
    StyledText styled;
    styled.append(text, {});
    view->setContent(styled, QFont(), Qt::black, 0, true);
    return view;
}

} // namespace

class TestPreviewContextMenu : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void itemsNeedASelectionWithText_data() {
        QTest::addColumn<QString>("selection");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("none") << QString() << false;
        QTest::newRow("blank") << QStringLiteral("  \n\t ") << false;
        QTest::newRow("word") << QStringLiteral("  word \n") << true;
    }
    void itemsNeedASelectionWithText() {
        QFETCH(QString, selection);
        QFETCH(bool, enabled);
        QString copied, found;
        std::unique_ptr<QMenu> menu(PreviewContextMenuBuilder::makeMenu(
            selection, theme(false), [&](const QString& t) { copied = t; },
            [&](const QString& t) { found = t; }));
        const QList<QAction*> actions = items(menu.get());
        QCOMPARE(actions.size(), 2);
        QCOMPARE(actions[0]->text(), QStringLiteral("Copy"));
        QCOMPARE(actions[1]->text(), QStringLiteral("Find in Editor"));
        QCOMPARE(actions[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
        QCOMPARE(menu->actions().size(), 3); // a separator between them
        for (QAction* action : actions) {
            QCOMPARE(action->isEnabled(), enabled);
            QVERIFY(!action->icon().isNull());
        }
        if (!enabled)
            return;
        // Both hand on the text untrimmed.
        actions[1]->trigger();
        QCOMPARE(found, selection);
        actions[0]->trigger();
        QCOMPARE(copied, selection);
    }

    void theMenuTakesTheThemesLook() {
        std::unique_ptr<QMenu> dark(
            PreviewContextMenuBuilder::makeMenu(QStringLiteral("x"), theme(true), {}, {}));
        std::unique_ptr<QMenu> light(
            PreviewContextMenuBuilder::makeMenu(QStringLiteral("x"), theme(false), {}, {}));
        QVERIFY(dark->palette().color(QPalette::Window).lightness() < 100);
        QVERIFY(light->palette().color(QPalette::Window).lightness() > 200);
        QVERIFY(dark->palette().color(QPalette::Text).lightness() > 200);
    }

    void theFocusedTextViewComesFirst() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* preview = textView(QStringLiteral("preview text"), &window);
        auto* editor = new QPlainTextEdit(QStringLiteral("first line\nsecond line"), &window);
        layout->addWidget(preview);
        layout->addWidget(editor);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        preview->selectAll();

        // Nothing focused: the first selection met in the window.
        QCOMPARE(PreviewSelectionReader::selectedTextIn(&window), QStringLiteral("preview text"));

        // The focused editor's selection wins, its line breaks as LF.
        editor->setFocus();
        editor->selectAll();
        QCOMPARE(PreviewSelectionReader::selectedTextFrom(window.focusWidget()),
                 QStringLiteral("first line\nsecond line"));

        // A focused text view without a selection gives nothing, and no
        // other view is asked.
        QTextCursor cursor = editor->textCursor();
        cursor.clearSelection();
        editor->setTextCursor(cursor);
        QVERIFY(PreviewSelectionReader::selectedTextFrom(window.focusWidget()).isNull());
        QVERIFY(PreviewSelectionReader::selectedTextFrom(nullptr).isNull());
    }

    void hiddenViewsAreNotRead() {
        QWidget window;
        auto* hidden = textView(QStringLiteral("hidden"), &window);
        hidden->selectAll();
        hidden->hide();
        QVERIFY(PreviewSelectionReader::selectedTextIn(&window).isNull());
    }

    void copyPutsTheFoundSelectionOnTheClipboard() {
        PreviewView view;
        view.resize(500, 300);
        view.setMarkdown(QStringLiteral("alpha beta\n\ngamma\n"));
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        auto* second = view.content()->rowView(1)->findChild<SelectableTextView*>();
        QVERIFY(second);
        second->selectAll();
        QApplication::clipboard()->clear();

        PreviewScrollHost* host = view.scrollHost();
        const QString selection = host->menuSelection();
        QCOMPARE(selection, QStringLiteral("gamma"));
        QSignalSpy found(&view, &PreviewView::findInEditor);
        std::unique_ptr<QMenu> menu(host->makeContextMenu(selection));
        items(menu.get())[0]->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("gamma"));
        items(menu.get())[1]->trigger();
        QCOMPARE(found.count(), 1);
        QCOMPARE(found[0][0].toString(), QStringLiteral("gamma"));
    }
};

QTEST_MAIN(TestPreviewContextMenu)
#include "tst_previewcontextmenu.moc"

#include "shell/CommandPalette.h"
#include "shell/CommandPaletteList.h"
#include "shell/CommandPaletteView.h"
#include "tools/PopoverFrame.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QVBoxLayout>

namespace {

CommandPaletteAction action(const char* id, const char* title, const char* subtitle = nullptr,
                            const char* hint = nullptr) {
    CommandPaletteAction a;
    a.id = QString::fromUtf8(id);
    a.title = QString::fromUtf8(title);
    if (subtitle)
        a.subtitle = QString::fromUtf8(subtitle);
    a.systemImage = QStringLiteral("pencil");
    if (hint)
        a.shortcutHint = QString::fromUtf8(hint);
    return a;
}

const QList<CommandPaletteAction>& sample() {
    static const QList<CommandPaletteAction> actions{
        action("mode.edit", "Edit", "Switch to Edit mode", "Ctrl+1"),
        action("find.toggle", "Find in Document", "Search in the current document", "Ctrl+F"),
        action("doc.saveAs", "Save As…", nullptr, "Ctrl+Shift+S"),
        action("recent.file:///home/me/notes.md", "notes", "/home/me/ZÜRICH Ærø"),
        action("nav.featureTour", "Show Feature Tour", "Replay the welcome guided tour"),
    };
    return actions;
}

QStringList ids(const QList<CommandPaletteAction>& actions) {
    QStringList out;
    for (const CommandPaletteAction& a : actions)
        out.append(a.id);
    return out;
}

// A shown window whose content holds a field standing in for the editor,
// focused, and the palette over that content, closing when it asks to.
struct PaletteWindow {
    QWidget window;
    QWidget* content = nullptr;
    QLineEdit* editor = nullptr;
    QPointer<CommandPaletteView> palette;
    QList<CommandPaletteAction> actions;
    QStringList ran;             // ids of the actions run, in order
    QList<bool> ranAfterClosing; // whether the palette had closed by then

    explicit PaletteWindow(int count = 0) {
        auto* column = new QVBoxLayout(&window);
        column->setContentsMargins(0, 0, 0, 0);
        content = new QWidget(&window);
        editor = new QLineEdit(content);
        column->addWidget(content);
        window.resize(900, 700);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        editor->setFocus();
        actions = count ? numbered(count) : sample();
        palette = new CommandPaletteView([this] { return withRecording(actions); }, content);
        QObject::connect(palette, &CommandPaletteView::dismissRequested, palette,
                         &CommandPaletteView::dismiss);
    }

    QList<CommandPaletteAction> withRecording(QList<CommandPaletteAction> list) {
        for (CommandPaletteAction& a : list)
            a.perform = [this, id = a.id] {
                ran.append(id);
                ranAfterClosing.append(!palette || palette->isDismissed());
            };
        return list;
    }

    static QList<CommandPaletteAction> numbered(int count) {
        QList<CommandPaletteAction> list;
        for (int i = 0; i < count; ++i) {
            const QByteArray id = "row." + QByteArray::number(i);
            list.append(
                action(id.constData(), id.constData(), i % 2 ? "with a subtitle" : nullptr));
        }
        return list;
    }

    void key(Qt::Key key) { QTest::keyClick(palette->field(), key); }
    void type(const QString& text) { QTest::keyClicks(palette->field(), text); }
    // The highlighted row lies wholly inside the list's viewport.
    bool highlightVisible() const {
        const CommandPaletteList* list = palette->list();
        return list->viewport()->rect().contains(list->rowRect(palette->selectedIndex()));
    }
};

} // namespace

class TestCommandPalette : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Trimmed and compared in lower case; the title first, else the subtitle;
    // never the id or the hint; blanks inside the query count.
    void filter_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("expected");
        const QStringList all = ids(sample());
        QTest::newRow("empty") << "" << all;
        QTest::newRow("blanks and breaks") << " \t\n\u2028 " << all;
        QTest::newRow("title, any case, padded") << "\n  EDIT \t" << QStringList{"mode.edit"};
        QTest::newRow("subtitle only, inner blank") << "current doc" << QStringList{"find.toggle"};
        QTest::newRow("unicode lower case")
            << "zürich ærø" << QStringList{"recent.file:///home/me/notes.md"};
        QTest::newRow("both title and subtitle, kept once")
            << "tour" << QStringList{"nav.featureTour"};
        QTest::newRow("order kept") << "e" << all;
        QTest::newRow("hint is not matched") << "ctrl" << QStringList{};
        QTest::newRow("id is not matched") << "nav." << QStringList{};
        QTest::newRow("blank inside is literal") << "saveas" << QStringList{};
        QTest::newRow("nothing") << "zebra" << QStringList{};
    }
    void filter() {
        QFETCH(QString, query);
        QFETCH(QStringList, expected);
        QCOMPARE(ids(CommandPalette::filtered(sample(), query)), expected);
    }

    void movedSelection_data() {
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("expected");
        QTest::newRow("down") << 0 << 1 << 3 << 1;
        QTest::newRow("down from the last wraps") << 2 << 1 << 3 << 0;
        QTest::newRow("up from the first wraps") << 0 << -1 << 3 << 2;
        QTest::newRow("single row, down") << 0 << 1 << 1 << 0;
        QTest::newRow("single row, up") << 0 << -1 << 1 << 0;
        QTest::newRow("no rows") << 4 << 1 << 0 << 4;
        QTest::newRow("beyond a shrunk list") << 7 << 1 << 3 << 2;
    }
    void movedSelection() {
        QFETCH(int, selected);
        QFETCH(int, step);
        QFETCH(int, count);
        QFETCH(int, expected);
        QCOMPARE(CommandPalette::movedSelection(selected, step, count), expected);
    }

    // Opens over the whole content with the query field focused, every row
    // listed and the first highlighted, the panel 480 wide, 100 below the top.
    void opensFocusedOverTheContent() {
        PaletteWindow w;
        CommandPaletteView* p = w.palette;
        QCOMPARE(p->geometry(), w.content->rect());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(p->field()));
        QCOMPARE(p->filteredActions().size(), sample().size());
        QCOMPARE(p->selectedIndex(), 0);
        QCOMPARE(p->list()->selectedIndex(), 0);
        QCOMPARE(p->panel()->geometry().width(), CommandPaletteView::panelWidth);
        QCOMPARE(p->panel()->geometry().top(), CommandPaletteView::panelTop);
        QCOMPARE(p->panel()->geometry().center().x(), p->rect().center().x());
        QVERIFY(p->emptyLabel()->isHidden());
        // It fades in over 0.15 s.
        QVERIFY(p->opacity() < 1);
        QTRY_COMPARE(p->opacity(), 1.0);

        // It follows the content's size.
        w.window.resize(700, 500);
        QTRY_COMPARE(p->geometry(), w.content->rect());
        QCOMPARE(p->panel()->geometry().center().x(), p->rect().center().x());
    }

    void typingFiltersAndHighlightsTheFirstMatch() {
        PaletteWindow w;
        w.key(Qt::Key_Down);
        w.key(Qt::Key_Down);
        QCOMPARE(w.palette->selectedIndex(), 2);
        w.type(QStringLiteral("s"));
        QCOMPARE(w.palette->selectedIndex(), 0);
        QCOMPARE(ids(w.palette->filteredActions()), ids(CommandPalette::filtered(sample(), "s")));
        QCOMPARE(ids(w.palette->list()->actions()), ids(w.palette->filteredActions()));
        // The panel grows and shrinks with its rows.
        const int tall = w.palette->panel()->height();
        w.type(QStringLiteral("ave"));
        QCOMPARE(ids(w.palette->filteredActions()), QStringList{"doc.saveAs"});
        QVERIFY(w.palette->panel()->height() < tall);
        // The list takes its rows' height and ends the panel.
        const CommandPaletteList* list = w.palette->list();
        QCOMPARE(list->height(), list->contentHeight());
        QCOMPARE(list->mapTo(w.palette->panel(), QPoint(0, list->height())).y(),
                 w.palette->panel()->height());
    }

    // Up and Down wrap round, and the highlighted row is always scrolled
    // into view in a list taller than the panel.
    void arrowsWrapAndKeepTheHighlightInView() {
        PaletteWindow w(30);
        CommandPaletteList* list = w.palette->list();
        QCOMPARE(list->height(), CommandPaletteList::maximumHeight);
        QVERIFY(list->contentHeight() > 3 * CommandPaletteList::maximumHeight);
        w.key(Qt::Key_Up);
        QCOMPARE(w.palette->selectedIndex(), 29);
        QVERIFY(w.highlightVisible());
        w.key(Qt::Key_Down);
        QCOMPARE(w.palette->selectedIndex(), 0);
        QVERIFY(w.highlightVisible());
        for (int i = 1; i < 30; ++i) {
            w.key(Qt::Key_Down);
            QCOMPARE(w.palette->selectedIndex(), i);
            QVERIFY2(w.highlightVisible(), qPrintable(QString::number(i)));
        }
        for (int i = 28; i >= 0; --i) {
            w.key(Qt::Key_Up);
            QVERIFY2(w.highlightVisible(), qPrintable(QString::number(i)));
        }
    }

    // Return closes the palette, hands the keyboard back at once, and runs
    // the highlighted action on a later turn, once.
    void returnRunsTheHighlightedActionAfterClosing() {
        PaletteWindow w;
        w.key(Qt::Key_Down);
        w.key(Qt::Key_Return);
        QVERIFY(w.palette->isDismissed());
        QVERIFY(w.ran.isEmpty());
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.editor));
        QTRY_COMPARE(w.ran, QStringList{"find.toggle"});
        QCOMPARE(w.ranAfterClosing, QList<bool>{true});
        // It fades out and goes.
        QTRY_VERIFY(!w.palette);
        QCOMPARE(w.ran.size(), 1);
    }

    void noMatchShowsSoAndIgnoresReturnAndArrows() {
        PaletteWindow w;
        w.type(QStringLiteral("zebra"));
        QVERIFY(w.palette->filteredActions().isEmpty());
        QVERIFY(w.palette->list()->isHidden());
        QVERIFY(w.palette->emptyLabel()->isVisible());
        QCOMPARE(w.palette->emptyLabel()->text(), QStringLiteral("No matching commands"));
        // Centred with room above and below, ending the panel.
        const QLabel* label = w.palette->emptyLabel();
        QVERIFY(label->alignment() & Qt::AlignVCenter);
        QVERIFY(label->height() >= label->fontMetrics().height() + 48);
        QCOMPARE(label->mapTo(w.palette->panel(), QPoint(0, label->height())).y(),
                 w.palette->panel()->height());
        w.key(Qt::Key_Down);
        w.key(Qt::Key_Up);
        QCOMPARE(w.palette->selectedIndex(), 0);
        w.key(Qt::Key_Return);
        QTest::qWait(20);
        QVERIFY(!w.palette->isDismissed());
        QVERIFY(w.ran.isEmpty());
        // A blank query brings every row back.
        w.palette->field()->clear();
        QCOMPARE(w.palette->filteredActions().size(), sample().size());
    }

    // A click runs its own row, whatever is highlighted; a click on the
    // dimmed layer closes and runs nothing.
    void clicks() {
        {
            PaletteWindow w;
            CommandPaletteList* list = w.palette->list();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(3).center());
            QVERIFY(w.palette->isDismissed());
            QTRY_COMPARE(w.ran, QStringList{"recent.file:///home/me/notes.md"});
        }
        {
            PaletteWindow w;
            QTest::mouseClick(w.palette, Qt::LeftButton, {}, QPoint(10, 10));
            QVERIFY(w.palette->isDismissed());
            QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.editor));
            QTest::qWait(20);
            QVERIFY(w.ran.isEmpty());
        }
        {
            // A click on the panel outside the rows does nothing.
            PaletteWindow w;
            QTest::mouseClick(w.palette->panel(), Qt::LeftButton, {}, QPoint(4, 4));
            QVERIFY(!w.palette->isDismissed());
        }
    }

    // The source shrinks under a highlight near its end: nothing is
    // highlighted and Return does nothing until the next arrow key.
    void aShrunkListLeavesNoHighlight() {
        PaletteWindow w;
        w.key(Qt::Key_Up);
        QCOMPARE(w.palette->selectedIndex(), 4);
        w.actions = sample().mid(0, 2);
        w.palette->refresh();
        QCOMPARE(w.palette->filteredActions().size(), 2);
        QCOMPARE(w.palette->list()->selectedIndex(), 4);
        QVERIFY(w.palette->list()->rowRect(4).isNull());
        w.key(Qt::Key_Return);
        QTest::qWait(20);
        QVERIFY(w.ran.isEmpty());
        w.key(Qt::Key_Down);
        QCOMPARE(w.palette->selectedIndex(), 1);
        w.key(Qt::Key_Return);
        QTRY_COMPARE(w.ran, QStringList{"find.toggle"});
    }

    // Tab does not take the keyboard to the widgets under the palette.
    void tabStaysInTheField() {
        PaletteWindow w;
        w.key(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.palette->field()));
    }
};

QTEST_MAIN(TestCommandPalette)
#include "tst_commandpalette.moc"

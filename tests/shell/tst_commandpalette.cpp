#include "shell/CommandPalette.h"
#include "shell/CommandPaletteList.h"
#include "shell/CommandPaletteView.h"
#include "support/TestSupport.h"
#include "widgets/PopoverFrame.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

namespace {

CommandPaletteAction action(const QString& id, const char* subtitle = nullptr) {
    CommandPaletteAction a{id, id, std::nullopt, QStringLiteral("pencil"), std::nullopt, {}};
    if (subtitle)
        a.subtitle = QString::fromUtf8(subtitle);
    return a;
}

QList<CommandPaletteAction> sample() {
    QList<CommandPaletteAction> list{action("Edit", "Switch to Edit mode"),
                                     action("Find in Document", "Search in the current document"),
                                     action("Save As…"), action("notes", "/home/ZÜRICH Ærø"),
                                     action("Show Feature Tour", "Replay the tour")};
    list[0].id = QStringLiteral("mode.edit");
    list[0].shortcutHint = QStringLiteral("Ctrl+1");
    return list;
}

QStringList titles(const QList<CommandPaletteAction>& actions) {
    QStringList out;
    for (const CommandPaletteAction& a : actions)
        out.append(a.title);
    return out;
}

// A shown window whose content holds a focused field standing in for the
// editor, and the palette over that content, closing when it asks to.
struct PaletteWindow {
    QWidget window;
    QLineEdit* editor = nullptr;
    QPointer<CommandPaletteView> palette;
    QList<CommandPaletteAction> actions;
    QStringList ran; // titles of the actions run, "closed" added when the palette had closed

    explicit PaletteWindow(QList<CommandPaletteAction> list = sample()) : actions(std::move(list)) {
        auto* content = new QWidget(&window);
        (new QVBoxLayout(&window))->addWidget(content);
        window.layout()->setContentsMargins(0, 0, 0, 0);
        editor = new QLineEdit(content);
        window.resize(900, 700);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        editor->setFocus();
        palette = new CommandPaletteView(
            [this] {
                QList<CommandPaletteAction> list = actions;
                for (CommandPaletteAction& a : list)
                    a.perform = [this, title = a.title] {
                        ran << title << (palette->isDismissed() ? "closed" : "open");
                    };
                return list;
            },
            content);
        QObject::connect(palette, &CommandPaletteView::dismissRequested, palette,
                         &CommandPaletteView::dismiss);
    }

    void key(Qt::Key key) { QTest::keyClick(palette->field(), key); }
    bool highlightInView() const {
        const CommandPaletteList* list = palette->list();
        return list->viewport()->rect().contains(list->rowRect(palette->selectedIndex()));
    }
};

} // namespace

class TestCommandPalette : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Trimmed and compared in lower case; the title, else the subtitle;
    // never the id or the hint; blanks inside the query count.
    void filter_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("expected");
        const QStringList all = titles(sample());
        QTest::newRow("empty") << "" << all;
        QTest::newRow("blanks and breaks") << " \t\n\u2028 " << all;
        QTest::newRow("title, any case, padded") << "\n  EDIT \t" << QStringList{"Edit"};
        QTest::newRow("subtitle only") << "current doc" << QStringList{"Find in Document"};
        QTest::newRow("unicode lower case") << "zürich ærø" << QStringList{"notes"};
        QTest::newRow("title and subtitle, once") << "tour" << QStringList{"Show Feature Tour"};
        QTest::newRow("order kept") << "e" << all;
        QTest::newRow("hint or id") << "ctrl" << QStringList{};
        QTest::newRow("id") << "mode." << QStringList{};
        QTest::newRow("inner blank is literal") << "saveas" << QStringList{};
    }
    void filter() {
        QFETCH(QString, query);
        QFETCH(QStringList, expected);
        QCOMPARE(titles(CommandPalette::filtered(sample(), query)), expected);
    }

    // Over the whole content, following its size, with the field focused,
    // every row listed, the first highlighted, the panel centred; it fades in.
    void opensOverTheContent() {
        PaletteWindow w;
        CommandPaletteView* p = w.palette;
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(p->field()));
        QCOMPARE(titles(p->filteredActions()), titles(sample()));
        QCOMPARE(p->list()->selectedIndex(), 0);
        QVERIFY(p->opacity() < 1);
        QTRY_COMPARE(p->opacity(), 1.0);
        w.window.resize(700, 500);
        QTRY_COMPARE(p->geometry(), p->parentWidget()->rect());
        QCOMPARE(p->panel()->geometry().center().x(), p->rect().center().x());
    }

    // Typing filters and highlights the first match, and the panel ends with
    // the rows; the arrows wrap round and keep the highlight in view.
    void typingAndArrows() {
        QList<CommandPaletteAction> many;
        for (int i = 0; i < 30; ++i)
            many.append(action(QStringLiteral("row %1").arg(i), i % 2 ? "subtitle" : nullptr));
        PaletteWindow w(many);
        CommandPaletteList* list = w.palette->list();
        QCOMPARE(list->height(), CommandPaletteList::maximumHeight);
        w.key(Qt::Key_Up);
        QCOMPARE(w.palette->selectedIndex(), 29);
        QVERIFY(w.highlightInView());
        w.key(Qt::Key_Down);
        QCOMPARE(w.palette->selectedIndex(), 0);
        for (int i = 1; i < 30; ++i) {
            w.key(Qt::Key_Down);
            QVERIFY2(w.highlightInView(), qPrintable(QString::number(i)));
        }
        QTest::keyClicks(w.palette->field(), QStringLiteral("row 2"));
        QCOMPARE(w.palette->selectedIndex(), 0);
        QCOMPARE(w.palette->filteredActions().size(), 11); // 2, 20 to 29
        QTest::keyClicks(w.palette->field(), QStringLiteral("9"));
        QCOMPARE(list->height(), list->contentHeight());
        QCOMPARE(list->mapTo(w.palette->panel(), QPoint(0, list->height())).y(),
                 w.palette->panel()->height());
    }

    // A window too short for the panel: the panel rises and ends inside the
    // window, its list scrolling; the highlight still comes into view.
    void aShortWindowClampsThePanel() {
        QList<CommandPaletteAction> many;
        for (int i = 0; i < 30; ++i)
            many.append(action(QStringLiteral("row %1").arg(i), "subtitle"));
        PaletteWindow w(many);
        CommandPaletteView* p = w.palette;
        CommandPaletteList* list = p->list();
        for (const int height : {320, 226, 150}) {
            w.window.resize(761, height);
            QTRY_COMPARE(p->height(), height);
            const QRect panel = p->panel()->geometry();
            QVERIFY2(p->rect().contains(panel), qPrintable(QString::number(height)));
            QCOMPARE(panel.top() == CommandPaletteView::panelTop, height == 320);
            QVERIFY(list->height() < list->contentHeight());
            QVERIFY(list->verticalScrollBar()->maximum() > 0);
            QCOMPARE(list->mapTo(p->panel(), QPoint(0, list->height())).y(), panel.height());
            w.key(Qt::Key_Up);
            QVERIFY(w.highlightInView());
            w.key(Qt::Key_Down);
            QVERIFY(w.highlightInView());
        }
        w.window.resize(900, 700);
        QTRY_COMPARE(list->height(), int(CommandPaletteList::maximumHeight));
        QCOMPARE(p->panel()->y(), CommandPaletteView::panelTop);
    }

    // Opaque chrome in a light and a dark scheme: nothing shows through.
    void thePanelIsOpaque() {
        TestSupport::forEachAppearance([](const QString& appearance) {
            PaletteWindow w;
            const QColor painted = w.palette->panel()->paintedBackground();
            QCOMPARE(painted.alpha(), 255);
            QCOMPARE(painted.lightness() < 128, appearance == QStringLiteral("dark"));
        });
    }

    // No match: the note, and Return and the arrows do nothing. A list that
    // shrinks under the highlight highlights nothing until an arrow key.
    void nothingHighlighted() {
        PaletteWindow w;
        QTest::keyClicks(w.palette->field(), QStringLiteral("zebra"));
        QVERIFY(w.palette->list()->isHidden());
        QVERIFY(w.palette->emptyLabel()->isVisible());
        QCOMPARE(w.palette->emptyLabel()
                     ->mapTo(w.palette->panel(), QPoint(0, w.palette->emptyLabel()->height()))
                     .y(),
                 w.palette->panel()->height());
        w.key(Qt::Key_Down);
        w.key(Qt::Key_Return);
        TestSupport::processPendingEvents();
        QVERIFY(!w.palette->isDismissed());

        w.palette->field()->clear();
        w.key(Qt::Key_Up);
        w.actions = sample().mid(0, 2);
        w.palette->refresh();
        QCOMPARE(w.palette->selectedIndex(), 4);
        QVERIFY(w.palette->list()->rowRect(4).isNull());
        w.key(Qt::Key_Return);
        TestSupport::processPendingEvents();
        QVERIFY(w.ran.isEmpty());
        w.key(Qt::Key_Down);
        w.key(Qt::Key_Return);
        QTRY_COMPARE(w.ran.value(0), QStringLiteral("Find in Document"));
    }

    // A click runs its own row whatever is highlighted, once, after the
    // palette closed, and the palette goes; one on the dimmed layer closes
    // and runs nothing; one on the panel does nothing.
    void clicks() {
        PaletteWindow w;
        QTest::mouseClick(w.palette->panel(), Qt::LeftButton, {}, QPoint(4, 4));
        QVERIFY(!w.palette->isDismissed());
        QTest::mouseClick(w.palette, Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(w.palette->isDismissed());
        TestSupport::processPendingEvents();
        QVERIFY(w.ran.isEmpty());

        PaletteWindow other;
        CommandPaletteList* list = other.palette->list();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(3).center());
        QVERIFY(other.ran.isEmpty());
        QTRY_COMPARE(other.ran, (QStringList{"notes", "closed"}));
        QTRY_VERIFY(!other.palette);
    }

    // A recent file's name or folder may hold a line break: the row shows
    // it as a blank, on its one line, as it would any other blank.
    void lineBreaksShowOnOneLine() {
        const auto grab = [](const QString& title, const QString& subtitle) {
            CommandPaletteList list;
            CommandPaletteAction row = action(title);
            row.subtitle = subtitle;
            list.setActions({row}, 0);
            list.resize(list.sizeHint());
            return list.grab().toImage();
        };
        const QString title = QStringLiteral("new line");
        const QString folder = QStringLiteral("/docs/a b");
        grab(title, folder); // the first grab of the process still settles the style
        QCOMPARE(grab(QStringLiteral("new\nline"), QStringLiteral("/docs/a\nb")),
                 grab(title, folder));
        QCOMPARE(grab(QString::fromUtf8("new\u2028line"), folder), grab(title, folder));
        QCOMPARE(grab(title, QString::fromUtf8("/docs/a\u2029b")), grab(title, folder));
    }
};

QTEST_MAIN(TestCommandPalette)
#include "tst_commandpalette.moc"

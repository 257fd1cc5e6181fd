#include "tools/SlashCommandCatalog.h"
#include "tools/SlashCommandMenuView.h"

#include <QScrollBar>
#include <QTest>

class TestSlashCommandMenuView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The keyboard's row is brought to the middle; a new list starts at the
    // top; hovering never moves the keyboard's row.
    void theSelectedRowIsCentredAndHoverIsApart() {
        SlashCommandMenuView menu;
        menu.resize(304, SlashCommandMenuView::maximumListHeight);
        menu.show();
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        const QList<SlashCommand>& all = SlashCommandCatalog::all();
        menu.setCommands(all, 0);
        QCOMPARE(menu.verticalScrollBar()->value(), 0);
        menu.setCommands(all, 12);
        const int middle = menu.viewport()->height() / 2;
        QTRY_VERIFY(qAbs(menu.rowRect(12).center().y() - middle) <= 1);
        menu.setCommands(all, 19);
        QTRY_COMPARE(menu.verticalScrollBar()->value(), menu.verticalScrollBar()->maximum());
        menu.setCommands(SlashCommandCatalog::filtered(QStringLiteral("list")), 0);
        QCOMPARE(menu.verticalScrollBar()->value(), 0);

        const QPoint third = menu.rowRect(2).center();
        QTest::mouseMove(menu.viewport(), third);
        QTRY_COMPARE(menu.hoveredIndex(), 2);
        QCOMPARE(menu.selectedIndex(), 0);
        QTest::mouseMove(menu.viewport(), QPoint(1, 1)); // on a header
        QTRY_COMPARE(menu.hoveredIndex(), -1);
    }
};

QTEST_MAIN(TestSlashCommandMenuView)
#include "tst_slashcommandmenuview.moc"

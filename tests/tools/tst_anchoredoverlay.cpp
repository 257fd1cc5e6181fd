#include "support/TestSupport.h"
#include "tools/AnchoredOverlay.h"

#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

class TestAnchoredOverlay : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void placement_data() {
        QTest::addColumn<QRect>("anchor");
        QTest::addColumn<QRect>("expected");
        QTest::addColumn<bool>("beside"); // clear of the anchor by the gap
        // A 100 x 50 widget in a 400 x 300 window; gap 6, margin 8.
        QTest::newRow("below, centred") << QRect(200, 20, 2, 14) << QRect(151, 40, 100, 50) << true;
        QTest::newRow("above when only there it fits")
            << QRect(200, 250, 2, 14) << QRect(151, 194, 100, 50) << true;
        QTest::newRow("kept from the left edge")
            << QRect(3, 20, 2, 14) << QRect(8, 40, 100, 50) << true;
        QTest::newRow("kept from the right edge")
            << QRect(398, 20, 2, 14) << QRect(292, 40, 100, 50) << true;
        // Fits on neither side: the roomier one, pushed inside the window.
        QTest::newRow("tall anchor, more room below")
            << QRect(200, 30, 2, 230) << QRect(151, 242, 100, 50) << false;
        QTest::newRow("tall anchor, more room above")
            << QRect(200, 60, 2, 220) << QRect(151, 8, 100, 50) << false;
        QTest::newRow("anchor scrolled off the top")
            << QRect(200, -80, 2, 14) << QRect(151, 8, 100, 50) << true;
    }
    void placement() {
        QFETCH(QRect, anchor);
        QFETCH(QRect, expected);
        QFETCH(bool, beside);
        const QRect window(0, 0, 400, 300);
        QCOMPARE(AnchoredOverlay::placement(anchor, QSize(100, 50), window), expected);
        // Beside the anchor only: the same, or none where it fits on neither side.
        QCOMPARE(AnchoredOverlay::placementBeside(anchor, QSize(100, 50), window),
                 beside ? std::optional<QRect>(expected) : std::nullopt);
    }

    // The press reaches its target; the overlay hears of it a turn later,
    // and never of presses on itself; it follows its anchor and goes with it.
    void pressesOutsideAreReportedAfterTheyArrive() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* anchor = new QPushButton(QStringLiteral("anchor"));
        auto* other = new QPushButton(QStringLiteral("other"));
        layout->addWidget(anchor);
        layout->addWidget(other);
        window.resize(400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* floating = new QPushButton(QStringLiteral("floating"));
        floating->resize(100, 30);
        AnchoredOverlay overlay;
        overlay.show(floating, anchor, [anchor] { return anchor->rect(); });
        QCOMPARE(floating->parentWidget(), &window);
        QVERIFY(overlay.isShown());
        QSignalSpy outside(&overlay, &AnchoredOverlay::clickedOutside);
        QSignalSpy otherClicked(other, &QPushButton::clicked);

        QTest::mouseClick(floating, Qt::LeftButton);
        // Nor of presses in a menu it opened, a window of its own.
        QMenu menu(floating);
        menu.addAction(QStringLiteral("item"));
        menu.popup(floating->mapToGlobal(QPoint(0, floating->height())));
        QVERIFY(QTest::qWaitForWindowExposed(&menu));
        QTest::mouseClick(&menu, Qt::LeftButton, {},
                          menu.actionGeometry(menu.actions()[0]).center());
        TestSupport::processPendingEvents();
        QCOMPARE(outside.count(), 0);
        QTest::mouseClick(other, Qt::LeftButton);
        QCOMPARE(otherClicked.count(), 1);
        QCOMPARE(outside.count(), 0);
        QTRY_COMPARE(outside.count(), 1);
        overlay.hide();
        QTest::mouseClick(other, Qt::LeftButton);
        TestSupport::processPendingEvents();
        QCOMPARE(outside.count(), 1);
        // Following the anchor: the window grows, the anchor moves.
        overlay.show(floating, other, [other] { return other->rect(); });
        const QRect before = floating->geometry();
        window.resize(400, 500);
        QTRY_VERIFY(floating->geometry().top() > before.top());
        // Gone with its anchor.
        QSignalSpy hidden(&overlay, &AnchoredOverlay::anchorHidden);
        other->hide();
        QCOMPARE(hidden.count(), 1);
        QVERIFY(!overlay.isShown());
    }
};

QTEST_MAIN(TestAnchoredOverlay)
#include "tst_anchoredoverlay.moc"

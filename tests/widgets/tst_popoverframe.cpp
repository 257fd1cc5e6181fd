#include "widgets/PopoverFrame.h"

#include <QTest>

// Nothing blurs what lies under a popover here: its chrome is painted opaque,
// a translucent colour laid over the frame's window colour, border kept.
class TestPopoverFrame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void translucentChromeIsPaintedOpaque_data() {
        QTest::addColumn<QColor>("window");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("border");
        QTest::newRow("light") << QColor(239, 233, 223) << QColor(238, 232, 218, 235)
                               << QColor(46, 37, 25, 64);
        QTest::newRow("dark") << QColor(13, 15, 20) << QColor(8, 10, 16, 235)
                              << QColor(242, 244, 248, 64);
        QTest::newRow("clear") << QColor(250, 250, 250) << QColor(Qt::transparent)
                               << QColor(0, 0, 0, 30);
    }
    void translucentChromeIsPaintedOpaque() {
        QFETCH(QColor, window);
        QFETCH(QColor, background);
        QFETCH(QColor, border);
        PopoverFrame frame;
        QPalette palette = frame.palette();
        palette.setColor(QPalette::Window, window);
        frame.setPalette(palette);
        frame.setColours(background, border);
        frame.resize(200, 120);

        const QColor painted = frame.paintedBackground();
        QCOMPARE(painted.alpha(), 255);
        // What the colour would look like over the window, no more opaque.
        const double a = background.alphaF();
        QVERIFY(qAbs(painted.red() - (background.red() * a + window.red() * (1 - a))) <= 1);
        QVERIFY(qAbs(painted.blue() - (background.blue() * a + window.blue() * (1 - a))) <= 1);

        const QImage image = frame.grab().toImage();
        const QColor middle = image.pixelColor(image.width() / 2, image.height() / 2);
        QCOMPARE(middle.alpha(), 255);
        QVERIFY(qAbs(middle.red() - painted.red()) <= 1);
        QVERIFY(qAbs(middle.green() - painted.green()) <= 1);
        QVERIFY(qAbs(middle.blue() - painted.blue()) <= 1);
        // The border still runs along the edge.
        QVERIFY(image.pixelColor(image.width() / 2, 0) != middle);
    }
};

QTEST_MAIN(TestPopoverFrame)
#include "tst_popoverframe.moc"

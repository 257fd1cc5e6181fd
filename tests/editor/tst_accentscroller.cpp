#include "editor/AccentScroller.h"
#include "editor/ScrollViewStyling.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

namespace {

struct StyledEditor {
    QPlainTextEdit edit;
    AccentScroller* scroller;
    QScrollBar* bar = edit.verticalScrollBar();
    explicit StyledEditor(int lines) {
        edit.setPlainText(QStringLiteral("line\n").repeated(lines - 1) + QStringLiteral("end"));
        scroller = ScrollViewStyling::apply(&edit, QColor(200, 40, 20));
        QVERIFY(TestSupport::showExposed(&edit, {400, 300}));
    }
    // The scroller's pixel at a height, drawn on a transparent image.
    QRgb pixelAt(double y) {
        QImage image(scroller->size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        scroller->render(&image, {}, {}, QWidget::RenderFlags());
        return image.pixel(3, int(y));
    }
    QRectF knob() const {
        return AccentScroller::knobRect(scroller->width(), scroller->height(), 0, bar->maximum(),
                                        bar->pageStep(), bar->value());
    }
    void send(QEvent::Type type, double y, Qt::MouseButtons buttons = Qt::LeftButton) {
        QMouseEvent event(type, QPointF(3, y), scroller->mapToGlobal(QPointF(3, y)), Qt::LeftButton,
                          buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(scroller, &event);
    }
};

} // namespace

class TestAccentScroller : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void knobGeometry() {
        QVERIFY(AccentScroller::knobRect(6, 400, 0, 0, 100, 0).isEmpty());
        QCOMPARE(AccentScroller::knobRect(6, 400, 0, 300, 100, 999), QRectF(0, 300, 6, 100));
        // A huge document still gets a knob long enough to grab.
        QCOMPARE(AccentScroller::knobRect(6, 400, 0, 100000, 10, 100000).height(), 24.0);
    }

    void replacesTheVerticalBarOnly() {
        StyledEditor e(500);
        QCOMPARE(e.edit.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(e.edit.horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        QCOMPARE(AccentScroller::of(&e.edit), e.scroller);
        // Styling again changes the colour and adds no second scroller.
        QCOMPARE(ScrollViewStyling::apply(&e.edit, Qt::blue), e.scroller);
        QCOMPARE(e.edit.findChildren<AccentScroller*>().size(), 1);
        QCOMPARE(e.scroller->accentColor(), QColor(Qt::blue));
    }

    void showsWhileScrollingThenHides() {
        StyledEditor e(500);
        QVERIFY(!e.scroller->isVisible());
        e.bar->setValue(40);
        QVERIFY(e.scroller->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!e.scroller->isVisible(), 10'000);
        // The pointer near the right edge brings it back.
        QMouseEvent move(QEvent::MouseMove, QPointF(e.edit.viewport()->width() - 3, 20), QPointF(),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(e.edit.viewport(), &move);
        QVERIFY(e.scroller->isVisible());
    }

    void nothingToScrollNothingShown() {
        StyledEditor e(3);
        e.scroller->reveal();
        QVERIFY(!e.scroller->isVisible());
    }

    // Only the knob is drawn, in the accent colour at 52 % (88 % while
    // held); dragging it scrolls, a click beside it pages.
    void knobDrawsDragsAndPages() {
        StyledEditor e(500);
        e.scroller->reveal();
        const QRectF knob = e.knob();
        const QRgb middle = e.pixelAt(knob.center().y());
        QVERIFY(qAbs(qAlpha(middle) - 133) <= 2);
        QVERIFY(qAbs(qRed(middle) - 200) <= 3 && qAbs(qGreen(middle) - 40) <= 3);
        QCOMPARE(qAlpha(e.pixelAt(knob.bottom() + 10)), 0);
        e.send(QEvent::MouseButtonPress, knob.center().y());
        QVERIFY(qAbs(qAlpha(e.pixelAt(knob.center().y())) - 224) <= 2);

        e.send(QEvent::MouseMove, e.scroller->height() + 50);
        QCOMPARE(e.bar->value(), e.bar->maximum());
        e.send(QEvent::MouseButtonRelease, e.scroller->height(), Qt::NoButton);
        QVERIFY(!e.scroller->isHighlighted());
        e.send(QEvent::MouseButtonPress, 2);
        QCOMPARE(e.bar->value(), e.bar->maximum() - e.bar->pageStep());
    }
};

QTEST_MAIN(TestAccentScroller)
#include "tst_accentscroller.moc"

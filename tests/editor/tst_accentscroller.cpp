#include "editor/AccentScroller.h"
#include "editor/ScrollViewStyling.h"

#include <QImage>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

namespace {

struct StyledEditor {
    QPlainTextEdit edit;
    AccentScroller* scroller;
    explicit StyledEditor(int lines, QColor accent = QColor(200, 40, 20)) {
        QStringList text;
        for (int i = 0; i < lines; ++i)
            text << QStringLiteral("line %1").arg(i);
        edit.setPlainText(text.join(QLatin1Char('\n')));
        edit.resize(400, 300);
        scroller = ScrollViewStyling::apply(&edit, accent);
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
    }
    QScrollBar* bar() { return edit.verticalScrollBar(); }
    // The scroller as drawn on a transparent image.
    QImage drawn() {
        QImage image(scroller->size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        scroller->render(&image, {}, {}, QWidget::RenderFlags());
        return image;
    }
    void send(QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, scroller->mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(scroller, &event);
    }
};

} // namespace

class TestAccentScroller : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void knobGeometry() {
        const QRectF thin = AccentScroller::insetKnob({0, 0, 6, 100});
        QCOMPARE(thin.left(), 0.72);
        QCOMPARE(thin.right(), 6 - 0.72);
        QCOMPARE(thin.top(), 4.0);
        QCOMPARE(thin.bottom(), 96.0);
        const QRectF wide = AccentScroller::insetKnob({0, 0, 10, 100});
        QCOMPARE(wide.left(), 1.0);
        QCOMPARE(wide.right(), 9.0);

        QVERIFY(AccentScroller::knobRect(6, 400, 0, 0, 100, 0).isEmpty());
        QVERIFY(AccentScroller::knobRect(0, 400, 0, 300, 100, 0).isEmpty());
        QCOMPARE(AccentScroller::knobRect(6, 400, 0, 300, 100, 0), QRectF(0, 0, 6, 100));
        QCOMPARE(AccentScroller::knobRect(6, 400, 0, 300, 100, 150), QRectF(0, 150, 6, 100));
        QCOMPARE(AccentScroller::knobRect(6, 400, 0, 300, 100, 999), QRectF(0, 300, 6, 100));
        // A huge document still gets a knob long enough to grab.
        QCOMPARE(AccentScroller::knobRect(6, 400, 0, 100000, 10, 100000).height(), 24.0);
    }

    void replacesTheVerticalBarOnly() {
        StyledEditor e(500);
        QCOMPARE(e.edit.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(e.edit.horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
        QCOMPARE(AccentScroller::of(&e.edit), e.scroller);
        QCOMPARE(e.scroller->accentColor(), QColor(200, 40, 20));
        // Styling again changes the colour and adds no second scroller.
        QCOMPARE(ScrollViewStyling::apply(&e.edit, Qt::blue), e.scroller);
        QCOMPARE(e.edit.findChildren<AccentScroller*>().size(), 1);
        QCOMPARE(e.scroller->accentColor(), QColor(Qt::blue));
        // The text still scrolls by the hidden bar.
        QVERIFY(e.bar()->maximum() > 0);
    }

    void showsWhileScrollingThenHides() {
        StyledEditor e(500);
        QVERIFY(!e.scroller->isVisible());
        e.bar()->setValue(40);
        QVERIFY(e.scroller->isVisible());
        const QRect viewport = e.edit.viewport()->geometry();
        QCOMPARE(e.scroller->geometry(),
                 QRect(viewport.right() + 1 - AccentScroller::thickness, viewport.top(),
                       AccentScroller::thickness, viewport.height()));
        QTRY_VERIFY_WITH_TIMEOUT(!e.scroller->isVisible(), 5000);

        // The pointer near the right edge brings it back.
        QMouseEvent move(QEvent::MouseMove, QPointF(e.edit.viewport()->width() - 3, 20), QPointF(),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(e.edit.viewport(), &move);
        QVERIFY(e.scroller->isVisible());
    }

    void nothingToScrollNothingShown() {
        StyledEditor e(3);
        QCOMPARE(e.bar()->maximum(), 0);
        e.scroller->reveal();
        QVERIFY(!e.scroller->isVisible());
        e.scroller->resize(AccentScroller::thickness, 200);
        const QImage image = e.drawn();
        for (int y = 0; y < image.height(); y += 10)
            QCOMPARE(qAlpha(image.pixel(3, y)), 0);
    }

    // The knob is the accent colour at 52 % (88 % while held); the track
    // stays transparent.
    void drawsOnlyTheKnob() {
        StyledEditor e(500);
        e.scroller->reveal();
        const QRectF knob = AccentScroller::knobRect(e.scroller->width(), e.scroller->height(), 0,
                                                     e.bar()->maximum(), e.bar()->pageStep(), 0);
        QImage image = e.drawn();
        const QRgb middle = image.pixel(3, int(knob.center().y()));
        QVERIFY(qAbs(qAlpha(middle) - 133) <= 2);
        QVERIFY(qAbs(qRed(middle) - 200) <= 3 && qAbs(qGreen(middle) - 40) <= 3);
        QCOMPARE(qAlpha(image.pixel(3, int(knob.bottom()) + 10)), 0);
        QCOMPARE(qAlpha(image.pixel(3, e.scroller->height() - 2)), 0);

        e.send(QEvent::MouseButtonPress, {3, knob.center().y()}, Qt::LeftButton);
        QVERIFY(e.scroller->isHighlighted());
        image = e.drawn();
        QVERIFY(qAbs(qAlpha(image.pixel(3, int(knob.center().y()))) - 224) <= 2);
    }

    void dragAndPage() {
        StyledEditor e(500);
        e.scroller->reveal();
        const QRectF knob = AccentScroller::knobRect(e.scroller->width(), e.scroller->height(), 0,
                                                     e.bar()->maximum(), e.bar()->pageStep(), 0);
        // Dragging the knob to the bottom scrolls to the end.
        e.send(QEvent::MouseButtonPress, {3, knob.center().y()}, Qt::LeftButton);
        e.send(QEvent::MouseMove, {3, double(e.scroller->height() + 50)}, Qt::LeftButton);
        QCOMPARE(e.bar()->value(), e.bar()->maximum());
        e.send(QEvent::MouseButtonRelease, {3, double(e.scroller->height())}, Qt::NoButton);
        QVERIFY(!e.scroller->isHighlighted());

        // A click above the knob pages up.
        const int before = e.bar()->value();
        e.send(QEvent::MouseButtonPress, {3, 2}, Qt::LeftButton);
        QCOMPARE(e.bar()->value(), before - e.bar()->pageStep());
        e.send(QEvent::MouseButtonRelease, {3, 2}, Qt::NoButton);
    }
};

QTEST_MAIN(TestAccentScroller)
#include "tst_accentscroller.moc"

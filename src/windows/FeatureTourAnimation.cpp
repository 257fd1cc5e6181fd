#include "windows/FeatureTourAnimation.h"

#include <QPointF>
#include <QVariantAnimation>
#include <QWidget>

QEasingCurve FeatureTourAnimation::easeOut() {
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0, 0), QPointF(0.58, 1), QPointF(1, 1));
    return curve;
}

void FeatureTourAnimation::prepare(QVariantAnimation& animation, int ms, QWidget* repainted) {
    animation.setDuration(ms);
    animation.setEasingCurve(easeOut());
    animation.setStartValue(0.0);
    animation.setEndValue(1.0);
    QObject::connect(&animation, &QVariantAnimation::valueChanged, repainted,
                     qOverload<>(&QWidget::update));
}

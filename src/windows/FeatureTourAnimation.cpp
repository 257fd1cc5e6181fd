#include "windows/FeatureTourAnimation.h"

#include "core/Motion.h"

#include <QVariantAnimation>
#include <QWidget>

void FeatureTourAnimation::prepare(QVariantAnimation& animation, int ms, QWidget* repainted) {
    animation.setDuration(ms);
    animation.setEasingCurve(Motion::easeOut());
    animation.setStartValue(0.0);
    animation.setEndValue(1.0);
    QObject::connect(&animation, &QVariantAnimation::valueChanged, repainted,
                     qOverload<>(&QWidget::update));
}

#include "core/Motion.h"

#include <QPointF>
#include <QtMath>
#include <cmath>

namespace {

QEasingCurve cubicBezier(double x1, double y1, double x2, double y2) {
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(x1, y1), QPointF(x2, y2), QPointF(1, 1));
    return curve;
}

constexpr double settledWithin = 0.001;

} // namespace

QEasingCurve Motion::easeOut() {
    return cubicBezier(0, 0, 0.58, 1);
}

QEasingCurve Motion::easeInOut() {
    return cubicBezier(0.42, 0, 0.58, 1);
}

Motion::Spring::Spring(double responseSeconds, double dampingFraction) {
    Q_ASSERT(responseSeconds > 0 && dampingFraction > 0 && dampingFraction < 1);
    m_natural = 2 * M_PI / responseSeconds;
    m_decay = dampingFraction * m_natural;
    m_damped = m_natural * std::sqrt(1 - dampingFraction * dampingFraction);
}

double Motion::Spring::progress(double seconds) const {
    if (seconds <= 0)
        return 0;
    const double t = seconds;
    return 1 - std::exp(-m_decay * t) *
                   (std::cos(m_damped * t) + m_decay / m_damped * std::sin(m_damped * t));
}

int Motion::Spring::settleMs() const {
    // The swing stays inside its envelope, which falls below the bound here.
    const double amplitude = 1 + m_decay / m_damped;
    return int(std::ceil(1000 * std::log(amplitude / settledWithin) / m_decay));
}

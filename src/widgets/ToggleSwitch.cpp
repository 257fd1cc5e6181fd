#include "widgets/ToggleSwitch.h"

#include "core/AppearanceService.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int trackWidth = 34;
constexpr int trackHeight = 20;
constexpr int knobInset = 2;
constexpr double disabledOpacity = 0.45;
} // namespace

ToggleSwitch::ToggleSwitch(QWidget* parent) : ThemedButton(parent) {
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize ToggleSwitch::sizeHint() const {
    return {trackWidth + 2, trackHeight + 2};
}

void ToggleSwitch::paintEvent(QPaintEvent*) {
    const DesignSystem::Colors& c = AppearanceService::shared().designSystem().colors;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        p.setOpacity(disabledOpacity);
    QRectF track(0, 0, trackWidth, trackHeight);
    track.moveCenter(QRectF(rect()).center());
    const double radius = track.height() / 2;
    QPainterPath capsule;
    capsule.addRoundedRect(track, radius, radius);
    if (isChecked()) {
        p.fillPath(capsule, c.accent.toQColor());
    } else {
        p.fillPath(capsule, c.segmentTrack.toQColor());
        p.setPen(QPen(c.segmentBorder.withAlpha(qMax(c.segmentBorder.alpha, 0.16)).toQColor(), 1));
        p.drawPath(capsule);
    }
    if (isDown()) {
        p.fillPath(capsule, QColor(0, 0, 0, 24));
    }
    const double knob = track.height() - 2 * knobInset;
    const double x = isChecked() ? track.right() - knobInset - knob : track.left() + knobInset;
    const QRectF knobRect(x, track.top() + knobInset, knob, knob);
    p.setPen(QPen(QColor(0, 0, 0, 40), 0.5));
    p.setBrush(Qt::white);
    p.drawEllipse(knobRect);
    if (showsFocusRing()) {
        p.setOpacity(1);
        p.setPen(QPen(c.accent.withAlpha(0.5).toQColor(), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(track.adjusted(-1, -1, 1, 1), radius + 1, radius + 1);
    }
}

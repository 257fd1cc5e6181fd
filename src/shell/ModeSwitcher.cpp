#include "shell/ModeSwitcher.h"

#include "core/AppearanceService.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

namespace {

QFont segmentFont(bool selected) {
    return DesignSystem::Typography::font(FontDesign::Default, 12,
                                          selected ? QFont::DemiBold : QFont::Normal);
}

} // namespace

ModeSegment::ModeSegment(ViewMode mode, QWidget* parent) : QAbstractButton(parent), m_mode(mode) {
    setCheckable(true);
    setAutoExclusive(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    retranslate();
}

void ModeSegment::retranslate() {
    setText(displayName(m_mode));
    setAccessibleName(text());
    updateGeometry();
}

QSize ModeSegment::sizeHint() const {
    // Measured in the bold face, so selecting a segment never shifts the row.
    const QFontMetrics fm(segmentFont(true));
    return {fm.horizontalAdvance(text()) + 28, fm.height() + 10};
}

void ModeSegment::paintEvent(QPaintEvent*) {
    const DesignSystem::Colors& c = AppearanceService::shared().designSystem().colors;
    QPainter p(this);
    p.setFont(segmentFont(isChecked()));
    p.setPen(isChecked() ? c.onAccent.toQColor() : c.secondaryText.toQColor());
    p.drawText(rect(), Qt::AlignCenter, text());
}

ModeSwitcher::ModeSwitcher(QWidget* parent) : ToolbarSegmentChrome(parent) {
    for (const ViewMode mode : allCases<ViewMode>()) {
        auto* button = new ModeSegment(mode, this);
        row()->addWidget(button);
        m_segments.append(button);
        connect(button, &QAbstractButton::clicked, this, [this, mode] {
            // The window decides; until it does, the old segment stays marked.
            segment(m_mode)->setChecked(true);
            Q_EMIT modeChosen(mode);
        });
    }
    segment(m_mode)->setChecked(true);
    m_slide.setDuration(slideMs);
    m_slide.setEasingCurve(QEasingCurve::OutCubic);
    connect(&m_slide, &QVariantAnimation::valueChanged, this, qOverload<>(&QWidget::update));
    connect(&AppearanceService::shared(), &AppearanceService::changed, this, [this] {
        for (ModeSegment* s : m_segments)
            s->update();
    });
}

ModeSegment* ModeSwitcher::segment(ViewMode mode) const {
    return m_segments.at(allCases<ViewMode>().indexOf(mode));
}

void ModeSwitcher::setMode(ViewMode mode) {
    if (mode == m_mode)
        return;
    const QRectF from = pillRect();
    m_mode = mode;
    segment(mode)->setChecked(true);
    m_slide.stop();
    if (m_placed && isVisible()) {
        m_slide.setStartValue(from);
        m_slide.setEndValue(targetPill());
        m_slide.start();
    }
    update();
}

QRectF ModeSwitcher::targetPill() const {
    return QRectF(segment(m_mode)->geometry());
}

QRectF ModeSwitcher::pillRect() const {
    if (m_slide.state() == QAbstractAnimation::Running)
        return m_slide.currentValue().toRectF();
    return targetPill();
}

void ModeSwitcher::resizeEvent(QResizeEvent* event) {
    m_slide.stop();
    m_placed = true;
    ToolbarSegmentChrome::resizeEvent(event);
}

void ModeSwitcher::paintEvent(QPaintEvent* event) {
    ToolbarSegmentChrome::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath pill;
    pill.addRoundedRect(pillRect(), 6, 6);
    p.fillPath(pill, AppearanceService::shared().designSystem().colors.accent.toQColor());
}

void ModeSwitcher::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        for (ModeSegment* s : m_segments)
            s->retranslate();
    }
    ToolbarSegmentChrome::changeEvent(event);
}

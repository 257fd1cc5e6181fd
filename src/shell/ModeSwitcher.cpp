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
    const auto* switcher = qobject_cast<const ModeSwitcher*>(parentWidget());
    QPainterPath pill;
    if (switcher)
        pill.addRect(switcher->pillRect().translated(-QPointF(pos())));
    else if (isChecked())
        pill.addRect(QRectF(rect()));
    QPainterPath whole;
    whole.addRect(QRectF(rect()));
    QPainter p(this);
    for (const bool selected : {false, true}) {
        p.setClipPath(selected ? pill : whole.subtracted(pill));
        p.setFont(segmentFont(selected));
        p.setPen(selected ? c.onAccent.toQColor() : c.secondaryText.toQColor());
        p.drawText(rect(), Qt::AlignCenter, text());
    }
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
    m_slide.setDuration(m_spring.settleMs());
    m_slide.setStartValue(0.0);
    m_slide.setEndValue(1.0);
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
    // A change mid-way sets off from where the pill stands: one pill, always.
    const QRectF from = pillRect();
    m_mode = mode;
    segment(mode)->setChecked(true);
    m_slide.stop();
    if (m_placed && isVisible()) {
        m_slideFrom = from;
        m_slide.start();
    }
    update();
}

QRectF ModeSwitcher::targetPill() const {
    return QRectF(segment(m_mode)->geometry());
}

QRectF ModeSwitcher::pillRect() const {
    const QRectF to = targetPill();
    if (m_slide.state() != QAbstractAnimation::Running)
        return to;
    const double p = m_spring.progress(m_slide.currentTime() / 1000.0);
    const auto along = [p](double a, double b) { return a + (b - a) * p; };
    return QRectF(
        QPointF(along(m_slideFrom.left(), to.left()), along(m_slideFrom.top(), to.top())),
        QPointF(along(m_slideFrom.right(), to.right()), along(m_slideFrom.bottom(), to.bottom())));
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

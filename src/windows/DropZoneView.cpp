#include "windows/DropZoneView.h"

#include "core/AppearanceService.h"
#include "core/L10n.h"
#include "widgets/SymbolLabel.h"
#include "widgets/ThemedLabel.h"

#include <QBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVariantAnimation>

namespace {
constexpr double cornerRadius = 14;
constexpr int symbolSize = 28;

QColor mix(const QColor& from, const QColor& to, double t) {
    return QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * t,
                            from.greenF() + (to.greenF() - from.greenF()) * t,
                            from.blueF() + (to.blueF() - from.blueF()) * t,
                            from.alphaF() + (to.alphaF() - from.alphaF()) * t);
}
} // namespace

DropZoneView::DropZoneView(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 32, 0, 32);
    layout->setSpacing(8);
    m_symbolSlot = new QWidget(this);
    m_symbolSlot->setFixedSize(symbolSize, symbolSize);
    layout->addWidget(m_symbolSlot, 0, Qt::AlignHCenter);
    auto* text = new ThemedLabel(ThemeRoles::callout(), &DesignSystem::Colors::secondaryText, this);
    text->setSourceText(L10n::mark("Drop Markdown files here"));
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);

    m_animation = new QVariantAnimation(this);
    m_animation->setDuration(150);
    m_animation->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_progress = value.toDouble();
        update();
    });
    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            qOverload<>(&QWidget::update));
}

void DropZoneView::setTargeted(bool targeted) {
    if (m_targeted == targeted)
        return;
    m_targeted = targeted;
    m_animation->stop();
    m_animation->setStartValue(m_progress);
    m_animation->setEndValue(targeted ? 1.0 : 0.0);
    m_animation->start();
}

QColor DropZoneView::borderColor(double progress) const {
    const auto& c = AppearanceService::shared().designSystem().colors;
    return mix(c.divider, c.accent, progress);
}

void DropZoneView::paintEvent(QPaintEvent*) {
    const auto& c = AppearanceService::shared().designSystem().colors;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    painter.fillPath(shape, QColor(c.previewSurface));

    // Drawn inside the shape; the dashes keep their length whatever the width.
    const double width = borderWidth(m_progress);
    QPen pen(borderColor(m_progress), width, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setDashPattern({7.0 / width, 5.0 / width});
    pen.setMiterLimit(10);
    painter.setPen(pen);
    const double inset = width / 2;
    painter.drawRoundedRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset),
                            cornerRadius - inset, cornerRadius - inset);

    SymbolLabel::paint(painter, QStringLiteral("arrow.down.doc"),
                       mix(c.mutedText, c.accent, m_progress), m_symbolSlot->geometry());
}

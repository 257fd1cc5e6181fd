#include "windows/WelcomeButtonStyles.h"

#include "core/AppearanceService.h"
#include "widgets/SymbolLabel.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int symbolSpacing = 6;

QFont weighted(QFont font, QFont::Weight weight) {
    font.setWeight(weight);
    return font;
}
} // namespace

WelcomeButtonLook WelcomePrimaryButtonStyle::look(const DesignSystem& ds, bool pressed) {
    const auto& c = ds.colors;
    return {weighted(ds.typography.callout, QFont::DemiBold), c.onAccent,
            c.accent.withAlpha(c.accent.alpha * (pressed ? 0.85 : 1.0)), QColor()};
}

WelcomeButtonLook WelcomeSecondaryButtonStyle::look(const DesignSystem& ds, bool pressed) {
    const auto& c = ds.colors;
    return {weighted(ds.typography.callout, QFont::Medium), c.text,
            c.segmentTrack.withAlpha(c.segmentTrack.alpha * (pressed ? 0.8 : 1.0)),
            c.segmentBorder};
}

WelcomeButton::WelcomeButton(Style style, QWidget* parent) : ThemedButton(parent), m_style(style) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void WelcomeButton::setSymbol(const QString& name) {
    m_symbol = name;
    updateGeometry();
    update();
}

void WelcomeButton::setOpacity(double opacity) {
    m_opacity = opacity;
    update();
}

WelcomeButtonLook WelcomeButton::look() const {
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    return m_style == Style::Primary ? WelcomePrimaryButtonStyle::look(ds, isDown())
                                     : WelcomeSecondaryButtonStyle::look(ds, isDown());
}

int WelcomeButton::symbolSize(const QFontMetrics& metrics) const {
    return m_symbol.isEmpty() ? 0 : metrics.height();
}

int WelcomeButton::labelWidth(const QFontMetrics& metrics) const {
    const int symbol = symbolSize(metrics);
    return metrics.horizontalAdvance(text()) + (symbol ? symbol + symbolSpacing : 0);
}

QSize WelcomeButton::sizeHint() const {
    const QFontMetrics metrics(look().font);
    return {labelWidth(metrics) + 2 * WelcomeButtonLook::horizontalPadding,
            metrics.height() + 2 * WelcomeButtonLook::verticalPadding};
}

QSize WelcomeButton::minimumSizeHint() const {
    return sizeHint();
}

void WelcomeButton::paintEvent(QPaintEvent*) {
    const WelcomeButtonLook look = this->look();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(m_opacity);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), WelcomeButtonLook::cornerRadius,
                         WelcomeButtonLook::cornerRadius);
    painter.setClipPath(shape);
    painter.fillPath(shape, look.background);
    // Stroked along the outline and clipped to it: only the inner half shows.
    if (look.border.isValid())
        painter.strokePath(shape, QPen(look.border, 1));
    if (showsFocusRing())
        painter.strokePath(shape, QPen(look.foreground, 3));

    const QFontMetrics metrics(look.font);
    const int symbol = symbolSize(metrics);
    int x = (width() - labelWidth(metrics)) / 2;
    if (symbol) {
        SymbolLabel::paint(painter, m_symbol, look.foreground,
                           QRect(x, (height() - symbol) / 2, symbol, symbol));
        x += symbol + symbolSpacing;
    }
    painter.setFont(look.font);
    painter.setPen(look.foreground);
    painter.drawText(QRect(x, 0, width() - x, height()), Qt::AlignVCenter | Qt::AlignLeft, text());
}

#include "widgets/PlainButton.h"

#include "core/AppearanceService.h"
#include "widgets/SymbolLabel.h"

#include <QPainter>

namespace {
constexpr int symbolSpacing = 4;
constexpr double pressedOpacity = 0.6;
constexpr double disabledOpacity = 0.35;
} // namespace

PlainButton::PlainButton(FontRole font, ColorRole color, QWidget* parent)
    : ThemedButton(parent), m_font(std::move(font)), m_color(color) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void PlainButton::setSymbol(const QString& name, int pixelSize) {
    m_symbol = name;
    m_symbolSize = pixelSize;
    updateGeometry();
    update();
}

QFont PlainButton::currentFont() const {
    return m_font(AppearanceService::shared().designSystem());
}

int PlainButton::contentWidth(const QFontMetrics& metrics) const {
    int width = text().isEmpty() ? 0 : metrics.horizontalAdvance(text());
    if (!m_symbol.isEmpty())
        width += m_symbolSize + (text().isEmpty() ? 0 : symbolSpacing);
    return width;
}

QSize PlainButton::sizeHint() const {
    const QFontMetrics metrics(currentFont());
    const int height = text().isEmpty() ? m_symbolSize : qMax(metrics.height(), m_symbolSize);
    return {contentWidth(metrics) + 4, height + 4};
}

void PlainButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    const double opacity = !isEnabled() ? disabledOpacity : isDown() ? pressedOpacity : 1.0;
    const QColor color = ThemeRoles::color(ds, m_color, opacity);
    const QFont font = currentFont();
    const QFontMetrics metrics(font);
    int x = (width() - contentWidth(metrics)) / 2;
    if (!text().isEmpty()) {
        const int textWidth = metrics.horizontalAdvance(text());
        painter.setFont(font);
        painter.setPen(color);
        painter.drawText(QRect(x, 0, textWidth, height()), Qt::AlignVCenter | Qt::AlignLeft,
                         text());
        x += textWidth + symbolSpacing;
    }
    if (!m_symbol.isEmpty()) {
        const QRect square(x, (height() - m_symbolSize) / 2, m_symbolSize, m_symbolSize);
        SymbolLabel::paint(painter, m_symbol, color, square);
    }
    if (showsFocusRing()) {
        painter.setPen(QPen(ThemeRoles::color(ds, &DesignSystem::Colors::accent), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
}

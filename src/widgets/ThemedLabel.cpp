#include "widgets/ThemedLabel.h"

#include "core/AppearanceService.h"
#include "core/L10n.h"
#include "core/SingleLineText.h"

#include <QEvent>
#include <QPainter>

ThemedLabel::ThemedLabel(FontRole font, ColorRole color, QWidget* parent)
    : QLabel(parent), m_font(std::move(font)), m_color(color) {
    setTextFormat(Qt::PlainText);
    connect(&AppearanceService::shared(), &AppearanceService::changed, this, &ThemedLabel::restyle);
    restyle();
}

void ThemedLabel::setSourceText(const char* text) {
    m_sourceText = text;
    setText(L10n::tr(text));
}

void ThemedLabel::setElided(bool elided, Qt::TextElideMode mode) {
    m_elided = elided;
    m_elideMode = mode;
    setWordWrap(false);
    updateGeometry();
    update();
}

void ThemedLabel::setColorRole(ColorRole color) {
    if (m_color == color)
        return;
    m_color = color;
    restyle();
}

void ThemedLabel::restyle() {
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    setFont(m_font(ds));
    QPalette p = palette();
    p.setColor(QPalette::WindowText, ThemeRoles::color(ds, m_color));
    setPalette(p);
}

// Elided text is drawn on one line, whatever line breaks it holds.
int ThemedLabel::oneLineHeight() const {
    const QMargins margins = contentsMargins();
    return fontMetrics().height() + 2 * margin() + margins.top() + margins.bottom();
}

QSize ThemedLabel::sizeHint() const {
    if (!m_elided)
        return QLabel::sizeHint();
    return {QLabel::sizeHint().width(), oneLineHeight()};
}

QSize ThemedLabel::minimumSizeHint() const {
    if (!m_elided)
        return QLabel::minimumSizeHint();
    return {fontMetrics().horizontalAdvance(QStringLiteral("…")), oneLineHeight()};
}

void ThemedLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange && m_sourceText)
        setText(L10n::tr(m_sourceText));
    QLabel::changeEvent(event);
}

void ThemedLabel::paintEvent(QPaintEvent* event) {
    if (!m_elided) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect area = contentsRect();
    painter.drawText(
        area, int(alignment()) | Qt::TextSingleLine,
        fontMetrics().elidedText(SingleLineText::flattened(text()), m_elideMode, area.width()));
}

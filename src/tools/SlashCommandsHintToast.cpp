#include "tools/SlashCommandsHintToast.h"

#include "core/AppearanceService.h"
#include "core/DesignSystem.h"
#include "core/L10n.h"
#include "platform/Symbols.h"

#include <QAbstractButton>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int paddingX = 16, paddingY = 10, spacing = 16;
constexpr int badgeSize = 32, buttonSize = 22, glyphSize = 10;
constexpr int radius = 14;
// Room under the card for its shadow.
constexpr int shadowDepth = 8;

QFont toastFont(double pixels, QFont::Weight weight = QFont::Normal) {
    return DesignSystem::Typography::font(FontDesign::Default, pixels, weight);
}

const DesignSystem::Colors& colours() {
    return AppearanceService::shared().designSystem().colors;
}

// The round "x" at the card's end.
class DismissButton : public QAbstractButton {
public:
    explicit DismissButton(QWidget* parent) : QAbstractButton(parent) {
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::NoFocus);
        setFixedSize(buttonSize, buttonSize);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(colours().segmentTrack.withAlpha(0.8)));
        painter.drawEllipse(rect());
        const QPixmap glyph = Symbols::pixmap(QStringLiteral("xmark"), colours().mutedText,
                                              QSize(glyphSize, glyphSize), devicePixelRatioF());
        painter.drawPixmap((width() - glyphSize) / 2, (height() - glyphSize) / 2, glyph);
    }
};

} // namespace

SlashCommandsHintToast::SlashCommandsHintToast(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_dismiss = new DismissButton(this);
    connect(m_dismiss, &QAbstractButton::clicked, this, &SlashCommandsHintToast::dismissed);
    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            qOverload<>(&QWidget::update));
    retranslate();
}

int SlashCommandsHintToast::cardHeight() const {
    const int texts = QFontMetrics(toastFont(13, QFont::DemiBold)).height() + 2 +
                      QFontMetrics(toastFont(11)).height();
    return 2 * paddingY + qMax(badgeSize, texts);
}

QSize SlashCommandsHintToast::sizeHint() const {
    return {320, cardHeight() + shadowDepth};
}

QSize SlashCommandsHintToast::minimumSizeHint() const {
    // Any height will do while sliding: the card is cut off, not squeezed.
    return {2 * paddingX + badgeSize + spacing + buttonSize, 0};
}

void SlashCommandsHintToast::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_dismiss->move(width() - paddingX - buttonSize, (cardHeight() - buttonSize) / 2);
}

void SlashCommandsHintToast::retranslate() {
    m_dismiss->setToolTip(L10n::tr("Dismiss"));
    m_dismiss->setAccessibleName(L10n::tr("Dismiss"));
    update();
}

void SlashCommandsHintToast::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void SlashCommandsHintToast::paintEvent(QPaintEvent*) {
    const DesignSystem::Colors& c = colours();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card(0.5, 0.5, width() - 1.0, cardHeight() - 1.0);

    // A soft shadow that falls below the card.
    painter.setPen(Qt::NoPen);
    for (int step = shadowDepth; step >= 1; --step) {
        QPainterPath layer;
        layer.addRoundedRect(card.adjusted(step / 2.0, step, -step / 2.0, step), radius, radius);
        painter.fillPath(layer, QColor(0, 0, 0, 5));
    }
    QPainterPath shape;
    shape.addRoundedRect(card, radius, radius);
    painter.fillPath(shape, QColor(c.chrome));
    painter.setPen(QPen(QColor(c.segmentBorder), 1));
    painter.drawPath(shape);

    const int middle = cardHeight() / 2;
    const QRect badge(paddingX, middle - badgeSize / 2, badgeSize, badgeSize);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(c.accent.withAlpha(0.14)));
    painter.drawEllipse(badge);
    painter.setFont(toastFont(16, QFont::Bold));
    painter.setPen(QColor(c.accent));
    painter.drawText(badge, Qt::AlignCenter, QStringLiteral("/"));

    const QFont titleFont = toastFont(13, QFont::DemiBold), lineFont = toastFont(11);
    const QFontMetrics titleMetrics(titleFont), lineMetrics(lineFont);
    const int textLeft = badge.right() + 1 + spacing;
    const int textWidth = m_dismiss->x() - 8 - textLeft;
    const int textTop = middle - (titleMetrics.height() + 2 + lineMetrics.height()) / 2;
    painter.setFont(titleFont);
    painter.setPen(QColor(c.text));
    painter.drawText(QRect(textLeft, textTop, textWidth, titleMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     titleMetrics.elidedText(L10n::tr("Type / for Markdown commands"),
                                             Qt::ElideRight, textWidth));
    painter.setFont(lineFont);
    painter.setPen(QColor(c.mutedText));
    painter.drawText(
        QRect(textLeft, textTop + titleMetrics.height() + 2, textWidth, lineMetrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter,
        lineMetrics.elidedText(L10n::tr("Headings, lists, quotes, code, tables, and more"),
                               Qt::ElideRight, textWidth));
}

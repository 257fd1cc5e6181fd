#include "windows/ThemePreviewCard.h"

#include "core/AppearanceService.h"
#include "core/L10n.h"
#include "widgets/SymbolLabel.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

namespace {

constexpr int stackSpacing = 7;
constexpr int barHeight = 5;
constexpr double barRadius = 2.5;
constexpr int captionGap = 4;
constexpr int nameSymbolSize = 9;

QFont systemFont(double px, QFont::Weight weight = QFont::Normal) {
    return DesignSystem::Typography::font(FontDesign::Default, px, weight);
}

QFont codeFont() {
    return DesignSystem::Typography::font(FontDesign::Monospaced, 9);
}

QFont nameFont() {
    return systemFont(11, QFont::DemiBold);
}

QFont subtitleFont() {
    return systemFont(10);
}

int chipHeight() {
    return QFontMetrics(codeFont()).height() + 3;
}

// Room kept after the name for the check mark, chosen or not, so that the
// caption keeps its lines when the choice moves.
constexpr int checkRoom = nameSymbolSize + 4;

// The text in lines of at most `width`, broken between words (inside a word
// only when it is wider alone).
QStringList wrappedLines(const QString& text, const QFont& font, int width) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(qMax(1, width));
        lines.append(text.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    return lines;
}

} // namespace

ThemePreviewCard::ThemePreviewCard(const char* name, const char* subtitle,
                                   const DesignSystem::Colors& palette, bool usesSerif,
                                   QWidget* parent)
    : ThemedButton(parent), m_subtitle(subtitle), m_palette(palette), m_usesSerif(usesSerif) {
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setSourceText(name);
    setAccessibleName(text());
    setToolTip(L10n::tr(m_subtitle));
}

void ThemePreviewCard::setSelected(bool selected) {
    setChecked(selected);
    update();
}

QFont ThemePreviewCard::headingFont() const {
    return DesignSystem::Typography::font(m_usesSerif ? FontDesign::Serif : FontDesign::Default, 14,
                                          QFont::DemiBold);
}

int ThemePreviewCard::mockupHeight() const {
    const int heading = QFontMetrics(headingFont()).height();
    return mockupPadding + heading + stackSpacing + barHeight + stackSpacing + barHeight +
           stackSpacing + 2 + chipHeight() + mockupPadding;
}

ThemePreviewCard::Caption ThemePreviewCard::caption(int width) const {
    return {wrappedLines(text(), nameFont(), width - checkRoom),
            wrappedLines(L10n::tr(m_subtitle), subtitleFont(), width)};
}

int ThemePreviewCard::captionHeight(int width) const {
    const Caption lines = caption(width);
    return int(lines.name.size()) * QFontMetrics(nameFont()).height() + 1 +
           int(lines.subtitle.size()) * QFontMetrics(subtitleFont()).height();
}

QRect ThemePreviewCard::mockupRect() const {
    return {0, 0, width(), mockupHeight()};
}

int ThemePreviewCard::heightForWidth(int width) const {
    return mockupHeight() + captionGap + captionHeight(width);
}

QSize ThemePreviewCard::sizeHint() const {
    return {150, heightForWidth(150)};
}

QSize ThemePreviewCard::minimumSizeHint() const {
    return {10, sizeHint().height()};
}

void ThemePreviewCard::changeEvent(QEvent* event) {
    ThemedButton::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        setAccessibleName(text());
        setToolTip(L10n::tr(m_subtitle));
        // Other words may take other lines.
        updateGeometry();
    }
}

void ThemePreviewCard::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect mockup = mockupRect();
    drawMockup(p, mockup);
    // The rest of the card: the caption lays its lines out once, as it draws them.
    const int captionTop = mockup.bottom() + 1 + captionGap;
    drawCaption(p, QRect(0, captionTop, width(), height() - captionTop));
}

void ThemePreviewCard::drawMockup(QPainter& p, const QRect& area) const {
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    const DesignSystem::Colors& c = m_palette;
    QPainterPath shape;
    shape.addRoundedRect(QRectF(area), cornerRadius, cornerRadius);
    p.fillPath(shape, c.editorSurface.toQColor());

    const QRect inner = area.adjusted(mockupPadding, mockupPadding, -mockupPadding, 0);
    int y = inner.top();
    const QFont heading = headingFont();
    p.setFont(heading);
    p.setPen(c.text.toQColor());
    const int headingHeight = QFontMetrics(heading).height();
    p.drawText(QRect(inner.left(), y, inner.width(), headingHeight),
               Qt::AlignLeft | Qt::AlignVCenter, L10n::tr("Heading"));
    y += headingHeight + stackSpacing;

    for (double fraction : {0.92, 0.68}) {
        QPainterPath bar;
        bar.addRoundedRect(QRectF(inner.left(), y, inner.width() * fraction, barHeight), barRadius,
                           barRadius);
        p.fillPath(bar, c.text.withAlpha(0.3).toQColor());
        y += barHeight + stackSpacing;
    }
    y += 2;

    const QFont code = codeFont();
    const QFontMetrics codeMetrics(code);
    const QString chipText = L10n::tr("code");
    const int chipHeightPx = chipHeight();
    const QRectF chip(inner.left(), y, codeMetrics.horizontalAdvance(chipText) + 10, chipHeightPx);
    QPainterPath chipShape;
    chipShape.addRoundedRect(chip, 4, 4);
    p.fillPath(chipShape, c.accent.withAlpha(0.16).toQColor());
    p.setFont(code);
    p.setPen(c.accent.toQColor());
    p.drawText(chip, Qt::AlignCenter, chipText);

    const QRectF capsule(chip.right() + 6, chip.center().y() - 4.5, 26, 9);
    QPainterPath capsuleShape;
    capsuleShape.addRoundedRect(capsule, 4.5, 4.5);
    p.fillPath(capsuleShape, c.accent.toQColor());

    // The border inside the edge: 2 px of the theme's accent when chosen.
    const double line = isSelected() ? 2 : 1;
    const QRectF edge = QRectF(area).adjusted(line / 2, line / 2, -line / 2, -line / 2);
    p.setPen(QPen(isSelected() ? c.accent.toQColor() : ds.colors.divider.toQColor(), line));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(edge, cornerRadius - line / 2, cornerRadius - line / 2);
    if (showsFocusRing()) {
        p.setPen(QPen(ds.colors.accent.withAlpha(0.5).toQColor(), 1));
        p.drawRoundedRect(QRectF(area).adjusted(-0.5, -0.5, 0.5, 0.5), cornerRadius + 1,
                          cornerRadius + 1);
    }
}

void ThemePreviewCard::drawCaption(QPainter& p, const QRect& area) const {
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    const Caption lines = caption(area.width());
    const QFontMetrics nameMetrics(nameFont());
    p.setFont(nameFont());
    p.setPen(ds.colors.text.toQColor());
    QRect line(area.left(), area.top(), area.width(), nameMetrics.height());
    for (const QString& name : lines.name) {
        p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, name);
        line.translate(0, line.height());
    }
    if (isSelected() && !lines.name.isEmpty()) {
        const QRect last = line.translated(0, -line.height());
        QRect check(0, 0, nameSymbolSize, nameSymbolSize);
        check.moveCenter(QPoint(area.left() + nameMetrics.horizontalAdvance(lines.name.last()) + 4 +
                                    nameSymbolSize / 2,
                                last.center().y()));
        SymbolLabel::paint(p, QStringLiteral("checkmark.circle.fill"), ds.colors.accent.toQColor(),
                           check);
    }
    const QFontMetrics subtitleMetrics(subtitleFont());
    p.setFont(subtitleFont());
    p.setPen(ds.colors.mutedText.toQColor());
    line = QRect(area.left(), line.top() + 1, area.width(), subtitleMetrics.height());
    for (const QString& subtitle : lines.subtitle) {
        p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, subtitle);
        line.translate(0, line.height());
    }
}

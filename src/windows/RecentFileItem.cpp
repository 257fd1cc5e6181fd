#include "windows/RecentFileItem.h"

#include "core/AppearanceService.h"
#include "core/L10n.h"
#include "widgets/PlainButton.h"
#include "widgets/SymbolLabel.h"
#include "widgets/ThemedLabel.h"
#include "windows/RecentFilesPresentation.h"

#include <QBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {
constexpr double hoverOpacity = 0.55;
constexpr double cellCornerRadius = 6;
// The list container's corners, which a hovered row follows.
constexpr double listCornerRadius = 10;

const RecentFileItem::Metrics& rowMetrics() {
    static const RecentFileItem::Metrics metrics{
        16, 16, 24, 2, ThemeRoles::callout(), ThemeRoles::caption(), 10, 16, 8, false, true};
    return metrics;
}

const RecentFileItem::Metrics& cellMetrics() {
    static const RecentFileItem::Metrics metrics{
        8, 13, 0,    1,    ThemeRoles::caption(QFont::Medium), ThemeRoles::system(10), 9,
        8, 7,  true, false};
    return metrics;
}
} // namespace

RecentFileItem::RecentFileItem(const RecentFile& file, const Metrics& metrics, QWidget* parent)
    : QWidget(parent), m_file(file), m_ownShape(metrics.ownShape) {
    using namespace RecentFilesPresentation;
    auto* layout = new QHBoxLayout(this);
    layout->setSpacing(metrics.spacing);
    layout->setContentsMargins(metrics.horizontalPadding, metrics.verticalPadding,
                               metrics.horizontalPadding, metrics.verticalPadding);

    auto* icon = new SymbolLabel(QStringLiteral("doc.text"), metrics.iconSize,
                                 &DesignSystem::Colors::accent, this);
    icon->setFrameWidth(metrics.iconFrameWidth);
    layout->addWidget(icon);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(metrics.textSpacing);
    auto* name = new ThemedLabel(metrics.nameFont, &DesignSystem::Colors::text, this);
    name->setElided(true);
    name->setText(displayName(file.url));
    auto* folder = new ThemedLabel(metrics.folderFont, &DesignSystem::Colors::mutedText, this);
    folder->setElided(true);
    folder->setText(metrics.showsFolderPath ? folderPath(file.url) : folderName(file.url));
    texts->addWidget(name);
    texts->addWidget(folder);
    layout->addLayout(texts, 1);

    m_remove = new PlainButton(ThemeRoles::system(metrics.removeSymbolSize, QFont::DemiBold),
                               &DesignSystem::Colors::mutedText, this);
    m_remove->setSymbol(QStringLiteral("xmark"), metrics.removeSymbolSize);
    m_remove->setFocusPolicy(Qt::NoFocus);
    m_remove->setSourceToolTip(L10n::mark("Remove from recents"));
    m_remove->hide();
    layout->addWidget(m_remove);
    connect(m_remove, &PlainButton::clicked, this, &RecentFileItem::removeRequested);

    if (!metrics.showsFolderPath)
        setToolTip(folderPath(file.url));
    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            qOverload<>(&QWidget::update));
}

void RecentFileItem::setHovered(bool hovered) {
    if (m_hovered == hovered)
        return;
    m_hovered = hovered;
    m_remove->setVisible(hovered);
    update();
}

void RecentFileItem::enterEvent(QEnterEvent* event) {
    setHovered(true);
    QWidget::enterEvent(event);
}

void RecentFileItem::leaveEvent(QEvent* event) {
    setHovered(false);
    QWidget::leaveEvent(event);
}

void RecentFileItem::mousePressEvent(QMouseEvent* event) {
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void RecentFileItem::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        Q_EMIT openRequested();
}

void RecentFileItem::paintEvent(QPaintEvent*) {
    const DesignSystem& ds = AppearanceService::shared().designSystem();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor hover = ThemeRoles::color(ds, &DesignSystem::Colors::codeBackground, hoverOpacity);
    if (m_ownShape) {
        QPainterPath shape;
        shape.addRoundedRect(QRectF(rect()), cellCornerRadius, cellCornerRadius);
        painter.fillPath(shape, m_hovered ? hover : QColor(ds.colors.previewSurface));
        painter.setPen(QPen(QColor(ds.colors.divider), 1));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cellCornerRadius,
                                cellCornerRadius);
        return;
    }
    if (!m_hovered)
        return;
    // A row's tint follows the rounded corners of the list around it.
    QPainterPath clip;
    const QRectF container =
        parentWidget() ? QRectF(parentWidget()->rect()).translated(-pos()) : QRectF(rect());
    clip.addRoundedRect(container, listCornerRadius, listCornerRadius);
    painter.setClipPath(clip);
    painter.fillRect(rect(), hover);
}

RecentFileRow::RecentFileRow(const RecentFile& file, QWidget* parent)
    : RecentFileItem(file, rowMetrics(), parent) {}

RecentFileCell::RecentFileCell(const RecentFile& file, QWidget* parent)
    : RecentFileItem(file, cellMetrics(), parent) {}

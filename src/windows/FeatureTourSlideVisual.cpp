#include "windows/FeatureTourSlideVisual.h"

#include "common/AppIdentity.h"
#include "core/AppearanceService.h"
#include "shell/ModeSwitcher.h"
#include "windows/FeatureTourAnimation.h"
#include "windows/FeatureTourSlideVisuals.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace {

QIcon applicationIcon() {
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = QIcon::fromTheme(QStringLiteral(QUON_APP_ID));
    return icon;
}

} // namespace

FeatureTourSlideVisual::FeatureTourSlideVisual(FeatureTourSlideKind kind, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_leaving(kind) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setFixedHeight(FeatureTourSlideVisuals::height);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_switcher = new ModeSwitcher(this);
    m_switcher->setMode(ViewMode::Split);
    m_switcher->hide();
    FeatureTourAnimation::prepare(m_swap, FeatureTourAnimation::stepMs, this);
    connect(&AppearanceService::shared(), &AppearanceService::changed, this,
            qOverload<>(&QWidget::update));
}

void FeatureTourSlideVisual::setKind(FeatureTourSlideKind kind, bool animated) {
    if (kind == m_kind)
        return;
    m_leaving = m_kind;
    m_kind = kind;
    m_swap.stop();
    if (animated)
        m_swap.start();
    update();
}

void FeatureTourSlideVisual::changeEvent(QEvent* event) {
    // The pictures' texts are looked up each time they are drawn.
    if (event->type() == QEvent::LanguageChange)
        update();
    QWidget::changeEvent(event);
}

void FeatureTourSlideVisual::paintPicture(QPainter& painter, FeatureTourSlideKind kind,
                                          double offset, double opacity) {
    painter.save();
    painter.translate(offset, 0);
    painter.setOpacity(opacity);
    // Laid out at full height; a lower picture is the same one, smaller.
    const double scale = double(height()) / FeatureTourSlideVisuals::height;
    painter.scale(scale, scale);
    FeatureTourSlideVisuals::paint(
        painter, kind, QRectF(0, 0, width() / scale, FeatureTourSlideVisuals::height),
        AppearanceService::shared().designSystem(), {applicationIcon(), m_switcher});
    painter.restore();
}

void FeatureTourSlideVisual::paintEvent(QPaintEvent*) {
    if (height() <= 0)
        return;
    QPainter painter(this);
    if (!isSwapping()) {
        paintPicture(painter, m_kind, 0, 1);
        return;
    }
    const double t = m_swap.currentValue().toDouble();
    // In from the trailing edge, out towards the leading one.
    paintPicture(painter, m_leaving, -t * width(), 1 - t);
    paintPicture(painter, m_kind, (1 - t) * width(), t);
}

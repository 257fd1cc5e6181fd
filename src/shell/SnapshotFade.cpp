#include "shell/SnapshotFade.h"

#include <QEvent>
#include <QPainter>

SnapshotFade::SnapshotFade(QWidget* covered, int durationMs, const QEasingCurve& curve)
    : QWidget(covered->parentWidget()), m_covered(covered) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    // Made after the widget, so above it; whatever opens over it later (a
    // palette, a tour) stays above the picture.
    m_fade.setDuration(durationMs);
    m_fade.setEasingCurve(curve);
    m_fade.setStartValue(1.0);
    m_fade.setEndValue(0.0);
    connect(&m_fade, &QVariantAnimation::valueChanged, this, qOverload<>(&QWidget::update));
    connect(&m_fade, &QVariantAnimation::finished, this, &SnapshotFade::finish);
    covered->installEventFilter(this);
}

double SnapshotFade::opacity() const {
    return isRunning() ? m_fade.currentValue().toDouble() : 0.0;
}

void SnapshotFade::begin() {
    if (!m_covered || !m_covered->isVisible() || !window()->isVisible()) {
        m_fade.stop();
        finish();
        return;
    }
    QPixmap picture = m_covered->grab();
    if (isRunning()) {
        // The fading picture over the grab: what the window shows now.
        QPainter painter(&picture);
        painter.setOpacity(opacity());
        painter.drawPixmap(0, 0, m_picture);
    }
    m_picture = picture;
    m_fade.stop();
    setGeometry(m_covered->geometry());
    show();
    m_fade.start();
    update();
}

void SnapshotFade::finish() {
    hide();
    m_picture = QPixmap();
}

bool SnapshotFade::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_covered && isVisible() &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        setGeometry(m_covered->geometry());
    return QWidget::eventFilter(watched, event);
}

void SnapshotFade::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setOpacity(opacity());
    painter.drawPixmap(0, 0, m_picture);
}

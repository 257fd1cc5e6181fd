#include "widgets/ProgressButton.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
constexpr int spinnerSize = 14;
constexpr int spokes = 8;
constexpr int spinIntervalMs = 90;
} // namespace

ProgressButton::ProgressButton(const char* sourceText, QWidget* parent)
    : FormButton(sourceText, parent) {
    m_spin.setInterval(spinIntervalMs);
    connect(&m_spin, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % spokes;
        update();
    });
}

void ProgressButton::setBusy(bool busy) {
    if (busy == m_busy)
        return;
    m_busy = busy;
    m_step = 0;
    if (busy)
        m_spin.start();
    else
        m_spin.stop();
    update();
}

void ProgressButton::paintEvent(QPaintEvent* event) {
    if (!m_busy) {
        FormButton::paintEvent(event);
        return;
    }
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    p.drawControl(QStyle::CE_PushButton, option);

    // The spokes of a small activity indicator, the leading one darkest.
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(QRectF(rect()).center());
    const QColor ink = palette().color(QPalette::Active, QPalette::ButtonText);
    for (int i = 0; i < spokes; ++i) {
        QColor spoke = ink;
        spoke.setAlphaF(0.25 + 0.75 * double((i + spokes - m_step) % spokes) / (spokes - 1));
        p.setPen(QPen(spoke, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.save();
        p.rotate(360.0 * i / spokes);
        p.drawLine(QPointF(0, -spinnerSize / 4.0), QPointF(0, -spinnerSize / 2.0));
        p.restore();
    }
}

#include "editor/FindIndicator.h"

#include "editor/MarkdownTextView.h"

#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <cmath>

namespace {

constexpr double swellEnd = 0.25; // of the pulse: the marker is back to size
constexpr double fadeStart = 0.65;
constexpr double swell = 0.15;
constexpr qreal padding = 2;

double scaleAt(double t) {
    return t < swellEnd ? 1 + swell * std::sin(M_PI * t / swellEnd) : 1;
}

double opacityAt(double t) {
    return t < fadeStart ? 1 : qMax(0.0, (1 - t) / (1 - fadeStart));
}

// One line's part of a range: where its block's layout lies and the
// marker over the part, in viewport coordinates.
struct Piece {
    QTextBlock block;
    int line = 0;
    QPointF origin;
    QRectF rect;
};

QList<Piece> piecesOf(const MarkdownTextView* view, int from, int to) {
    QList<Piece> pieces;
    for (QTextBlock block = view->document()->findBlock(from);
         block.isValid() && block.position() < to; block = block.next()) {
        const QTextLayout* layout = block.layout();
        const QPointF origin = view->blockRect(block).topLeft();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const int start = qMax(from - block.position(), line.textStart());
            const int end = qMin(to - block.position(), line.textStart() + line.textLength());
            if (start >= end)
                continue;
            const qreal left = line.cursorToX(start), right = line.cursorToX(end);
            const QRectF rect(origin + QPointF(left, line.y()),
                              QSizeF(right - left, line.height()));
            pieces.append({block, i, origin, rect.adjusted(-padding, -padding, padding, padding)});
        }
    }
    return pieces;
}

} // namespace

FindIndicator::FindIndicator(MarkdownTextView* view) : QWidget(view->viewport()), m_view(view) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    m_animation.setStartValue(0.0);
    m_animation.setEndValue(1.0);
    m_animation.setDuration(durationMs);
    connect(&m_animation, &QVariantAnimation::valueChanged, this, qOverload<>(&QWidget::update));
    connect(&m_animation, &QVariantAnimation::finished, this, &FindIndicator::dismiss);
    connect(view->document(), &QTextDocument::contentsChange, this, &FindIndicator::dismiss);
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, &FindIndicator::follow);
    view->viewport()->installEventFilter(this);
}

void FindIndicator::pulse(int from, int to, const QColor& marker) {
    dismiss();
    if (from >= to)
        return;
    m_from = from;
    m_to = to;
    m_marker = marker;
    m_marker.setAlphaF(1);
    follow();
    show();
    raise();
    m_animation.start();
}

void FindIndicator::dismiss() {
    m_animation.stop();
    hide();
}

QRect FindIndicator::reach(const MarkdownTextView* view, int from, int to) {
    QRectF bounds;
    for (const Piece& piece : piecesOf(view, from, to))
        bounds |= piece.rect;
    if (bounds.isNull())
        return {};
    const qreal margin = swell * qMax(bounds.width(), bounds.height()) / 2 + 1;
    return bounds.adjusted(-margin, -margin, margin, margin).toAlignedRect();
}

void FindIndicator::follow() {
    // Only as large as the swollen marker: the rest of the view draws as
    // if it were not there.
    setGeometry(reach(m_view, m_from, m_to));
    update();
}

QList<QRectF> FindIndicator::markerRects() const {
    QList<QRectF> rects;
    if (isPulsing())
        for (const Piece& piece : piecesOf(m_view, m_from, m_to))
            rects.append(piece.rect);
    return rects;
}

void FindIndicator::paintEvent(QPaintEvent*) {
    const double t = m_animation.currentValue().toDouble();
    QPainter painter(this);
    painter.translate(-pos()); // the pieces lie in viewport coordinates
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(opacityAt(t));
    // The text in a dark ink over the marker whatever its colours in the
    // editor, as a highlighter pen leaves it.
    QTextLayout::FormatRange ink;
    ink.format.setForeground(QColor(0x1d, 0x1d, 0x1f));
    for (const Piece& piece : piecesOf(m_view, m_from, m_to)) {
        const QPointF centre = piece.rect.center();
        painter.save();
        painter.translate(centre);
        painter.scale(scaleAt(t), scaleAt(t));
        painter.translate(-centre);
        QPainterPath marker;
        marker.addRoundedRect(piece.rect, 4, 4);
        painter.fillPath(marker, m_marker);
        painter.setClipPath(marker);
        const QTextLayout* layout = piece.block.layout();
        const QTextLine line = layout->lineAt(piece.line);
        ink.start = line.textStart();
        ink.length = line.textLength();
        layout->draw(&painter, piece.origin, {ink}, piece.rect);
        painter.restore();
    }
}

bool FindIndicator::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view->viewport() && event->type() == QEvent::Resize && isPulsing())
        follow();
    return QWidget::eventFilter(watched, event);
}

#pragma once

#include <QVariantAnimation>
#include <QWidget>

class MarkdownTextView;

// A brief pulse over a find match, so the eye finds it after a jump: the
// match's text on an opaque marker swells a little, settles, and fades out.
// It lies over the view's viewport, lets every click through and follows
// the text as it scrolls; an edit ends it at once.
class FindIndicator : public QWidget {
    Q_OBJECT
public:
    static constexpr int durationMs = 600;

    explicit FindIndicator(MarkdownTextView* view);

    // Pulses over the range [from, to) of the view's text.
    void pulse(int from, int to, const QColor& marker);
    void dismiss();
    bool isPulsing() const { return isVisible(); }
    // Where the marker lies at rest, one rectangle per line of the range,
    // in viewport coordinates.
    QList<QRectF> markerRects() const;
    // All a pulse over [from, to) may paint, its swell and soft edge
    // included, in viewport coordinates.
    static QRect reach(const MarkdownTextView* view, int from, int to);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();

    MarkdownTextView* m_view;
    int m_from = 0;
    int m_to = 0;
    QColor m_marker;
    QVariantAnimation m_animation;
};

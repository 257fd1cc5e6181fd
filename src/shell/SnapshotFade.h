#pragma once

#include <QPixmap>
#include <QPointer>
#include <QVariantAnimation>
#include <QWidget>

// Shows a change of a widget as a crossfade without drawing the widget more
// than once per frame: a picture of the widget as it was lies over it and
// fades out while the widget below already is its new self and takes every
// click, key and wheel turn. The picture sits beside the widget, just above
// it, and follows its geometry (cut to it when the widget shrinks).
class SnapshotFade : public QWidget {
    Q_OBJECT
public:
    SnapshotFade(QWidget* covered, int durationMs, const QEasingCurve& curve);

    // Takes the picture; call right before changing the widget. Again while
    // fading, the picture is what shows now. Nothing happens outside a shown
    // window.
    void begin();
    bool isRunning() const { return m_fade.state() == QAbstractAnimation::Running; }
    // The picture's opacity now: 1 at the start, 0 at the end.
    double opacity() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void finish();

    QPointer<QWidget> m_covered;
    QPixmap m_picture;
    QVariantAnimation m_fade;
};

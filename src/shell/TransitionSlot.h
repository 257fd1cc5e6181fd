#pragma once

#include <QPointer>
#include <QVariantAnimation>
#include <QWidget>

// A place in a window's layout for one widget that comes and goes with a
// transition: it slides in from the slot's top or bottom edge and fades in
// while the slot opens to its height, so the widgets around it move to make
// room; leaving runs the same backwards and then hides the slot. Ease-out
// over the given duration; without a shown window it jumps to the end.
class TransitionSlot : public QWidget {
    Q_OBJECT
public:
    enum class Edge { Top, Bottom };

    TransitionSlot(Edge edge, int durationMs, QWidget* parent = nullptr);

    // The one widget shown here; the slot takes it over.
    void setContent(QWidget* content);
    QWidget* content() const { return m_content; }

    // Where the transition goes: shown or hidden.
    bool isShown() const { return m_shown; }
    void setShown(bool shown);
    bool isRunning() const { return m_animation.state() == QAbstractAnimation::Running; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void setProgress(double progress);
    void place();
    int contentHeight() const;

    Edge m_edge;
    QPointer<QWidget> m_content;
    bool m_shown = false;
    double m_progress = 0; // 0 hidden, 1 shown
    QVariantAnimation m_animation;
};

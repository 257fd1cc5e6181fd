#pragma once

#include <QObject>

class QParallelAnimationGroup;
class QPropertyAnimation;
class QWidget;

// Shows and hides a slot of the window's column with a fade while its height
// grows from nothing or shrinks to it, so the content seems to come out from
// (and go back behind) the edge it sits on. The slot's content should keep
// its own height and be cut off rather than squeezed meanwhile.
class SlotReveal : public QObject {
    Q_OBJECT
public:
    SlotReveal(QWidget* slot, int durationMs);

    // Without animation, or in a window not on screen, at once.
    void setShown(bool shown, bool animated);
    bool isShown() const { return m_shown; }
    bool isAnimating() const;

private:
    void finish();

    QWidget* m_slot;
    bool m_shown;
    QParallelAnimationGroup* m_group = nullptr;
    QPropertyAnimation* m_height = nullptr;
    QPropertyAnimation* m_opacity = nullptr;
};

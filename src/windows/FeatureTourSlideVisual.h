#pragma once

#include "core/FeatureTourSlide.h"

#include <QVariantAnimation>
#include <QWidget>

class ModeSwitcher;

// The picture of the slide on show, as wide as the card and 168 high, or
// lower in a short window, drawn smaller to fit. A new
// slide's picture moves in from the trailing edge while the old one leaves
// towards the leading edge, forward and back alike. Only an illustration: it
// takes no clicks or keys.
class FeatureTourSlideVisual : public QWidget {
    Q_OBJECT
public:
    explicit FeatureTourSlideVisual(FeatureTourSlideKind kind, QWidget* parent = nullptr);

    FeatureTourSlideKind kind() const { return m_kind; }
    void setKind(FeatureTourSlideKind kind, bool animated);
    bool isSwapping() const { return m_swap.state() == QAbstractAnimation::Running; }

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void paintPicture(QPainter& painter, FeatureTourSlideKind kind, double offset, double opacity);

    FeatureTourSlideKind m_kind;
    FeatureTourSlideKind m_leaving;
    QVariantAnimation m_swap;
    // Never shown: drawn into the view-modes picture as the toolbar draws it.
    ModeSwitcher* m_switcher = nullptr;
};

#pragma once

#include "core/Motion.h"
#include "core/PreferenceEnums.h"
#include "shell/ToolbarSegmentChrome.h"

#include <QAbstractButton>
#include <QVariantAnimation>

// One segment of the mode switcher: its mode's name, nothing else. The part
// of the name under the switcher's pill is drawn as selected, the rest not, so
// a label changes as the pill passes over it.
class ModeSegment : public QAbstractButton {
    Q_OBJECT
public:
    ModeSegment(ViewMode mode, QWidget* parent = nullptr);

    ViewMode mode() const { return m_mode; }
    QSize sizeHint() const override;
    void retranslate();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ViewMode m_mode;
};

// The Edit / Split / Preview control of the window toolbar. The selected
// segment sits on an accent pill that springs to the newly chosen one. A click
// only reports the choice; the window sets the mode back with setMode().
class ModeSwitcher : public ToolbarSegmentChrome {
    Q_OBJECT
public:
    static constexpr double springResponse = 0.22, springDamping = 0.85;

    explicit ModeSwitcher(QWidget* parent = nullptr);

    ViewMode mode() const { return m_mode; }
    void setMode(ViewMode mode);
    ModeSegment* segment(ViewMode mode) const;
    // Where the pill is drawn now (mid-slide while animating).
    QRectF pillRect() const;

Q_SIGNALS:
    void modeChosen(ViewMode mode);

protected:
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRectF targetPill() const;

    QList<ModeSegment*> m_segments;
    ViewMode m_mode = ViewMode::Split;
    Motion::Spring m_spring{springResponse, springDamping};
    QVariantAnimation m_slide; // 0 to 1 over the spring's time
    QRectF m_slideFrom;
    bool m_placed = false;
};

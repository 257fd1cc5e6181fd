#pragma once

#include <QVariantAnimation>
#include <QWidget>

// One dot per slide: the current one larger and in the accent colour. A step
// grows the new dot and shrinks the old one.
class FeatureTourPageDots : public QWidget {
    Q_OBJECT
public:
    static constexpr double currentSize = 7;
    static constexpr double otherSize = 6;
    static constexpr double spacing = 7;

    FeatureTourPageDots(int count, int current, QWidget* parent = nullptr);

    int current() const { return m_current; }
    void setCurrent(int index, bool animated);
    // Where dot i is drawn now (mid-step while animating).
    QRectF dotRect(int index) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // 1 for the current dot, 0 for the others; in between while stepping.
    double weight(int index) const;

    int m_count;
    int m_current;
    int m_previous;
    QVariantAnimation m_step;
};

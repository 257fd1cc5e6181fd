#pragma once

#include <QWidget>

class QVariantAnimation;

// The dashed "Drop Markdown files here" panel. It only shows whether a file
// drag hovers over the window; the window itself takes the drop.
class DropZoneView : public QWidget {
    Q_OBJECT
public:
    explicit DropZoneView(QWidget* parent = nullptr);

    bool isTargeted() const { return m_targeted; }
    void setTargeted(bool targeted);

    // The border at a point of the change: 0 idle, 1 targeted.
    QColor borderColor(double progress) const;
    double borderWidth(double progress) const { return 1.0 + progress; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_targeted = false;
    double m_progress = 0;
    QWidget* m_symbolSlot = nullptr;
    QVariantAnimation* m_animation = nullptr;
};

#pragma once

#include <QWidget>

class QHBoxLayout;

// The capsule-like frame behind toolbar controls: a rounded track in the
// theme's segmentTrack colour with a 1 px segmentBorder outline, 3 px around
// a row of controls spaced 2 px apart.
class ToolbarSegmentChrome : public QWidget {
    Q_OBJECT
public:
    explicit ToolbarSegmentChrome(QWidget* parent = nullptr);

    QHBoxLayout* row() const { return m_row; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QHBoxLayout* m_row = nullptr;
};

#pragma once

#include <QWidget>

// A one-pixel horizontal rule in the design system's divider colour.
class DividerLine : public QWidget {
    Q_OBJECT
public:
    explicit DividerLine(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

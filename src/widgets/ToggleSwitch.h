#pragma once

#include "widgets/ThemedButton.h"

// An on/off switch: a capsule in the accent colour when on, the segment track
// when off, with a white knob. A click flips it and emits clicked(checked);
// setChecked() from code emits no clicked().
class ToggleSwitch : public ThemedButton {
    Q_OBJECT
public:
    explicit ToggleSwitch(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

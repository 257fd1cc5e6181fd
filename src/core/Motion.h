#pragma once

#include <QEasingCurve>

// The timing of the interface's animations, in one place so that every
// widget that moves or fades the same way uses the same curve.
namespace Motion {

// Fast at first, settling at the end.
QEasingCurve easeOut();
// Slow at both ends.
QEasingCurve easeInOut();

// A spring released from rest that carries a value from 0 to 1: it takes
// about `responseSeconds` for one swing, and a damping fraction below 1 lets
// it pass the end a little before it settles.
class Spring {
public:
    Spring(double responseSeconds, double dampingFraction);

    // How far along the value is after the given time (0 at the start; near
    // 1, possibly a little beyond, once it has swung).
    double progress(double seconds) const;
    // How long it moves before it stays within a thousandth of the end.
    int settleMs() const;

private:
    double m_natural; // undamped angular frequency
    double m_decay;   // exponential decay rate of the swing
    double m_damped;  // angular frequency of the damped swing
};

} // namespace Motion

#pragma once

#include <QAnimationDriver>

// While it lives, every animation of the test's thread (QVariantAnimation,
// QPropertyAnimation and the rest) stands still until the test moves this
// clock, so a test can look at an animation at a known point of its run
// however busy the machine is. One at a time.
class AnimationClock : public QAnimationDriver {
public:
    AnimationClock();
    ~AnimationClock() override;

    // The clock that drives the animations now, if any.
    static AnimationClock* active();
    // Runs every running animation to its end now, on the active clock or on
    // one made for the purpose; false if one loops for ever.
    static bool finishAll();

    // One frame: starts the animations started since the last step, moves
    // them on by ms and lets the layouts they asked for follow.
    void step(int ms);
    // Steps frame by frame until no animation runs; false if one still runs
    // after a minute of frames (one that loops for ever).
    bool finish(int frameMs = 16);

    qint64 elapsed() const override { return m_now; }

protected:
    void start() override;

private:
    qint64 m_now = 0;
};

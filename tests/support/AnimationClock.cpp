#include "support/AnimationClock.h"

#include <QCoreApplication>
#include <QEvent>

namespace {
AnimationClock* activeClock = nullptr;

// Qt starts a new animation's timer on a queued call, which queues another;
// stopping goes the same way.
void deliverQueuedCalls() {
    for (int i = 0; i < 2; ++i)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}
} // namespace

AnimationClock::AnimationClock() {
    // Qt keeps one driver: a second would be refused and never move.
    if (activeClock)
        qFatal("one AnimationClock at a time");
    activeClock = this;
    install();
}

AnimationClock::~AnimationClock() {
    uninstall();
    activeClock = nullptr;
}

AnimationClock* AnimationClock::active() {
    return activeClock;
}

bool AnimationClock::finishAll() {
    if (activeClock)
        return activeClock->finish();
    AnimationClock clock;
    return clock.finish();
}

void AnimationClock::start() {
    // Each run of the driver counts from zero, as Qt's own does.
    m_now = 0;
    QAnimationDriver::start();
}

void AnimationClock::step(int ms) {
    deliverQueuedCalls();
    if (isRunning()) {
        m_now += ms;
        advance();
    }
    deliverQueuedCalls();
    // A layout inside a layout asks again once the outer one has moved it.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

bool AnimationClock::finish(int frameMs) {
    for (int frame = 0; frame < 60 * 1000 / frameMs; ++frame) {
        step(frameMs);
        if (!isRunning())
            return true;
    }
    return false;
}

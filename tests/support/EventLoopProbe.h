#pragma once

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <algorithm>

// Watches the event loop while it exists: the longest time between two
// turns, which is how long a key pressed then would have waited.
class EventLoopProbe {
public:
    EventLoopProbe() {
        m_turn.setInterval(0);
        QObject::connect(&m_turn, &QTimer::timeout, [this] {
            const qint64 now = m_clock.elapsed();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
            ++m_turns;
        });
        m_clock.start();
        m_turn.start();
    }
    qint64 longestGapMs() const { return m_longest; }
    // A few more turns, so a stall still going on is counted.
    bool settle() {
        const int until = m_turns + 3;
        return QTest::qWaitFor([&] { return m_turns >= until; }, 30000);
    }

private:
    QTimer m_turn;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
    int m_turns = 0;
};

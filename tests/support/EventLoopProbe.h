#pragma once

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <ctime>

// Watches the event loop while it exists. What one turn of it costs is
// counted in the thread's own processor time, which a busy machine does not
// stretch: the work a key pressed then would have waited for. The time
// between turns counts too, for a turn that waits (a blocking open) rather
// than works.
class EventLoopProbe {
public:
    EventLoopProbe() {
        m_turn.setInterval(0);
        QObject::connect(&m_turn, &QTimer::timeout, [this] {
            const qint64 now = m_clock.elapsed();
            const qint64 cpu = threadCpuNs();
            m_longestGap = std::max(m_longestGap, now - m_last);
            m_longestBusy = std::max(m_longestBusy, cpu - m_lastCpu);
            m_last = now;
            m_lastCpu = cpu;
            ++m_turns;
        });
        m_clock.start();
        m_lastCpu = threadCpuNs();
        m_turn.start();
    }
    // The longest work between two turns, in the thread's processor time.
    qint64 longestBusyMs() const { return m_longestBusy / 1'000'000; }
    // The longest wall-clock time between two turns.
    qint64 longestGapMs() const { return m_longestGap; }
    // A few more turns, so a stall still going on is counted.
    bool settle() {
        const int until = m_turns + 3;
        return QTest::qWaitFor([&] { return m_turns >= until; }, 30000);
    }

private:
    static qint64 threadCpuNs() {
        timespec now{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
    }

    QTimer m_turn;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_lastCpu = 0;
    qint64 m_longestGap = 0;
    qint64 m_longestBusy = 0;
    int m_turns = 0;
};

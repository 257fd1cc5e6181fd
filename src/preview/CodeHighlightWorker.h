#pragma once

#include "preview/CodeHighlighter.h"

#include <QMutex>
#include <QThread>
#include <QWaitCondition>
#include <deque>
#include <functional>
#include <memory>

// The thread code is coloured on, with a CodeHighlighter (and so JavaScript
// engines) of its own. Jobs run one at a time, in the order given. A job no
// longer wanted is dropped before it starts; a running one is stopped, unless
// it is detecting while the detection engine still compiles its grammars: a
// second at most, and the next detection needs them. Stopping the thread
// stops the job that runs.
class CodeHighlightWorker : public QThread {
public:
    struct Job {
        quint64 id = 0;
        QString code;
        QString language; // empty: detect it
        QString theme;
    };
    // Gets each job with its result, on the worker thread; a job stopped
    // half-way has none.
    using Finished = std::function<void(const Job& job, std::shared_ptr<const HighlightedCode>)>;

    explicit CodeHighlightWorker(Finished finished);
    ~CodeHighlightWorker() override;

    void add(Job job);
    void cancel(quint64 id);
    // Drops every job, stops the one running and waits for the thread to end.
    void stop();
    // Jobs waiting or running.
    int jobCount() const;
    // Whether a job is being worked on now, not merely waiting its turn.
    bool isStepping() const;
    // Steps that a cancellation or stop() cut short half-way.
    int interruptedSteps() const;

protected:
    void run() override;

private:
    // Runs one step of the running job unless it is no longer wanted; false
    // when the step did not run or was stopped. mayStop: whether a
    // cancellation stops it (stopping the thread always does).
    bool step(CodeHighlighter& highlighter, bool mayStop, const std::function<void()>& work);

    const Finished m_finished;
    mutable QMutex m_mutex;
    QWaitCondition m_wake;
    std::deque<Job> m_queue;
    quint64 m_running = 0; // 0: none
    bool m_runningWanted = false;
    CodeHighlighter* m_stepping = nullptr; // while a step runs
    bool m_stepMayStop = false;
    bool m_stopping = false;
    int m_interruptedSteps = 0;
};

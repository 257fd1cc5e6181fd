#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

class QObject;

// Runs the system tools quon relies on (xdg-mime, pkexec, nautilus) without
// blocking the event loop: standard error is discarded, a run that outlives
// its time-out is killed, and a tool that cannot be started counts as a
// failed run, never as a hang.
namespace ToolRunner {

struct Result {
    bool started = false;
    bool timedOut = false;
    int exitCode = -1;
    QByteArray output; // standard output

    bool succeeded() const { return started && !timedOut && exitCode == 0; }
};

using Finished = std::function<void(const Result&)>;

inline constexpr int defaultTimeoutMs = 15000;

// Starts the tool and returns at once. `finished` (may be empty) is called
// exactly once, from the event loop: never from inside run() or a signal of
// the process, so it may open a modal dialog. Not at all when `context` goes
// away first (the tool is then killed).
void run(const QString& program, const QStringList& arguments, Finished finished = {},
         int timeoutMs = defaultTimeoutMs, QObject* context = nullptr);

} // namespace ToolRunner

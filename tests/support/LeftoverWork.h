#pragma once

#include <QSet>
#include <QStringList>

// What a test function may have started that goes on after it returns: child
// processes, threads, timers and tool runs. Work still going then lands in
// the next test (a late tool run writing into its files, a timer firing in
// it), so every test executable checks for it after each test function.
namespace LeftoverWork {

struct Snapshot {
    QSet<int> children; // process ids
    QSet<int> threads;  // thread ids
    QSet<int> timers;   // timer ids of the main thread
};

Snapshot snapshot();
// What is running now that was not in `before`, one description each;
// empty when nothing is left.
QStringList since(const Snapshot& before);

} // namespace LeftoverWork

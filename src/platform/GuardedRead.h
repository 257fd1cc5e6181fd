#pragma once

#include <QByteArray>
#include <QString>

// The one way quon reads a user's file: whatever the path has become since
// it was chosen, only a regular file (or a link to one) is read, opening it
// never blocks (a FIFO waits for a writer) and no more than `limit` bytes are
// held, even of a file that grows while it is read.
namespace GuardedRead {

enum class Outcome {
    Read,
    Missing,    // nothing at the path (or a link to nothing)
    NotRegular, // a folder, device, FIFO or socket
    TooLarge,   // more than the limit
    Failed      // no permission, an I/O error
};

struct Result {
    Outcome outcome = Outcome::Failed;
    QByteArray bytes;  // when Read
    QString errorText; // the system's own words, when Missing or Failed
    bool ok() const { return outcome == Outcome::Read; }
};

Result read(const QString& path, qint64 limit);

} // namespace GuardedRead

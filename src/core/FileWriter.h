#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// Replaces a file's contents and keeps what the file is: its hard links,
// owner, group and mode. Usually a new file is written beside it and renamed
// over it, so a crash leaves the old file whole. Where that would lose what
// the file is (other names link to it, or its owner or group cannot be given
// to a new file), or where its folder takes no new file but the file can be
// written, the file is rewritten in place instead, once the complete new
// contents are synced to a copy beside it (in quon's state folder when the
// folder takes no file), which is removed after: a crash then leaves the old
// file or that complete copy. The new files and copies are SaveCopies, so a
// killed save's leftovers are known again.
namespace FileWriter {

struct Failure {
    bool changedOnDisk = false; // mayReplace said no: nothing was replaced
    QString errorText;          // the system's own words
    // A rewrite in place broke off and the old contents could not be put
    // back: the file holds part of each, and this complete copy of the new
    // contents stays.
    QString keptCopy;
};

// A link to a regular file stays a link, and the file it names is saved.
// mayReplace, asked right before the file is replaced, can keep it as it is.
bool replace(const QString& path, const QByteArray& bytes, const std::function<bool()>& mayReplace,
             Failure* failure);

// The moments between the steps of a save: the copy (the new file, or the
// copy before a rewrite in place) made, written, then synced and named
// complete; in place, the file cut to a shorter new size, written, synced.
enum class Step {
    CopyCreated,
    CopyWritten,
    CopySynced,
    OriginalCut,
    OriginalWritten,
    OriginalSynced
};
// Called at each of them when set; tests stop the process there.
extern void (*stepHookForTesting)(Step step);

} // namespace FileWriter

#pragma once

#include "platform/FileDescriptor.h"

#include <QString>
#include <QStringList>
#include <sys/types.h>

// quon's own copies of what a save writes, named after the file so that quon
// knows them again: "NAME.quon-XXXXXX.partial" while they are written,
// "NAME.quon-XXXXXX.saved" once complete and synced. They lie beside the
// file, or in quon's state folder where the file's folder takes no new file.
namespace SaveCopies {

struct Copy {
    QString path;
    FileDescriptor file; // open while the copy is written
};

// A new partial copy for `file`, beside it or in quon's state folder. It is
// locked while open, so no other quon takes it for a leftover; where no lock
// can be taken there is none (ENOLCK).
bool create(const QString& file, bool inStateFolder, mode_t mode, Copy* copy);
// Syncs the written copy and names it complete. It stays open, and locked,
// until the save has ended.
bool complete(Copy* copy);
void remove(const Copy& copy);

// Where quon's state folder keeps the copies for files of `file`'s folder.
QString stateFolderFor(const QString& file);

// Tidies what killed saves of this user left around `file`: the partial
// copies of its folder go, and so do complete copies of `file` that hold what
// it holds. The complete copies that differ from it stay and are returned.
// Copies in use by a save, and files of other users, are left alone.
QStringList leftOver(const QString& file);

// When set and true for a copy's path, no lock can be taken on it.
extern bool (*refuseLockForTesting)(const QString& path);

} // namespace SaveCopies

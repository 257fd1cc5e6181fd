#pragma once

#include <QStringList>

// Returns quon to a fresh installation for the current user.
namespace AppDataResetService {

// Clears every preference, then deletes the preferences file, the state and
// cache folders, the file-manager plug-in's key file and the desktop entry
// quon wrote for itself. Every error is ignored; the caller quits right after.
// The complete copies of saves that broke off stay (keptCopies).
void clearAllData();

// The complete copies in quon's state folder that saves cut short left, not
// yet found equal to their files: each may be the only whole text of one.
QStringList keptCopies();

// What clearAllData deletes: only paths strictly inside their XDG base
// folder, under quon's own name, with the base's links resolved. A base
// that is relative, or that resolves to "/", the home folder or a folder
// above it, contributes nothing.
QStringList locations();

} // namespace AppDataResetService

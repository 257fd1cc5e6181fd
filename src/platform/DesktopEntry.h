#pragma once

#include "common/AppIdentity.h"

#include <QByteArray>
#include <QString>

// quon's desktop entry, which the desktop's default-application settings
// refer to by its file name.
namespace DesktopEntry {

inline constexpr char fileName[] = QUON_APP_ID ".desktop";
// The line that marks an entry quon wrote for itself.
inline constexpr char ownMark[] = "X-Quon-Generated=true";

// Makes sure the desktop knows an entry for quon. An installed one (in the
// data folders, or the user's own not written by quon) is left as it is, and
// quon's own entry, which would hide it, goes. Without one, quon's own entry
// in the user's applications folder starts the running executable: written,
// or rewritten when it starts another. False when there is no entry and none
// could be written.
bool ensureInstalled();
// Removes the entry quon wrote for itself; never an installed one.
void removeOwnEntry();

// quon's own entry: the packaged one, marked, with its Exec and TryExec lines
// starting the given executable. Empty for a path no Exec line can hold
// (control characters).
QByteArray forExecutable(const QString& executablePath);

// One Exec argument as the file must hold it: quoted and escaped where the
// desktop entry rules ask for it, "%" doubled.
QString execArgument(const QString& argument);

} // namespace DesktopEntry

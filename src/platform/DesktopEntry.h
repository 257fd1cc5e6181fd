#pragma once

#include "common/AppIdentity.h"

#include <QByteArray>
#include <QString>

// quon's desktop entry, which the desktop's default-application settings
// refer to by its file name.
namespace DesktopEntry {

inline constexpr char fileName[] = QUON_APP_ID ".desktop";

// Makes sure the desktop knows an entry for quon: the installed one, else an
// entry in the user's applications folder that starts the running
// executable. False when there is none and none could be written.
bool ensureInstalled();

// The packaged entry with its Exec line starting the given executable. Empty
// for a path no Exec line can hold (control characters).
QByteArray forExecutable(const QString& executablePath);

// One Exec argument as the file must hold it: quoted and escaped where the
// desktop entry rules ask for it, "%" doubled.
QString execArgument(const QString& argument);

} // namespace DesktopEntry

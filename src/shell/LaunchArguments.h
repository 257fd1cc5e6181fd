#pragma once

#include <QString>
#include <QStringList>

// The arguments of `quon ARGS` as every process hands them on: file paths
// made absolute against the caller's working directory and resolved as the
// system resolves them, file URLs (what the desktop file's %U passes) turned
// into paths, other URLs kept as typed.
namespace LaunchArguments {

// "scheme://..." as the desktop passes URLs, and anything in quon's own
// "quon:" scheme.
bool isUrl(const QString& argument);
QStringList normalise(const QStringList& arguments, const QString& workingDirectory);

} // namespace LaunchArguments

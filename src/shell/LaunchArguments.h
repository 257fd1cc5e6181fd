#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The arguments of `quon ARGS` as every process hands them on: file paths
// made absolute against the caller's working directory and resolved as the
// system resolves them, file URLs (what the desktop file's %U passes) turned
// into paths, other URLs kept as typed.
namespace LaunchArguments {

// An argument quon does not act on, and why.
struct Refusal {
    QString argument;
    QString reason;
};

struct Reading {
    QStringList taken; // normalised
    QList<Refusal> refused;
};

// "scheme://..." as the desktop passes URLs, and anything in quon's own
// "quon:" scheme.
bool isUrl(const QString& argument);
QStringList normalise(const QStringList& arguments, const QString& workingDirectory);
// The normalised arguments split into the files and new-file requests quon
// acts on and the URLs it refuses.
Reading read(const QStringList& arguments, const QString& workingDirectory);
// The line standard error gets for a refused argument.
QString refusalLine(const Refusal& refusal);

} // namespace LaunchArguments

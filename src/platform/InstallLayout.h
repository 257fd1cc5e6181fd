#pragma once

#include <QString>

// Where quon keeps the programs and modules that go with it.
namespace InstallLayout {

// The folder of those for an executable in `executableFolder`: `inBuild` for
// any program of the build (quon, its tests, its bench), else the installed
// one beside it ("PREFIX/bin" keeps them in "PREFIX/lib/quon").
QString companionFolder(const QString& executableFolder, const QString& inBuild);

} // namespace InstallLayout

#pragma once

#include <QString>

// Paths read as the system reads them.
namespace SystemPath {

// The path made absolute against `base` (the working directory when empty),
// with its ".." steps taken as the system takes them: after a link to a
// folder, ".." leads out of the link's target, not back beside the link.
// Links are resolved only as far as a ".." needs, so a link's own name stays
// elsewhere. A path the system could not walk (a ".." after something
// missing) comes back unchanged, and opening it fails as in the shell.
QString resolved(const QString& path, const QString& base = {});

} // namespace SystemPath

#pragma once

#include <QString>
#include <functional>
#include <optional>

class QFile;

namespace FreeFileName {

// Whether a name is in use: a file, or a link even when it leads nowhere.
bool isTaken(const QString& path);

// Makes a new file under the first free name of candidate(1), candidate(2)…,
// left open for writing in `file`. The create is exclusive: a file that
// appears meanwhile, or a dangling link, is never written through, and the
// next name is tried instead. Empty when a create fails for another reason,
// with `file` naming the path and holding the error.
std::optional<QString> create(const std::function<QString(int n)>& candidate, QFile& file);

} // namespace FreeFileName

#include "core/FreeFileName.h"

#include <QFile>
#include <QFileInfo>

namespace FreeFileName {

bool isTaken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

std::optional<QString> create(const std::function<QString(int n)>& candidate, QFile& file) {
    for (int n = 1;; ++n) {
        const QString path = candidate(n);
        if (isTaken(path))
            continue;
        file.setFileName(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return path;
        if (!isTaken(path))
            return std::nullopt;
    }
}

} // namespace FreeFileName

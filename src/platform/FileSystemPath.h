#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace FileSystemPath {

// A path as the system calls take it.
inline QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

} // namespace FileSystemPath

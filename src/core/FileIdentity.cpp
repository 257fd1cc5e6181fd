#include "core/FileIdentity.h"

#include <QFile>

#include <sys/stat.h>

std::optional<FileIdentity> FileIdentity::of(const QString& path) {
    struct stat status;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileIdentity{quint64(status.st_dev), quint64(status.st_ino)};
}

std::optional<FileState> FileState::of(const QString& path) {
    struct stat status;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileState{{quint64(status.st_dev), quint64(status.st_ino)},
                     quint32(status.st_mode & S_IFMT),
                     qint64(status.st_size),
                     qint64(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec,
                     qint64(status.st_ctim.tv_sec) * 1'000'000'000 + status.st_ctim.tv_nsec};
}

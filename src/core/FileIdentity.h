#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// Which file a path names, whatever name it was reached by: hard links and
// symbolic links to one file share it.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;

    // The file the path names now (links followed); none when there is none.
    static std::optional<FileIdentity> of(const QString& path);

    bool operator==(const FileIdentity&) const = default;
};

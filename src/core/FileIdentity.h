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

// What a path holds now, enough to tell that something else took its place
// or it changed: which file, of what type and size, modified and changed
// (its contents, or its mode, owner or links) when.
struct FileState {
    FileIdentity identity;
    quint32 type = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;

    // Links followed; none when the path holds nothing.
    static std::optional<FileState> of(const QString& path);

    bool operator==(const FileState&) const = default;
};

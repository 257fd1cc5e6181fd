#pragma once

#include <unistd.h>

// An open file descriptor, closed when it goes out of scope.
struct FileDescriptor {
    int fd = -1;

    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd >= 0)
            ::close(fd);
    }

    bool isOpen() const { return fd >= 0; }
    // Closing can report a write that failed late (NFS): asked, not ignored.
    bool close() {
        const int result = ::close(fd);
        fd = -1;
        return result == 0;
    }
};

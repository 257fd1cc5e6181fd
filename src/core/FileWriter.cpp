#include "core/FileWriter.h"

#include "core/SaveCopies.h"
#include "platform/FileDescriptor.h"
#include "platform/FileSystemPath.h"
#include "platform/Logging.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

void (*FileWriter::stepHookForTesting)(FileWriter::Step) = nullptr;

namespace {

using FileWriter::Failure;
using FileWriter::Step;
using SaveCopies::Copy;

void reach(Step step) {
    if (FileWriter::stepHookForTesting)
        FileWriter::stepHookForTesting(step);
}

bool fail(Failure* failure, int error) {
    if (failure)
        *failure = Failure{false, qt_error_string(error)};
    return false;
}

bool changedOnDisk(Failure* failure) {
    if (failure)
        *failure = Failure{true, {}};
    return false;
}

using FileSystemPath::native;

bool writeAll(int fd, const char* data, qint64 size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

// No new file can be made in the folder, though the file may be written.
bool folderRefuses(int error) {
    return error == EACCES || error == EPERM;
}

// A copy beside the file could not be locked: one in quon's state folder can.
bool takesNoLock(int error) {
    return error == ENOLCK;
}

// Still the file the save began with, as it was: a rename would undo a
// change of its mode, owner or links made meanwhile.
bool isStill(const QString& target, const struct stat& original) {
    struct stat now;
    return ::lstat(native(target).constData(), &now) == 0 && S_ISREG(now.st_mode) &&
           now.st_dev == original.st_dev && now.st_ino == original.st_ino &&
           now.st_mode == original.st_mode && now.st_uid == original.st_uid &&
           now.st_gid == original.st_gid && now.st_nlink == original.st_nlink;
}

// The whole file from its start, when it is readable and not larger than a
// document can be.
std::optional<QByteArray> readAt(int fd, qint64 size) {
    constexpr qint64 largest = 64 * 1024 * 1024;
    if (size > largest)
        return std::nullopt;
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 total = 0;
    while (total < size) {
        const ssize_t n = ::pread(fd, bytes.data() + total, size_t(size - total), total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return std::nullopt;
        total += n;
    }
    return bytes;
}

// Puts the old contents back after a write broke off: they fit in the space
// they had, so this works when the disk filled up.
bool restore(int fd, const QByteArray& old) {
    return ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, old.constData(), old.size()) &&
           ::ftruncate(fd, old.size()) == 0 && ::fsync(fd) == 0;
}

void syncFolder(const QString& file) {
    const FileDescriptor folder(::open(native(QFileInfo(file).absolutePath()).constData(),
                                       O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // The save stands; only a crash right now could lose the new name.
    if (!folder.isOpen() || ::fsync(folder.fd) != 0)
        qCWarning(quonDocument) << "cannot sync the folder of" << file << ::strerror(errno);
}

bool inPlace(const QString& target, const struct stat& original, const QByteArray& bytes,
             const std::function<bool()>& mayReplace, Failure* failure) {
    Copy copy;
    if (!SaveCopies::create(target, false, S_IRUSR | S_IWUSR, &copy) &&
        !((folderRefuses(errno) || takesNoLock(errno)) &&
          SaveCopies::create(target, true, S_IRUSR | S_IWUSR, &copy)))
        return fail(failure, errno);
    reach(Step::CopyCreated);
    const auto dropCopy = [&](int error) {
        SaveCopies::remove(copy);
        return error;
    };
    if (!writeAll(copy.file.fd, bytes.constData(), bytes.size()))
        return fail(failure, dropCopy(errno));
    reach(Step::CopyWritten);
    if (!SaveCopies::complete(&copy))
        return fail(failure, dropCopy(errno));
    syncFolder(copy.path);
    reach(Step::CopySynced);

    if (mayReplace && !mayReplace()) {
        dropCopy(0);
        return changedOnDisk(failure);
    }
    const QByteArray name = native(target);
    FileDescriptor file(::open(name.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!file.isOpen() && errno == EACCES)
        file.fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (!file.isOpen())
        return fail(failure, dropCopy(errno));
    struct stat opened;
    if (::fstat(file.fd, &opened) != 0)
        return fail(failure, dropCopy(errno));
    if (!S_ISREG(opened.st_mode) || opened.st_dev != original.st_dev ||
        opened.st_ino != original.st_ino) {
        // Another file took the name meanwhile.
        dropCopy(0);
        return changedOnDisk(failure);
    }
    // What the file holds now, to put back should the new text not fit.
    const std::optional<QByteArray> old = readAt(file.fd, opened.st_size);
    // From here until it is synced the file may hold a mix of old and new:
    // the copy is complete, and stays when anything fails.
    const auto failWriting = [&](int error) {
        if (old && restore(file.fd, *old)) {
            dropCopy(0);
            return fail(failure, error);
        }
        if (failure)
            *failure = Failure{false, qt_error_string(error), copy.path};
        return false;
    };
    // Cut first when the new text is shorter: the file never holds the new
    // text followed by the old one's tail.
    if (bytes.size() < opened.st_size) {
        if (::ftruncate(file.fd, bytes.size()) != 0)
            return failWriting(errno);
        reach(Step::OriginalCut);
    }
    if (!writeAll(file.fd, bytes.constData(), bytes.size()))
        return failWriting(errno);
    reach(Step::OriginalWritten);
    if (::ftruncate(file.fd, bytes.size()) != 0 || ::fsync(file.fd) != 0)
        return failWriting(errno);
    reach(Step::OriginalSynced);
    dropCopy(0);
    return true;
}

// A new file where copies beside it take no lock: made empty, then written
// in place after a copy in quon's state folder.
bool intoNewFile(const QString& target, const QByteArray& bytes,
                 const std::function<bool()>& mayReplace, Failure* failure) {
    struct stat made;
    {
        const FileDescriptor file(
            ::open(native(target).constData(),
                   O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY,
                   S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH));
        if (!file.isOpen() || ::fstat(file.fd, &made) != 0)
            return fail(failure, errno);
    }
    if (inPlace(target, made, bytes, mayReplace, failure))
        return true;
    // Nothing of the user's went into it.
    struct stat now;
    if (::lstat(native(target).constData(), &now) == 0 && now.st_ino == made.st_ino &&
        now.st_dev == made.st_dev && now.st_size == 0)
        ::unlink(native(target).constData());
    return false;
}

// The file a save writes, and what it is now.
struct Target {
    QString path;
    struct stat original = {};
    bool keep = false; // an existing regular file whose identity is kept
};

// None for a folder.
std::optional<Target> targetOf(const QString& path) {
    Target target{path};
    struct stat& original = target.original;
    if (::lstat(native(path).constData(), &original) != 0)
        return target;
    if (S_ISDIR(original.st_mode))
        return std::nullopt;
    if (S_ISLNK(original.st_mode)) {
        // A link to a regular file stays; one to nothing, a folder or a
        // device is replaced itself, never written through.
        if (::stat(native(path).constData(), &original) == 0 && S_ISREG(original.st_mode)) {
            target.path = QFileInfo(path).canonicalFilePath();
            target.keep = !target.path.isEmpty();
        }
        if (!target.keep)
            target.path = path;
    } else {
        target.keep = S_ISREG(original.st_mode);
    }
    return target;
}

bool replaceTrying(const QString& path, const QByteArray& bytes,
                   const std::function<bool()>& mayReplace, Failure* failure, int triesLeft) {
    const std::optional<Target> found = targetOf(path);
    if (!found)
        return fail(failure, EISDIR);
    const auto& [target, original, keep] = *found;
    // As a save never made a read-only file writable.
    if (keep && ::access(native(target).constData(), W_OK) != 0)
        return fail(failure, errno);
    if (keep && original.st_nlink > 1)
        return inPlace(target, original, bytes, mayReplace, failure);

    Copy replacement;
    if (!SaveCopies::create(target, false,
                            S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH,
                            &replacement)) {
        // A folder that takes no new file, a file that takes the text.
        if (keep && (folderRefuses(errno) || takesNoLock(errno)))
            return inPlace(target, original, bytes, mayReplace, failure);
        if (!keep && takesNoLock(errno))
            return intoNewFile(target, bytes, mayReplace, failure);
        return fail(failure, errno);
    }
    reach(Step::CopyCreated);
    const auto dropReplacement = [&](int error) {
        SaveCopies::remove(replacement);
        return error;
    };
    if (keep) {
        struct stat made;
        if (::fstat(replacement.file.fd, &made) != 0)
            return fail(failure, dropReplacement(errno));
        const mode_t mode = original.st_mode & 07777;
        // The mode after the owner: a change of owner clears the set-ID bits.
        if (((made.st_uid != original.st_uid || made.st_gid != original.st_gid) &&
             ::fchown(replacement.file.fd, original.st_uid, original.st_gid) != 0) ||
            ((made.st_mode & 07777) != mode && ::fchmod(replacement.file.fd, mode) != 0)) {
            // What a new file cannot be given, only the file itself keeps.
            dropReplacement(0);
            replacement.file.close();
            return inPlace(target, original, bytes, mayReplace, failure);
        }
    }
    if (!writeAll(replacement.file.fd, bytes.constData(), bytes.size()))
        return fail(failure, dropReplacement(errno));
    reach(Step::CopyWritten);
    if (!SaveCopies::complete(&replacement))
        return fail(failure, dropReplacement(errno));
    reach(Step::CopySynced);
    // Checked last, right before the file is replaced.
    if (mayReplace && !mayReplace()) {
        dropReplacement(0);
        return changedOnDisk(failure);
    }
    if (keep && !isStill(target, original)) {
        // Made read-only, given away or linked meanwhile: the save starts
        // again from what the file is now.
        dropReplacement(0);
        if (triesLeft == 0)
            return changedOnDisk(failure);
        return replaceTrying(path, bytes, mayReplace, failure, triesLeft - 1);
    }
    if (::rename(native(replacement.path).constData(), native(target).constData()) != 0)
        return fail(failure, dropReplacement(errno));
    syncFolder(target);
    return true;
}

} // namespace

bool FileWriter::replace(const QString& path, const QByteArray& bytes,
                         const std::function<bool()>& mayReplace, Failure* failure) {
    return replaceTrying(path, bytes, mayReplace, failure, 2);
}

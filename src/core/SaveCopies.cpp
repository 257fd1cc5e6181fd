#include "core/SaveCopies.h"

#include "common/AppIdentity.h"
#include "core/DocumentFile.h"
#include "platform/FileSystemPath.h"
#include "platform/GuardedRead.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

bool (*SaveCopies::refuseLockForTesting)(const QString& path) = nullptr;

namespace {

const QLatin1String partialSuffix(".partial");
const QLatin1String completeSuffix(".saved");

using FileSystemPath::native;

// "NAME.quon-XXXXXX.partial" or ".saved": the file's name, and the state.
const QRegularExpression& copyName() {
    static const QRegularExpression pattern(
        QStringLiteral("^(.+)\\.quon-[0-9a-f]{6}(\\.partial|\\.saved)$"));
    return pattern;
}

// The regular files of `folder` named like copies: links, FIFOs and devices
// are never quon's. Read straight from the folder, with no call per other
// name, as this runs on every open and a folder may hold many thousands.
QStringList copyNamesIn(const QString& folder) {
    QStringList names;
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(native(folder).constData()),
                                                  &::closedir);
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!std::strstr(entry->d_name, ".quon-"))
            continue;
        struct stat info;
        if (entry->d_type == DT_REG ||
            (entry->d_type == DT_UNKNOWN &&
             ::fstatat(::dirfd(dir.get()), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
             S_ISREG(info.st_mode)))
            names.append(QFile::decodeName(entry->d_name));
    }
    return names;
}

// Surely a copy of this user's own quon: a regular file of the user with no
// other name (a name linked to another file is that file's). Root's copies
// are root's: in a shared folder another user's never look like its own.
bool isOwnCopy(const struct stat& info) {
    return S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && info.st_nlink == 1;
}

// One of the user's copies, opened and locked: no save of a running quon
// holds it. Closed, the lock goes with it. -1 when it is none of these.
int takeOwnCopy(const QString& path) {
    FileDescriptor copy(::open(native(path).constData(),
                               O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW));
    struct stat info;
    if (!copy.isOpen() || ::fstat(copy.fd, &info) != 0 || !isOwnCopy(info) ||
        ::flock(copy.fd, LOCK_EX | LOCK_NB) != 0)
        return -1;
    return std::exchange(copy.fd, -1);
}

// Removes the copy taken, unless its name has gone to another file meanwhile.
void unlinkTaken(const QString& path, const FileDescriptor& copy) {
    struct stat opened;
    struct stat named;
    if (::fstat(copy.fd, &opened) == 0 && ::lstat(native(path).constData(), &named) == 0 &&
        opened.st_dev == named.st_dev && opened.st_ino == named.st_ino)
        ::unlink(native(path).constData());
}

std::optional<QByteArray> bytesOf(const QString& path) {
    GuardedRead::Result read = GuardedRead::read(path, DocumentFile::largestTextFile);
    if (!read.ok())
        return std::nullopt;
    return std::move(read.bytes);
}

// A lock only quon's saves take, so a save in progress is never taken for a
// leftover. Some file systems take none.
bool lock(int fd, const QString& path) {
    if (SaveCopies::refuseLockForTesting && SaveCopies::refuseLockForTesting(path)) {
        errno = ENOLCK;
        return false;
    }
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

} // namespace

bool SaveCopies::create(const QString& file, bool inStateFolder, mode_t mode, Copy* copy) {
    const QFileInfo info(file);
    const QString folder = inStateFolder ? stateFolderFor(file) : info.absolutePath();
    if (inStateFolder && !QDir().mkpath(folder)) {
        errno = errno ? errno : EACCES;
        return false;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString path =
            folder + QLatin1Char('/') + info.fileName() + QStringLiteral(".quon-") +
            QStringLiteral("%1").arg(QRandomGenerator::global()->bounded(0x1000000), 6, 16,
                                     QLatin1Char('0')) +
            partialSuffix;
        const int fd = ::open(native(path).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
        if (fd >= 0 && !lock(fd, path)) {
            // No one else has the new file: the lock is not to be had here.
            ::unlink(native(path).constData());
            ::close(fd);
            errno = ENOLCK;
            return false;
        }
        if (fd >= 0) {
            copy->path = path;
            copy->file.fd = fd;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    errno = EEXIST;
    return false;
}

bool SaveCopies::complete(Copy* copy) {
    if (::fsync(copy->file.fd) != 0)
        return false;
    const QString done = copy->path.chopped(partialSuffix.size()) + completeSuffix;
    if (::rename(native(copy->path).constData(), native(done).constData()) != 0)
        return false;
    copy->path = done;
    // Still open: the lock holds until the save has ended.
    return true;
}

void SaveCopies::remove(const Copy& copy) {
    ::unlink(native(copy.path).constData());
}

QString SaveCopies::stateFolderFor(const QString& file) {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    // The folder however it was reached: links resolved.
    const QString folder = QFileInfo(file).absolutePath();
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    const QByteArray key =
        QCryptographicHash::hash(native(canonical.isEmpty() ? folder : canonical),
                                 QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    return base + QStringLiteral("/" QUON_CONFIG_DIR "/saves/") + QLatin1String(key);
}

QStringList SaveCopies::leftOver(const QString& file) {
    const QFileInfo info(file);
    QStringList differing;
    std::optional<std::optional<QByteArray>> held; // the file's bytes, once read
    for (const QString& folder : {info.absolutePath(), stateFolderFor(file)}) {
        for (const QString& name : copyNamesIn(folder)) {
            const QRegularExpressionMatch match = copyName().match(name);
            if (!match.hasMatch())
                continue;
            const bool partial = match.capturedView(2) == partialSuffix;
            if (!partial && match.capturedView(1) != info.fileName())
                continue;
            const QString path = QDir(folder).filePath(name);
            const FileDescriptor copy(takeOwnCopy(path));
            if (!copy.isOpen())
                continue;
            if (partial) {
                unlinkTaken(path, copy);
                continue;
            }
            if (!held)
                held = bytesOf(file);
            const std::optional<QByteArray> bytes = bytesOf(path);
            if (*held && bytes && **held == *bytes)
                unlinkTaken(path, copy);
            else
                differing.append(path);
        }
    }
    return differing;
}

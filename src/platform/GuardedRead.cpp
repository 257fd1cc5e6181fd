#include "platform/GuardedRead.h"

#include "platform/FileDescriptor.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

GuardedRead::Result refused(GuardedRead::Outcome outcome, int error = 0) {
    GuardedRead::Result result;
    result.outcome = outcome;
    if (error)
        result.errorText = qt_error_string(error);
    return result;
}

GuardedRead::Result failedOpen(int error) {
    return refused(error == ENOENT || error == ENOTDIR ? GuardedRead::Outcome::Missing
                                                       : GuardedRead::Outcome::Failed,
                   error);
}

} // namespace

GuardedRead::Result GuardedRead::read(const QString& path, qint64 limit) {
    const QByteArray native = QFile::encodeName(path);
    // Asked before opening: a device is never opened at all.
    struct stat status;
    if (::stat(native.constData(), &status) != 0)
        return failedOpen(errno);
    if (!S_ISREG(status.st_mode))
        return refused(Outcome::NotRegular);
    if (status.st_size > limit)
        return refused(Outcome::TooLarge);
    // The path may have become something else since: the descriptor is what
    // counts.
    const FileDescriptor file(
        ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!file.isOpen())
        return failedOpen(errno);
    if (::fstat(file.fd, &status) != 0)
        return refused(Outcome::Failed, errno);
    if (!S_ISREG(status.st_mode))
        return refused(Outcome::NotRegular);
    if (status.st_size > limit)
        return refused(Outcome::TooLarge);

    // One byte past the size tells a file that grew; files under /proc say
    // they hold nothing and are read until they end.
    QByteArray bytes(qMin<qint64>(status.st_size, limit) + 1, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > limit)
                return refused(Outcome::TooLarge);
            bytes.resize(qMin<qint64>(qMax<qint64>(total * 2, 4096), limit + 1));
        }
        const ssize_t n = ::read(file.fd, bytes.data() + total, size_t(bytes.size() - total));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return refused(Outcome::Failed, errno);
        }
        if (n == 0)
            break;
        total += n;
    }
    bytes.truncate(total);
    Result result;
    result.outcome = Outcome::Read;
    result.bytes = std::move(bytes);
    return result;
}

#include "platform/ProcessMemory.h"

#include <QFile>

namespace {

// A "Name:  1234 kB" field of /proc/self/status, in bytes.
qint64 statusField(const QByteArray& name) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(name) && line.size() > name.size() && line[name.size()] == ':')
            return line.mid(name.size() + 1).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}

} // namespace

qint64 ProcessMemory::residentBytes() {
    return statusField("VmRSS");
}

qint64 ProcessMemory::residentAnonymousBytes() {
    return statusField("RssAnon");
}

qint64 ProcessMemory::peakResidentBytes() {
    return statusField("VmHWM");
}

void ProcessMemory::resetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

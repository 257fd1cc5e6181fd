#include "Bench.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <csignal>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Whether the task is a process of its own rather than a thread of another.
bool isProcess(pid_t task) {
    QFile status(QStringLiteral("/proc/%1/status").arg(task));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("Tgid:"))
            return line.mid(5).trimmed().toInt() == task;
    return false;
}

// Runs quon with the given environment, traced, and counts the processes it
// and every descendant start: until its launch has settled (at least
// `minimumMs` since the start and no descendant alive for a second), when
// it is told to quit. -1 when it could not be traced.
int processesOfALaunch(const std::vector<QByteArray>& environment, int minimumMs) {
    std::vector<char*> envp;
    for (const QByteArray& entry : environment)
        envp.push_back(const_cast<char*>(entry.constData()));
    envp.push_back(nullptr);
    char program[] = QUON_EXECUTABLE;
    char* argv[] = {program, nullptr};
    const pid_t quon = fork();
    if (quon == 0) {
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        raise(SIGSTOP);
        execve(program, argv, envp.data());
        _exit(127);
    }
    int status = 0;
    if (quon < 0 || waitpid(quon, &status, __WALL) != quon || !WIFSTOPPED(status))
        return -1;
    ptrace(PTRACE_SETOPTIONS, quon, nullptr,
           PTRACE_O_TRACEFORK | PTRACE_O_TRACEVFORK | PTRACE_O_TRACECLONE | PTRACE_O_TRACEEXEC |
               PTRACE_O_EXITKILL);
    ptrace(PTRACE_CONT, quon, nullptr, nullptr);

    int started = 0;
    QSet<pid_t> tasks{quon}, processes{quon};
    QElapsedTimer sinceStart, sinceLastChild;
    sinceStart.start();
    sinceLastChild.start();
    bool told = false;
    while (!tasks.isEmpty()) {
        const pid_t task = waitpid(-1, &status, __WALL | WNOHANG);
        if (task <= 0) {
            if (processes.size() > 1)
                sinceLastChild.start();
            const bool settled =
                sinceStart.elapsed() >= minimumMs && sinceLastChild.elapsed() >= 1000;
            if (!told && (settled || sinceStart.elapsed() > 120'000)) {
                kill(quon, SIGTERM);
                told = true;
            } else if (told && sinceStart.elapsed() > 180'000) {
                for (pid_t left : std::as_const(tasks))
                    kill(left, SIGKILL);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            continue;
        }
        if (WIFEXITED(status) || WIFSIGNALED(status)) {
            tasks.remove(task);
            processes.remove(task);
            if (task == quon)
                for (pid_t left : std::as_const(tasks))
                    kill(left, SIGKILL);
            continue;
        }
        if (!WIFSTOPPED(status))
            continue;
        const int signal = WSTOPSIG(status);
        const int event = status >> 16;
        int deliver = 0;
        if (!tasks.contains(task)) {
            // A new task's first stop, which may come before its parent's event.
            tasks.insert(task);
        } else if (signal == SIGTRAP && event != 0) {
            if (event == PTRACE_EVENT_FORK || event == PTRACE_EVENT_VFORK ||
                event == PTRACE_EVENT_CLONE) {
                unsigned long child = 0;
                ptrace(PTRACE_GETEVENTMSG, task, nullptr, &child);
                if (!tasks.contains(pid_t(child)))
                    tasks.insert(pid_t(child));
                if (event != PTRACE_EVENT_CLONE || isProcess(pid_t(child))) {
                    ++started;
                    processes.insert(pid_t(child));
                }
            }
        } else if (signal != SIGSTOP || !processes.contains(task)) {
            deliver = signal;
        }
        ptrace(PTRACE_CONT, task, nullptr, reinterpret_cast<void*>(long(deliver)));
    }
    return started;
}

// A launch of quon with nothing to open, twice with one private home: the
// processes the second starts, when nothing changed since the first.
void launchFigures() {
    QTemporaryDir home;
    std::vector<QByteArray> environment;
    for (char** entry = environ; *entry; ++entry) {
        const QByteArray text(*entry);
        if (!text.startsWith("HOME=") && !text.startsWith("XDG_") && !text.startsWith("QUON_BENCH"))
            environment.push_back(text);
    }
    environment.push_back("HOME=" + QFile::encodeName(home.path()));
    for (const char* dir : {"CONFIG", "DATA", "STATE", "CACHE", "RUNTIME"}) {
        const QString path = home.filePath(QLatin1String(dir).toString().toLower());
        QDir().mkpath(path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment.push_back(QByteArray("XDG_") + dir + "_HOME=" + QFile::encodeName(path));
    }
    environment.back().replace("XDG_RUNTIME_HOME", "XDG_RUNTIME_DIR");
    // A desktop session has a session bus. Without one, the bus library
    // starts a program to look for it, which no user's launch does.
    QProcess bus;
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        bus.start(QStringLiteral("dbus-daemon"),
                  {QStringLiteral("--session"), QStringLiteral("--nofork"),
                   QStringLiteral("--print-address")});
        if (bus.waitForReadyRead(10'000))
            environment.push_back("DBUS_SESSION_BUS_ADDRESS=" + bus.readLine().trimmed());
    }
    const int first = processesOfALaunch(environment, 3000);
    const int second = processesOfALaunch(environment, 3000);
    Bench::report(QStringLiteral("app.launch.child-processes.first"), first, "processes");
    Bench::report(QStringLiteral("app.launch.child-processes"), second, "processes");
    bus.terminate();
    bus.waitForFinished();
}

const Bench::Registration registration("launch", launchFigures);

} // namespace

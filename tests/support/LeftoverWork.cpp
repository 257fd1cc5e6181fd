#include "support/LeftoverWork.h"

#include "preview/CodeHighlightService.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

QByteArray procFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<int> taskIds() {
    QList<int> ids;
    const QStringList names = QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs);
    for (const QString& name : names)
        if (const int id = name.toInt(); id > 0)
            ids.append(id);
    return ids;
}

QSet<int> childProcesses() {
    QSet<int> pids;
    for (const int task : taskIds()) {
        const QByteArray list = procFile(QStringLiteral("/proc/self/task/%1/children").arg(task));
        for (const QByteArray& pid : list.split(' '))
            if (const int id = pid.trimmed().toInt(); id > 0)
                pids.insert(id);
    }
    return pids;
}

QString describeProcess(int pid) {
    QByteArray command = procFile(QStringLiteral("/proc/%1/cmdline").arg(pid));
    command.replace('\0', ' ');
    const QByteArray stat = procFile(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype nameEnd = stat.lastIndexOf(')');
    const bool exited = nameEnd > 0 && stat.mid(nameEnd + 2, 1) == "Z";
    if (command.trimmed().isEmpty())
        command = stat.mid(stat.indexOf('(') + 1, nameEnd - stat.indexOf('(') - 1);
    return QStringLiteral("child process %1 (%2)%3")
        .arg(pid)
        .arg(QString::fromLocal8Bit(command.trimmed()),
             exited ? QStringLiteral(", ended but its end not yet handled") : QString());
}

QString threadName(int tid) {
    return QString::fromLocal8Bit(procFile(QStringLiteral("/proc/self/task/%1/comm").arg(tid)))
        .trimmed();
}

// Threads that outlive a test without being work it left: the threads of
// pools (whose tasks are checked instead), the code-colouring thread (whose
// jobs are) and those Qt and the libraries below it keep for the process.
bool isIdleByDesign(const QString& name) {
    static const QStringList names = {
        QStringLiteral("Thread (pooled)"), QStringLiteral("code colouring"),
        QStringLiteral("QDBusConnection"), QStringLiteral("QXcbEventQueue"),
        QStringLiteral("gmain"),           QStringLiteral("gdbus"),
        QStringLiteral("dconf worker"),    QStringLiteral("QNetworkAccessM"),
    };
    return names.contains(name);
}

// Threads started since `before` that are not idle by design. A QThread's
// wait() returns before the system thread is gone (Qt's threads are
// detached), so one that is ending is given a moment: on a loaded machine
// that moment can be long, and a thread really left running stays.
QList<int> newThreadsStillThere(const LeftoverWork::Snapshot& before) {
    const auto running = [&] {
        QList<int> ids;
        for (const int tid : taskIds())
            if (!before.threads.contains(tid) && !isIdleByDesign(threadName(tid)))
                ids.append(tid);
        return ids;
    };
    QList<int> ids = running();
    for (int tries = 0; !ids.isEmpty() && tries < 500; ++tries) {
        QThread::msleep(10);
        ids = running();
    }
    return ids;
}

// The main thread's objects: the application's, its windows', the timers
// that single-shot calls make (children of the event dispatcher).
QList<QObject*> mainThreadObjects() {
    QList<QObject*> roots;
    if (QCoreApplication* app = QCoreApplication::instance())
        roots.append(app);
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        roots.append(dispatcher);
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        for (QWidget* widget : QApplication::topLevelWidgets())
            roots.append(widget);
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        for (QWindow* window : QGuiApplication::topLevelWindows())
            roots.append(window);
    QList<QObject*> objects;
    QSet<QObject*> seen;
    for (QObject* root : roots) {
        if (seen.contains(root))
            continue;
        QList<QObject*> tree = root->findChildren<QObject*>();
        tree.prepend(root);
        for (QObject* object : tree)
            if (object->thread() == QThread::currentThread() && !seen.contains(object)) {
                seen.insert(object);
                objects.append(object);
            }
    }
    return objects;
}

QString describeObject(const QObject* object) {
    QString text = QString::fromLatin1(object->metaObject()->className());
    if (!object->objectName().isEmpty())
        text += QStringLiteral(" \"%1\"").arg(object->objectName());
    if (const QObject* parent = object->parent())
        text +=
            QStringLiteral(" of %1").arg(QString::fromLatin1(parent->metaObject()->className()));
    return text;
}

} // namespace

LeftoverWork::Snapshot LeftoverWork::snapshot() {
    Snapshot now;
    now.children = childProcesses();
    for (const int tid : taskIds())
        now.threads.insert(tid);
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    for (QObject* object : mainThreadObjects())
        for (const auto& timer : dispatcher->registeredTimers(object))
            now.timers.insert(timer.timerId);
    return now;
}

QStringList LeftoverWork::since(const Snapshot& before) {
    // What the test deleted later goes now, as QTest would make it go next.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList left;
    for (const int pid : childProcesses())
        if (!before.children.contains(pid))
            left.append(describeProcess(pid));
    for (const int tid : newThreadsStillThere(before)) {
        const QString name = threadName(tid);
        // No name: the thread ended while this looked.
        if (!name.isEmpty())
            left.append(QStringLiteral("thread %1 (%2)").arg(tid).arg(name));
    }
    for (const int tid : taskIds())
        if (threadName(tid) == QLatin1String("code colouring") &&
            CodeHighlightService::shared().jobCount())
            left.append(QStringLiteral("%1 code-colouring jobs")
                            .arg(CodeHighlightService::shared().jobCount()));
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    QList<QThreadPool*> pools{QThreadPool::globalInstance()};
    for (QObject* object : mainThreadObjects()) {
        if (auto* process = qobject_cast<QProcess*>(object);
            process && !before.children.contains(int(process->processId())))
            left.append(QStringLiteral("tool run \"%1 %2\"%3")
                            .arg(process->program(), process->arguments().join(QLatin1Char(' ')),
                                 process->state() == QProcess::NotRunning
                                     ? QStringLiteral(", its answer not yet handled")
                                     : QString()));
        if (auto* pool = qobject_cast<QThreadPool*>(object); pool && !pools.contains(pool))
            pools.append(pool);
        // Timers that code starts; a widget's own (a caret's blink) end with it.
        const bool singleShot = qstrcmp(object->metaObject()->className(), "QSingleShotTimer") == 0;
        if (!singleShot && !qobject_cast<QTimer*>(object))
            continue;
        for (const auto& timer : dispatcher->registeredTimers(object))
            if (!before.timers.contains(timer.timerId))
                left.append(
                    singleShot
                        ? QStringLiteral("a QTimer::singleShot call in %1 ms").arg(timer.interval)
                        : QStringLiteral("timer of %1 ms of %2")
                              .arg(timer.interval)
                              .arg(describeObject(object)));
    }
    // Qt's own work on the global pool (image scaling, say) is waited for
    // where it starts, but its threads count as busy a moment longer; so is
    // a parse called off as its cache went, which stops at its next step.
    for (QThreadPool* pool : pools)
        pool->waitForDone(30'000);
    for (QThreadPool* pool : pools)
        if (const int active = pool->activeThreadCount())
            left.append(
                QStringLiteral("%1 busy threads of %2").arg(active).arg(describeObject(pool)));
    return left;
}

#include "platform/ToolRunner.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>
#include <memory>

void ToolRunner::run(const QString& program, const QStringList& arguments, Finished finished,
                     int timeoutMs, QObject* context) {
    QObject* owner = context ? context : QCoreApplication::instance();
    auto* process = new QProcess(owner);
    process->setProgram(program);
    process->setArguments(arguments);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());

    auto* timer = new QTimer(process);
    timer->setSingleShot(true);
    auto timedOut = std::make_shared<bool>(false);
    auto done = std::make_shared<bool>(false);

    // Answered from the event loop, outside the process's own signals, so
    // the answer may open a modal dialog.
    auto finish = [process, owner, finished, done](const Result& result) {
        if (*done)
            return;
        *done = true;
        process->deleteLater();
        if (finished)
            QTimer::singleShot(0, owner, [finished, result] { finished(result); });
    };

    QObject::connect(timer, &QTimer::timeout, process, [process, timedOut] {
        *timedOut = true;
        process->kill();
    });
    QObject::connect(process, &QProcess::finished, process,
                     [process, timedOut, finish](int exitCode, QProcess::ExitStatus status) {
                         Result result;
                         result.started = true;
                         result.timedOut = *timedOut;
                         result.exitCode = status == QProcess::NormalExit ? exitCode : -1;
                         result.output = process->readAllStandardOutput();
                         finish(result);
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [finish](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         finish(Result{});
                     });
    // The owner going away ends the run quietly.
    QObject::connect(owner, &QObject::destroyed, process, [process, done] {
        *done = true;
        process->kill();
        process->waitForFinished(1000);
    });
    timer->start(timeoutMs);
    process->start();
}

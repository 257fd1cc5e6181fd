#include "Bench.h"

#include "platform/FreedMemory.h"
#include "platform/ProcessMemory.h"
#include "shell/StandardWorkspacePanes.h"
#include "shell/WorkspaceView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
std::vector<std::pair<const char*, void (*)()>>& registry() {
    static std::vector<std::pair<const char*, void (*)()>> list;
    return list;
}
} // namespace

Bench::Registration::Registration(const char* name, void (*fn)()) {
    registry().emplace_back(name, fn);
}

void Bench::report(const QString& name, double value, const char* unit) {
    std::printf("bench: %s %.3f %s\n", qPrintable(name), value, unit);
    std::fflush(stdout);
}

double Bench::medianMs(int runs, const std::function<void()>& fn) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        fn();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QString Bench::generatedMarkdown(qsizetype bytes) {
    static const char* const pieces[] = {
        "# Heading %1\n\n",
        "Some *emphasis*, **strong** text and `inline code` with a [link](https://example.com) "
        "in paragraph %1, long enough to wrap across the editor width.\n\n",
        "- item %1 with words\n- [ ] task %1\n- [x] done %1\n\n",
        "> A quote %1 with ~~strike~~.\n\n",
        "```swift\nlet value%1 = compute(%1)\nprint(value%1)\n```\n\n",
        "| A | B |\n|---|---|\n| %1 | cell |\n\n",
    };
    QString out;
    out.reserve(bytes + 256);
    for (int i = 0; out.size() < bytes; ++i)
        out += QString::fromLatin1(pieces[i % 6]).arg(i);
    return out;
}

QString Bench::longTable() {
    QString table = QStringLiteral("| Name | Description | Amount | Note |\n|---|---|--:|---|\n");
    for (int i = 0; i < 80000; ++i)
        table += QStringLiteral("| row %1 | a *short* description of the item in stock today | "
                                "%1.50 | `code` and [a link](https://example.com/%1) |\n")
                     .arg(i);
    return table;
}

QString Bench::tenMegabyteTable() {
    const QString row = QStringLiteral("| a | b | c |\n");
    return QStringLiteral("| A | B | C |\n|---|---|---|\n") + row.repeated(749'000);
}

QString Bench::matchDocument() {
    QString out;
    for (int i = 0; i < 20000; ++i)
        out += QStringLiteral("Line %1 has a match, one more match and a match.")
                   .arg(i, 5, 10, QLatin1Char('0'))
                   .leftJustified(51, QLatin1Char(' ')) +
               QLatin1Char('\n');
    return out;
}

double Bench::residentMemoryMb() {
    return double(ProcessMemory::residentBytes()) / (1024 * 1024);
}

double Bench::peakMemoryMb() {
    return double(ProcessMemory::peakResidentBytes()) / (1024 * 1024);
}

std::unique_ptr<WorkspaceView> Bench::openWindow(MarkdownDocument& document) {
    WorkspaceServices services;
    services.panes = StandardWorkspacePanes::factory();
    auto window = std::make_unique<WorkspaceView>(document, std::move(services));
    window->resize(1200, 800);
    window->show();
    return window;
}

void Bench::resetPeakMemory() {
    ProcessMemory::resetPeak();
}

bool Bench::ownProcess(const char* group, const char* key) {
    static const QByteArray started = qgetenv("QUON_BENCH_PROCESS");
    if (!started.isEmpty())
        return started == key;
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUON_BENCH_PROCESS"), QString::fromLatin1(key));
    for (const char* dir : {"CONFIG", "DATA", "STATE", "CACHE"})
        env.insert(QStringLiteral("XDG_%1_HOME").arg(QLatin1String(dir)),
                   home.filePath(QLatin1String(dir).toString().toLower()));
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(group)});
    child.waitForFinished(-1);
    return false;
}

int main(int argc, char** argv) {
    // Windows the figures open remember their view mode: never in the user's settings.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_STATE_HOME", home.filePath(QStringLiteral("state")).toLocal8Bit());
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "qt.qml.compiler=false");
    // As quon runs.
    FreedMemory::returnLargeBlocksAtOnce();
    QApplication app(argc, argv);
    const QStringList filters = app.arguments().mid(1);
    // A process started for one figure runs that figure's group alone: another
    // group run before it would leave its memory behind.
    const bool ownGroupOnly = !qEnvironmentVariableIsEmpty("QUON_BENCH_PROCESS");
    for (const auto& [name, fn] : registry()) {
        const QString n = QString::fromLatin1(name);
        const auto matches = [&](const QString& f) {
            return ownGroupOnly ? n == f : n.contains(f);
        };
        if (!filters.isEmpty() && std::none_of(filters.begin(), filters.end(), matches))
            continue;
        fn();
    }
    return 0;
}

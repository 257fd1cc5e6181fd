#include "Bench.h"

#include "core/MarkdownDocument.h"
#include "core/Preferences.h"
#include "editor/EditorView.h"
#include "editor/MarkdownSyntaxHighlighter.h"
#include "editor/MarkdownTextEditor.h"
#include "preview/PreviewContentView.h"
#include "preview/PreviewView.h"
#include "shell/StandardWorkspacePanes.h"
#include "shell/WorkspaceView.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// A real document window on a 10 MB file, opened in Edit mode. The memory of
// a whole process counts, so the figure runs in a process of its own, with
// preferences of its own.
void windowFigures() {
    if (!qEnvironmentVariableIsSet("QUON_BENCH_WINDOW")) {
        QTemporaryDir home;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QUON_BENCH_WINDOW"), QStringLiteral("1"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_STATE_HOME"), home.filePath(QStringLiteral("state")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
        QProcess child;
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("window")});
        child.waitForFinished(-1);
        return;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.md"));
    {
        QFile file(path);
        const QByteArray bytes = Bench::generatedMarkdown(10 * 1024 * 1024).toUtf8();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return;
    }

    Preferences::shared().setString(PreferenceKeys::lastViewMode, QStringLiteral("Edit"));
    auto document = MarkdownDocument::open(path, nullptr);
    WorkspaceServices services;
    services.panes = StandardWorkspacePanes::factory();
    WorkspaceView window(*document, services);
    window.show();
    QApplication::processEvents();
    window.grab();
    Bench::report(QStringLiteral("window.memory.edit.10mb"), Bench::residentMemoryMb(), "MB");
    // The editor goes on colouring the rest of the text from the event loop.
    if (auto* editor = qobject_cast<EditorView*>(window.panes()->editor()))
        while (editor->editor()->highlighter()->isColouringProgressively())
            QApplication::processEvents();
    Bench::report(QStringLiteral("window.memory.edit.10mb.coloured"), Bench::residentMemoryMb(),
                  "MB");
    auto* preview = qobject_cast<PreviewView*>(window.panes()->preview());
    Bench::report(QStringLiteral("window.open.edit.10mb.preview-rows"),
                  preview ? preview->content()->buildCount() : -1, "rows");
}

const Bench::Registration registration("window", windowFigures);

} // namespace

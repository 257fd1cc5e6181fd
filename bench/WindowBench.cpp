#include "Bench.h"

#include "core/MarkdownDocument.h"
#include "core/Preferences.h"
#include "editor/EditorView.h"
#include "editor/MarkdownSyntaxHighlighter.h"
#include "editor/MarkdownTextEditor.h"
#include "editor/MarkdownTextView.h"
#include "preview/PreviewContentView.h"
#include "preview/PreviewView.h"
#include "shell/SnapshotFade.h"
#include "shell/StandardWorkspacePanes.h"
#include "shell/WorkspaceView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace {

void waitUntilIdle() {
    QEventLoop idle;
    QTimer::singleShot(0, &idle, &QEventLoop::quit);
    idle.exec();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Keys typed at a position of a shown editor, a letter and a backspace in
// turn, each timed until the window is idle again: the edit, its colouring,
// the document, the status bar and the repaint. Sorted times in ms.
std::vector<double> typingTimes(MarkdownTextView* view, int position, int steps) {
    view->setFocus();
    QTextCursor cursor(view->document());
    cursor.setPosition(position);
    view->setTextCursor(cursor);
    view->centerCursor();
    QApplication::processEvents();
    std::vector<double> times;
    for (int step = 0; step < steps; ++step) {
        const bool type = step % 2 == 0;
        QKeyEvent press(QEvent::KeyPress, type ? Qt::Key_A : Qt::Key_Backspace, Qt::NoModifier,
                        type ? QStringLiteral("a") : QString());
        QElapsedTimer timer;
        timer.start();
        QApplication::sendEvent(view, &press);
        // Idle again: what the key posted or started for the next turn has run.
        waitUntilIdle();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times;
}

// Changing the view mode of a window on a 10 MB document: the change until
// the window is idle (the panes laid out once in the new mode, the picture
// of the old ones taken), and each frame of the fade that follows (the
// picture over the panes, both painted).
void viewModeFigures(WorkspaceView& window) {
    std::vector<double> changes, frames;
    for (int round = 0; round < 3; ++round) {
        for (ViewMode mode :
             {ViewMode::Edit, ViewMode::Split, ViewMode::Preview, ViewMode::Split}) {
            QElapsedTimer timer;
            timer.start();
            window.setViewMode(mode);
            waitUntilIdle();
            changes.push_back(double(timer.nsecsElapsed()) / 1e6);
            while (window.viewModeFade()->isRunning()) {
                QEventLoop frame;
                QTimer::singleShot(16, &frame, &QEventLoop::quit);
                frame.exec();
                timer.start();
                window.repaint();
                frames.push_back(double(timer.nsecsElapsed()) / 1e6);
            }
        }
    }
    Bench::report(QStringLiteral("window.viewmode.change.median.10mb"), median(changes), "ms");
    Bench::report(QStringLiteral("window.viewmode.frame.median.10mb"), median(frames), "ms");
}

// A key typed into a real document window in Split on a 10 MB document,
// timed until the window is idle again: the edit, its colouring, the
// document, the status bar and the repaint. The preview's debounced
// re-parse is not part of it.
void keystrokeFigures() {
    auto document = std::make_unique<MarkdownDocument>(
        *DocumentFile::decode(Bench::generatedMarkdown(10 * 1024 * 1024).toUtf8()));
    const auto owned = Bench::openWindow(*document);
    WorkspaceView& window = *owned;
    window.setViewMode(ViewMode::Split);
    auto* pane = qobject_cast<EditorView*>(window.panes()->editor());
    while (pane->editor()->highlighter()->isColouringProgressively())
        QApplication::processEvents();
    QApplication::processEvents();

    MarkdownTextView* view = pane->textView();
    QTextCursor cursor(view->document()->findBlockByNumber(view->document()->blockCount() / 2));
    cursor.movePosition(QTextCursor::EndOfBlock);
    const std::vector<double> times = typingTimes(view, cursor.position(), 400);
    Bench::report(QStringLiteral("editor.keystroke.split.median.10mb"), times[times.size() / 2],
                  "ms");
    Bench::report(QStringLiteral("editor.keystroke.split.p99.10mb"), times[times.size() * 99 / 100],
                  "ms");
    viewModeFigures(window);
}

// A real document window on a 10 MB file, opened in Edit mode. The memory of
// a whole process counts, so the figure runs in a process of its own.
void windowFigures() {
    if (!Bench::ownProcess("window", "window"))
        return;
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
    keystrokeFigures();
}

// A 10 MB file that is one line of words with inline markup, opened in a
// real window in Edit mode: the time until the window is shown and idle, a
// key typed in the middle of the line, and the switch to Split with the
// first render of the preview's one paragraph.
void oneLineFigures() {
    QString line;
    line.reserve(10 * 1024 * 1024 + 100);
    for (int i = 0; line.size() < 10 * 1024 * 1024; ++i)
        line += QStringLiteral("word%1 *emphasis* **strong** `code` [link](https://x.y/%1) plain ")
                    .arg(i);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("line.md"));
    {
        QFile file(path);
        const QByteArray bytes = line.toUtf8();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return;
    }
    Preferences::shared().setString(PreferenceKeys::lastViewMode, QStringLiteral("Edit"));

    QElapsedTimer timer;
    timer.start();
    auto document = MarkdownDocument::open(path, nullptr);
    const auto owned = Bench::openWindow(*document);
    WorkspaceView& window = *owned;
    waitUntilIdle();
    window.grab();
    Bench::report(QStringLiteral("editor.open.oneline.10mb"), double(timer.nsecsElapsed()) / 1e6,
                  "ms");

    auto* pane = qobject_cast<EditorView*>(window.panes()->editor());
    const std::vector<double> times = typingTimes(pane->textView(), int(line.size() / 2), 20);
    Bench::report(QStringLiteral("editor.keystroke.oneline.10mb.median"), median(times), "ms");
    Bench::report(QStringLiteral("editor.keystroke.oneline.10mb.p99"),
                  times[times.size() * 99 / 100], "ms");

    timer.start();
    window.setViewMode(ViewMode::Split);
    waitUntilIdle();
    // The paragraph is parsed on the parsing thread and shown when it comes.
    auto* preview = qobject_cast<PreviewView*>(window.panes()->preview());
    while (preview->isUpdating())
        QApplication::processEvents();
    window.grab();
    Bench::report(QStringLiteral("window.split.oneline.10mb"), double(timer.nsecsElapsed()) / 1e6,
                  "ms");
}

// From a pause in typing until the preview shows the edit, in a real window
// in Split: the longest turn of the event loop (what the next key would wait
// for) and the time until the preview has caught up. Each of three pauses
// follows five keys typed in the middle of the text; medians of the three.
void splitPauseFigures(const QString& key, const QString& text, bool catchUp) {
    auto document = std::make_unique<MarkdownDocument>(*DocumentFile::decode(text.toUtf8()));
    const auto owned = Bench::openWindow(*document);
    WorkspaceView& window = *owned;
    window.setViewMode(ViewMode::Split);
    auto* pane = qobject_cast<EditorView*>(window.panes()->editor());
    auto* preview = qobject_cast<PreviewView*>(window.panes()->preview());
    const auto shown = [&] {
        return !preview->isUpdating() &&
               preview->content()->document()->text.size() == document->length();
    };
    while (pane->editor()->highlighter()->isColouringProgressively() || !shown())
        QApplication::processEvents();

    MarkdownTextView* view = pane->textView();
    view->setFocus();
    QTextCursor cursor(view->document()->findBlockByNumber(view->document()->blockCount() / 2));
    cursor.movePosition(QTextCursor::EndOfBlock);
    view->setTextCursor(cursor);
    view->centerCursor();
    QApplication::processEvents();
    std::vector<double> stalls, catchUps;
    for (int pause = 0; pause < 3; ++pause) {
        for (int i = 0; i < 5; ++i) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
            QApplication::sendEvent(view, &press);
            waitUntilIdle();
        }
        QElapsedTimer sincePause;
        sincePause.start();
        double longest = 0;
        while (!shown()) {
            QElapsedTimer turn;
            turn.start();
            QApplication::processEvents();
            longest = std::max(longest, double(turn.nsecsElapsed()) / 1e6);
        }
        catchUps.push_back(double(sincePause.nsecsElapsed()) / 1e6);
        stalls.push_back(longest);
    }
    Bench::report(QStringLiteral("window.split.stall-after-pause.") + key, median(stalls), "ms");
    if (catchUp)
        Bench::report(QStringLiteral("window.split.catch-up.") + key, median(catchUps), "ms");
}

void splitFigures() {
    splitPauseFigures(QStringLiteral("10mb"), Bench::generatedMarkdown(10 * 1024 * 1024), true);
    splitPauseFigures(QStringLiteral("table-80k"), Bench::longTable(), false);
    splitPauseFigures(QStringLiteral("table-10mb"), Bench::tenMegabyteTable(), false);
}

const Bench::Registration split("split-pause", splitFigures);

// A key typed in the middle of one long line, in a real window in Split:
// a line of links, emphasis and code spans, and a line of plain words.
void longLineFigures() {
    QString dense;
    for (int i = 0; dense.size() < 80000; ++i)
        dense +=
            QStringLiteral("word%1 *emphasis* **strong** `code` [link](https://x.y/%1) ").arg(i);
    QString plain;
    for (int i = 0; plain.size() < 200 * 1024; ++i)
        plain += QStringLiteral("plain words %1 of a line ").arg(i);
    const std::pair<const char*, QString> lines[] = {{"long-line.80k", dense.left(80000)},
                                                     {"long-line.plain-200kb", plain}};
    for (const auto& [key, line] : lines) {
        auto document = std::make_unique<MarkdownDocument>(
            *DocumentFile::decode(QString(line + u'\n').toUtf8()));
        const auto owned = Bench::openWindow(*document);
        WorkspaceView& window = *owned;
        window.setViewMode(ViewMode::Split);
        waitUntilIdle();
        auto* pane = qobject_cast<EditorView*>(window.panes()->editor());
        const std::vector<double> times = typingTimes(pane->textView(), int(line.size() / 2), 20);
        Bench::report(QStringLiteral("editor.keystroke.") + QLatin1String(key), median(times),
                      "ms");
    }
}

const Bench::Registration oneLine("oneline", oneLineFigures);
const Bench::Registration longLine("long-line", longLineFigures);

const Bench::Registration registration("window", windowFigures);

} // namespace

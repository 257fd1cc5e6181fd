#include "Bench.h"

#include "core/MarkdownDocument.h"
#include "editor/EditorView.h"
#include "editor/MarkdownSyntaxHighlighter.h"
#include "editor/MarkdownTextEditor.h"
#include "editor/MarkdownTextView.h"
#include "shell/StandardWorkspacePanes.h"
#include "shell/WorkspaceView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace {

// A key typed into a real document window in Split on a 10 MB document,
// timed until the window is idle again: the edit, its colouring, the
// document, the status bar and the repaint. The preview's debounced
// re-parse is not part of it.
void windowFigures() {
    auto document = std::make_unique<MarkdownDocument>(
        *DocumentFile::decode(Bench::generatedMarkdown(10 * 1024 * 1024).toUtf8()));
    WorkspaceServices services;
    services.application = ApplicationCommands{};
    services.panes = StandardWorkspacePanes::factory();
    WorkspaceView window(*document, std::move(services));
    window.resize(1200, 800);
    window.show();
    window.setViewMode(ViewMode::Split);
    auto* pane = qobject_cast<EditorView*>(window.panes()->editor());
    while (pane->editor()->highlighter()->isColouringProgressively())
        QApplication::processEvents();
    QApplication::processEvents();

    MarkdownTextView* view = pane->textView();
    view->setFocus();
    QTextCursor cursor(view->document()->findBlockByNumber(view->document()->blockCount() / 2));
    cursor.movePosition(QTextCursor::EndOfBlock);
    view->setTextCursor(cursor);
    view->centerCursor();
    QApplication::processEvents();

    std::vector<double> times;
    for (int step = 0; step < 400; ++step) {
        const bool type = step % 2 == 0;
        QKeyEvent press(QEvent::KeyPress, type ? Qt::Key_A : Qt::Key_Backspace, Qt::NoModifier,
                        type ? QStringLiteral("a") : QString());
        QElapsedTimer timer;
        timer.start();
        QApplication::sendEvent(view, &press);
        // Idle again: what the key posted or started for the next turn has run.
        QEventLoop idle;
        QTimer::singleShot(0, &idle, &QEventLoop::quit);
        idle.exec();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    Bench::report(QStringLiteral("editor.keystroke.split.median.10mb"), times[times.size() / 2],
                  "ms");
    Bench::report(QStringLiteral("editor.keystroke.split.p99.10mb"), times[times.size() * 99 / 100],
                  "ms");
}

const Bench::Registration registration("window", windowFigures);

} // namespace

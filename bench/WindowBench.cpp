#include "Bench.h"
#include "ReadmeDocument.h"

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
#include <functional>
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

// Runs the event loop until `done` holds: the longest turn, in ms.
double longestTurnUntil(const std::function<bool()>& done) {
    double longest = 0;
    while (!done()) {
        QElapsedTimer turn;
        turn.start();
        QApplication::processEvents();
        longest = std::max(longest, double(turn.nsecsElapsed()) / 1e6);
    }
    return longest;
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
        const double longest = longestTurnUntil(shown);
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

const Bench::Registration split("window.split-pause", splitFigures);

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

// A text written with the README's pictures beside it, opened in a real
// window in Split and shown until the preview is in step.
struct SplitWindow {
    QTemporaryDir folder;
    std::unique_ptr<MarkdownDocument> document;
    std::unique_ptr<WorkspaceView> window;
    EditorView* editor = nullptr;
    PreviewView* preview = nullptr;

    bool open(const QString& text) {
        const QString path = folder.filePath(QStringLiteral("doc.md"));
        QFile file(path);
        const QByteArray bytes = text.toUtf8();
        if (!ReadmeDocument::writeImages(folder.path()) || !file.open(QIODevice::WriteOnly) ||
            file.write(bytes) != bytes.size())
            return false;
        file.close();
        document = MarkdownDocument::open(path, nullptr);
        if (!document)
            return false;
        window = Bench::openWindow(*document);
        window->setViewMode(ViewMode::Split);
        editor = qobject_cast<EditorView*>(window->panes()->editor());
        preview = qobject_cast<PreviewView*>(window->panes()->preview());
        while (editor->editor()->highlighter()->isColouringProgressively() || !inStep())
            QApplication::processEvents();
        waitUntilIdle();
        return true;
    }
    bool inStep() const {
        return !preview->isUpdating() &&
               preview->content()->document()->text.size() == document->length();
    }
    // Puts the caret at `position` in the editor and centres it.
    MarkdownTextView* caretAt(int position) {
        MarkdownTextView* view = editor->textView();
        view->setFocus();
        QTextCursor cursor(view->document());
        cursor.setPosition(position);
        view->setTextCursor(cursor);
        view->centerCursor();
        waitUntilIdle();
        return view;
    }
    // Types the keys and waits until the preview shows them, and `afterMs`
    // more for what its rows do once made (colouring code): the longest turn.
    double typeAndWait(QWidget* view, const std::vector<std::pair<int, QString>>& keys,
                       int afterMs = 0) {
        double longest = 0;
        for (const auto& [key, text] : keys) {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
            QElapsedTimer turn;
            turn.start();
            QApplication::sendEvent(view, &press);
            longest = std::max(longest, double(turn.nsecsElapsed()) / 1e6);
        }
        longest = std::max(longest, longestTurnUntil([this] { return inStep(); }));
        QElapsedTimer after;
        after.start();
        return std::max(longest, longestTurnUntil([&] { return after.elapsed() >= afterMs; }));
    }
};

// A key in the middle of one long paragraph in a real window in Split, then
// a pause until the preview shows it: the longest turn of the event loop,
// the median of three keys.
void longLineStall(const QString& key, const QString& line) {
    SplitWindow split;
    if (!split.open(line + u'\n'))
        return;
    MarkdownTextView* view = split.caretAt(int(line.size() / 2));
    std::vector<double> stalls;
    for (int round = 0; round < 3; ++round)
        stalls.push_back(split.typeAndWait(view, {{Qt::Key_A, QStringLiteral("a")}}));
    Bench::report(QStringLiteral("window.split.stall.") + key, median(stalls), "ms");
}

// 80,000 characters of inline markup, without pictures and with 555 of
// them (badges, screenshots and some that are missing).
void longLineStallFigures() {
    QString dense;
    for (int i = 0; dense.size() < 80000; ++i)
        dense +=
            QStringLiteral("word%1 *emphasis* **strong** `code` [link](https://x.y/%1) ").arg(i);
    longLineStall(QStringLiteral("long-line.80k"), dense.left(80000));

    constexpr int pictures = 555;
    QString line;
    for (int i = 0; i < pictures; ++i) {
        const QString picture = i % 7 == 3 ? QStringLiteral("docs/missing-%1.png").arg(i)
                                : i % 5 == 0
                                    ? QStringLiteral("docs/images/screenshot-%1.png").arg(i % 4)
                                    : QStringLiteral("docs/badges/badge-%1.svg").arg(i % 6);
        line += QStringLiteral("word%1 *emphasis* **strong** `code` [link](https://x.y/%1) "
                               "![picture %1](%2) plain words go here and ")
                    .arg(i)
                    .arg(picture);
    }
    for (int i = 0; line.size() < 80000; ++i)
        line += QStringLiteral("more%1 ").arg(i);
    line.truncate(80000);
    longLineStall(QStringLiteral("long-line-images"), line);
}

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// One paragraph of 80,000 characters in a real window in Split, the caret
// in its middle: a key typed there until its echo is painted (median of 40,
// a letter and a backspace in turn, each after the preview caught up), and
// a blink of the caret (its rect repainted).
void paragraphFigures() {
    QString paragraph;
    for (int i = 0; paragraph.size() < 80000; ++i)
        paragraph += QStringLiteral("word%1 *emphasis* **strong** `code %1` plain words ").arg(i);
    paragraph.truncate(80000);
    SplitWindow split;
    if (!split.open(paragraph + u'\n'))
        return;
    MarkdownTextView* view = split.caretAt(int(paragraph.size() / 2));
    PaintCounter counter(view->viewport());
    std::vector<double> keys;
    for (int step = 0; step < 40; ++step) {
        const bool type = step % 2 == 0;
        QKeyEvent press(QEvent::KeyPress, type ? Qt::Key_A : Qt::Key_Backspace, Qt::NoModifier,
                        type ? QStringLiteral("a") : QString());
        const int before = counter.paints;
        QElapsedTimer timer;
        timer.start();
        QApplication::sendEvent(view, &press);
        waitUntilIdle();
        if (counter.paints == before)
            view->viewport()->repaint();
        keys.push_back(double(timer.nsecsElapsed()) / 1e6);
        while (!split.inStep())
            QApplication::processEvents();
    }
    Bench::report(QStringLiteral("editor.keystroke.paragraph-80k"), median(keys), "ms");
    const double blink = Bench::medianMs(40, [&] { view->viewport()->repaint(view->caretRect()); });
    Bench::report(QStringLiteral("editor.caret-blink.paragraph-80k"), blink, "ms");
}

// A code fence (three backticks and Return) typed at a paragraph in the
// middle of the README-like document in Split, until the preview is in step
// again and a second after (its code coloured): the longest turn of the
// event loop.
void fenceTypedFigures() {
    const QString text = ReadmeDocument::markdown(1024 * 1024);
    SplitWindow split;
    if (!split.open(text))
        return;
    const qsizetype at = text.indexOf(QStringLiteral("\n\nThe **widget-"), text.size() / 2) + 2;
    MarkdownTextView* view = split.caretAt(int(at));
    const QString tick = QStringLiteral("`");
    const double stall = split.typeAndWait(view,
                                           {{Qt::Key_QuoteLeft, tick},
                                            {Qt::Key_QuoteLeft, tick},
                                            {Qt::Key_QuoteLeft, tick},
                                            {Qt::Key_Return, QStringLiteral("\r")}},
                                           1000);
    Bench::report(QStringLiteral("window.split.stall.fence-typed.readme-1mb"), stall, "ms");
}

const Bench::Registration longLineStalls("split-stall.long-line", longLineStallFigures);
const Bench::Registration fenceTyped("split-stall.fence-typed", fenceTypedFigures);
const Bench::Registration oneLine("oneline", oneLineFigures);
const Bench::Registration longLine("long-line", longLineFigures);
const Bench::Registration paragraph("paragraph-80k", paragraphFigures);

const Bench::Registration registration("window", windowFigures);

} // namespace

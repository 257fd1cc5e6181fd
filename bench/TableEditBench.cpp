#include "Bench.h"

#include "core/MarkdownDocument.h"
#include "core/Preferences.h"
#include "editor/EditorView.h"
#include "editor/MarkdownSyntaxHighlighter.h"
#include "editor/MarkdownTextEditor.h"
#include "editor/MarkdownTextView.h"
#include "preview/PreviewContentView.h"
#include "preview/PreviewView.h"
#include "shell/WorkspaceView.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QThread>
#include <algorithm>
#include <functional>
#include <sys/resource.h>
#include <utility>
#include <vector>

namespace {

// The processor time of the whole process, every thread, in ms.
double processCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) {
        return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The 10 MB one-table document opened from a file in Split, edited as a
// user edits it: keys sent to the editor, each followed by a pause until the
// preview shows the edit and has nothing left to do.
class TableSession {
public:
    explicit TableSession(const QString& text) {
        const QString path = m_dir.filePath(QStringLiteral("table.md"));
        QFile file(path);
        const QByteArray bytes = text.toUtf8();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return;
        file.close();
        Preferences::shared().setString(PreferenceKeys::lastViewMode, QStringLiteral("Split"));
        m_document = MarkdownDocument::open(path, nullptr);
        if (!m_document)
            return;
        m_window = Bench::openWindow(*m_document);
        m_editor = qobject_cast<EditorView*>(m_window->panes()->editor());
        m_preview = qobject_cast<PreviewView*>(m_window->panes()->preview());
        m_longest = 0;
        untilShown();
        m_longest = 0;
    }
    bool isOpen() const { return m_editor && m_preview; }
    MarkdownTextView* view() const { return m_editor->textView(); }
    // The longest event-loop turn since the last call, in ms.
    double takeLongestTurn() { return std::exchange(m_longest, 0.0); }

    // Puts the caret in the middle of the middle row, `column` characters in.
    void caretInMiddleRow(int column) const {
        QTextDocument* text = view()->document();
        QTextCursor cursor(text->findBlockByNumber(text->blockCount() / 2));
        cursor.setPosition(cursor.block().position() + column);
        view()->setFocus();
        view()->setTextCursor(cursor);
        view()->centerCursor();
    }
    // The process's CPU from the edit until the preview is idle again, in ms.
    double edit(const std::function<void()>& action) {
        const double start = processCpuMs();
        QElapsedTimer turn;
        turn.start();
        action();
        m_longest = std::max(m_longest, double(turn.nsecsElapsed()) / 1e6);
        untilShown();
        return processCpuMs() - start;
    }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             const QString& text = {}) const {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(view(), &press);
    }

private:
    // Turns of the event loop, each timed, a short sleep between them so
    // that waiting costs no processor time, until the preview shows the
    // editor's text (compared by length: every edit here changes it) and
    // the editor has coloured it all: what the open left of either would
    // count to the first edit.
    void untilShown() {
        const QDeadlineTimer deadline(300'000);
        while (!deadline.hasExpired()) {
            QElapsedTimer turn;
            turn.start();
            QApplication::processEvents();
            m_longest = std::max(m_longest, double(turn.nsecsElapsed()) / 1e6);
            const auto shown = m_preview->content()->document();
            if (!m_preview->isUpdating() && shown &&
                !m_editor->editor()->highlighter()->isColouringProgressively() &&
                shown->text.size() == view()->document()->characterCount() - 1)
                return;
            QThread::msleep(5);
        }
        qWarning("the preview did not catch up");
    }

    QTemporaryDir m_dir;
    std::unique_ptr<MarkdownDocument> m_document;
    std::unique_ptr<WorkspaceView> m_window;
    EditorView* m_editor = nullptr;
    PreviewView* m_preview = nullptr;
    double m_longest = 0;
};

// A letter typed in a middle row of the 10 MB one-table document, three
// times with a pause after each (the median), then the structural edits:
// Return at the end of a middle row (a blank line, which ends the table
// there), BackSpace joining it back, a row deleted and that undone (the
// worst). The process's peak memory over opening and all of it, and the
// longest turn of the event loop over the edits.
void tableEditFigures() {
    if (!Bench::ownProcess("window-table", "table-10mb-edits"))
        return;
    Bench::resetPeakMemory();
    TableSession session(Bench::tenMegabyteTable());
    if (!session.isOpen())
        return;
    session.caretInMiddleRow(3);
    std::vector<double> letters;
    for (int i = 0; i < 3; ++i)
        letters.push_back(session.edit([&] { session.key(Qt::Key_X, {}, QStringLiteral("x")); }));
    std::sort(letters.begin(), letters.end());
    const double letterStall = session.takeLongestTurn();

    session.caretInMiddleRow(0);
    session.view()->moveCursor(QTextCursor::EndOfBlock);
    const double split =
        session.edit([&] { session.key(Qt::Key_Return, {}, QStringLiteral("\r")); });
    const double join = session.edit([&] { session.key(Qt::Key_Backspace); });
    const double blankLineStall = session.takeLongestTurn();
    session.caretInMiddleRow(0);
    session.view()->moveCursor(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    const double removed = session.edit([&] { session.key(Qt::Key_Delete); });
    const double undone = session.edit([&] { session.view()->undo(); });
    const double rowStall = session.takeLongestTurn();

    Bench::report(QStringLiteral("window.table-10mb.pause-cpu"), letters[1], "ms");
    Bench::report(QStringLiteral("window.table-10mb.structural-cpu"),
                  std::max({split, join, removed, undone}), "ms");
    Bench::report(QStringLiteral("window.table-10mb.structural-cpu.return"), split, "ms");
    Bench::report(QStringLiteral("window.table-10mb.structural-cpu.join"), join, "ms");
    Bench::report(QStringLiteral("window.table-10mb.structural-cpu.delete-row"), removed, "ms");
    Bench::report(QStringLiteral("window.table-10mb.structural-cpu.undo"), undone, "ms");
    Bench::report(QStringLiteral("window.table-10mb.stall"),
                  std::max({letterStall, blankLineStall, rowStall}), "ms");
    Bench::report(QStringLiteral("window.table-10mb.stall.letter"), letterStall, "ms");
    Bench::report(QStringLiteral("window.table-10mb.stall.blank-line"), blankLineStall, "ms");
    Bench::report(QStringLiteral("window.table-10mb.stall.row"), rowStall, "ms");
    Bench::report(QStringLiteral("window.memory.table-10mb.peak"), Bench::peakMemoryMb(), "MB");
}

const Bench::Registration registration("window-table", tableEditFigures);

} // namespace

#include "Bench.h"

#include "core/MarkdownDocument.h"
#include "core/Preferences.h"
#include "editor/EditorView.h"
#include "editor/MarkdownTextEditor.h"
#include "editor/MarkdownTextView.h"
#include "preview/PreviewView.h"
#include "shell/WorkspaceView.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QThread>
#include <algorithm>
#include <memory>

namespace {

void settle() {
    QApplication::sendPostedEvents();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A document window on a file of `text`, opened in Split as a user opens it.
struct SplitWindow {
    QTemporaryDir dir;
    std::unique_ptr<MarkdownDocument> document;
    std::unique_ptr<WorkspaceView> window;

    explicit SplitWindow(const QString& text) {
        const QString path = dir.filePath(QStringLiteral("document.md"));
        {
            QFile file(path);
            const QByteArray bytes = text.toUtf8();
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                return;
        }
        Preferences::shared().setString(PreferenceKeys::lastViewMode, QStringLiteral("Split"));
        document = MarkdownDocument::open(path, nullptr);
        window = Bench::openWindow(*document);
        settle();
        waitForPreview();
    }
    EditorView* editor() const { return qobject_cast<EditorView*>(window->panes()->editor()); }
    PreviewView* preview() const { return qobject_cast<PreviewView*>(window->panes()->preview()); }

    // Until the preview shows the editor's text, its rows done taking it.
    void waitForPreview() const {
        const QDeadlineTimer deadline(120'000);
        while (!deadline.hasExpired()) {
            settle();
            const auto parsed = preview()->parseCache().document();
            if (!preview()->isUpdating() && parsed && parsed->text == editor()->text())
                break;
            QThread::msleep(10);
        }
        settle();
    }
    // Letters typed at a position, each key handled before the next.
    void type(int position, int keys) const {
        MarkdownTextView* view = editor()->textView();
        view->setFocus();
        QTextCursor cursor(view->document());
        cursor.setPosition(position);
        view->setTextCursor(cursor);
        for (int key = 0; key < keys; ++key) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
            QApplication::sendEvent(view, &press);
            settle();
        }
    }
    // The preview scrolled from top to end, as a user drags it through a long
    // document: a screen at a time, or in as many even steps of more when it
    // is longer (every screen of 10 MB takes minutes, and what a screen keeps
    // is bounded the same).
    void scrollPreviewThrough() const {
        constexpr int steps = 400;
        QScrollBar* bar = preview()->scrollArea()->verticalScrollBar();
        bar->setValue(0);
        settle();
        while (bar->value() < bar->maximum()) {
            bar->setValue(bar->value() + std::max(bar->pageStep(), bar->maximum() / steps));
            settle();
        }
    }
};

// The resident memory of the whole process, each document in a process of
// its own: a 10 MB document in Split at its peak through opening, the
// preview scrolled end to end and 200 keys; the one-table document after
// five edits, each shown in the preview; the 10 MB one-table document at
// its peak through opening and through five edits.
void windowMemoryFigures() {
    if (Bench::ownProcess("window-memory", "split-10mb")) {
        QString text = Bench::generatedMarkdown(10 * 1024 * 1024);
        const qsizetype middle = text.indexOf(QLatin1String("\n\n"), text.size() / 2);
        Bench::resetPeakMemory();
        SplitWindow split(text);
        text.clear();
        split.scrollPreviewThrough();
        split.type(int(middle), 200);
        split.waitForPreview();
        Bench::report(QStringLiteral("window.memory.split.10mb"), Bench::peakMemoryMb(), "MB");
    }
    if (Bench::ownProcess("window-memory", "split-table")) {
        QString text = Bench::longTable();
        const qsizetype middle = text.indexOf(QLatin1String(" |"), text.size() / 2);
        SplitWindow split(text);
        text.clear();
        Bench::report(QStringLiteral("window.memory.split.table-80k.open"),
                      Bench::residentMemoryMb(), "MB");
        for (int edit = 0; edit < 5; ++edit) {
            split.type(int(middle), 1);
            split.waitForPreview();
        }
        Bench::report(QStringLiteral("window.memory.split.table-80k.after-edits"),
                      Bench::residentMemoryMb(), "MB");
        Bench::report(QStringLiteral("window.memory.split.table-80k.peak"), Bench::peakMemoryMb(),
                      "MB");
    }
    if (Bench::ownProcess("window-memory", "split-table-10mb")) {
        QString text = Bench::tenMegabyteTable();
        const qsizetype middle = text.indexOf(QLatin1String(" |"), text.size() / 2);
        Bench::resetPeakMemory();
        SplitWindow split(text);
        text.clear();
        Bench::report(QStringLiteral("window.memory.split.table-10mb.open-peak"),
                      Bench::peakMemoryMb(), "MB");
        Bench::resetPeakMemory();
        for (int edit = 0; edit < 5; ++edit) {
            split.type(int(middle), 1);
            split.waitForPreview();
        }
        Bench::report(QStringLiteral("window.memory.split.table-10mb.edit-peak"),
                      Bench::peakMemoryMb(), "MB");
    }
}

const Bench::Registration registration("window-memory", windowMemoryFigures);

} // namespace

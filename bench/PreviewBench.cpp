#include "Bench.h"

#include "preview/PreviewContentView.h"
#include "preview/PreviewView.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>

namespace {

// Peak resident memory since the last reset, in MB (Linux).
double peakMemoryMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

void resetPeakMemory() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

void settle() {
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

// A paragraph near the middle, edited the way typing edits it.
QString editedMiddle(const QString& text) {
    const qsizetype at = text.indexOf(QLatin1String("long enough to wrap"), text.size() / 2);
    QString edited = text;
    edited.insert(at, QLatin1String("edited "));
    return edited;
}

void previewFigures() {
    const QString text = Bench::generatedMarkdown(1024 * 1024);
    resetPeakMemory();
    QElapsedTimer timer;
    timer.start();
    PreviewView view;
    view.resize(900, 800);
    view.setMarkdown(text);
    view.show();
    settle();
    Bench::report(QStringLiteral("preview.first-render.1mb"), double(timer.nsecsElapsed()) / 1e6,
                  "ms");

    // What runs when the debounce fires: the parse and the update of the rows.
    QString current = text;
    const double edit = Bench::medianMs(5, [&] {
        current = current == text ? editedMiddle(text) : text;
        view.setMarkdown(current);
        const_cast<MarkdownParseCache&>(view.parseCache()).parseNow(current);
        settle();
    });
    Bench::report(QStringLiteral("preview.paragraph-edit.1mb"), edit, "ms");
    // Scroll through the middle so there are views to lay out again.
    QScrollBar* bar = view.scrollArea()->verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    settle();
    int width = 900;
    const double relayout = Bench::medianMs(5, [&] {
        width = width == 900 ? 700 : 900;
        view.resize(width, 800);
        settle();
    });
    Bench::report(QStringLiteral("preview.width-relayout.1mb"), relayout, "ms");
    Bench::report(QStringLiteral("preview.rows.1mb"), view.content()->rowCount(), "rows");
    Bench::report(QStringLiteral("preview.built-rows.1mb"), view.content()->builtRowCount(),
                  "rows");
    Bench::report(QStringLiteral("preview.peak-memory.1mb"), peakMemoryMb(), "MB");
}

const Bench::Registration registration("preview", previewFigures);

} // namespace

#include "Bench.h"
#include "ReadmeDocument.h"

#include "preview/CodeBlockView.h"
#include "preview/MarkdownBlockView.h"
#include "preview/PreviewContentView.h"
#include "preview/PreviewView.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <malloc.h>
#include <memory>

namespace {

void settle() {
    QApplication::sendPostedEvents();
    QApplication::processEvents();
    // Released views go at once, as they do between turns of a running loop.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A paragraph near the middle, edited the way typing edits it.
QString editedMiddle(const QString& text, const QString& near) {
    const qsizetype at = text.indexOf(near, text.size() / 2);
    QString edited = text;
    edited.insert(at, QLatin1String("edited "));
    return edited;
}

// A preview pane of a text, shown and settled; its first render timed.
struct Pane {
    PreviewView view;
    double firstRenderMs = 0;

    explicit Pane(const QString& text, QSize size = {900, 800}, const QString& folder = {}) {
        QElapsedTimer timer;
        timer.start();
        view.resize(size);
        view.setDocumentDirectory(folder);
        view.setMarkdown(text);
        view.show();
        catchUp();
        firstRenderMs = double(timer.nsecsElapsed()) / 1e6;
    }
    // Until the preview shows its text.
    void catchUp() {
        settle();
        while (view.isUpdating())
            settle();
    }
    QScrollBar* bar() const { return view.scrollArea()->verticalScrollBar(); }

    // Scrolls from here to the end a screen at a time and reports how far
    // resident memory rose above what it was here (at its peak), how many
    // views were made on the way and how many are left at the end.
    void scrollThrough(const QString& key) {
        settle();
        // What the allocator still holds from the first render would hide
        // what scrolling takes.
        malloc_trim(0);
        Bench::resetPeakMemory();
        const double start = Bench::residentMemoryMb();
        const int builds = view.content()->buildCount();
        while (bar()->value() < bar()->maximum()) {
            bar()->setValue(bar()->value() + bar()->pageStep());
            settle();
        }
        Bench::report(QStringLiteral("preview.scroll-through.growth.") + key,
                      Bench::peakMemoryMb() - start, "MB");
        Bench::report(QStringLiteral("preview.scroll-through.views-made.") + key,
                      view.content()->buildCount() - builds, "views");
        Bench::report(QStringLiteral("preview.scroll-through.views-left.") + key,
                      view.content()->builtRowCount(), "views");
    }
    // The median time of an edit near `near` in the middle of `text`, made
    // and undone in turns.
    double paragraphEditMs(const QString& text, const QString& near) {
        const QString edited = editedMiddle(text, near);
        int round = 0;
        return Bench::medianMs(5, [&] { editMs(round++ % 2 == 0 ? edited : text); });
    }
    // The time from a new text to its rows, the debounce left out.
    double editMs(const QString& text) {
        QElapsedTimer timer;
        timer.start();
        view.setMarkdown(text);
        view.updateNow();
        catchUp();
        return double(timer.nsecsElapsed()) / 1e6;
    }
};

// A README-like document of 1 MB with its pictures beside it, shown.
struct ReadmePane {
    QTemporaryDir folder;
    QString text = ReadmeDocument::markdown(1024 * 1024);
    std::unique_ptr<Pane> pane;

    ReadmePane() {
        if (ReadmeDocument::writeImages(folder.path()))
            pane = std::make_unique<Pane>(text, QSize(900, 800), folder.path());
    }
};

// With link reference definitions in it, so an edit resolves references.
void readmeFigures() {
    ReadmePane readme;
    if (!readme.pane)
        return;
    Bench::report(QStringLiteral("preview.first-render.readme-1mb"), readme.pane->firstRenderMs,
                  "ms");
    Bench::report(QStringLiteral("preview.paragraph-edit.readme-1mb"),
                  readme.pane->paragraphEditMs(readme.text, QStringLiteral("before you upgrade")),
                  "ms");
}

void previewFigures() {
    const QString text = Bench::generatedMarkdown(1024 * 1024);
    Pane pane(text);
    Bench::report(QStringLiteral("preview.first-render.1mb"), pane.firstRenderMs, "ms");

    // What runs when the debounce fires: the parse and the update of the rows.
    Bench::report(QStringLiteral("preview.paragraph-edit.1mb"),
                  pane.paragraphEditMs(text, QStringLiteral("long enough to wrap")), "ms");
    // Scroll through the middle so there are views to lay out again.
    pane.bar()->setValue(pane.bar()->maximum() / 2);
    settle();
    int width = 900;
    const double relayout = Bench::medianMs(5, [&] {
        width = width == 900 ? 700 : 900;
        pane.view.resize(width, 800);
        settle();
    });
    Bench::report(QStringLiteral("preview.width-relayout.1mb"), relayout, "ms");
    Bench::report(QStringLiteral("preview.rows.1mb"), pane.view.content()->rowCount(), "rows");
    Bench::report(QStringLiteral("preview.built-rows.1mb"), pane.view.content()->builtRowCount(),
                  "rows");
    readmeFigures();
}

void largePreviewFigures() {
    {
        const QString text = Bench::generatedMarkdown(10 * 1024 * 1024);
        Pane pane(text);
        Bench::report(QStringLiteral("preview.first-render.10mb"), pane.firstRenderMs, "ms");
        Bench::report(QStringLiteral("preview.paragraph-edit.10mb"),
                      pane.paragraphEditMs(text, QStringLiteral("long enough to wrap")), "ms");
    }
    {
        Pane pane(Bench::longTable());
        Bench::report(QStringLiteral("preview.first-render.table-80k"), pane.firstRenderMs, "ms");
    }
    {
        // One paragraph of 80,000 characters with inline markup.
        QString paragraph;
        for (int i = 0; paragraph.size() < 80000; ++i)
            paragraph += QStringLiteral("word%1 *emphasis* **strong** `code %1` "
                                        "[link](https://x.y/%1) ~~gone~~ plain text ")
                             .arg(i);
        Pane pane(paragraph + u'\n');
        Bench::report(QStringLiteral("preview.first-render.long-paragraph"), pane.firstRenderMs,
                      "ms");
    }
    {
        Pane pane(QString(80000, u'>') + QStringLiteral(" text\n"));
        Bench::report(QStringLiteral("preview.first-render.nested-quotes-80k"), pane.firstRenderMs,
                      "ms");
    }
    {
        // 250 nested quotes around 40 paragraphs of about 1 KB, lazily continued.
        const QString prefix(250, u'>');
        QString text;
        for (int p = 0; p < 40; ++p) {
            text += prefix + QStringLiteral(" Paragraph %1 starts here.\n").arg(p);
            for (int line = 0; line < 12; ++line)
                text += QStringLiteral("some words of the paragraph that wrap on line %1 of %2\n")
                            .arg(line)
                            .arg(p);
            text += prefix + u'\n';
        }
        Pane pane(text);
        Bench::report(QStringLiteral("preview.paragraph-edit.nested-250"),
                      pane.paragraphEditMs(text, QStringLiteral("some words")), "ms");
    }
}

// Lines of code, about `size` characters of them.
QString codeLines(qsizetype size) {
    QString code;
    for (int i = 0; code.size() < size; ++i)
        code += QStringLiteral("let value%1 = compute(%1, \"text\") // step %1\n").arg(i);
    return code;
}

QString fenced(const QString& code, QLatin1String language) {
    return QStringLiteral("```") + language + u'\n' + code + QStringLiteral("```\n");
}

// 10 MB of code in one fenced block.
QString hugeCodeBlock() {
    return fenced(codeLines(10 * 1024 * 1024), QLatin1String("swift"));
}

// 200 blocks of about 1,300 lines (12 MB), each short enough to colour.
QString manyCodeBlocks() {
    const QString block = fenced(codeLines(60 * 1024), QLatin1String("swift"));
    QString text;
    for (int i = 0; i < 200; ++i)
        text += QStringLiteral("Block %1 follows.\n\n").arg(i) + block + u'\n';
    return text;
}

// One fenced code block of 5 MB, with a language and without one.
void codeBlockFigures() {
    const QString code = codeLines(5 * 1024 * 1024);
    for (const char* info : {"swift", ""}) {
        Pane pane(fenced(code, QLatin1String(info)));
        Bench::report(QStringLiteral("preview.first-render.code-5mb") +
                          (*info ? QString() : QStringLiteral(".untagged")),
                      pane.firstRenderMs, "ms");
    }
}

// A preview of one untagged 32 KB code block, from showing it until its
// colours are in: the longest turn of the event loop (what input would wait
// for) and the time until the block is coloured. In a process of its own, so
// the colouring starts as cold as at a reader's first such block.
void untaggedCodeFigures() {
    if (!Bench::ownProcess("preview-code-colour", "untagged-32kb"))
        return;
    QElapsedTimer sinceShown;
    sinceShown.start();
    PreviewView view;
    view.resize(900, 800);
    view.setMarkdown(fenced(codeLines(32 * 1024), QLatin1String("")));
    view.show();
    double longest = double(sinceShown.nsecsElapsed()) / 1e6;
    const auto coloured = [&] {
        const MarkdownBlockView* row = view.content()->rowCount() > 0 && !view.isUpdating()
                                           ? view.content()->rowView(0)
                                           : nullptr;
        const auto* card = row ? row->findChild<CodeBlockView*>() : nullptr;
        return card && !card->isWaitingForColours();
    };
    while (!coloured()) {
        QElapsedTimer turn;
        turn.start();
        settle();
        longest = std::max(longest, double(turn.nsecsElapsed()) / 1e6);
    }
    Bench::report(QStringLiteral("preview.code.untagged-32kb.stall"), longest, "ms");
    Bench::report(QStringLiteral("preview.code.untagged-32kb.coloured"),
                  double(sinceShown.nsecsElapsed()) / 1e6, "ms");
}

// The memory of a preview scrolled from top to end, each document in a
// process of its own: the growth and the peak of the whole process.
void scrollMemoryFigures() {
    const std::pair<const char*, QString (*)()> documents[] = {
        {"1mb", [] { return Bench::generatedMarkdown(1024 * 1024); }},
        {"10mb", [] { return Bench::generatedMarkdown(10 * 1024 * 1024); }},
        {"table-80k", Bench::longTable},
        {"code-10mb", hugeCodeBlock},
        {"code-blocks", manyCodeBlocks},
    };
    for (const auto& [key, make] : documents) {
        if (!Bench::ownProcess("preview-memory", key))
            continue;
        Pane pane(make());
        pane.scrollThrough(QLatin1String(key));
        Bench::report(QStringLiteral("preview.peak-memory.") + QLatin1String(key),
                      Bench::peakMemoryMb(), "MB");
    }
    if (Bench::ownProcess("preview-memory", "readme-1mb")) {
        ReadmePane readme;
        if (readme.pane) {
            readme.pane->scrollThrough(QStringLiteral("readme-1mb"));
            Bench::report(QStringLiteral("preview.peak-memory.readme-1mb"), Bench::peakMemoryMb(),
                          "MB");
        }
    }
}

const Bench::Registration registration("preview", previewFigures);
const Bench::Registration large("preview-large", largePreviewFigures);
const Bench::Registration code("preview-code", codeBlockFigures);
const Bench::Registration untaggedCode("preview-code-colour", untaggedCodeFigures);
const Bench::Registration memory("preview-memory", scrollMemoryFigures);

} // namespace

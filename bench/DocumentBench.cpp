#include "Bench.h"

#include "core/MarkdownDocument.h"
#include "editor/EditorView.h"
#include "editor/MarkdownSyntaxHighlighter.h"
#include "editor/MarkdownTextEditor.h"

#include <QApplication>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

namespace {

void documentFigures() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.md"));
    const QByteArray bytes = Bench::generatedMarkdown(10 * 1024 * 1024).toUtf8();
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return;
    f.close();

    std::unique_ptr<MarkdownDocument> doc;
    const double load = Bench::medianMs(5, [&] { doc = MarkdownDocument::open(path, nullptr); });
    Bench::report(QStringLiteral("document.load.10mb"), load, "ms");
    int words = 0;
    const double count = Bench::medianMs(5, [&] { words = doc->wordCount(); });
    Bench::report(QStringLiteral("document.wordcount.10mb"), count, "ms");
    Q_UNUSED(words);

    // From the file on disk to an editor pane that shows it coloured and
    // takes keys: read, decode, set the text, colour, lay out, paint.
    QElapsedTimer timer;
    timer.start();
    auto opened = MarkdownDocument::open(path, nullptr);
    EditorView view;
    view.resize(1000, 800);
    view.setText(opened->text());
    view.show();
    QApplication::processEvents();
    view.grab();
    Bench::report(QStringLiteral("document.open-editable.10mb"), double(timer.nsecsElapsed()) / 1e6,
                  "ms");
    // The rest is coloured from the event loop while the pane takes keys.
    while (view.editor()->highlighter()->isColouringProgressively())
        QApplication::processEvents();
    Bench::report(QStringLiteral("document.open-coloured.10mb"), double(timer.nsecsElapsed()) / 1e6,
                  "ms");
}

const Bench::Registration registration("document", documentFigures);

} // namespace

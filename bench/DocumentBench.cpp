#include "Bench.h"

#include "core/MarkdownDocument.h"
#include "editor/EditorView.h"
#include "editor/MarkdownSyntaxHighlighter.h"
#include "editor/MarkdownTextEditor.h"
#include "tools/EditorToolPopovers.h"

#include <QApplication>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <malloc.h>
#include <vector>

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
    const QString text = doc->text();
    const double count = Bench::medianMs(5, [&] { words = MarkdownDocument::wordCount(text); });
    Bench::report(QStringLiteral("document.wordcount.10mb"), count, "ms");
    Q_UNUSED(words);

    // Saving an edited 10 MB document whose lines alternate CRLF and LF.
    QByteArray mixed;
    mixed.reserve(bytes.size() * 11 / 10);
    for (qsizetype i = 0, line = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && line++ % 2 == 0)
            mixed += '\r';
        mixed += bytes[i];
    }
    auto edited = std::make_unique<MarkdownDocument>(*DocumentFile::decode(mixed));
    const QString saved = dir.filePath(QStringLiteral("saved.md"));
    QString mixedText = edited->text();
    std::vector<double> saves;
    for (int run = 0; run < 5; ++run) {
        const qsizetype middle = mixedText.size() / 2;
        mixedText[middle] =
            mixedText[middle] == QLatin1Char('a') ? QLatin1Char('b') : QLatin1Char('a');
        edited->setText(mixedText);
        QElapsedTimer saving;
        saving.start();
        edited->save(saved, nullptr);
        saves.push_back(double(saving.nsecsElapsed()) / 1e6);
    }
    std::sort(saves.begin(), saves.end());
    const double save = saves[saves.size() / 2];
    Bench::report(QStringLiteral("document.save.10mb"), save, "ms");

    // From the file on disk to an editor pane that shows it coloured and
    // takes keys: read, decode, set the text, colour, lay out, paint.
    QElapsedTimer timer;
    timer.start();
    auto opened = MarkdownDocument::open(path, nullptr);
    EditorView view;
    EditorToolPopovers::attach(view.editor());
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

// The heap these documents leave behind is given back, so the figures of
// resident memory measured after them start from a lean process.
const Bench::Registration registration("document", [] {
    documentFigures();
    malloc_trim(0);
});

} // namespace

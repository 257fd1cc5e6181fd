#include "Bench.h"

#include "core/DesignSystem.h"
#include "editor/MarkdownSyntaxHighlighter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace {

// About 1 MB in 20,000 lines of mixed Markdown: 52 bytes a line on average.
QString editorDocument() {
    static const char* const lines[] = {
        "# Heading %1 with a few words to fill the line up ok",
        "Some *emphasis*, **strong** and `code` in para %1.",
        "- item %1 with words enough to make a typical line.",
        "- [ ] task %1 still to do, and [a link](http://x.y)",
        "> A quote %1 with ~~strike~~ and **bold** inside it.",
        "```swift",
        "let value%1 = compute(%1) // the code of the block",
        "```",
        "1. ordered %1 item with an ![image](img/%1.png) ok",
        "Plain text %1 of a paragraph, with no markup at all.",
    };
    QString out;
    for (int i = 0; i < 20000; ++i) {
        QString line = QString::fromLatin1(lines[i % 10]);
        line.replace(QLatin1String("%1"), QString::number(i));
        out += line.leftJustified(51, QLatin1Char(' ')) + QLatin1Char('\n');
    }
    return out;
}

HighlightConfig benchConfig() {
    const DesignSystem ds =
        DesignSystem::make(DesignSystem::Colors::light(), FontDesign::Serif, false);
    return {14, EditorTheme::from(ds), DesignSystem::Typography::font(FontDesign::Monospaced, 14)};
}

void editorFigures() {
    const QString text = editorDocument();
    QPlainTextEdit editor;
    editor.setFont(benchConfig().baseFont);
    editor.setPlainText(text);
    editor.resize(1000, 800);
    editor.show();
    auto* highlighter = new MarkdownSyntaxHighlighter(editor.document(), benchConfig());
    QApplication::processEvents();

    const double full = Bench::medianMs(5, [&] { highlighter->recolourAll(); });
    Bench::report(QStringLiteral("editor.highlight.full.1mb"), full, "ms");

    // Type in a paragraph line in the middle of the document, then remove it
    // again; each keystroke is inserted, recoloured and painted.
    QTextCursor cursor(editor.document()->findBlockByNumber(10009));
    cursor.movePosition(QTextCursor::EndOfBlock);
    editor.setTextCursor(cursor);
    editor.centerCursor();
    QApplication::processEvents();
    int step = 0;
    const double keystroke = Bench::medianMs(400, [&] {
        const bool type = step++ % 2 == 0;
        QKeyEvent press(QEvent::KeyPress, type ? Qt::Key_A : Qt::Key_Backspace, Qt::NoModifier,
                        type ? QStringLiteral("a") : QString());
        QApplication::sendEvent(&editor, &press);
        editor.viewport()->repaint();
    });
    Bench::report(QStringLiteral("editor.keystroke.median.1mb"), keystroke, "ms");
}

const Bench::Registration registration("editor", editorFigures);

} // namespace

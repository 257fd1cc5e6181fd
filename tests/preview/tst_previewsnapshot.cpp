#include "core/MarkdownParser.h"
#include "core/MarkdownTree.h"
#include "preview/MarkdownBlockView.h"
#include "support/BackgroundWork.h"
#include "support/PreviewColumn.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QTest>

namespace {

QString fixture(const QString& folder) {
    return QStringLiteral(
               "# Every block\n\n"
               "A paragraph with *emphasis*, **strong**, `inline code`, a [link](https://x.y), "
               "~~struck~~ text, an <kbd>inline</kbd> tag\nand a soft break that wraps across "
               "the column width of the preview pane.\n\n"
               "## Lists\n\n"
               "- first bullet\n- second bullet\n  - nested bullet\n- # heading in item\n\n"
               "5. five becomes one\n6. two\n\n"
               "- [ ] open task\n- [x] done task\n\n"
               "### Quote and code\n\n"
               "> A quote, first paragraph.\n>\n> Second paragraph of the quote.\n\n"
               "```python\ndef greet(name):\n    # say hello\n    return f\"Hello {name}\" * "
               "3\n```\n\n"
               "```\nplain = code without a language, and a line long enough to scroll sideways "
               "inside the card rather than wrap\n```\n\n"
               "#### Table\n\n"
               "| Name | Kind | Note |\n|:--|:-:|--:|\n| one | `a` | first |\n| two | b | second "
               "row with a longer cell that wraps |\n| three | c | |\n\n"
               "---\n\n"
               "![A local picture](%1/pic.png)\n\n"
               "![Not there](missing.png)\n\n"
               "Text before ![inline](%1/pic.svg) text after\n\n"
               "<div>raw html block</div>\n")
        .arg(folder);
}

void writeFixtureImages(const QTemporaryDir& dir) {
    QImage png(320, 120, QImage::Format_RGB32);
    png.fill(QColor(70, 120, 200));
    png.save(dir.filePath(QStringLiteral("pic.png")));
    TestSupport::writeFile(dir, QStringLiteral("pic.svg"),
                           "<svg xmlns='http://www.w3.org/2000/svg' width='200' height='40'>"
                           "<rect width='200' height='40' rx='8' fill='#4a7'/></svg>");
}

} // namespace

// Renders a fixture with every block kind in a light and a dark theme; with
// QUON_SNAPSHOT_DIR set, the pictures are saved there for a person to look at.
class TestPreviewSnapshot : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { QTRY_VERIFY_WITH_TIMEOUT(TestSupport::backgroundWorkIsOver(), 120'000); }
    void everyBlockKindRendersInBothSchemes_data() {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }
    void everyBlockKindRendersInBothSchemes() {
        QFETCH(bool, dark);
        QTemporaryDir dir;
        writeFixtureImages(dir);
        const QString text = fixture(dir.path());
        const auto parsed = MarkdownParser::parse(text);
        MarkdownRendererContext context = TestSupport::context(text, dark);
        context.documentDirectory = dir.path();
        auto column = TestSupport::previewColumn(parsed->document, context, 760);
        QVERIFY(TestSupport::showExposed(column.get()));

        // Every block has a visible height and they do not overlap.
        int previousBottom = -1;
        for (auto* block : column->findChildren<MarkdownBlockView*>(Qt::FindDirectChildrenOnly)) {
            QVERIFY(block->isEmpty() || block->height() > 0);
            QVERIFY(block->geometry().top() > previousBottom);
            previousBottom = block->geometry().bottom();
        }
        QVERIFY(previousBottom < column->height());

        if (const QString out = qEnvironmentVariable("QUON_SNAPSHOT_DIR"); !out.isEmpty())
            column->grab().save(out + (dark ? QStringLiteral("/preview-dark.png")
                                            : QStringLiteral("/preview-light.png")));
    }
};

QTEST_MAIN(TestPreviewSnapshot)
#include "tst_previewsnapshot.moc"

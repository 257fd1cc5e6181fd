#include "core/AppearanceResolver.h"
#include "core/MarkdownTree.h"
#include "export/MarkdownHTMLExporter.h"
#include "support/NestedMarkdown.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString dataDir = QStringLiteral(QUON_TEST_DATA "/export");
const QString articleOpen = QStringLiteral("  <article class=\"content\">\n");
const QString articleClose = QStringLiteral("\n  </article>");

// QUON_UPDATE_GOLDEN=1 rewrites the golden files instead of comparing; review the diff.
bool updatingGolden() {
    return qEnvironmentVariableIntValue("QUON_UPDATE_GOLDEN") == 1;
}

DesignSystem design(const QString& appearance, const QString& theme, const QString& font) {
    AppearanceInputs inputs;
    inputs.appearance = appearance;
    inputs.lightTheme = inputs.darkTheme = theme;
    inputs.lightFont = inputs.darkFont = font;
    return AppearanceResolver::designSystem(inputs, ColorScheme::Light);
}

QString page(const QString& markdown, const QString& folder = {}) {
    return MarkdownHTMLExporter::htmlDocument(markdown, design("light", "warmEditorial", "serif"),
                                              folder);
}

// The body between the article tags.
QString body(const QString& markdown, const QString& folder = {}) {
    const QString html = page(markdown, folder);
    const qsizetype start = html.indexOf(articleOpen) + articleOpen.size();
    return html.mid(start, html.lastIndexOf(articleClose) - start);
}

QString readText(const QString& path) {
    return QString::fromUtf8(TestSupport::readFile(path));
}

void compareGolden(const QString& actual, const QString& goldenPath) {
    if (updatingGolden()) {
        QFile file(goldenPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(actual.toUtf8());
        return;
    }
    QVERIFY2(QFile::exists(goldenPath), qPrintable(goldenPath));
    QCOMPARE(actual, readText(goldenPath));
}

} // namespace

class TestHtmlExporter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pagesForEveryPaletteAndFont_data() {
        QTest::addColumn<QString>("appearance");
        QTest::addColumn<QString>("theme");
        QTest::addColumn<QString>("font");
        const QStringList light = {"warmEditorial", "porcelain", "sage"};
        const QStringList dark = {"sleekPro", "depth", "ember"};
        const QStringList fonts = {"system", "serif", "rounded", "mono"};
        for (const QString& font : fonts) {
            for (const QString& theme : light)
                QTest::addRow("%s-%s", qPrintable(theme), qPrintable(font))
                    << "light" << theme << font;
            for (const QString& theme : dark)
                QTest::addRow("%s-%s", qPrintable(theme), qPrintable(font))
                    << "dark" << theme << font;
        }
    }
    void pagesForEveryPaletteAndFont() {
        QFETCH(QString, appearance);
        QFETCH(QString, theme);
        QFETCH(QString, font);
        const QString markdown = readText(dataDir + "/fixture.md");
        const QString html =
            MarkdownHTMLExporter::htmlDocument(markdown, design(appearance, theme, font), {});
        compareGolden(html, dataDir + QStringLiteral("/pages/%1-%2.html").arg(theme, font));
    }

    void rules_data() {
        QTest::addColumn<QString>("name");
        const QStringList sources =
            QDir(dataDir + "/rules").entryList({QStringLiteral("*.md")}, QDir::Files, QDir::Name);
        QVERIFY(!sources.isEmpty());
        for (const QString& source : sources) {
            const QString name = source.chopped(3);
            QTest::newRow(qPrintable(name)) << name;
        }
    }
    void rules() {
        QFETCH(QString, name);
        const QString base = dataDir + "/rules/" + name;
        compareGolden(body(readText(base + ".md")), base + ".html");
    }

    void hexRoundsHalvesAwayFromZero() {
        using MarkdownHTMLExporter::hex;
        QCOMPARE(hex({0.5, 0.5, 0.5, 1}), "#808080");
        // 0.002 * 255 = 0.51 rounds up; out-of-range components are clamped.
        QCOMPARE(hex({0.002, 1.5, -0.2, 1}), "#01FF00");
        QCOMPARE(hex({std::nan(""), 0, 0, 1}), "#000000");
    }

    void oddInputStillGivesAPage() {
        const QString odd =
            QString::fromLatin1("\0\x01 <script>alert(1)</script>\n\n[x]:\n\n- \n> ", 41) +
            QString(QChar(0xD800)) + QString(3000, QLatin1Char('>')) +
            QString(3000, QLatin1Char('['));
        const QString html = page(odd);
        QVERIFY(html.endsWith("</html>"));
        QVERIFY(!html.contains("<script>"));
    }

    void localImagesBecomeFileUrls() {
        QTemporaryDir dir;
        TestSupport::writeFile(dir, "pic.png", "not really a picture");
        TestSupport::writeFile(dir, "my pic.png", "x");
        const QString url = QUrl::fromLocalFile(dir.filePath("pic.png")).toString();
        QCOMPARE(body("![a](pic.png)", dir.path()), "<img src=\"" + url + "\" alt=\"a\">");
        QCOMPARE(body("![a](" + dir.filePath("pic.png") + ")"),
                 "<img src=\"" + url + "\" alt=\"a\">");
        // Without the folder the relative source stays as written.
        QCOMPARE(body("![a](pic.png)"), "<img src=\"pic.png\" alt=\"a\">");
        QVERIFY(body("![a](<my pic.png>)", dir.path()).contains("/my%20pic.png\""));
        QCOMPARE(body("![q & <b>](x\"y.png)"),
                 "<img src=\"x&quot;y.png\" alt=\"q &amp; &lt;b&gt;\">");
    }

    // Links and images alike: no attribute of the page may run anything, in
    // whatever case, spacing or entity the scheme is written.
    void hostileDestinationsRunNothing() {
        const QStringList destinations = {"JaVaScRiPt:alert(1)",
                                          "<java\tscript:x>",
                                          "< javascript:x>",
                                          "&#106;avascript:x",
                                          "java&#x09;script:x",
                                          "VBScript:x",
                                          "data:text/html,<script>x</script>",
                                          "DATA:image/svg+xml;base64,PHN2Zz4=",
                                          "<data: image/svg+xml,x>"};
        QString markdown;
        QString definitions;
        for (qsizetype i = 0; i < destinations.size(); ++i) {
            const QString label = "[r" + QString::number(i) + "]";
            markdown += "[link](" + destinations[i] + ") ![image](" + destinations[i] + ") " +
                        "[ref]" + label + " ![ref]" + label + "\n\n";
            definitions += label + ": " + destinations[i] + "\n";
        }
        markdown += "<javascript:alert(1)> <vbscript:x>\n\n" + definitions;
        markdown += "\n![ok](data:image/png;base64,AAAA) ![ok](DATA:image/webp,x)\n";

        QTemporaryDir dir;
        const QString html = page(markdown, dir.path());
        static const QRegularExpression attribute(QStringLiteral("\\s[a-zA-Z-]+=\"([^\"]*)\""));
        int images = 0;
        for (auto it = attribute.globalMatch(html); it.hasNext();) {
            QString value = it.next().captured(1);
            value.replace("&quot;", "\"")
                .replace("&lt;", "<")
                .replace("&gt;", ">")
                .replace("&amp;", "&");
            QString bare;
            for (QChar c : value)
                if (c.unicode() > 0x20)
                    bare += c.toLower();
            QVERIFY2(!bare.startsWith("javascript:") && !bare.startsWith("vbscript:"),
                     qPrintable(value));
            if (bare.startsWith("data:")) {
                QVERIFY2(bare.startsWith("data:image/png") || bare.startsWith("data:image/webp"),
                         qPrintable(value));
                ++images;
            }
        }
        QCOMPARE(images, 2);
    }

    void deepNestingKeepsEveryWord_data() { TestSupport::addNestedMarkdownRows(); }
    // Below the tree's depth cap the source stands as escaped text.
    void deepNestingKeepsEveryWord() {
        QFETCH(QString, marker);
        QFETCH(int, depth);
        const TestSupport::NestedMarkdown nested = TestSupport::nestedMarkdown(marker, depth);
        const QString html = body(nested.text);
        for (const QString& word : nested.words)
            QVERIFY2(html.contains(word), qPrintable(word));
        QVERIFY(html.contains(QStringLiteral("&gt; &gt; word")) ||
                html.contains(QStringLiteral("- - word")));
    }

    void fallbackBlockThatFormatsToNothing() {
        MarkdownNode document;
        document.kind = MarkdownNodeKind::Document;
        MarkdownNode blocks[2];
        blocks[0].kind = MarkdownNodeKind::HtmlBlock;
        blocks[0].literal = u" \n\t";
        blocks[1].kind = MarkdownNodeKind::HtmlBlock;
        blocks[1].literal = u"<div>x</div>\n";
        document.children = {blocks, 2};
        QCOMPARE(MarkdownHTMLExporter::renderBlocks(document, {}),
                 "\n<p>&lt;div&gt;x&lt;/div&gt;</p>");
    }
};

QTEST_MAIN(TestHtmlExporter)

#include "tst_htmlexporter.moc"

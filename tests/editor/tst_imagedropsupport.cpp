#include "core/MarkdownParser.h"
#include "core/MarkdownTree.h"
#include "editor/ImageDropSupport.h"
#include "preview/ImageURLResolver.h"
#include "support/EditorFixture.h"
#include "support/MarkdownDump.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QMimeData>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using EditorFixture::u8;

namespace {

// Names that have broken links, then random ones from characters that mean
// something to Markdown, to the resolver or to nobody.
QStringList droppedNames() {
    QStringList names = {u8("&copy;"), u8("&#65;"), u8("&amp;"), u8("a`b"), u8("^x"), u8("[^1]"),
                         u8("a\nb"), u8(" lead"), u8("http:x"), u8("file:y"), u8("%41"),
                         u8("a%20b"), u8("x)"), u8("<y"), u8("\\"), u8("**b**"), u8("--"),
                         u8("..."), u8("'q' \"q\""), u8("~~s~~"), u8("a|b"), u8("![i](j)"), u8("`"),
                         u8("\t"), u8("a\r"),
                         // Names NFC changes (decomposed, compatibility); percent-encoded
                         // paths holding non-ASCII characters.
                         u8("e\u0301"), u8("\uF96C"), u8("A\u030A\u212B"), u8(" \u00e9\U0001F600 "),
                         u8("http:\u00e9"), u8("\n%e\u0301")};
    // A leading U+FEFF (which u8() would read as a byte-order mark).
    for (const QString& name : {QStringLiteral("x"), QString(), QStringLiteral(" \u00e9")})
        names.append(QChar(0xFEFF) + name);
    const QList<uint> alphabet =
        u8(" \t`^&;#[]()<>\\!*_~|'\".-:%@?=+{}$,aZ9\u00e9\u00a0\u2028\U0001F600").toUcs4();
    QRandomGenerator random(14);
    for (int i = 0; i < 400; ++i) {
        QString name;
        const int length = 1 + random.bounded(10);
        for (int k = 0; k < length; ++k) {
            const char32_t c = alphabet[random.bounded(int(alphabet.size()))];
            name += QString::fromUcs4(&c, 1);
        }
        names.append(name);
    }
    return names;
}

} // namespace

class TestImageDropSupport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void references_data() {
        QTest::addColumn<QString>("image");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* name, const char* image, const char* folder, const char* to) {
            QTest::newRow(name) << u8(image) << u8(folder) << u8(to);
        };
        row("relative", "/docs/notes/img/a.png", "/docs/notes", "![a](img/a.png)");
        row("folder with slash", "/docs/notes/a.png", "/docs/notes/", "![a](a.png)");
        row("prefix ends at a slash", "/docs/notes2/x.png", "/docs/notes",
            "![x](/docs/notes2/x.png)");
        row("untitled is absolute", "/docs/notes/a.png", "", "![a](/docs/notes/a.png)");
        row("standardised", "/docs/notes/../notes/b.png", "/docs/./notes", "![b](b.png)");
        row("inner dots kept", "/d/my.photo.jpeg", "/d", "![my.photo](my.photo.jpeg)");
        row("balanced parentheses", "/d/shot (1).png", "", "![shot (1)](</d/shot (1).png>)");
        // Paths that would break the link go in angle brackets; that every
        // odd name reads back is checked below.
        row("space", "/docs/notes/img/a b.png", "/docs/notes", "![a b](<img/a b.png>)");
    }
    void references() {
        QFETCH(QString, image);
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        QCOMPARE(ImageDropSupport::reference(QUrl::fromLocalFile(image), folder), expected);
    }

    // Whatever the dropped file is called, the inserted Markdown read back with
    // quon's own parser and image resolver is an image of exactly that file.
    void referencesReadBackAsTheDroppedFile() {
        QTemporaryDir dir;
        const QString document = dir.filePath(QStringLiteral("notes"));
        const QString inner = document + QStringLiteral("/img [1] (a)");
        const QString outside = dir.filePath(QStringLiteral("else where"));
        QVERIFY(QDir().mkpath(inner) && QDir().mkpath(outside));
        int checked = 0;
        for (const QString& name : droppedNames()) {
            for (const QString& folder : {document, inner, outside}) {
                const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
                QFile image(path);
                if (!image.open(QIODevice::WriteOnly))
                    continue; // a name the file system refuses
                image.close();
                for (const QString& documentDirectory : {document, QString()}) {
                    const QString markdown =
                        ImageDropSupport::reference(QUrl::fromLocalFile(path), documentDirectory);
                    const auto parsed = MarkdownParser::parse(markdown);
                    const QList<const MarkdownNode*> images =
                        MarkdownDump::images(parsed->document);
                    QVERIFY2(images.size() == 1, qPrintable(markdown));
                    const auto resolved = ImageURLResolver::resolve(
                        images[0]->destination.toString(), documentDirectory);
                    QVERIFY2(resolved && QFileInfo(resolved->toLocalFile()).canonicalFilePath() ==
                                             QFileInfo(path).canonicalFilePath(),
                             qPrintable(markdown));
                    QString alt = name;
                    alt.replace(QLatin1Char('\n'), QLatin1Char(' '))
                        .replace(QLatin1Char('\r'), QLatin1Char(' '));
                    QVERIFY2(images[0]->plainText() == alt, qPrintable(markdown));
                    ++checked;
                }
            }
        }
        QVERIFY(checked > 2000);
    }

    void whichFilesAreImages() {
        QTemporaryDir dir;
        auto write = [&](const char* name, const QByteArray& bytes) {
            return QUrl::fromLocalFile(TestSupport::writeFile(dir, u8(name), bytes));
        };
        const QUrl disguised = write("x.dat", EditorFixture::pngBytes());
        const QUrl upper = write("photo.JPG", "no picture inside");
        const QUrl svg = write("icon.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
        const QUrl missing = QUrl::fromLocalFile(dir.filePath(QStringLiteral("missing.HEIC")));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.png")));
        const QList<QUrl> refused{write("notes.txt", "words"), write("paper.pdf", "%PDF-1.4\n"),
                                  write("blob.bin", "\x01\x02\x03"),
                                  QUrl::fromLocalFile(dir.filePath(QStringLiteral("folder.png"))),
                                  QUrl(QStringLiteral("https://example.com/a.png"))};

        QMimeData data;
        data.setUrls(QList<QUrl>{disguised, upper} + refused + QList<QUrl>{svg, missing});
        QCOMPARE(ImageDropSupport::imageUrls(&data), (QList<QUrl>{disguised, upper, svg, missing}));
        QMimeData words;
        words.setText(QStringLiteral("/tmp/a.png"));
        QVERIFY(ImageDropSupport::imageUrls(&words).isEmpty());
    }
};

QTEST_MAIN(TestImageDropSupport)
#include "tst_imagedropsupport.moc"

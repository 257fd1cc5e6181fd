#include "editor/ImageDropSupport.h"
#include "support/EditorFixture.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

using EditorFixture::u8;

namespace {

QUrl file(const char* path) {
    return QUrl::fromLocalFile(u8(path));
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
        row("balanced, no space", "/d/shot(1).png", "/d", "![shot(1)](shot(1).png)");
        // Names and paths that would break the link go in angle brackets,
        // with the characters escaped that would still break it.
        row("space", "/docs/notes/img/a b.png", "/docs/notes", "![a b](<img/a b.png>)");
        row("unbalanced", "/d/a).png", "/d", "![a)](<a).png>)");
        row("angle brackets", "/d/<x>.png", "/d", "![<x>](<\\<x\\>.png>)");
        row("brackets", "/d/[x].png", "/d", "![\\[x\\]](<[x].png>)");
        row("backslash", "/d/a\\b.png", "/d", "![a\\\\b](<a\\\\b.png>)");
        row("tab", "/d/a\tb.png", "/d", "![a\tb](<a\tb.png>)");
    }
    void references() {
        QFETCH(QString, image);
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        QCOMPARE(ImageDropSupport::reference(QUrl::fromLocalFile(image), folder), expected);
    }

    void twoImagesTwoLines() {
        QCOMPARE(ImageDropSupport::references({file("/d/a.png"), file("/e/b.gif")}, "/d"),
                 QStringLiteral("![a](a.png)\n![b](/e/b.gif)\n"));
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

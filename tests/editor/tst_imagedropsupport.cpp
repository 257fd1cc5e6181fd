#include "editor/ImageDropSupport.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

namespace {

QUrl file(const char* path) {
    return QUrl::fromLocalFile(QString::fromUtf8(path));
}

const QByteArray pngBytes =
    QByteArray::fromHex("89504e470d0a1a0a0000000d49484452000000010000000108060000001f15c489");

} // namespace

class TestImageDropSupport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void references_data() {
        QTest::addColumn<QString>("image");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        auto row = [](const char* name, const char* image, const char* folder,
                      const char* expected) {
            QTest::newRow(name) << QString::fromUtf8(image) << QString::fromUtf8(folder)
                                << QString::fromUtf8(expected);
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
        QCOMPARE(ImageDropSupport::references({}, "/d"), QString());
    }

    void whichFilesAreImages() {
        QTemporaryDir dir;
        const auto write = [&](const char* name, const QByteArray& bytes) {
            return TestSupport::writeFile(dir, QString::fromUtf8(name), bytes);
        };
        const QString disguised = write("x.dat", pngBytes);
        const QString upper = write("photo.JPG", "no picture inside");
        const QString text = write("notes.txt", "words");
        const QString pdf = write("paper.pdf", "%PDF-1.4\n");
        const QString svg = write("icon.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
        const QString unknown = write("blob.bin", "\x01\x02\x03");
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.png")));

        QVERIFY(ImageDropSupport::isImageFile(disguised));
        QVERIFY(ImageDropSupport::isImageFile(upper));
        QVERIFY(ImageDropSupport::isImageFile(svg));
        QVERIFY(ImageDropSupport::isImageFile(dir.filePath(QStringLiteral("missing.HEIC"))));
        QVERIFY(!ImageDropSupport::isImageFile(text));
        QVERIFY(!ImageDropSupport::isImageFile(pdf));
        QVERIFY(!ImageDropSupport::isImageFile(unknown));
        QVERIFY(!ImageDropSupport::isImageFile(dir.filePath(QStringLiteral("folder.png"))));

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(text), QUrl::fromLocalFile(upper),
                      QUrl(QStringLiteral("https://example.com/a.png")),
                      QUrl::fromLocalFile(disguised)});
        QCOMPARE(ImageDropSupport::imageUrls(&data),
                 (QList<QUrl>{QUrl::fromLocalFile(upper), QUrl::fromLocalFile(disguised)}));
        QMimeData words;
        words.setText(QStringLiteral("/tmp/a.png"));
        QVERIFY(ImageDropSupport::imageUrls(&words).isEmpty());
        QVERIFY(ImageDropSupport::imageUrls(static_cast<const QMimeData*>(nullptr)).isEmpty());
    }
};

QTEST_MAIN(TestImageDropSupport)
#include "tst_imagedropsupport.moc"

#include "preview/ImageURLResolver.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTest>

class TestImageURLResolver : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fileUrlsAreTakenAsTheyStandOrNotAtAll() {
        QTemporaryDir dir;
        const QString path = TestSupport::writeFile(dir, QStringLiteral("a b.png"), "x");
        const QUrl url = QUrl::fromLocalFile(path);
        QCOMPARE(ImageURLResolver::resolve(url.toString(QUrl::FullyEncoded)), url);
        // A missing file:// target is not looked up anywhere else, even when the
        // document folder holds a file of that name.
        TestSupport::writeFile(dir, QStringLiteral("gone.png"), "x");
        QCOMPARE(ImageURLResolver::resolve(QStringLiteral("file:///nowhere/gone.png"), dir.path()),
                 std::nullopt);
        // A folder counts as existing.
        QCOMPARE(ImageURLResolver::resolve(QUrl::fromLocalFile(dir.path()).toString()),
                 QUrl::fromLocalFile(dir.path()));
    }

    void absolutePathsExistOrResolveToNothing() {
        QTemporaryDir dir;
        const QString path = TestSupport::writeFile(dir, QStringLiteral("pic.png"), "x");
        QCOMPARE(ImageURLResolver::resolve(path), QUrl::fromLocalFile(path));
        QCOMPARE(ImageURLResolver::resolve(dir.filePath(QStringLiteral("missing.png"))),
                 std::nullopt);
        // Surrounding spaces and tabs do not matter.
        QCOMPARE(ImageURLResolver::resolve(QStringLiteral(" \t") + path + QStringLiteral("\t ")),
                 QUrl::fromLocalFile(path));
    }

    void webUrlsAreReturnedUnchecked() {
        QCOMPARE(ImageURLResolver::resolve(QStringLiteral("https://example.invalid/x.png")),
                 QUrl(QStringLiteral("https://example.invalid/x.png")));
        QCOMPARE(ImageURLResolver::resolve(QStringLiteral("  http://example.invalid/y.gif ")),
                 QUrl(QStringLiteral("http://example.invalid/y.gif")));
        // Only the lower-case schemes count; anything else must exist locally.
        QCOMPARE(ImageURLResolver::resolve(QStringLiteral("HTTP://example.invalid/x.png")),
                 std::nullopt);
        QCOMPARE(ImageURLResolver::resolve(QStringLiteral("ftp://example.invalid/x.png")),
                 std::nullopt);
        QVERIFY(ImageURLResolver::isWebUrl(QUrl(QStringLiteral("https://a/b"))));
        QVERIFY(!ImageURLResolver::isWebUrl(QUrl::fromLocalFile(QStringLiteral("/tmp/x"))));
    }

    void relativeSourcesUseTheDocumentFolderThenTheWorkingDirectory() {
        QTemporaryDir docs;
        QTemporaryDir work;
        QDir(docs.path()).mkpath(QStringLiteral("img"));
        const QString nested =
            TestSupport::writeFile(docs, QStringLiteral("img/chart.svg"), "<svg/>");
        QCOMPARE(ImageURLResolver::resolve(QStringLiteral("img/chart.svg"), docs.path()),
                 QUrl::fromLocalFile(nested));
        QCOMPARE(ImageURLResolver::resolve(QStringLiteral("img/none.svg"), docs.path()),
                 std::nullopt);

        const QString cwdFile = TestSupport::writeFile(work, QStringLiteral("here.png"), "x");
        const QString saved = QDir::currentPath();
        QDir::setCurrent(work.path());
        // Without a document folder only the working directory is asked; with
        // one that lacks the file, the working directory still answers.
        QCOMPARE(ImageURLResolver::resolve(QStringLiteral("here.png")),
                 QUrl::fromLocalFile(cwdFile));
        QCOMPARE(ImageURLResolver::resolve(QStringLiteral("here.png"), docs.path()),
                 QUrl::fromLocalFile(cwdFile));
        QCOMPARE(ImageURLResolver::resolve(QStringLiteral("chart.svg")), std::nullopt);
        // An empty source never names the folder itself.
        QCOMPARE(ImageURLResolver::resolve(QString(), docs.path()), std::nullopt);
        QDir::setCurrent(saved);
    }

    void percentEncodedSourcesAreTriedDecoded() {
        QTemporaryDir dir;
        const QString spaced = TestSupport::writeFile(dir, QStringLiteral("my pic.png"), "x");
        QCOMPARE(ImageURLResolver::resolve(QStringLiteral("my%20pic.png"), dir.path()),
                 QUrl::fromLocalFile(spaced));
        QCOMPARE(ImageURLResolver::resolve(dir.path() + QStringLiteral("/my%20pic.png")),
                 QUrl::fromLocalFile(spaced));
        // A file really named with the escape wins over the decoded one.
        const QString literal = TestSupport::writeFile(dir, QStringLiteral("my%20pic.png"), "y");
        QCOMPARE(ImageURLResolver::resolve(QStringLiteral("my%20pic.png"), dir.path()),
                 QUrl::fromLocalFile(literal));
    }
};

QTEST_GUILESS_MAIN(TestImageURLResolver)
#include "tst_imageurlresolver.moc"

#include "core/MarkdownParser.h"
#include "core/MarkdownTree.h"
#include "platform/ProcessMemory.h"
#include "preview/ImageLoader.h"
#include "preview/ImageURLResolver.h"
#include "preview/MarkdownImageView.h"
#include "preview/SelectableTextView.h"
#include "support/PreviewColumn.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTextDocument>
#include <sys/stat.h>

namespace {

// An image's node with the parse that holds its strings.
struct ImageNode {
    std::shared_ptr<const ParsedMarkdown> parsed;
    operator const MarkdownNode&() const { return parsed->document.child(0).child(0); }
};

ImageNode imageNode(const QString& source, const QString& alt = {}) {
    return {MarkdownParser::parse(QStringLiteral("![%1](%2)").arg(alt, source))};
}

QUrl local(const QString& path) {
    return QUrl::fromLocalFile(path);
}

// A one-route HTTP server on the loopback interface: /pic.png answers with a
// 40×20 PNG, anything else with 404. Counts the requests it served.
class PictureServer : public QTcpServer {
public:
    int requests = 0;

    PictureServer() {
        QByteArray picture;
        QBuffer buffer(&picture);
        buffer.open(QIODevice::WriteOnly);
        QImage(40, 20, QImage::Format_RGB32).save(&buffer, "PNG");
        connect(this, &QTcpServer::newConnection, this, [this, picture] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket, picture] {
                    ++requests;
                    const bool found = socket->readAll().startsWith("GET /pic.png ");
                    const QByteArray body = found ? picture : QByteArray("no");
                    socket->write((found ? "HTTP/1.1 200 OK\r\n" : "HTTP/1.1 404 Not Found\r\n") +
                                  QByteArray("Content-Length: ") + QByteArray::number(body.size()) +
                                  "\r\nConnection: close\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
            }
        });
        listen(QHostAddress::LocalHost);
    }
    QString url(const char* path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(QLatin1String(path));
    }
};

} // namespace

class TestMarkdownImageView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { ImageLoader::shared().clear(); }

    void resolverRules() {
        QTemporaryDir docs, work;
        QDir(docs.path()).mkpath(QStringLiteral("img"));
        const QString nested = TestSupport::writeFile(docs, QStringLiteral("img/a b.svg"), "x");
        const QString here = TestSupport::writeFile(work, QStringLiteral("here.png"), "x");
        TestSupport::writeFile(docs, QStringLiteral("gone.png"), "x");
        const QString saved = QDir::currentPath();
        QDir::setCurrent(work.path());
        const auto resolve = [&](const QString& source) {
            return ImageURLResolver::resolve(source, docs.path());
        };

        // file:// URLs stand as written or not at all; a folder counts as existing.
        QCOMPARE(resolve(local(nested).toString(QUrl::FullyEncoded)), local(nested));
        QCOMPARE(resolve(QStringLiteral("file:///nowhere/gone.png")), std::nullopt);
        QCOMPARE(resolve(local(docs.path()).toString()), local(docs.path()));
        // Absolute paths, around spaces and tabs.
        QCOMPARE(resolve(QStringLiteral(" \t") + nested + QStringLiteral("\t ")), local(nested));
        QCOMPARE(resolve(docs.filePath(QStringLiteral("missing.png"))), std::nullopt);
        // Web URLs are returned unchecked; only the lower-case schemes count.
        QCOMPARE(resolve(QStringLiteral(" http://example.invalid/y.gif ")),
                 QUrl(QStringLiteral("http://example.invalid/y.gif")));
        QCOMPARE(resolve(QStringLiteral("HTTP://example.invalid/x.png")), std::nullopt);
        QCOMPARE(resolve(QStringLiteral("ftp://example.invalid/x.png")), std::nullopt);
        // Relative: the document folder, then the working directory.
        QCOMPARE(resolve(QStringLiteral("img/a b.svg")), local(nested));
        QCOMPARE(resolve(QStringLiteral("here.png")), local(here));
        QCOMPARE(ImageURLResolver::resolve(QStringLiteral("here.png")), local(here));
        QCOMPARE(ImageURLResolver::resolve(QStringLiteral("gone.png")), std::nullopt);
        QCOMPARE(resolve(QString()), std::nullopt);
        // Percent-encoded sources are tried once more decoded, absolute ones too,
        // and a file really named with the escape wins.
        QCOMPARE(resolve(QStringLiteral("img/a%20b.svg")), local(nested));
        QCOMPARE(resolve(docs.path() + QStringLiteral("/img/a%20b.svg")), local(nested));
        const QString literal = TestSupport::writeFile(docs, QStringLiteral("img/a%20b.svg"), "y");
        QCOMPARE(resolve(QStringLiteral("img/a%20b.svg")), local(literal));
        QDir::setCurrent(saved);
    }

    void pictureFitsTheColumnWithCaptionBelow() {
        QTemporaryDir dir;
        QImage(200, 100, QImage::Format_RGB32).save(dir.filePath(QStringLiteral("w.png")));
        TestSupport::writeFile(dir, QStringLiteral("v.svg"),
                               "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='10'/>");
        MarkdownRendererContext context = TestSupport::context(QString());
        context.documentDirectory = dir.path();
        MarkdownImageView view(imageNode(QStringLiteral("w.png"), "Wide one"), context);
        const int captionHeight = view.captionView()->heightForWidth(500);
        QCOMPARE(view.heightForWidth(500), 250 + 6 + captionHeight);
        QVERIFY(TestSupport::showExposed(&view, {500, view.heightForWidth(500)}));
        QCOMPARE(view.pictureRect(), QRect(0, 0, 500, 250));

        // A vector picture keeps its aspect too.
        MarkdownImageView vector(imageNode(QStringLiteral("v.svg")), context);
        QVERIFY(vector.picture() && vector.picture()->isVector());
        QCOMPARE(vector.heightForWidth(400), 100);
    }

    void missingAndUnreadableFilesShowTheLabelledPlaceholder() {
        QTemporaryDir dir;
        TestSupport::writeFile(dir, QStringLiteral("not-a-picture.png"), "plain text");
        MarkdownRendererContext context = TestSupport::context(QString());
        context.documentDirectory = dir.path();
        for (const QString& source :
             {QStringLiteral("/no/such/file.png"), QStringLiteral("not-a-picture.png")}) {
            MarkdownImageView view(imageNode(source, "Alt"), context);
            QCOMPARE(view.presentation().missingText, QStringLiteral("Missing: ") + source);
            QVERIFY(!view.picture());
            QCOMPARE(view.heightForWidth(300), 120 + 6 + view.captionView()->heightForWidth(300));
        }
    }

    void localPicturesAreReadOncePerVersionOfTheFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.png"));
        QImage(10, 10, QImage::Format_RGB32).save(path);
        ImageLoader& loader = ImageLoader::shared();
        const auto first = loader.local(path);
        QCOMPARE(loader.local(path).get(), first.get());
        QCOMPARE(loader.localReads(), 1);
        // A changed file (other size) is read again.
        QImage(30, 10, QImage::Format_RGB32).save(path);
        QCOMPARE(loader.local(path)->size(), QSizeF(30, 10));
        QCOMPARE(loader.localReads(), 2);
    }

    // A picture path that is a pipe, a link to a device or a huge file gives
    // no picture, and looking at it neither blocks nor fills memory.
    void whatIsNoPictureFileIsNotRead() {
        QTemporaryDir dir;
        const QString pipe = dir.filePath(QStringLiteral("pipe.png"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const QString zero = dir.filePath(QStringLiteral("zero.png"));
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), zero));
        const QString huge = dir.filePath(QStringLiteral("huge.png"));
        QVERIFY(TestSupport::makeSparseFile(huge, qint64(1) << 30));
        ProcessMemory::resetPeak();
        const qint64 before = ProcessMemory::peakResidentBytes();
        for (const QString& path : {pipe, zero, huge})
            QVERIFY2(!ImageLoader::shared().local(path), qPrintable(path));
        QVERIFY(ProcessMemory::peakResidentBytes() - before < 100 * 1024 * 1024);
    }

    // A web picture loads in the background; what came back, the picture
    // or a failure, is cached, so a re-render does not ask the server again.
    void webPicturesLoadInTheBackgroundOnce() {
        PictureServer server;
        QVERIFY(server.isListening());
        const MarkdownRendererContext context = TestSupport::context(QString());
        const ImageNode node = imageNode(server.url("/pic.png"), "web");
        MarkdownImageView view(node, context);
        QVERIFY(!view.picture());
        QCOMPARE(view.heightForWidth(400), 120 + 6 + view.captionView()->heightForWidth(400));
        QTRY_VERIFY(view.picture());
        QCOMPARE(view.heightForWidth(400), 200 + 6 + view.captionView()->heightForWidth(400));
        MarkdownImageView again(node, context);
        QVERIFY(again.picture());
        QCOMPARE(server.requests, 1);

        // A failed one keeps the placeholder.
        const ImageNode gone = imageNode(server.url("/gone.png"));
        QSignalSpy finished(&ImageLoader::shared(), &ImageLoader::remoteFinished);
        MarkdownImageView failed(gone, context);
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(!failed.picture());
        QCOMPARE(failed.heightForWidth(300), 120);
        // Asked for again, it starts no download.
        TestSupport::processPendingEvents();
        QVERIFY(ImageLoader::shared().findChildren<QNetworkReply*>().isEmpty());
        MarkdownImageView failedAgain(gone, context);
        QVERIFY(!failedAgain.picture());
        QVERIFY(ImageLoader::shared().findChildren<QNetworkReply*>().isEmpty());
        TestSupport::processPendingEvents();
        QCOMPARE(server.requests, 2);
    }
};

QTEST_MAIN(TestMarkdownImageView)
#include "tst_markdownimageview.moc"

#include "core/MarkdownTree.h"
#include "preview/ImageLoader.h"
#include "preview/MarkdownImageView.h"
#include "preview/SelectableTextView.h"
#include "support/PreviewColumn.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTextDocument>

namespace {

MarkdownNode imageNode(const QString& markdown) {
    return MarkdownParser::parse(markdown)->document.child(0).child(0);
}

QByteArray pngBytes(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A one-route HTTP server on the loopback interface: /pic.png answers with a
// PNG, anything else with 404. Counts the requests it served.
class PictureServer : public QTcpServer {
public:
    int requests = 0;
    QByteArray picture = pngBytes(QSize(40, 20));

    PictureServer() {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const QByteArray request = socket->readAll();
                    ++requests;
                    const bool found = request.startsWith("GET /pic.png ");
                    const QByteArray body = found ? picture : QByteArray("no");
                    socket->write((found ? "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\n"
                                         : "HTTP/1.1 404 Not Found\r\n") +
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

    void presentationBySource() {
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("a.png"));
        QImage(4, 2, QImage::Format_RGB32).save(png);
        using Picture = ImagePresentation::Picture;

        auto local =
            MarkdownImageView::present(imageNode(QStringLiteral("![alt](a.png)")), dir.path());
        QCOMPARE(local.picture, Picture::Local);
        QCOMPARE(local.url, QUrl::fromLocalFile(png));
        QCOMPARE(local.caption, QStringLiteral("alt"));

        auto web = MarkdownImageView::present(
            imageNode(QStringLiteral("![](https://h.invalid/p.gif)")), {});
        QCOMPARE(web.picture, Picture::Remote);
        QVERIFY(web.caption.isEmpty());

        // An unsaved document has no folder: the relative source is missing.
        auto missing = MarkdownImageView::present(imageNode(QStringLiteral("![x](a.png)")), {});
        QCOMPARE(missing.picture, Picture::Missing);
        QCOMPARE(missing.missingText, QStringLiteral("Missing: a.png"));

        auto none =
            MarkdownImageView::present(imageNode(QStringLiteral("![only alt]()")), dir.path());
        QCOMPARE(none.picture, Picture::None);
        QCOMPARE(none.caption, QStringLiteral("only alt"));
    }

    void pictureFitsTheColumnWithCaptionBelow() {
        QTemporaryDir dir;
        QImage(200, 100, QImage::Format_RGB32).save(dir.filePath(QStringLiteral("w.png")));
        MarkdownRendererContext context = TestSupport::context(QString());
        context.documentDirectory = dir.path();
        MarkdownImageView view(imageNode(QStringLiteral("![Wide one](w.png)")), context);
        QVERIFY(view.picture());
        const int captionHeight = view.captionView()->heightForWidth(500);
        QCOMPARE(view.heightForWidth(500), 250 + 6 + captionHeight);
        view.resize(500, view.heightForWidth(500));
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(view.pictureRect(), QRect(0, 0, 500, 250));
        QCOMPARE(view.captionView()->geometry().top(), 256);
        QCOMPARE(view.captionView()->textColour(), QColor(context.designSystem.colors.mutedText));
        QCOMPARE(view.captionView()->document()->defaultFont(),
                 context.designSystem.typography.caption);

        // A vector picture keeps its aspect too.
        TestSupport::writeFile(dir, QStringLiteral("v.svg"),
                               "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='10'/>");
        MarkdownImageView vector(imageNode(QStringLiteral("![](v.svg)")), context);
        QVERIFY(vector.picture() && vector.picture()->isVector());
        QCOMPARE(vector.heightForWidth(400), 100);
        QVERIFY(!vector.captionView());
    }

    void missingAndUnreadableFilesShowTheLabelledPlaceholder() {
        QTemporaryDir dir;
        TestSupport::writeFile(dir, QStringLiteral("not-a-picture.png"), "plain text");
        MarkdownRendererContext context = TestSupport::context(QString());
        context.documentDirectory = dir.path();
        for (const QString& source :
             {QStringLiteral("/no/such/file.png"), QStringLiteral("not-a-picture.png")}) {
            MarkdownImageView view(imageNode(QStringLiteral("![Alt](%1)").arg(source)), context);
            QCOMPARE(view.presentation().picture, ImagePresentation::Picture::Missing);
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
        QVERIFY(first);
        QCOMPARE(loader.localReads(), 1);
        QCOMPARE(loader.local(path).get(), first.get());
        QCOMPARE(loader.localReads(), 1);

        // A changed file (other size) is read again.
        QImage(30, 10, QImage::Format_RGB32).save(path);
        const auto second = loader.local(path);
        QCOMPARE(loader.localReads(), 2);
        QCOMPARE(second->size(), QSizeF(30, 10));
    }

    void webPicturesLoadInTheBackgroundAndAreCached() {
        PictureServer server;
        QVERIFY(server.isListening());
        const MarkdownRendererContext context = TestSupport::context(QString());
        const MarkdownNode node =
            imageNode(QStringLiteral("![web](%1)").arg(server.url("/pic.png")));

        // Nothing waits: the view starts with the empty placeholder.
        MarkdownImageView view(node, context);
        QCOMPARE(view.presentation().picture, ImagePresentation::Picture::Remote);
        QVERIFY(!view.picture());
        QCOMPARE(view.heightForWidth(400), 120 + 6 + view.captionView()->heightForWidth(400));
        QTRY_VERIFY(view.picture());
        QCOMPARE(view.picture()->size(), QSizeF(40, 20));
        QCOMPARE(view.heightForWidth(400), 200 + 6 + view.captionView()->heightForWidth(400));

        // A re-render finds it in the cache without asking the server again.
        MarkdownImageView again(node, context);
        QVERIFY(again.picture());
        QCOMPARE(server.requests, 1);
    }

    void failedWebPicturesKeepThePlaceholder() {
        PictureServer server;
        const MarkdownRendererContext context = TestSupport::context(QString());
        MarkdownImageView view(imageNode(QStringLiteral("![](%1)").arg(server.url("/gone.png"))),
                               context);
        QSignalSpy finished(&ImageLoader::shared(), &ImageLoader::remoteFinished);
        QTRY_COMPARE(finished.count(), 1);
        QVERIFY(!view.picture());
        QCOMPARE(view.heightForWidth(300), 120);
        // A re-render right after does not hammer the server.
        MarkdownImageView again(imageNode(QStringLiteral("![](%1)").arg(server.url("/gone.png"))),
                                context);
        QTest::qWait(50);
        QCOMPARE(server.requests, 1);
    }
};

QTEST_MAIN(TestMarkdownImageView)
#include "tst_markdownimageview.moc"

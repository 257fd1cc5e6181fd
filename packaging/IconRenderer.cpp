// Build tool: renders the application icon's SVG to one PNG per size.
//   quon-icon-renderer ICON.svg OUTPUT_DIR SIZE...
// writes OUTPUT_DIR/hicolor/SIZExSIZE/apps/NAME.png for each size.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: quon-icon-renderer ICON.svg OUTPUT_DIR SIZE...\n");
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "quon-icon-renderer: cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    const QString name = QFileInfo(args.at(1)).completeBaseName();
    for (const QString& sizeText : args.mid(3)) {
        const int size = sizeText.toInt();
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(args.at(2)).arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        if (size <= 0 || !QDir().mkpath(folder) ||
            !image.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"))) {
            std::fprintf(stderr, "quon-icon-renderer: cannot write size %s\n",
                         qPrintable(sizeText));
            return 1;
        }
    }
    return 0;
}

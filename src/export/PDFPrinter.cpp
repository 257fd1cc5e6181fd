#include "export/PDFPrinter.h"

#include "export/PDFExporter.h"
#include "export/PDFPrintJob.h"

#include <QFileInfo>
#include <QGuiApplication>

int PDFPrinter::run(int argc, char** argv) {
    // The printer shows nothing and takes no input: no display, and no input
    // plug-ins of the quon that started it.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("QT_QPA_GENERIC_PLUGINS");
    PDFExporter::prepareEngine();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3)
        return PDFPrintJob::NotCreated;
    PDFPrintJob job(QFileInfo(arguments[1]).absoluteFilePath(), arguments[2],
                    [](PDFPrintJob::Outcome outcome) { QCoreApplication::exit(outcome); });
    job.start();
    return QCoreApplication::exec();
}

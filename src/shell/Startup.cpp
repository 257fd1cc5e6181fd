#include "shell/Startup.h"

#include "common/AppIdentity.h"
#include "core/AppLanguageManager.h"
#include "core/AppearanceService.h"
#include "core/L10n.h"
#include "core/MarkdownDocument.h"
#include "shell/PlainDocumentWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QStyleFactory>

int Startup::run(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "qt.qml.compiler=false");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quon"));
    QApplication::setOrganizationName(QStringLiteral("quon"));
    QApplication::setDesktopFileName(QStringLiteral(QUON_APP_ID));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    // The language comes first, so the first windows are built in it.
    LocalizationRoot::install();
    AppearanceService::shared();

    QStringList paths = app.arguments().mid(1);
    int opened = 0;
    for (const QString& path : paths) {
        DocumentFileError error;
        auto document = MarkdownDocument::open(QFileInfo(path).absoluteFilePath(), &error);
        if (!document) {
            QMessageBox::warning(nullptr, L10n::tr("Could Not Open File"), error.message());
            continue;
        }
        auto* window = new PlainDocumentWindow(std::move(document));
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        ++opened;
    }
    if (opened == 0) {
        auto* window = new PlainDocumentWindow(std::make_unique<MarkdownDocument>());
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
    }
    return app.exec();
}

#include "export/ExportDesktop.h"

#include "core/MarkdownFileTypes.h"
#include "platform/ModalDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QMimeDatabase>

namespace {

class SystemExportDesktop final : public ExportDesktop {
public:
    QString chooseSavePath(const ExportSaveRequest& request) override {
        auto* dialog =
            new QFileDialog(QApplication::activeWindow(), request.title, request.directory);
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setNameFilters(request.nameFilters());
        dialog->setDefaultSuffix(request.suffix);
        dialog->selectFile(request.fileName);
        return ModalDialog::chosenFiles(dialog).value(0);
    }

    void showWarning(const QString& title, const QString& message) override {
        auto* box = new QMessageBox(QMessageBox::Warning, title, title, QMessageBox::Ok);
        box->setInformativeText(message);
        box->setWindowModality(Qt::ApplicationModal);
        ModalDialog::exec(box);
    }

    void setClipboard(QMimeData* data) override { QGuiApplication::clipboard()->setMimeData(data); }
};

ExportDesktop* replacement = nullptr;

} // namespace

QStringList ExportSaveRequest::nameFilters() const {
    if (mimeType == QLatin1String(MarkdownFileTypes::markdownMimeType))
        return {MarkdownFileTypes::nameFilter()};
    const QMimeType type = QMimeDatabase().mimeTypeForName(mimeType);
    return type.isValid() ? QStringList{type.filterString()} : QStringList{};
}

ExportDesktop& ExportDesktop::shared() {
    static SystemExportDesktop system;
    return replacement ? *replacement : system;
}

void ExportDesktop::setShared(ExportDesktop* desktop) {
    replacement = desktop;
}

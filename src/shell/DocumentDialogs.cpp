#include "shell/DocumentDialogs.h"

#include "core/L10n.h"
#include "core/MarkdownFileTypes.h"
#include "platform/ModalDialog.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

std::unique_ptr<DocumentDialogs>& sharedSlot() {
    static std::unique_ptr<DocumentDialogs> dialogs = std::make_unique<WidgetDocumentDialogs>();
    return dialogs;
}

QString documentFilter() {
    return MarkdownFileTypes::nameFilter() + QStringLiteral(";;") + L10n::tr("Text Files") +
           QStringLiteral(" (*.txt);;") + L10n::tr("All Files") + QStringLiteral(" (*)");
}

const QLatin1String saveChangesName("saveChangesQuestion");

} // namespace

DocumentDialogs& DocumentDialogs::shared() {
    return *sharedSlot();
}

void DocumentDialogs::setShared(std::unique_ptr<DocumentDialogs> dialogs) {
    sharedSlot() = dialogs ? std::move(dialogs) : std::make_unique<WidgetDocumentDialogs>();
}

SaveChangesChoice WidgetDocumentDialogs::askSaveChanges(QWidget* window,
                                                        const QString& documentName) {
    auto* box = new QMessageBox(
        QMessageBox::Warning, QString(),
        L10n::tr("Do you want to save the changes made to the document “%1”?").arg(documentName),
        QMessageBox::NoButton, window);
    box->setObjectName(saveChangesName);
    box->setInformativeText(L10n::tr("Your changes will be lost if you don’t save them."));
    QPushButton* save = box->addButton(L10n::tr("Save"), QMessageBox::AcceptRole);
    box->addButton(L10n::tr("Don’t Save"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box->addButton(L10n::tr("Cancel"), QMessageBox::RejectRole);
    box->setDefaultButton(save);
    box->setEscapeButton(cancel);
    switch (ModalDialog::answeredRole(box)) {
    case QMessageBox::AcceptRole:
        return SaveChangesChoice::Save;
    case QMessageBox::DestructiveRole:
        return SaveChangesChoice::DontSave;
    default:
        return SaveChangesChoice::Cancel;
    }
}

void WidgetDocumentDialogs::withdrawSaveChanges(QWidget* window) {
    if (!window)
        return;
    for (QMessageBox* box : window->findChildren<QMessageBox*>(saveChangesName))
        box->done(QDialog::Rejected);
}

QString WidgetDocumentDialogs::askSavePath(QWidget* window, const QString& proposedPath) {
    auto* dialog = new QFileDialog(window, L10n::tr("Save"), proposedPath, documentFilter());
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    return ModalDialog::chosenFiles(dialog).value(0);
}

QStringList WidgetDocumentDialogs::askOpenPaths(QWidget* window, const QString& folder) {
    auto* dialog = new QFileDialog(window, L10n::tr("Open"), folder, documentFilter());
    dialog->setFileMode(QFileDialog::ExistingFiles);
    return ModalDialog::chosenFiles(dialog);
}

bool WidgetDocumentDialogs::confirm(QWidget* parent, const QString& text,
                                    const QString& informativeText, const QString& confirmButton) {
    auto* box =
        new QMessageBox(QMessageBox::Information, QString(), text, QMessageBox::NoButton, parent);
    box->setInformativeText(informativeText);
    QPushButton* yes = box->addButton(confirmButton, QMessageBox::AcceptRole);
    QPushButton* no = box->addButton(L10n::tr("Cancel"), QMessageBox::RejectRole);
    box->setDefaultButton(yes);
    box->setEscapeButton(no);
    return ModalDialog::answeredRole(box) == QMessageBox::AcceptRole;
}

void WidgetDocumentDialogs::showAlert(QWidget* parent, const QString& title,
                                      const QString& message) {
    // The window's title says what failed, not just "quon".
    auto* box = new QMessageBox(QMessageBox::Warning, title, title, QMessageBox::NoButton, parent);
    box->setInformativeText(message);
    box->addButton(L10n::tr("OK"), QMessageBox::AcceptRole);
    ModalDialog::exec(box);
}

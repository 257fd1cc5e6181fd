#include "support/ScriptedDialogs.h"

#include <utility>

#include "core/MarkdownDocument.h"
#include "shell/DocumentController.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>

ScriptedDialogs& ScriptedDialogs::install() {
    auto dialogs = std::make_unique<ScriptedDialogs>();
    ScriptedDialogs& ref = *dialogs;
    DocumentDialogs::setShared(std::move(dialogs));
    return ref;
}

SaveChangesChoice ScriptedDialogs::askSaveChanges(QWidget*, const QString& documentName) {
    saveQuestions.append(documentName);
    const int withdrawn = withdrawnSaveQuestions;
    if (whileAskingSave)
        std::exchange(whileAskingSave, nullptr)();
    // Taken back meanwhile, the box went away as Cancel.
    if (withdrawnSaveQuestions != withdrawn)
        return SaveChangesChoice::Cancel;
    return saveChoices.isEmpty() ? SaveChangesChoice::Cancel : saveChoices.takeFirst();
}

void ScriptedDialogs::withdrawSaveChanges(QWidget*) {
    ++withdrawnSaveQuestions;
}

QString ScriptedDialogs::askSavePath(QWidget*, const QString& proposedPath) {
    lastProposedPath = proposedPath;
    return savePaths.isEmpty() ? QString() : savePaths.takeFirst();
}

QStringList ScriptedDialogs::askOpenPaths(QWidget*, const QString&) {
    return openPaths.isEmpty() ? QStringList() : openPaths.takeFirst();
}

bool ScriptedDialogs::confirm(QWidget*, const QString& text, const QString& informativeText,
                              const QString&) {
    confirmTexts.append(text);
    confirmDetails.append(informativeText);
    if (onConfirm)
        onConfirm();
    return confirmations.isEmpty() ? false : confirmations.takeFirst();
}

void ScriptedDialogs::showAlert(QWidget*, const QString& title, const QString& message) {
    alerts.append({title, message});
}

void ScriptedDialogs::discardAll(DocumentController& controller) {
    for (MarkdownDocument* document : controller.documents()) {
        saveChoices = {SaveChangesChoice::DontSave};
        controller.close(document);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList ScriptedDialogs::openFileNames(const DocumentController& controller) {
    QStringList names;
    for (MarkdownDocument* document : controller.documents())
        names.append(QFileInfo(document->fileUrl().toLocalFile()).fileName());
    return names;
}

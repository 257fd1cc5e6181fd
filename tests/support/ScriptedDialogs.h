#pragma once

#include "shell/DocumentDialogs.h"

#include <QList>
#include <QPair>
#include <QStringList>
#include <functional>

class DocumentController;

// Dialogs that answer from queues set up by the test and remember what they
// were asked. A question with no answer queued is answered with Cancel.
class ScriptedDialogs : public DocumentDialogs {
public:
    // Installs a fresh instance as the shared dialogs and returns it.
    static ScriptedDialogs& install();

    QList<SaveChangesChoice> saveChoices;
    QStringList savePaths;
    QList<QStringList> openPaths;
    QList<bool> confirmations;
    std::function<void()> onConfirm; // runs while a confirm() question is up

    QStringList saveQuestions;             // document names asked about
    std::function<void()> whileAskingSave; // runs inside the save question
    QStringList confirmTexts;              // texts of confirm()
    QStringList confirmDetails;            // their informative texts
    QList<QPair<QString, QString>> alerts; // title, message

    int withdrawnSaveQuestions = 0;

    SaveChangesChoice askSaveChanges(QWidget* window, const QString& documentName) override;
    void withdrawSaveChanges(QWidget* window) override;
    QString askSavePath(QWidget* window, const QString& proposedPath) override;
    QStringList askOpenPaths(QWidget* window, const QString& folder) override;
    bool confirm(QWidget* parent, const QString& text, const QString& informativeText,
                 const QString& confirmButton) override;
    void showAlert(QWidget* parent, const QString& title, const QString& message) override;

    QString lastProposedPath;

    // Closes every document of the controller without saving and lets the
    // windows go.
    void discardAll(DocumentController& controller);
    // The file names of the controller's documents, in opening order.
    static QStringList openFileNames(const DocumentController& controller);
};

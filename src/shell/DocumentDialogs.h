#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QWidget;

enum class SaveChangesChoice { Save, DontSave, Cancel };

// Every question and alert of the document services, behind one interface so
// tests answer them without a modal loop.
class DocumentDialogs {
public:
    virtual ~DocumentDialogs() = default;

    // The process-wide dialogs; message boxes and file dialogs unless replaced.
    static DocumentDialogs& shared();
    static void setShared(std::unique_ptr<DocumentDialogs> dialogs);

    // Save / Don't Save / Cancel before a modified document closes.
    virtual SaveChangesChoice askSaveChanges(QWidget* window, const QString& documentName) = 0;
    // Takes back the Save question open over the window, which then answers
    // Cancel: there is nothing left to save.
    virtual void withdrawSaveChanges(QWidget* window) = 0;
    // The path to save to, or empty when cancelled.
    virtual QString askSavePath(QWidget* window, const QString& proposedPath) = 0;
    // Files to open, or none when cancelled.
    virtual QStringList askOpenPaths(QWidget* window, const QString& folder) = 0;
    // A question whose confirming button comes first; true when it was chosen.
    virtual bool confirm(QWidget* parent, const QString& text, const QString& informativeText,
                         const QString& confirmButton) = 0;
    // A warning with a fixed title, the message as informative text and OK.
    virtual void showAlert(QWidget* parent, const QString& title, const QString& message) = 0;
};

// The real dialogs: QMessageBox and QFileDialog.
class WidgetDocumentDialogs : public DocumentDialogs {
public:
    SaveChangesChoice askSaveChanges(QWidget* window, const QString& documentName) override;
    void withdrawSaveChanges(QWidget* window) override;
    QString askSavePath(QWidget* window, const QString& proposedPath) override;
    QStringList askOpenPaths(QWidget* window, const QString& folder) override;
    bool confirm(QWidget* parent, const QString& text, const QString& informativeText,
                 const QString& confirmButton) override;
    void showAlert(QWidget* parent, const QString& title, const QString& message) override;
};

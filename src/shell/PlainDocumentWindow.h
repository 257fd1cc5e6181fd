#pragma once

#include <QMainWindow>

class DocumentController;
class MarkdownDocument;
class QPlainTextEdit;
class QAction;
class QMenu;

// A plain window over one document: its text in an editor and the File menu.
// Stands in for the workspace window until that one lands; the document
// controller titles it and decides when it may close.
class PlainDocumentWindow : public QMainWindow {
    Q_OBJECT
public:
    PlainDocumentWindow(MarkdownDocument& document, DocumentController& controller,
                        QWidget* parent = nullptr);
    ~PlainDocumentWindow() override;

    MarkdownDocument* document() const { return &m_document; }
    QPlainTextEdit* editor() const { return m_editor; }
    QAction* saveAction() const { return m_save; }
    QMenu* fileMenu() const { return m_fileMenu; }

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QAction* addCommand(const QKeySequence& shortcut, void (*run)(PlainDocumentWindow&));
    void retranslate();
    void restyle();

    MarkdownDocument& m_document;
    DocumentController& m_controller;
    QPlainTextEdit* m_editor = nullptr;
    QMenu* m_fileMenu = nullptr;
    QAction* m_new = nullptr;
    QAction* m_open = nullptr;
    QAction* m_save = nullptr;
    QAction* m_saveAs = nullptr;
    QAction* m_duplicate = nullptr;
    QAction* m_close = nullptr;
    QAction* m_quit = nullptr;
    bool m_shown = false;
};

#pragma once

#include <QMainWindow>
#include <memory>

class MarkdownDocument;
class QPlainTextEdit;
class QAction;
class QMenu;

// A plain window over one document: its text in an editor and Save. Stands in
// for the workspace window until that one lands.
class PlainDocumentWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit PlainDocumentWindow(std::unique_ptr<MarkdownDocument> document,
                                 QWidget* parent = nullptr);
    ~PlainDocumentWindow() override;

    MarkdownDocument* document() const { return m_document.get(); }
    QAction* saveAction() const { return m_save; }
    QMenu* fileMenu() const { return m_fileMenu; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void retranslate();
    void restyle();
    void save();

    std::unique_ptr<MarkdownDocument> m_document;
    QPlainTextEdit* m_editor = nullptr;
    QMenu* m_fileMenu = nullptr;
    QAction* m_save = nullptr;
};

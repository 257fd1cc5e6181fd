#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the name of a new file in a folder, and whether to open it after
// creating: "untitled.md" (Markdown) or "untitled.txt", fully selected.
class NewFileDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int fieldWidth = 280;

    NewFileDialog(const QString& folderName, bool markdown, bool openAfterCreating,
                  QWidget* parent = nullptr);

    QString message() const;
    QString informativeText() const;
    QLineEdit* nameField() const { return m_name; }
    QCheckBox* openCheckBox() const { return m_open; }
    QPushButton* createButton() const { return m_create; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    QLabel* m_message = nullptr;
    QLabel* m_informative = nullptr;
    QLineEdit* m_name = nullptr;
    QCheckBox* m_open = nullptr;
    QPushButton* m_create = nullptr;
    QPushButton* m_cancel = nullptr;
};

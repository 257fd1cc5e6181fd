#pragma once

#include "shell/FocusedValues.h"

#include <QObject>

class FocusedTextCommands;
class QAction;
class QWidget;

// One window's commands, each one QAction shared by its menu bar, its
// toolbar and its buttons, enabled exactly while its value is present. Each
// action reads its value again when it runs and does nothing once it is gone.
class WindowCommands : public QObject {
    Q_OBJECT
public:
    WindowCommands(QWidget* window, FocusedValues values,
                   ApplicationCommands application = ApplicationCommands::shared());

    const FocusedValues& values() const { return m_values; }
    void setValues(FocusedValues values);
    // Re-evaluates what depends on the document's state: Reveal needs a file.
    void refresh();
    void retranslate();
    // Whether the focused document has a file to reveal.
    bool canReveal() const;

    // File
    QAction* newDocument = nullptr;
    QAction* openDocument = nullptr;
    QAction* clearRecentFiles = nullptr; // "Clear Menu" of Open Recent
    QAction* save = nullptr;
    QAction* saveAs = nullptr;
    QAction* duplicate = nullptr;
    QAction* exportPDF = nullptr;
    QAction* exportHTML = nullptr;
    QAction* exportMarkdownCopy = nullptr;
    QAction* exportPlainText = nullptr;
    QAction* copyHTML = nullptr;
    QAction* reveal = nullptr;
    QAction* closeWindow = nullptr;
    QAction* quit = nullptr;
    // Edit: the first six act on the window's focused text widget.
    QAction* undo = nullptr;
    QAction* redo = nullptr;
    QAction* cut = nullptr;
    QAction* copy = nullptr;
    QAction* paste = nullptr;
    QAction* selectAll = nullptr;
    QAction* find = nullptr;
    // View
    QAction* modeEdit = nullptr;
    QAction* modeSplit = nullptr;
    QAction* modePreview = nullptr;
    QAction* commandPalette = nullptr;
    QAction* focusMode = nullptr;
    // Window and help
    QAction* welcomeWindow = nullptr;
    QAction* settings = nullptr;
    QAction* about = nullptr;

    const ApplicationCommands& application() const { return m_application; }
    FocusedTextCommands& textCommands() const { return *m_text; }

Q_SIGNALS:
    // The values or what depends on them changed.
    void refreshed();

private:
    // The commands of each menu: File, Edit, View, and Window and help.
    void makeFileCommands();
    void makeEditCommands();
    void makeViewCommands();
    void makeWindowCommands();
    // Runs the command the application or the focused window has now, if any.
    std::function<void()> applicationCommand(std::function<void()> ApplicationCommands::*member);
    std::function<void()> focusedCommand(std::function<void()> FocusedValues::*member);
    QAction* make(const char* text, const QKeySequence& shortcut, std::function<void()> run,
                  Qt::ConnectionType connection = Qt::AutoConnection);
    void runExport(void (*exporter)(const DocumentExportContext&));

    QWidget* m_window;
    FocusedTextCommands* m_text = nullptr;
    FocusedValues m_values;
    ApplicationCommands m_application;
    QList<QPair<QAction*, const char*>> m_texts;
};

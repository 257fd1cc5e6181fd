#include "shell/WindowCommands.h"

#include "core/L10n.h"
#include "core/RecentFilesStore.h"
#include "export/DocumentExportService.h"
#include "shell/FocusedTextCommands.h"

#include <QAction>
#include <QWidget>

namespace {

void callIfSet(const std::function<void()>& f) {
    if (f)
        f();
}

} // namespace

ApplicationCommands& ApplicationCommands::shared() {
    static ApplicationCommands commands;
    return commands;
}

WindowCommands::WindowCommands(QWidget* window, FocusedValues values,
                               ApplicationCommands application)
    : QObject(window), m_window(window), m_values(std::move(values)),
      m_application(std::move(application)) {
    makeFileCommands();
    makeEditCommands();
    makeViewCommands();
    makeWindowCommands();
    retranslate();
    refresh();
}

std::function<void()>
WindowCommands::applicationCommand(std::function<void()> ApplicationCommands::*member) {
    return [this, member] { callIfSet(m_application.*member); };
}

std::function<void()> WindowCommands::focusedCommand(std::function<void()> FocusedValues::*member) {
    return [this, member] { callIfSet(m_values.*member); };
}

void WindowCommands::makeFileCommands() {
    using K = QKeySequence;
    newDocument = make(L10n::mark("New"), K(Qt::CTRL | Qt::Key_N),
                       applicationCommand(&ApplicationCommands::newDocument));
    openDocument = make(L10n::mark("Open…"), K(Qt::CTRL | Qt::Key_O),
                        applicationCommand(&ApplicationCommands::openDocument));
    clearRecentFiles =
        make(L10n::mark("Clear Menu"), {}, [] { RecentFilesStore::shared().clear(); });
    const auto followRecentFiles = [this] {
        clearRecentFiles->setEnabled(!RecentFilesStore::shared().files().isEmpty());
    };
    connect(&RecentFilesStore::shared(), &RecentFilesStore::changed, this, followRecentFiles);
    followRecentFiles();
    save = make(L10n::mark("Save"), K(Qt::CTRL | Qt::Key_S),
                focusedCommand(&FocusedValues::saveDocument));
    saveAs = make(L10n::mark("Save As…"), K(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                  focusedCommand(&FocusedValues::saveDocumentAs));
    duplicate = make(L10n::mark("Duplicate"), K(Qt::CTRL | Qt::SHIFT | Qt::Key_D),
                     focusedCommand(&FocusedValues::duplicateDocument));
    exportPDF = make(L10n::mark("Export as PDF…"), {}, [this] {
        if (m_values.documentActions)
            m_values.documentActions->exportPDF();
    });
    exportHTML = make(L10n::mark("Export as HTML…"), {},
                      [this] { runExport(&DocumentExportService::exportHTML); });
    exportMarkdownCopy = make(L10n::mark("Save Markdown Copy…"), {},
                              [this] { runExport(&DocumentExportService::exportMarkdownCopy); });
    exportPlainText = make(L10n::mark("Export as Plain Text…"), {},
                           [this] { runExport(&DocumentExportService::exportPlainText); });
    copyHTML = make(L10n::mark("Copy as HTML"), {},
                    [this] { runExport(&DocumentExportService::copyHTML); });
    reveal = make(L10n::mark("Reveal in Files"), {}, [this] {
        if (m_values.documentActions)
            m_values.documentActions->revealInFinder();
    });
    // Queued: closing or quitting must not run inside the window's own menu.
    closeWindow = make(
        L10n::mark("Close"), K(Qt::CTRL | Qt::Key_W), [this] { m_window->close(); },
        Qt::QueuedConnection);
    quit = make(L10n::mark("Quit"), K(Qt::CTRL | Qt::Key_Q),
                applicationCommand(&ApplicationCommands::quit), Qt::QueuedConnection);
}

void WindowCommands::makeEditCommands() {
    using K = QKeySequence;
    using Command = TextEditing::Command;
    m_text = new FocusedTextCommands(m_window);
    const auto text = [this](Command command, const char* title, const QKeySequence& shortcut) {
        QAction* action = make(title, shortcut, [this, command] { m_text->run(command); });
        m_text->setAction(command, action);
        return action;
    };
    undo = text(Command::Undo, L10n::mark("Undo"), K(Qt::CTRL | Qt::Key_Z));
    redo = text(Command::Redo, L10n::mark("Redo"), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    cut = text(Command::Cut, L10n::mark("Cut"), K(Qt::CTRL | Qt::Key_X));
    copy = text(Command::Copy, L10n::mark("Copy"), K(Qt::CTRL | Qt::Key_C));
    paste = text(Command::Paste, L10n::mark("Paste"), K(Qt::CTRL | Qt::Key_V));
    selectAll = text(Command::SelectAll, L10n::mark("Select All"), K(Qt::CTRL | Qt::Key_A));

    find = make(L10n::mark("Find…"), K(Qt::CTRL | Qt::Key_F),
                focusedCommand(&FocusedValues::documentSearchToggle));
}

void WindowCommands::makeViewCommands() {
    using K = QKeySequence;
    const auto mode = [this](ViewMode m) {
        return [this, m] {
            if (m_values.viewModeSwitch)
                m_values.viewModeSwitch(m);
        };
    };
    modeEdit = make(L10n::mark("Edit"), K(Qt::CTRL | Qt::Key_1), mode(ViewMode::Edit));
    modeSplit = make(L10n::mark("Split"), K(Qt::CTRL | Qt::Key_2), mode(ViewMode::Split));
    modePreview = make(L10n::mark("Preview"), K(Qt::CTRL | Qt::Key_3), mode(ViewMode::Preview));
    commandPalette = make(L10n::mark("Command Palette…"), K(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
                          focusedCommand(&FocusedValues::commandPaletteToggle));
    focusMode = make(L10n::mark("Toggle Focus Mode"), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Period),
                     focusedCommand(&FocusedValues::focusModeToggle));
}

void WindowCommands::makeWindowCommands() {
    using K = QKeySequence;
    // The welcome window's own opener when it publishes one, else the notification.
    welcomeWindow = make(L10n::mark("Welcome Window"), K(Qt::CTRL | Qt::SHIFT | Qt::Key_1), [this] {
        if (m_values.openWelcomeWindow)
            m_values.openWelcomeWindow();
        else
            callIfSet(m_application.showWelcomeWindow);
    });
    settings = make(L10n::mark("Settings…"), K(Qt::CTRL | Qt::Key_Comma),
                    applicationCommand(&ApplicationCommands::showSettings));
    about = make(L10n::mark("About quon"), {}, applicationCommand(&ApplicationCommands::showAbout));
}

QAction* WindowCommands::make(const char* text, const QKeySequence& shortcut,
                              std::function<void()> run, Qt::ConnectionType connection) {
    auto* action = new QAction(this);
    action->setShortcut(shortcut);
    // Shortcuts work while the menu bar is hidden or another child has focus.
    action->setShortcutContext(Qt::WindowShortcut);
    m_window->addAction(action);
    connect(
        action, &QAction::triggered, this, [run = std::move(run)] { run(); }, connection);
    m_texts.append({action, text});
    return action;
}

void WindowCommands::runExport(void (*exporter)(const DocumentExportContext&)) {
    if (m_values.documentActions)
        exporter(m_values.documentActions->exportContext());
}

void WindowCommands::setValues(FocusedValues values) {
    m_values = std::move(values);
    refresh();
}

bool WindowCommands::canReveal() const {
    return m_values.documentActions &&
           m_values.documentActions->exportContext().fileURL.isLocalFile();
}

void WindowCommands::refresh() {
    const bool document = m_values.documentActions.has_value();
    for (QAction* a : {exportPDF, exportHTML, exportMarkdownCopy, exportPlainText, copyHTML})
        a->setEnabled(document);
    reveal->setEnabled(canReveal());
    save->setEnabled(bool(m_values.saveDocument));
    saveAs->setEnabled(bool(m_values.saveDocumentAs));
    duplicate->setEnabled(bool(m_values.duplicateDocument));
    find->setEnabled(bool(m_values.documentSearchToggle));
    for (QAction* a : {modeEdit, modeSplit, modePreview})
        a->setEnabled(bool(m_values.viewModeSwitch));
    commandPalette->setEnabled(bool(m_values.commandPaletteToggle));
    focusMode->setEnabled(bool(m_values.focusModeToggle));
    Q_EMIT refreshed();
}

void WindowCommands::retranslate() {
    for (const auto& [action, text] : m_texts)
        action->setText(L10n::tr(text));
}

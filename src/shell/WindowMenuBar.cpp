#include "shell/WindowMenuBar.h"

#include "core/L10n.h"
#include "core/RecentFilesStore.h"
#include "shell/FocusedTextCommands.h"
#include "shell/OpenRecentMenu.h"
#include "shell/WindowCommands.h"

#include <QEvent>

WindowMenuBar::WindowMenuBar(WindowCommands& commands, QWidget* parent)
    : QMenuBar(parent), m_commands(commands) {
    const ApplicationCommands& app = commands.application();
    const auto addIf = [](QMenu* menu, bool present, QAction* action) {
        if (present)
            menu->addAction(action);
    };

    m_file = addMenu(QString());
    addIf(m_file, bool(app.newDocument), commands.newDocument);
    addIf(m_file, bool(app.openDocument), commands.openDocument);
    if (app.openRecentFile) {
        m_recent = new OpenRecentMenu(RecentFilesStore::shared(), app.openRecentFile,
                                      commands.clearRecentFiles, m_file);
        m_file->addMenu(m_recent);
    }
    m_file->addSeparator();
    m_file->addActions({commands.save, commands.saveAs, commands.duplicate});
    m_file->addSeparator();
    m_file->addActions({commands.exportPDF, commands.exportHTML, commands.exportMarkdownCopy,
                        commands.exportPlainText, commands.copyHTML});
    m_file->addSeparator();
    m_file->addAction(commands.reveal);
    m_file->addSeparator();
    m_file->addAction(commands.closeWindow);
    addIf(m_file, bool(app.quit), commands.quit);
    // Reveal follows the file: a document saved for the first time gains one.
    connect(m_file, &QMenu::aboutToShow, &commands, &WindowCommands::refresh);

    m_edit = addMenu(QString());
    m_edit->addActions({commands.undo, commands.redo});
    m_edit->addSeparator();
    m_edit->addActions({commands.cut, commands.copy, commands.paste, commands.selectAll});
    m_edit->addSeparator();
    m_edit->addAction(commands.find);
    // Checked again on opening: not every clipboard change is announced.
    connect(m_edit, &QMenu::aboutToShow, &commands.textCommands(), &FocusedTextCommands::refresh);
    if (app.showSettings) {
        m_edit->addSeparator();
        m_edit->addAction(commands.settings);
    }

    m_view = addMenu(QString());
    m_view->addActions({commands.modeEdit, commands.modeSplit, commands.modePreview});
    m_view->addSeparator();
    m_view->addActions({commands.commandPalette, commands.focusMode});

    m_window = addMenu(QString());
    m_window->addAction(commands.welcomeWindow);

    m_help = addMenu(QString());
    addIf(m_help, bool(app.showAbout), commands.about);
    m_help->menuAction()->setVisible(!m_help->isEmpty());

    retranslate();
}

void WindowMenuBar::retranslate() {
    m_file->setTitle(L10n::tr("&File"));
    if (m_recent)
        m_recent->setTitle(L10n::tr("Open Recent"));
    m_edit->setTitle(L10n::tr("&Edit"));
    m_view->setTitle(L10n::tr("&View"));
    m_window->setTitle(L10n::tr("&Window"));
    m_help->setTitle(L10n::tr("&Help"));
    m_commands.retranslate();
}

void WindowMenuBar::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QMenuBar::changeEvent(event);
}

#include "windows/AboutWindow.h"

#include "core/L10n.h"
#include "shell/WindowCommands.h"
#include "shell/WindowMenuBar.h"
#include "windows/AboutView.h"

#include <QEvent>

AboutWindow::AboutWindow(ApplicationCommands application, QWidget* parent) : QMainWindow(parent) {
    m_view = new AboutView(AboutInfo::configured(), this);
    setCentralWidget(m_view);
    m_commands = new WindowCommands(this, FocusedValues{}, std::move(application));
    setMenuBar(new WindowMenuBar(*m_commands, this));
    setWindowTitle(L10n::tr("About quon"));
}

void AboutWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        setWindowTitle(L10n::tr("About quon"));
    QMainWindow::changeEvent(event);
}

#pragma once

#include "shell/FocusedValues.h"

#include <QMainWindow>

class AboutView;
class WindowCommands;

// The about window: the about view under the same menu bar as every other
// window, so New, Open and Quit work while it is in front. It publishes no
// values: the document and view commands are disabled.
class AboutWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit AboutWindow(ApplicationCommands application = ApplicationCommands::shared(),
                         QWidget* parent = nullptr);

    AboutView* view() const { return m_view; }
    WindowCommands& commands() const { return *m_commands; }

protected:
    void changeEvent(QEvent* event) override;

private:
    AboutView* m_view = nullptr;
    WindowCommands* m_commands = nullptr;
};

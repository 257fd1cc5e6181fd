#pragma once

#include <QMainWindow>
#include <QUrl>

class DocumentController;
class RecentFilesStore;
class SceneManager;
class WelcomeView;
class QAction;
class WindowCommands;

// The home window: the welcome view in a window titled "quon", with the
// commands that create and open documents. The scene manager shows and hides
// it on the application notifications.
class WelcomeWindow : public QMainWindow {
    Q_OBJECT
public:
    WelcomeWindow(DocumentController& controller, SceneManager& scenes, RecentFilesStore& store,
                  QWidget* parent = nullptr);

    WelcomeView* view() const { return m_view; }
    // The same commands as the buttons; Ctrl+N and Ctrl+O.
    QAction* newAction() const;
    QAction* openAction() const;
    QAction* aboutAction() const;

    // What the "Welcome Window" command does while this window is in front.
    static void openWelcomeWindow();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void newDocument();
    void openDocument();
    void openDroppedFiles(const QList<QUrl>& files);
    void openRecentFile(const QUrl& url);
    void retranslate();

    DocumentController& m_controller;
    WelcomeView* m_view = nullptr;
    WindowCommands* m_commands = nullptr;
};

#pragma once

#include <QMainWindow>
#include <QUrl>

class DocumentController;
class RecentFilesStore;
class SceneManager;
class WelcomeView;
class QAction;
class QMenu;

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
    QAction* newAction() const { return m_new; }
    QAction* openAction() const { return m_open; }
    QAction* aboutAction() const { return m_about; }

    // What the "Welcome Window" command does while this window is in front.
    static void openWelcomeWindow();

protected:
    void changeEvent(QEvent* event) override;

private:
    void newDocument();
    void openDocument();
    void openDroppedFiles(const QList<QUrl>& files);
    void openRecentFile(const QUrl& url);
    void retranslate();

    DocumentController& m_controller;
    WelcomeView* m_view = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_helpMenu = nullptr;
    QAction* m_new = nullptr;
    QAction* m_open = nullptr;
    QAction* m_quit = nullptr;
    QAction* m_about = nullptr;
};

#pragma once

#include <QList>
#include <QUrl>
#include <QWidget>

class DropZoneView;
class RecentFilesSection;
class RecentFilesStore;
class WelcomeButton;

// The home window's content: name and tagline, "New Document" and "Open…",
// the drop zone and the recent files. It only reports what the user chose;
// the window decides how to open things. The whole view takes file drops.
class WelcomeView : public QWidget {
    Q_OBJECT
public:
    static constexpr int minimumWidth = 680;
    static constexpr int minimumHeight = 520;
    static constexpr int maximumColumnWidth = 640;

    explicit WelcomeView(RecentFilesStore& store, QWidget* parent = nullptr);

    WelcomeButton* newButton() const { return m_new; }
    WelcomeButton* openButton() const { return m_open; }
    DropZoneView* dropZone() const { return m_dropZone; }
    RecentFilesSection* recentSection() const { return m_recent; }
    QWidget* contentColumn() const { return m_column; }

Q_SIGNALS:
    void newDocumentRequested();
    void openDocumentRequested();
    // The dropped local files, in drop order (possibly none).
    void filesDropped(const QList<QUrl>& files);
    void recentFileChosen(const QUrl& url);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* buildHeader();
    QWidget* buildActionButtons();

    WelcomeButton* m_new = nullptr;
    WelcomeButton* m_open = nullptr;
    DropZoneView* m_dropZone = nullptr;
    RecentFilesSection* m_recent = nullptr;
    QWidget* m_column = nullptr;
};

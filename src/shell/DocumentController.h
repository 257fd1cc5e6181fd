#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class MarkdownDocument;
class QMainWindow;
class QWidget;

// Owns every open document and its window: one window per file (by canonical
// path, or by device and inode for another hard link's name), new, open, save, save as, duplicate,
// the modified flag in the title, and Save / Don't Save / Cancel before a modified document goes
// away.
class DocumentController : public QObject {
    Q_OBJECT
public:
    // Builds the window of one document; the controller shows it, titles it
    // and decides whether it may close.
    using WindowFactory = std::function<QMainWindow*(MarkdownDocument&, DocumentController&)>;

    enum class OpenResult { Opened, Raised, NotOpened };

    static DocumentController& shared();

    explicit DocumentController(QObject* parent = nullptr);
    ~DocumentController() override;

    void setWindowFactory(WindowFactory factory) { m_factory = std::move(factory); }

    // A new untitled document ("Untitled", "Untitled 2", ...) in a new window.
    MarkdownDocument* newDocument();
    // Opens a file, or raises its window when it is already open. A failure
    // is alerted; text that is not UTF-8 is offered a Markdown copy instead.
    // A complete copy that a killed save of it left is offered too.
    OpenResult open(const QString& path);
    // The open dialog; each chosen file as by open().
    void openWithDialog(QWidget* parent);

    // False when the save failed (alerted) or a name was not given.
    bool save(MarkdownDocument* document);
    bool saveAs(MarkdownDocument* document);
    // An untitled copy of the document's current text in a new window.
    MarkdownDocument* duplicate(MarkdownDocument* document);
    // Closes the window, asking first when the document has unsaved changes.
    bool close(MarkdownDocument* document);

    // Asks about every modified document in turn; false as soon as one is
    // cancelled or fails to save. Nothing is closed.
    bool reviewUnsavedDocuments();
    // Quit: reviews, then closes every document and emits quitConfirmed().
    // afterClosing runs once every window is closed, right before the quit,
    // and never when the user cancelled.
    bool quit(const std::function<void()>& afterClosing = {});
    bool isQuitting() const { return m_quitting; }

    int documentCount() const { return static_cast<int>(m_entries.size()); }
    QList<MarkdownDocument*> documents() const;
    QMainWindow* windowFor(const MarkdownDocument* document) const;
    MarkdownDocument* documentFor(const QWidget* window) const;
    // What the title shows: the file name, "Untitled N" or "NAME copy".
    QString displayName(const MarkdownDocument* document) const;

    // "notes" becomes "notes.md"; a name with an extension stays.
    static QString withDefaultExtension(const QString& path);
    // The path that identifies a file whatever way it was named.
    static QString canonicalPath(const QString& path);

Q_SIGNALS:
    // A document window has closed; its document is gone.
    void documentWindowClosed();
    // A document window opened, closed or changed its title.
    void windowListChanged();
    void quitConfirmed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The document is a child of its window: both go together.
    struct Entry {
        MarkdownDocument* document = nullptr;
        QMainWindow* window = nullptr;
        QString canonicalPath;
        int untitledNumber = 0; // 1 for "Untitled", n for "Untitled n"
        QString copyOf;         // the display name a duplicate was made from
        bool closeConfirmed = false;
        int questions = 0; // about it, open now in nested loops
    };

    Entry* entryFor(const MarkdownDocument* document) const;
    Entry* entryForWindow(const QObject* window) const;
    Entry* entryForPath(const QString& canonical) const;
    // Every document, each followed so that one gone reads as null.
    QList<QPointer<MarkdownDocument>> trackedDocuments() const;
    // A question about the document is open: the controller's, or its window's
    // question about a change on disk.
    bool isAsking(const Entry& entry) const;
    // Runs a question (a nested loop) about an open document, which counts as
    // asked about meanwhile. False when the document was closed meanwhile.
    bool ask(MarkdownDocument* document, const std::function<void()>& question);
    MarkdownDocument* present(std::unique_ptr<MarkdownDocument> document,
                              std::unique_ptr<Entry> entry);
    // Tidies what killed saves of the file left and offers to open a copy
    // holding text the file lacks.
    void offerSaveCopies(const QString& path, QWidget* window);
    int nextUntitledNumber() const;
    void updateTitle(const Entry& entry);
    bool confirmClose(MarkdownDocument* document);
    bool writeTo(MarkdownDocument* document, const QString& path);
    QString proposedSavePath(const Entry& entry) const;
    void remove(const QObject* window);

    // Entries keep their address while dialogs run nested event loops.
    std::vector<std::unique_ptr<Entry>> m_entries;
    WindowFactory m_factory;
    QString m_lastFolder;
    bool m_quitting = false;
};

#include "shell/OutsideChangeWatch.h"

#include "core/DocumentFile.h"
#include "core/MarkdownDocument.h"
#include "platform/GuardedRead.h"
#include "shell/WorkspaceAlerts.h"

OutsideChangeWatch::OutsideChangeWatch(MarkdownDocument& document, WorkspaceAlerts& alerts,
                                       QWidget* window, QObject* parent)
    : QObject(parent), m_document(&document), m_alerts(alerts), m_window(window) {
    document.onChangedOnDisk = [this](DocumentFileError& error) {
        const QUrl url = m_document->fileUrl();
        return url.isLocalFile() && settle(url.toLocalFile(), Occasion::Save, &error);
    };
}

OutsideChangeWatch::~OutsideChangeWatch() {
    if (m_document)
        m_document->onChangedOnDisk = nullptr;
}

void OutsideChangeWatch::start(const QUrl& url) {
    stop();
    m_url = url;
    if (!url.isLocalFile())
        return;
    m_monitor.onPotentialChange = [this] { check(); };
    m_monitor.start(url);
}

void OutsideChangeWatch::stop() {
    m_monitor.stop();
    m_monitor.onPotentialChange = nullptr;
}

void OutsideChangeWatch::check() {
    if (m_url.isLocalFile())
        settle(m_url.toLocalFile(), Occasion::FileEvent);
}

bool OutsideChangeWatch::settle(const QString& path, Occasion occasion, DocumentFileError* error) {
    // One prompt at a time: changes while it is open are judged by its answer
    // (a save meanwhile fails, saying another program changed the file).
    if (!m_document || m_asking)
        return false;
    GuardedRead::Result read = GuardedRead::read(path, DocumentFile::largestTextFile);
    if (read.outcome == GuardedRead::Outcome::Missing) {
        // Deleted or moved away, and not back after the monitor's pause.
        m_document->setOnlyInMemory(true);
        return true;
    }
    if (read.outcome == GuardedRead::Outcome::Failed && occasion == Occasion::FileEvent)
        return false; // nothing to put to the user
    // A folder, device, FIFO, a file too large or one that cannot be read
    // (which a save found changed) is never read.
    const std::optional<QByteArray> bytes =
        read.ok() ? std::optional<QByteArray>(std::move(read.bytes)) : std::nullopt;
    if (bytes == m_document->savedBytes()) {
        m_document->setOnlyInMemory(false);
        return true;
    }
    const auto contents = bytes ? DocumentFile::decode(*bytes) : std::nullopt;
    if (contents && contents->text == m_document->text()) {
        m_document->reload(*contents);
        return true;
    }
    if (contents && contents->text == m_document->savedText()) {
        m_document->adoptSavedContents(*contents);
        return true;
    }
    if (!contents && occasion == Occasion::FileEvent) {
        // Nothing quon could show, but the document's text is no longer there.
        m_document->setOnlyInMemory(true);
        return false;
    }
    m_asking = true;
    const QPointer<OutsideChangeWatch> alive(this);
    const auto choice = m_alerts.askAboutOutsideChange(m_window, occasion == Occasion::Save);
    if (!alive)
        return false;
    m_asking = false;
    // The window may have gone while the question was open; a question that
    // went away unanswered decides nothing.
    if (!m_document || choice == WorkspaceAlerts::OutsideChangeChoice::Unanswered)
        return false;
    if (choice == WorkspaceAlerts::OutsideChangeChoice::Cancel) {
        // The save is called off: nothing to alert, the text stays as it is.
        if (error)
            error->declined = true;
        return false;
    }
    if (choice == WorkspaceAlerts::OutsideChangeChoice::Reload) {
        if (error)
            error->declined = true;
        reload();
        return false;
    }
    // The file as it is now is what a save would overwrite: the kept text
    // is modified exactly when it differs from it, so closing still asks.
    if (contents)
        m_document->adoptSavedContents(*contents);
    else
        m_document->keepOverUnreadableFile(bytes);
    return true;
}

void OutsideChangeWatch::reload() {
    if (!m_document || !m_url.isLocalFile())
        return;
    DocumentFileError error;
    const auto contents = DocumentFile::read(m_url.toLocalFile(), &error);
    if (!contents) {
        m_alerts.reloadFailed(m_window, error.message());
        return;
    }
    m_document->reload(*contents);
}

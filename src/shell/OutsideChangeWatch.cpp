#include "shell/OutsideChangeWatch.h"

#include "core/DocumentFile.h"
#include "core/MarkdownDocument.h"
#include "shell/WorkspaceAlerts.h"

OutsideChangeWatch::OutsideChangeWatch(MarkdownDocument& document, WorkspaceAlerts& alerts,
                                       QWidget* window, QObject* parent)
    : QObject(parent), m_document(&document), m_alerts(alerts), m_window(window) {
    applyText = [this](const QString& text) {
        if (m_document)
            m_document->setText(text);
    };
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
    // One prompt at a time: changes while it is open are judged by its answer.
    if (!m_document || m_asking || !m_url.isLocalFile())
        return;
    // Unreadable, gone or not UTF-8: nothing to offer.
    const auto contents = DocumentFile::read(m_url.toLocalFile(), nullptr);
    if (!contents)
        return;
    if (contents->text == m_document->text() || contents->text == m_document->savedText())
        return;
    m_asking = true;
    const QPointer<OutsideChangeWatch> alive(this);
    const auto choice = m_alerts.askAboutOutsideChange(m_window);
    // The window may have gone while the question was open.
    if (!alive)
        return;
    m_asking = false;
    if (choice == WorkspaceAlerts::OutsideChangeChoice::Reload)
        reload();
    else
        keepMyVersion();
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
    // The file becomes the saved state first, so the reloaded text counts as
    // unmodified once it is in.
    m_document->adoptSavedContents(*contents);
    applyText(contents->text);
    Q_EMIT savedStateChanged();
}

void OutsideChangeWatch::keepMyVersion() {
    if (!m_document || !m_url.isLocalFile())
        return;
    // The file as it is now is what a save would overwrite: the kept text is
    // modified exactly when it differs from it, so closing still asks.
    if (const auto contents = DocumentFile::read(m_url.toLocalFile(), nullptr)) {
        m_document->adoptSavedContents(*contents);
        Q_EMIT savedStateChanged();
    }
}

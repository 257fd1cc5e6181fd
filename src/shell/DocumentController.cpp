#include "shell/DocumentController.h"

#include "core/FileIdentity.h"
#include "core/L10n.h"
#include "core/MarkdownDocument.h"
#include "core/RecentFilesStore.h"
#include "core/SaveCopies.h"
#include "core/SystemPath.h"
#include "platform/FreedMemory.h"
#include "shell/DocumentDialogs.h"
#include "shell/DocumentOpener.h"
#include "shell/OutsideChangeWatch.h"
#include "shell/WindowFront.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMainWindow>
#include <QPointer>
#include <algorithm>

DocumentController& DocumentController::shared() {
    static DocumentController* instance = new DocumentController();
    return *instance;
}

DocumentController::DocumentController(QObject* parent) : QObject(parent) {}

DocumentController::~DocumentController() {
    for (const auto& entry : m_entries) {
        entry->window->removeEventFilter(this);
        entry->window->disconnect(this);
    }
}

QString DocumentController::withDefaultExtension(const QString& path) {
    if (QFileInfo(path).fileName().endsWith(QLatin1Char('.')))
        return path + QStringLiteral("md");
    if (QFileInfo(path).suffix().isEmpty())
        return path + QStringLiteral(".md");
    return path;
}

QString DocumentController::canonicalPath(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

QList<MarkdownDocument*> DocumentController::documents() const {
    QList<MarkdownDocument*> list;
    for (const auto& entry : m_entries)
        list.append(entry->document);
    return list;
}

QList<QPointer<MarkdownDocument>> DocumentController::trackedDocuments() const {
    QList<QPointer<MarkdownDocument>> list;
    for (const auto& entry : m_entries)
        list.append(entry->document);
    return list;
}

QMainWindow* DocumentController::windowFor(const MarkdownDocument* document) const {
    const Entry* entry = entryFor(document);
    return entry ? entry->window : nullptr;
}

MarkdownDocument* DocumentController::documentFor(const QWidget* window) const {
    const Entry* entry = entryForWindow(window);
    return entry ? entry->document : nullptr;
}

DocumentController::Entry* DocumentController::entryFor(const MarkdownDocument* document) const {
    for (const auto& entry : m_entries)
        if (entry->document == document)
            return entry.get();
    return nullptr;
}

DocumentController::Entry* DocumentController::entryForWindow(const QObject* window) const {
    for (const auto& entry : m_entries)
        if (entry->window == window)
            return entry.get();
    return nullptr;
}

DocumentController::Entry* DocumentController::entryForPath(const QString& canonical) const {
    // Another hard link's name is the same file: asked of the disk now, as a
    // save by rename (quon's or another program's) makes a new file.
    const std::optional<FileIdentity> identity = FileIdentity::of(canonical);
    for (const auto& entry : m_entries) {
        if (entry->canonicalPath.isEmpty())
            continue;
        if (entry->canonicalPath == canonical ||
            (identity && FileIdentity::of(entry->canonicalPath) == identity))
            return entry.get();
    }
    return nullptr;
}

QString DocumentController::displayName(const MarkdownDocument* document) const {
    const Entry* entry = entryFor(document);
    if (!entry)
        return {};
    const QUrl url = document->fileUrl();
    if (url.isLocalFile())
        return QFileInfo(url.toLocalFile()).fileName();
    if (!entry->copyOf.isEmpty())
        return L10n::tr("%1 copy").arg(entry->copyOf);
    if (entry->untitledNumber <= 1)
        return L10n::tr("Untitled");
    return L10n::tr("Untitled %1").arg(entry->untitledNumber);
}

int DocumentController::nextUntitledNumber() const {
    int number = 1;
    for (;;) {
        const bool taken = std::any_of(m_entries.begin(), m_entries.end(), [&](const auto& e) {
            return e->untitledNumber == number && !e->document->fileUrl().isLocalFile();
        });
        if (!taken)
            return number;
        ++number;
    }
}

MarkdownDocument* DocumentController::newDocument() {
    auto entry = std::make_unique<Entry>();
    entry->untitledNumber = nextUntitledNumber();
    return present(std::make_unique<MarkdownDocument>(), std::move(entry));
}

DocumentController::OpenResult DocumentController::open(const QString& path) {
    const QString absolute = SystemPath::resolved(path);
    const QString canonical = canonicalPath(absolute);
    if (Entry* entry = entryForPath(canonical)) {
        // Chosen again, from a menu or another launch: it is the newest again.
        RecentFilesStore::shared().record(entry->document->fileUrl());
        WindowFront::bring(entry->window);
        return OpenResult::Raised;
    }
    DocumentFileError error;
    auto document = MarkdownDocument::open(absolute, &error);
    if (!document) {
        // Text that is not UTF-8 never opens as an empty document a save would
        // write over; a Markdown copy in UTF-8 is offered instead.
        if (error.kind == DocumentFileError::Kind::NotUtf8)
            DocumentOpener::offerConversion(absolute);
        else
            DocumentDialogs::shared().showAlert(nullptr, L10n::tr("Could Not Open File"),
                                                error.message());
        offerSaveCopies(canonical, nullptr);
        return OpenResult::NotOpened;
    }
    m_lastFolder = QFileInfo(absolute).absolutePath();
    auto entry = std::make_unique<Entry>();
    entry->canonicalPath = canonical;
    offerSaveCopies(canonical, windowFor(present(std::move(document), std::move(entry))));
    return OpenResult::Opened;
}

namespace {

// When a text was last written and how long it is, so that the user can
// tell which of two is newer.
QString writtenAndSize(const QFileInfo& file) {
    const QLocale locale;
    const QString time = locale.toString(
        file.lastModified(), locale.dateFormat(QLocale::ShortFormat) + QStringLiteral(" HH:mm:ss"));
    return L10n::tr("written %1, %2")
        .arg(time, L10n::plural("%n byte", "%n bytes", int(file.size())));
}

} // namespace

void DocumentController::offerSaveCopies(const QString& path, QWidget* window) {
    // The window may close while a question is up.
    const QPointer<QWidget> parent = window;
    for (const QString& copy : SaveCopies::leftOver(path)) {
        const QFileInfo file(path);
        QString details =
            L10n::tr("The text it was saving is in “%1”, which differs from the file.").arg(copy) +
            QLatin1Char(' ') + L10n::tr("The copy: %1.").arg(writtenAndSize(QFileInfo(copy)));
        if (file.isFile())
            details += QLatin1Char(' ') + L10n::tr("The file: %1.").arg(writtenAndSize(file));
        const bool openCopy = DocumentDialogs::shared().confirm(
            parent, L10n::tr("A save of “%1” didn’t finish.").arg(file.fileName()), details,
            L10n::tr("Open Copy"));
        if (!openCopy)
            continue;
        // The copy may lie in quon's state folder: dialogs keep starting in
        // the folder the user works in.
        const QString lastFolder = m_lastFolder;
        open(copy);
        m_lastFolder = lastFolder;
    }
}

void DocumentController::openWithDialog(QWidget* parent) {
    const QString folder = m_lastFolder.isEmpty() ? QDir::homePath() : m_lastFolder;
    const QStringList paths = DocumentDialogs::shared().askOpenPaths(parent, folder);
    for (const QString& path : paths)
        open(path);
}

MarkdownDocument* DocumentController::present(std::unique_ptr<MarkdownDocument> document,
                                              std::unique_ptr<Entry> entry) {
    Q_ASSERT(m_factory);
    if (!m_factory)
        return nullptr;
    QMainWindow* window = m_factory(*document, *this);
    if (!window)
        return nullptr;
    MarkdownDocument* raw = document.release();
    raw->setParent(window);
    entry->document = raw;
    entry->window = window;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->installEventFilter(this);
    connect(window, &QObject::destroyed, this, [this, window] {
        remove(window);
        // The window's document, editor and preview are gone.
        FreedMemory::giveBackSoon();
    });
    connect(raw, &MarkdownDocument::modifiedChanged, window, &QWidget::setWindowModified);
    m_entries.push_back(std::move(entry));
    updateTitle(*m_entries.back());
    window->show();
    window->raise();
    window->activateWindow();
    return raw;
}

void DocumentController::updateTitle(const Entry& entry) {
    entry.window->setWindowTitle(displayName(entry.document) + QStringLiteral("[*]"));
    entry.window->setWindowModified(entry.document->isModified());
    Q_EMIT windowListChanged();
}

QString DocumentController::proposedSavePath(const Entry& entry) const {
    const QUrl url = entry.document->fileUrl();
    if (url.isLocalFile())
        return url.toLocalFile();
    const QString folder = m_lastFolder.isEmpty() ? QDir::homePath() : m_lastFolder;
    return QDir(folder).filePath(displayName(entry.document) + QStringLiteral(".md"));
}

bool DocumentController::isAsking(const Entry& entry) const {
    if (entry.questions > 0)
        return true;
    const auto* watch =
        entry.window->findChild<OutsideChangeWatch*>(QString(), Qt::FindDirectChildrenOnly);
    return watch && watch->isAsking();
}

bool DocumentController::ask(MarkdownDocument* document, const std::function<void()>& question) {
    const QPointer<MarkdownDocument> alive(document);
    ++entryFor(document)->questions;
    question();
    // Never the record held across the loop: it is looked up again.
    Entry* entry = alive ? entryFor(alive) : nullptr;
    if (entry)
        --entry->questions;
    return entry != nullptr;
}

bool DocumentController::writeTo(MarkdownDocument* document, const QString& path) {
    DocumentFileError error;
    bool saved = false;
    // The save may first ask about a change another program made; a failure
    // is alerted unless the user chose not to write over it.
    if (!ask(document, [&] { saved = document->save(path, &error); }))
        return false;
    QMainWindow* window = entryFor(document)->window;
    if (!saved) {
        if (!error.declined)
            DocumentDialogs::shared().showAlert(window, L10n::tr("Could Not Save File"),
                                                error.message());
        return false;
    }
    window->setWindowModified(false);
    return true;
}

bool DocumentController::save(MarkdownDocument* document) {
    if (!entryFor(document))
        return false;
    const QUrl url = document->fileUrl();
    if (!url.isLocalFile())
        return saveAs(document);
    return writeTo(document, url.toLocalFile());
}

bool DocumentController::saveAs(MarkdownDocument* document) {
    const Entry* asked = entryFor(document);
    if (!asked)
        return false;
    QMainWindow* window = asked->window;
    const QString proposed = proposedSavePath(*asked);
    QString chosen;
    if (!ask(document, [&] { chosen = DocumentDialogs::shared().askSavePath(window, proposed); }) ||
        chosen.isEmpty())
        return false;
    const QString path =
        withDefaultExtension(QDir::cleanPath(QFileInfo(chosen).absoluteFilePath()));
    const Entry* other = entryForPath(canonicalPath(path));
    if (other && other->document != document) {
        // Two windows over one file would overwrite each other's text.
        DocumentDialogs::shared().showAlert(
            window, L10n::tr("Could Not Save File"),
            L10n::tr("“%1” is open in another window.").arg(QFileInfo(path).fileName()));
        return false;
    }
    if (!writeTo(document, path))
        return false;
    Entry* entry = entryFor(document);
    document->setFileUrl(QUrl::fromLocalFile(path));
    entry->canonicalPath = canonicalPath(path);
    entry->untitledNumber = 0;
    entry->copyOf.clear();
    m_lastFolder = QFileInfo(path).absolutePath();
    updateTitle(*entry);
    return true;
}

MarkdownDocument* DocumentController::duplicate(MarkdownDocument* document) {
    const Entry* source = entryFor(document);
    if (!source)
        return nullptr;
    const QString name = displayName(document);
    DocumentFileContents contents;
    contents.lineEnding = document->lineEnding();
    contents.hasBom = document->hasBom();
    // Saved state empty: the copy's text is on no disk, so closing it asks.
    auto copy = std::make_unique<MarkdownDocument>(contents);
    copy->setText(document->text());
    auto entry = std::make_unique<Entry>();
    entry->copyOf = document->fileUrl().isLocalFile() ? QFileInfo(name).completeBaseName() : name;
    return present(std::move(copy), std::move(entry));
}

bool DocumentController::close(MarkdownDocument* document) {
    const Entry* entry = entryFor(document);
    return entry && entry->window->close();
}

bool DocumentController::confirmClose(MarkdownDocument* document) {
    if (!document->isModified())
        return true;
    QMainWindow* window = entryFor(document)->window;
    WindowFront::bring(window);
    const QString name = displayName(document);
    SaveChangesChoice choice = SaveChangesChoice::Cancel;
    // Another question's answer (Reload) may leave nothing to save while
    // this one is up: it goes, rather than warn of changes that are gone.
    bool settled = false;
    const QMetaObject::Connection watch =
        connect(document, &MarkdownDocument::modifiedChanged, this, [&settled, window](bool now) {
            if (now)
                return;
            settled = true;
            DocumentDialogs::shared().withdrawSaveChanges(window);
        });
    const bool answered =
        ask(document, [&] { choice = DocumentDialogs::shared().askSaveChanges(window, name); });
    disconnect(watch);
    if (!answered)
        return false;
    if (settled && !document->isModified())
        return true;
    switch (choice) {
    case SaveChangesChoice::Save:
        return save(document);
    case SaveChangesChoice::DontSave:
        return true;
    case SaveChangesChoice::Cancel:
        return false;
    }
    return false;
}

bool DocumentController::reviewUnsavedDocuments() {
    // A question about a document is open: its answer comes first, and
    // closing its window now would end the question under the user.
    for (const auto& entry : m_entries) {
        if (isAsking(*entry)) {
            WindowFront::bring(entry->window);
            return false;
        }
    }
    for (const QPointer<MarkdownDocument>& document : trackedDocuments()) {
        const Entry* entry = document ? entryFor(document) : nullptr;
        if (entry && document->isModified() && !confirmClose(document))
            return false;
    }
    return true;
}

bool DocumentController::quit(const std::function<void()>& afterClosing) {
    if (m_quitting)
        return true;
    if (!reviewUnsavedDocuments())
        return false;
    m_quitting = true;
    for (const QPointer<MarkdownDocument>& document : trackedDocuments()) {
        if (Entry* entry = document ? entryFor(document) : nullptr) {
            entry->closeConfirmed = true;
            entry->window->close();
        }
    }
    if (afterClosing)
        afterClosing();
    Q_EMIT quitConfirmed();
    return true;
}

bool DocumentController::eventFilter(QObject* watched, QEvent* event) {
    Entry* entry = entryForWindow(watched);
    if (!entry)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::LanguageChange) {
        updateTitle(*entry);
    } else if (event->type() == QEvent::Close) {
        if (isAsking(*entry) || (!entry->closeConfirmed && !confirmClose(entry->document))) {
            event->ignore();
            return true;
        }
        remove(watched);
    }
    return QObject::eventFilter(watched, event);
}

void DocumentController::remove(const QObject* window) {
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [window](const auto& e) { return e->window == window; });
    if (it == m_entries.end())
        return;
    (*it)->window->removeEventFilter(this);
    m_entries.erase(it);
    Q_EMIT windowListChanged();
    Q_EMIT documentWindowClosed();
}

#include "shell/FinderNewFileService.h"

#include "core/FreeFileName.h"
#include "core/L10n.h"
#include "core/MarkdownFileTypes.h"
#include "core/Preferences.h"
#include "platform/FileManager.h"
#include "platform/ModalDialog.h"
#include "shell/AppNotifications.h"
#include "shell/DocumentDialogs.h"
#include "shell/DocumentOpener.h"
#include "shell/NewFileDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>
#include <QUrl>
#include <QUrlQuery>
#include <optional>

namespace {

FinderNewFileService::Answer askWithDialog(const QString& folderName, bool markdown, bool open) {
    auto* dialog = new NewFileDialog(folderName, markdown, open, QApplication::activeWindow());
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return ModalDialog::exec(dialog,
                             [](NewFileDialog& d) {
                                 return FinderNewFileService::Answer{
                                     d.result() == QDialog::Accepted, d.nameField()->text(),
                                     d.openCheckBox()->isChecked()};
                             })
        .value_or(FinderNewFileService::Answer{});
}

FinderNewFileService::Prompt& prompt() {
    static FinderNewFileService::Prompt current = askWithDialog;
    return current;
}

QString folderName(const QString& folder) {
    const QString name = QFileInfo(folder).fileName();
    return name.isEmpty() ? folder : name;
}

void showError(const QString& message) {
    DocumentDialogs::shared().showAlert(QApplication::activeWindow(),
                                        L10n::tr("Could Not Create File"), message);
}

// Creates the empty file under the first free name.
std::optional<QString> createUnique(const QString& folder, const QString& name) {
    QFile file;
    return FreeFileName::create(
        [&](int n) { return FinderNewFileService::candidatePath(folder, name, n); }, file);
}

// Calls ended unless the new file opened in a document window of its own;
// once the file manager has been asked to show it, when it was not opened.
void createFile(const QString& typed, const QString& folder, bool markdown, bool open,
                const std::function<void()>& ended) {
    const std::optional<QString> name = FinderNewFileService::fileNameFor(typed, markdown);
    if (!name) {
        showError(L10n::tr("Enter a valid file name."));
        ended();
        return;
    }
    const std::optional<QString> path = createUnique(folder, *name);
    if (!path) {
        showError(L10n::tr("The file could not be created in \"%1\".").arg(folderName(folder)));
        ended();
        return;
    }
    if (!open) {
        // Quitting before the file manager answered would lose the fallback.
        FileManager::showItem(*path, [ended](bool) { ended(); });
    } else if (DocumentOpener::isMarkdownFile(*path)) {
        if (!DocumentOpener::open(*path))
            ended();
    } else {
        QDesktopServices::openUrl(QUrl::fromLocalFile(*path));
        ended();
    }
}

void promptAndCreate(const QString& folder, bool markdown, const std::function<void()>& ended) {
    Preferences& prefs = Preferences::shared();
    const FinderNewFileService::Answer answer =
        prompt()(folderName(folder), markdown, prefs.openCreatedMarkdownFiles());
    prefs.setBoolean(PreferenceKeys::openCreatedMarkdownFiles, answer.open);
    // A home window brought up while the question was open goes too; the
    // request's end decides what shows next.
    AppNotifications::postDismissWelcomeWindow();
    if (answer.create)
        createFile(answer.name, folder, markdown, answer.open, ended);
    else
        ended();
}

} // namespace

FinderNewFileService::Request FinderNewFileService::request(const QString& rawUrl) {
    const QUrlQuery query(QUrl(rawUrl, QUrl::TolerantMode));
    return {query.queryItemValue(QStringLiteral("dir"), QUrl::FullyDecoded),
            query.hasQueryItem(QStringLiteral("md")) &&
                query.queryItemValue(QStringLiteral("md")) == QLatin1String("1")};
}

std::optional<QString> FinderNewFileService::fileNameFor(const QString& typed, bool markdown) {
    const QString name = typed.trimmed();
    // A NUL would end the name the file system sees.
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QChar()) ||
        name.startsWith(QLatin1Char('.')))
        return std::nullopt;
    if (markdown && !MarkdownFileTypes::hasMarkdownExtension(name))
        return name + QStringLiteral(".md");
    return name;
}

QString FinderNewFileService::candidatePath(const QString& folder, const QString& name, int n) {
    // Not QDir::filePath: it takes a name starting with ":" for a path of its own.
    const auto inFolder = [&folder](const QString& fileName) {
        return QDir::cleanPath(folder + QLatin1Char('/') + fileName);
    };
    if (n == 1)
        return inFolder(name);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const bool hasExtension = dot > 0 && dot < name.size() - 1;
    const QString base = hasExtension ? name.left(dot) : name;
    const QString extension = hasExtension ? name.mid(dot) : QString();
    return inFolder(base + QLatin1Char(' ') + QString::number(n) + extension);
}

void FinderNewFileService::handle(const QString& rawUrl, std::function<void()> ended) {
    const Request asked = request(rawUrl);
    const QString& dir = asked.dir;
    const bool markdown = asked.markdown;
    if (dir.isEmpty() || !QDir::isAbsolutePath(dir))
        return;
    // The folder as the kernel resolves it ("link/.." is the link target's
    // parent, not the link's), checked and written to under that one path.
    const QString folder = QFileInfo(dir).canonicalFilePath();
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return;
    // The welcome window goes only as the question comes: with nothing on
    // screen in between, quon would count as idle and quit.
    QTimer::singleShot(0, qApp, [folder, markdown, ended = std::move(ended)] {
        AppNotifications::postDismissWelcomeWindow();
        promptAndCreate(folder, markdown, [ended] {
            if (ended)
                ended();
        });
    });
}

void FinderNewFileService::setPrompt(Prompt newPrompt) {
    prompt() = newPrompt ? std::move(newPrompt) : Prompt(askWithDialog);
}

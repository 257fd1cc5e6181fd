#include "shell/DocumentOpener.h"

#include "core/DocumentFile.h"
#include "core/FreeFileName.h"
#include "core/L10n.h"
#include "core/MarkdownFileTypes.h"
#include "core/RecentFilesStore.h"
#include "core/SystemPath.h"
#include "platform/GuardedRead.h"
#include "shell/AppNotifications.h"
#include "shell/DocumentController.h"
#include "shell/DocumentDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The copy's name for a source file: n = 1 is "base.md", then "base n.md".
QString candidatePath(const QString& sourcePath, int n) {
    const QFileInfo info(sourcePath);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot > 0 ? name.left(dot) : name;
    const QString file = n == 1
                             ? base + QStringLiteral(".md")
                             : base + QLatin1Char(' ') + QString::number(n) + QStringLiteral(".md");
    return QDir(info.absolutePath()).filePath(file);
}

void showConversionError(const QString& message) {
    DocumentDialogs::shared().showAlert(QApplication::activeWindow(),
                                        L10n::tr("Could Not Convert File"), message);
}

// Reads, converts, writes the copy and opens it; failures are alerted.
bool convertText(const QString& path, const std::optional<DocumentOpener::DecodedText>& read) {
    if (!read) {
        showConversionError(L10n::tr("The file could not be read as text."));
        return false;
    }
    QString text = read->text;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm"))
        text = DocumentOpener::htmlToMarkdown(text);
    QString error;
    const auto copy = DocumentOpener::writeMarkdownCopy(path, text, &error);
    if (!copy) {
        showConversionError(error);
        return false;
    }
    return DocumentOpener::open(*copy);
}

void replaceAll(QString& text, const QString& pattern, const QString& replacement) {
    text.replace(QRegularExpression(pattern, QRegularExpression::CaseInsensitiveOption),
                 replacement);
}

} // namespace

void DocumentOpener::open(const QStringList& paths) {
    for (const QString& typed : paths) {
        // A copy goes beside the file the system reads, not beside a link.
        const QString path = SystemPath::resolved(typed);
        // A folder, device or FIFO is no text whatever its name: opening it
        // says so, with nothing to convert.
        const QFileInfo info(path);
        if (isMarkdownFile(path) || (info.exists() && !info.isFile()))
            open(path);
        else
            offerConversion(path);
    }
}

bool DocumentOpener::open(const QString& path) {
    const auto result = DocumentController::shared().open(path);
    // A file that did not open is neither recent nor a reason to leave home.
    if (result == DocumentController::OpenResult::NotOpened)
        return false;
    AppNotifications::postDismissWelcomeWindow();
    RecentFilesStore::shared().record(QUrl::fromLocalFile(SystemPath::resolved(path)));
    return true;
}

bool DocumentOpener::isMarkdownFile(const QString& path) {
    return MarkdownFileTypes::isMarkdownOrPlainText(path);
}

void DocumentOpener::offerConversion(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    // A Markdown or text file lands here only when its bytes are not UTF-8.
    const QString text = isMarkdownFile(path)
                             ? L10n::tr("\"%1\" is not valid UTF-8 text.").arg(name)
                             : L10n::tr("\"%1\" is not a Markdown file.").arg(name);
    // Read before asking, so the question can say what the copy will lack.
    const std::optional<DecodedText> read = readAsText(path);
    QString details =
        L10n::tr("quon can create a Markdown copy next to the original file and open it.");
    if (read && read->hasUnreadableBytes)
        details += QLatin1Char(' ') +
                   L10n::tr("Some bytes could not be read; the copy shows them as “�”.");
    const bool convert = DocumentDialogs::shared().confirm(
        QApplication::activeWindow(), text, details, L10n::tr("Convert to Markdown"));
    if (convert)
        convertText(path, read);
}

bool DocumentOpener::convertToMarkdown(const QString& path) {
    return convertText(path, readAsText(path));
}

std::optional<DocumentOpener::DecodedText> DocumentOpener::readAsText(const QString& path) {
    // Only a regular file ends: a device such as /dev/zero never does, and a
    // pipe blocks the open until something writes to it.
    const GuardedRead::Result read = GuardedRead::read(path, DocumentFile::largestTextFile);
    if (!read.ok())
        return std::nullopt;
    return decodeText(read.bytes);
}

DocumentOpener::DecodedText DocumentOpener::decodeText(const QByteArray& bytes) {
    return TextEncodingGuess::decode(bytes);
}

QString DocumentOpener::htmlToMarkdown(const QString& html) {
    QString text = html;
    for (const char* element : {"script", "style"}) {
        const QString name = QLatin1String(element);
        replaceAll(text,
                   QLatin1Char('<') + name + QStringLiteral("[^>]*>[\\s\\S]*?</") + name +
                       QLatin1Char('>'),
                   QString());
    }
    for (int level = 1; level <= 6; ++level)
        replaceAll(text, QStringLiteral("<h%1[^>]*>").arg(level),
                   QStringLiteral("\n\n") + QString(level, QLatin1Char('#')) + QLatin1Char(' '));
    replaceAll(text, QStringLiteral("</h[1-6]>"), QStringLiteral("\n\n"));
    // \b: <link> and <li> share a prefix, only the second is a list item.
    replaceAll(text, QStringLiteral("<li\\b[^>]*>"), QStringLiteral("\n- "));
    replaceAll(text, QStringLiteral("</p>"), QStringLiteral("\n\n"));
    replaceAll(text, QStringLiteral("<p[^>]*>"), QString());
    replaceAll(text, QStringLiteral("<br\\s*/?>"), QStringLiteral("\n"));
    replaceAll(text, QStringLiteral("<[^>]+>"), QString());
    text.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
    text.replace(QLatin1String("&lt;"), QLatin1String("<"));
    text.replace(QLatin1String("&gt;"), QLatin1String(">"));
    text.replace(QLatin1String("&quot;"), QLatin1String("\""));
    text.replace(QLatin1String("&#39;"), QLatin1String("'"));
    // Last, so "&amp;lt;" ends as the text "&lt;", not as "<".
    text.replace(QLatin1String("&amp;"), QLatin1String("&"));
    text.replace(QRegularExpression(QStringLiteral("\n{3,}")), QStringLiteral("\n\n"));
    return text.trimmed();
}

QString DocumentOpener::uniqueMarkdownPath(const QString& sourcePath) {
    int n = 1;
    while (FreeFileName::isTaken(candidatePath(sourcePath, n)))
        ++n;
    return candidatePath(sourcePath, n);
}

std::optional<QString> DocumentOpener::writeMarkdownCopy(const QString& sourcePath,
                                                         const QString& text,
                                                         QString* errorMessage) {
    // As a document saves it, so a leading U+FEFF reads back.
    const auto bytes = DocumentFile::encode(text, LineEnding::LF, false);
    if (!bytes) {
        if (errorMessage)
            *errorMessage = DocumentFileError{
                DocumentFileError::Kind::NotEncodable,
                uniqueMarkdownPath(sourcePath),
                {}}.message();
        return std::nullopt;
    }
    QFile file;
    const std::optional<QString> path =
        FreeFileName::create([&](int n) { return candidatePath(sourcePath, n); }, file);
    if (!path) {
        if (errorMessage)
            *errorMessage = DocumentFileError{DocumentFileError::Kind::WriteFailed, file.fileName(),
                                              file.errorString()}
                                .message();
        return std::nullopt;
    }
    if (file.write(*bytes) != bytes->size() || !file.flush()) {
        const QString reason = file.errorString();
        file.remove();
        if (errorMessage)
            *errorMessage =
                DocumentFileError{DocumentFileError::Kind::WriteFailed, *path, reason}.message();
        return std::nullopt;
    }
    file.close();
    return path;
}

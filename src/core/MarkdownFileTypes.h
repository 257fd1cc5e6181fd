#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// The Markdown content type and file name extensions.
namespace MarkdownFileTypes {

inline constexpr char markdownMimeType[] = "text/markdown";
inline constexpr char plainTextMimeType[] = "text/plain";

// "md", "markdown", "mdown", "mkd", always in this order.
const QStringList& extensions();
// "Markdown Documents (*.md *.markdown *.mdown *.mkd)": what file dialogs
// filter by. Not the MIME database's filter, which knows only the globs of the
// first folder that defines the type.
QString nameFilter();
// Compares the lower-cased extension of a file name or path.
bool hasMarkdownExtension(const QString& fileName);
// Markdown by extension or by content type (Markdown, or anything that is plain text).
bool isMarkdownOrPlainText(const QString& path);

} // namespace MarkdownFileTypes

// The folder of the open file, against which relative image paths resolve;
// empty for an untitled document.
QString documentDirectory(const QUrl& fileUrl);

// The file's name without its last extension ("archive.tar.md" gives
// "archive.tar"); a dot that starts the name is no extension (".notes.md"
// gives ".notes", ".profile" stays whole). Empty without a local file.
QString documentBaseName(const QUrl& fileUrl);

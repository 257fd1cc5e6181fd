#pragma once

#include "core/TextEncodingGuess.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Opens the files handed to quon's own interface: Markdown (and plain text)
// goes to the document controller and is recorded as recent; any other file
// is offered a conversion into a Markdown copy beside it.
namespace DocumentOpener {

// Each file in turn; a conversion question is answered before the next.
void open(const QStringList& paths);
// One file, without the Markdown test. True when its window is up.
bool open(const QString& path);

bool isMarkdownFile(const QString& path);
// Asks whether to make a Markdown copy and makes and opens it.
void offerConversion(const QString& path);
// Reads, converts, writes the copy and opens it; failures are alerted.
bool convertToMarkdown(const QString& path);

using DecodedText = TextEncodingGuess::DecodedText;
// The file's text as TextEncodingGuess reads it. No value when the file
// cannot be read at all.
std::optional<DecodedText> readAsText(const QString& path);
DecodedText decodeText(const QByteArray& bytes);
// A fixed series of replacements that keeps headings, list items,
// paragraphs and line breaks and drops every other tag.
QString htmlToMarkdown(const QString& html);
// "notes.html" gives "notes.md", else "notes 2.md", "notes 3.md", ...
QString uniqueMarkdownPath(const QString& sourcePath);
// Writes text as a new file under the first free name of that series, never
// over an existing file. The path written, or no value and a message.
std::optional<QString> writeMarkdownCopy(const QString& sourcePath, const QString& text,
                                         QString* errorMessage);

} // namespace DocumentOpener

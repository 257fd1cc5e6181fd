#pragma once

#include <QString>
#include <QUrl>
#include <optional>

// Where a Markdown image source points. The preview and the HTML export both
// ask here, so they always mean the same file.
namespace ImageURLResolver {

// documentDirectory is the folder of the open file, empty for an untitled
// document. Absent when the source names no existing local file and is not a
// web address. Only tests for existence: a folder counts, and nothing checks
// that the file is an image.
std::optional<QUrl> resolve(const QString& source, const QString& documentDirectory = {});

// http and https URLs, the only ones loaded from the network.
bool isWebUrl(const QUrl& url);

} // namespace ImageURLResolver

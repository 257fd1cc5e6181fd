#pragma once

#include <QList>
#include <QString>
#include <QUrl>

class QMimeData;

// Image files dropped on the editor become Markdown image references to the
// files where they lie: a path relative to the document's folder when the
// image is inside it, else absolute. Nothing is copied or moved.
namespace ImageDropSupport {

// An image by its extension (png jpg jpeg gif webp svg heic tif tiff bmp, in
// any case) or by its content type (by name, else by content). Folders are
// never images.
bool isImageFile(const QString& path);

// The local image files a drag carries, in its order. Anything but local
// file URLs is not read.
QList<QUrl> imageUrls(const QMimeData* data);
// The local image files among urls, in their order.
QList<QUrl> imageUrls(const QList<QUrl>& urls);

// The path a reference uses: relative with "/" separators when the image
// lies below documentDirectory, else the image's own absolute path. An empty
// documentDirectory (an untitled document) always gives the absolute path.
QString referencePath(const QUrl& image, const QString& documentDirectory);

// "![name](path)", name being the file name without its extension, with
// every character escaped that Markdown would read as markup, so the link
// reads back as an image of exactly this file. A path that a bare link would
// break (white space, < > [ ] \ &, unbalanced parentheses) is written
// "<path>"; one the image resolver would read otherwise (blanks at its ends,
// a relative path starting like a URL, line breaks) is percent-encoded.
QString reference(const QUrl& image, const QString& documentDirectory);

// One reference per image, each followed by a line break.
QString references(const QList<QUrl>& images, const QString& documentDirectory);

} // namespace ImageDropSupport

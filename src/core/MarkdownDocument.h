#pragma once

#include "core/DocumentFile.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <memory>

// The document of one window: the whole Markdown source as one string (LF
// line breaks) and the file it came from. Remembers the bytes last read or
// written so an unedited document saves back byte for byte.
class MarkdownDocument : public QObject {
    Q_OBJECT
public:
    // A new untitled document: empty or the welcome sample, by
    // "newDocumentStartsEmpty" read now.
    explicit MarkdownDocument(QObject* parent = nullptr);
    // A document over contents already read.
    explicit MarkdownDocument(const DocumentFileContents& contents, QObject* parent = nullptr);

    // Reads a file; a path that is not a regular file or bytes that are not
    // UTF-8 give no document and an error naming the file.
    static std::unique_ptr<MarkdownDocument> open(const QString& path, DocumentFileError* error);

    static QString welcomeSample();

    QString text() const { return m_text; }
    void setText(const QString& text);

    QUrl fileUrl() const { return m_fileUrl; }
    void setFileUrl(const QUrl& url);

    // Non-empty pieces of the text split at Unicode whitespace.
    int wordCount() const;
    static int wordCount(QStringView text);

    // Whether the text differs from what was last read or written.
    bool isModified() const { return m_text != m_savedText; }

    // The bytes a save writes: those last read or written when the text is
    // unchanged, else the text in the file's line-ending style and BOM.
    // No value when the text cannot be written as UTF-8.
    std::optional<QByteArray> fileBytes() const;

    // Writes atomically; on success the written bytes become the saved state.
    bool save(const QString& path, DocumentFileError* error);

    // Takes the file's contents as the saved state but keeps the text, so the
    // document counts as modified exactly when it differs from the file.
    void adoptSavedContents(const DocumentFileContents& contents);
    // The text last read or written.
    QString savedText() const { return m_savedText; }

    LineEnding lineEnding() const { return m_lineEnding; }
    bool hasBom() const { return m_hasBom; }

Q_SIGNALS:
    void textChanged();
    void fileUrlChanged();

private:
    QString m_text;
    QUrl m_fileUrl;
    QString m_savedText;
    QByteArray m_savedBytes;
    LineEnding m_lineEnding = LineEnding::LF;
    bool m_hasBom = false;
    bool m_hasSavedBytes = false;
};

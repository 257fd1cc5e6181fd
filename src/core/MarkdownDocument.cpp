#include "core/MarkdownDocument.h"

#include "core/Preferences.h"

#include <QChar>

MarkdownDocument::MarkdownDocument(QObject* parent) : QObject(parent) {
    m_text = Preferences::shared().newDocumentStartsEmpty() ? QString() : welcomeSample();
    // Unedited until the user types; there are no bytes on disk yet.
    m_savedText = m_text;
}

MarkdownDocument::MarkdownDocument(const DocumentFileContents& contents, QObject* parent)
    : QObject(parent), m_text(contents.text) {
    adoptSavedContents(contents);
}

std::unique_ptr<MarkdownDocument> MarkdownDocument::open(const QString& path,
                                                         DocumentFileError* error) {
    auto contents = DocumentFile::read(path, error);
    if (!contents)
        return nullptr;
    auto document = std::make_unique<MarkdownDocument>(*contents);
    document->setFileUrl(QUrl::fromLocalFile(path));
    return document;
}

QString MarkdownDocument::welcomeSample() {
    return QStringLiteral(
        "# Welcome to quon\n"
        "\n"
        "A **beautiful**, lightweight native Markdown reader & editor for Linux.\n"
        "\n"
        "## Features in preview\n"
        "- Clean typography and comfortable reading width\n"
        "- `inline code` looks great\n"
        "- Task lists:\n"
        "  - [ ] This is a task\n"
        "  - [x] Completed task\n"
        "- **Bold**, *italic*, ~~strikethrough~~ and [links](https://example.com)\n"
        "\n"
        "> Beautiful quotes with accent border.\n"
        "\n"
        "### Tables\n"
        "| Feature | Status |\n"
        "|---------|--------|\n"
        "| Preview | Beautiful |\n"
        "| Editor  | Pleasant |\n"
        "\n"
        "Start writing your own Markdown...");
}

void MarkdownDocument::setText(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    Q_EMIT textChanged();
}

void MarkdownDocument::setFileUrl(const QUrl& url) {
    if (url == m_fileUrl)
        return;
    m_fileUrl = url;
    Q_EMIT fileUrlChanged();
}

int MarkdownDocument::wordCount() const {
    return wordCount(m_text);
}

int MarkdownDocument::wordCount(QStringView text) {
    int count = 0;
    bool inWord = false;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c.isSpace()) {
            inWord = false;
            // A whitespace character and the marks combined with it are one separator.
            while (i + 1 < n && text[i + 1].isMark())
                ++i;
            continue;
        }
        if (!inWord) {
            inWord = true;
            ++count;
        }
    }
    return count;
}

std::optional<QByteArray> MarkdownDocument::fileBytes() const {
    if (m_hasSavedBytes && m_text == m_savedText)
        return m_savedBytes;
    return DocumentFile::encode(m_text, m_lineEnding, m_hasBom);
}

bool MarkdownDocument::save(const QString& path, DocumentFileError* error) {
    const auto bytes = fileBytes();
    if (!bytes) {
        if (error)
            *error = DocumentFileError{DocumentFileError::Kind::NotEncodable, path, {}};
        return false;
    }
    if (!DocumentFile::write(path, *bytes, error))
        return false;
    m_savedText = m_text;
    m_savedBytes = *bytes;
    m_hasSavedBytes = true;
    return true;
}

void MarkdownDocument::adoptSavedContents(const DocumentFileContents& contents) {
    m_savedText = contents.text;
    m_savedBytes = contents.bytes;
    m_hasSavedBytes = true;
    m_lineEnding = contents.lineEnding;
    m_hasBom = contents.hasBom;
}

#pragma once

#include "core/DocumentFile.h"
#include "core/DocumentText.h"
#include "core/FileIdentity.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <memory>

// The document of one window: the whole Markdown source (LF line breaks) and
// the file it came from. It changes by edits, each costing what it touches;
// the counts and the modified state follow every edit without reading the
// whole text. It remembers the bytes last read or written, so an unedited
// document saves back byte for byte, and the ending of each line break, so
// an edited one changes only the lines that were edited.
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

    // The whole text, copied out at most once per edit: for saves, exports
    // and reloads, never per keystroke.
    QString text() const;
    qsizetype length() const { return m_text.length(); }
    // The text as it is now, without copying it: for the preview's parse.
    TextSnapshot snapshot() const { return m_text.snapshot(); }
    // The smallest edit that turns the text into `text`.
    void setText(const QString& text);
    // One edit: `removed` units at `position` become `added` (both kept
    // within the text).
    void replace(qsizetype position, qsizetype removed, const QString& added);
    // An edit as the editor reports it. The editor shows U+2029, U+FDD0 and
    // U+FDD1 as line breaks and reads them back as LF, so only what differs
    // beyond that is applied: those characters stay where the edit did not
    // really touch them.
    void applyEditorEdit(qsizetype position, qsizetype removed, const QString& added);

    QUrl fileUrl() const { return m_fileUrl; }
    void setFileUrl(const QUrl& url);

    // Non-empty pieces of the text split at Unicode whitespace.
    int wordCount() const { return m_text.wordCount(); }
    static int wordCount(QStringView text);
    // User-perceived characters (grapheme clusters).
    int characterCount() const { return m_text.characterCount(); }

    // Whether a save would change the file: the text or a line ending differs
    // from what was last read or written, or the file no longer holds it.
    bool isModified() const { return m_onlyInMemory || !m_clean; }

    // The bytes a save writes: those last read or written when unmodified,
    // else the text with each line break in its own ending, and the BOM.
    // No value when the text cannot be written as UTF-8.
    std::optional<QByteArray> fileBytes() const;

    // Writes so that a crash leaves the old file or the new one whole
    // (DocumentFile::write); on success the written bytes become the saved
    // state. A save over the document's own file first makes sure the file still
    // holds the bytes last read or written; when it does not, nothing is
    // written and onChangedOnDisk decides whether the save goes ahead
    // (ChangedOnDisk otherwise).
    bool save(const QString& path, DocumentFileError* error);
    // Returns true once the saved state was brought in line with the file
    // (the user kept their version, or the file's text needed no question);
    // else it may give the reason, or mark the error declined, in `error`.
    std::function<bool(DocumentFileError& error)> onChangedOnDisk;

    // Takes the file's contents as the saved state but keeps the text, so the
    // document counts as modified exactly when it differs from the file. The
    // lines the text shares with the file take the file's line endings.
    void adoptSavedContents(const DocumentFileContents& contents);
    // Takes the file's contents as both the text and the saved state.
    void reload(const DocumentFileContents& contents);
    // The file no longer holds the saved text (deleted, moved away, or
    // overwritten with what cannot be read as text): the text is only in
    // quon, so the document counts as modified until it is saved.
    void setOnlyInMemory(bool onlyInMemory);
    // The file holds bytes that are no UTF-8 text and the user keeps their
    // version: a save may replace those bytes. Without bytes (the path holds
    // no file quon reads: a device, a FIFO, a file too large), the next save
    // replaces whatever the path holds.
    void keepOverUnreadableFile(const std::optional<QByteArray>& bytes);

    // The text and bytes last read or written.
    QString savedText() const { return m_savedText; }
    QByteArray savedBytes() const;

    LineEnding lineEnding() const { return m_text.style(); }
    bool hasBom() const { return m_hasBom; }

Q_SIGNALS:
    // After every change of the text: the edit, then the change itself.
    void textEdited(qsizetype position, qsizetype removed, const QString& added);
    void textChanged();
    void modifiedChanged(bool modified);
    void fileUrlChanged();

private:
    // How long a stale copy of the text stays for the next one.
    static constexpr int spareCopyMs = 1000;

    struct ModifiedWatch;
    // `bytesFromText`: the bytes are known to be the text written out.
    void takeSavedState(const DocumentFileContents& contents, bool bytesFromText = false);
    void retireTextCopy();
    // Whether fileBytes() writes the text out rather than give the bytes last
    // read or written (unedited).
    bool writesTextOut() const;
    QString withSavedBreaks(qsizetype position, qsizetype removed, QString added) const;
    void widenDirtyRegion(qsizetype position, qsizetype tail);
    void narrowDirtyRegion();
    qsizetype sameForward(qsizetype from, qsizetype limit) const;
    qsizetype sameBackward(qsizetype end, qsizetype savedEnd, qsizetype limit) const;
    bool sameEnding(qsizetype at, qsizetype savedAt) const;
    bool endingsMayDiffer() const;
    bool isOwnFile(const QString& path) const;

    DocumentText m_text;
    mutable QString m_textCopy; // text() since the last edit, or null
    // The copy an edit made stale, kept a moment for the next one: typing
    // with the find bar open asks for the whole text after every key, and a
    // large new buffer costs its page faults each time.
    mutable QString m_spareCopy;
    QTimer m_spareExpiry;
    QUrl m_fileUrl;

    // The saved state: what was last read or written.
    QString m_savedText;
    QByteArray m_savedEndings;
    LineEnding m_savedStyle = LineEnding::LF;
    QByteArray m_savedBytes;
    // Writing the saved text gives the saved bytes exactly, as it mostly
    // does: they are made again when needed, so a large file is not held twice.
    bool m_savedBytesWritten = false;
    bool m_hasSavedBytes = false;
    bool m_hasBom = false;
    bool m_onlyInMemory = false;
    bool m_replacesUnread = false;          // kept over what the path held, unread
    std::optional<FileState> m_unreadState; // what that was, when kept
    // What the file was when last read or written: a save compares it with
    // a file it can no longer read.
    std::optional<FileState> m_savedState;

    // Where the text may differ from the saved text: outside the region
    // from m_dirtyFrom to m_dirtyTail units before the end, both are the
    // same, line endings included. Clean when the region is empty in both.
    bool m_clean = true;
    qsizetype m_dirtyFrom = 0;
    qsizetype m_dirtyTail = 0;
};

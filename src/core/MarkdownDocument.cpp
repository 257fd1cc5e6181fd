#include "core/MarkdownDocument.h"

#include <vector>

#include "core/Preferences.h"
#include "core/TextCounts.h"
#include "core/TextEdit.h"

#include <QFileInfo>
#include <cstring>
#include <vector>

namespace {

DocumentFileContents textOnly(const QString& text) {
    DocumentFileContents contents;
    contents.text = text;
    return contents;
}

// How many units a and b share at their start (forward) or end (backward),
// compared a block at a time.
constexpr qsizetype block = 256;

qsizetype samePrefix(const QChar* a, const QChar* b, qsizetype n) {
    qsizetype i = 0;
    while (i + block <= n && std::memcmp(a + i, b + i, block * sizeof(QChar)) == 0)
        i += block;
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

qsizetype sameSuffix(const QChar* aEnd, const QChar* bEnd, qsizetype n) {
    qsizetype i = 0;
    while (i + block <= n &&
           std::memcmp(aEnd - i - block, bEnd - i - block, block * sizeof(QChar)) == 0)
        i += block;
    while (i < n && aEnd[-i - 1] == bEnd[-i - 1])
        ++i;
    return i;
}

// A unit of the text and the unit the editor shows in its place.
bool sameAsShown(QChar text, QChar shown) {
    return text == shown || (shown == QLatin1Char('\n') && DocumentText::isParagraphEnd(text));
}

} // namespace

// Emits modifiedChanged when the state differs at the end of a change.
struct MarkdownDocument::ModifiedWatch {
    MarkdownDocument& document;
    const bool before = document.isModified();
    ~ModifiedWatch() {
        if (document.isModified() != before)
            Q_EMIT document.modifiedChanged(!before);
    }
};

MarkdownDocument::MarkdownDocument(QObject* parent)
    : MarkdownDocument(
          textOnly(Preferences::shared().newDocumentStartsEmpty() ? QString() : welcomeSample()),
          parent) {
    // Unedited until the user types; there are no bytes on disk yet.
    m_hasSavedBytes = false;
}

MarkdownDocument::MarkdownDocument(const DocumentFileContents& contents, QObject* parent)
    : QObject(parent), m_text(contents) {
    takeSavedState(contents);
    m_spareExpiry.setSingleShot(true);
    m_spareExpiry.setInterval(spareCopyMs);
    connect(&m_spareExpiry, &QTimer::timeout, this, [this] { m_spareCopy = QString(); });
}

std::unique_ptr<MarkdownDocument> MarkdownDocument::open(const QString& path,
                                                         DocumentFileError* error) {
    auto contents = DocumentFile::read(path, error);
    if (!contents)
        return nullptr;
    auto document = std::make_unique<MarkdownDocument>(*contents);
    document->setFileUrl(QUrl::fromLocalFile(path));
    document->m_savedState = FileState::of(path);
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

QString MarkdownDocument::text() const {
    if (m_clean)
        return m_savedText;
    if (m_textCopy.isNull()) {
        // Room to grow by some typing, so the spare serves the keys after too.
        if (m_spareCopy.capacity() < m_text.length()) {
            m_spareCopy = QString();
            m_spareCopy.reserve(m_text.length() + m_text.length() / 256 + 64);
        }
        m_text.copyInto(m_spareCopy);
        m_textCopy = std::exchange(m_spareCopy, QString());
    }
    return m_textCopy;
}

void MarkdownDocument::retireTextCopy() {
    // Held by nobody else (a parse keeps the copy it read), its pages serve
    // the next copy.
    if (!m_textCopy.isNull() && m_textCopy.isDetached()) {
        m_spareCopy = std::exchange(m_textCopy, QString());
        m_spareExpiry.start();
    }
    m_textCopy = QString();
}

void MarkdownDocument::setText(const QString& text) {
    const TextEdit edit = TextEdit::between(this->text(), text);
    replace(edit.position, edit.removed, edit.added);
}

void MarkdownDocument::replace(qsizetype position, qsizetype removed, const QString& added) {
    position = qBound(qsizetype(0), position, m_text.length());
    removed = qBound(qsizetype(0), removed, m_text.length() - position);
    // Line breaks are LF only, one unit each, as in the editor.
    QString units = added;
    if (units.contains(QLatin1Char('\r')))
        units.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    if (removed == 0 && units.isEmpty())
        return;
    const ModifiedWatch watch{*this};
    const qsizetype tail = m_text.length() - position - removed;
    m_text.replace(position, removed, units);
    retireTextCopy();
    widenDirtyRegion(position, tail);
    Q_EMIT textEdited(position, removed, units);
    Q_EMIT textChanged();
}

void MarkdownDocument::applyEditorEdit(qsizetype position, qsizetype removed,
                                       const QString& added) {
    position = qBound(qsizetype(0), position, m_text.length());
    removed = qBound(qsizetype(0), removed, m_text.length() - position);
    const TextEdit edit = TextEdit::between(m_text.mid(position, removed), added, sameAsShown);
    const qsizetype at = position + edit.position;
    replace(at, edit.removed, withSavedBreaks(at, edit.removed, edit.added));
}

// The editor shows U+2029, U+FDD0 and U+FDD1 as line breaks and gives a plain
// one back where such a break returns (an undo, say). Where the added text
// lines up with the saved text, from the unchanged text on each side that
// is known to match it, each break is the saved unit again.
QString MarkdownDocument::withSavedBreaks(qsizetype position, qsizetype removed,
                                          QString added) const {
    if (!added.contains(QLatin1Char('\n')))
        return added;
    const qsizetype count = added.size();
    const qsizetype after = m_text.length() - position - removed;
    const auto linesUp = [&](qsizetype savedAt) {
        if (savedAt < 0 || savedAt + count > m_savedText.size())
            return false;
        for (qsizetype i = 0; i < count; ++i)
            if (!sameAsShown(m_savedText[savedAt + i], added[i]))
                return false;
        return true;
    };
    const bool frontKnown = m_clean || position <= m_dirtyFrom;
    const bool backKnown = m_clean || after <= m_dirtyTail;
    const qsizetype front = position;
    const qsizetype back = m_savedText.size() - after - count;
    qsizetype savedAt = -1;
    // Known on both sides, the two must agree: a break typed before a
    // U+2029 lines up from the front only and stays a new break.
    if (frontKnown && (!backKnown || back == front) && linesUp(front))
        savedAt = front;
    else if (backKnown && !frontKnown && linesUp(back))
        savedAt = back;
    if (savedAt < 0)
        return added;
    for (qsizetype i = 0; i < count; ++i)
        if (added[i] == QLatin1Char('\n'))
            added[i] = m_savedText[savedAt + i];
    return added;
}

void MarkdownDocument::setFileUrl(const QUrl& url) {
    if (url == m_fileUrl)
        return;
    m_fileUrl = url;
    Q_EMIT fileUrlChanged();
}

int MarkdownDocument::wordCount(QStringView text) {
    return TextCounts::words(text);
}

QByteArray MarkdownDocument::savedBytes() const {
    if (!m_savedBytesWritten)
        return m_savedBytes;
    return DocumentFile::encode(m_savedText, m_savedStyle, m_hasBom, m_savedEndings)
        .value_or(QByteArray());
}

bool MarkdownDocument::writesTextOut() const {
    return !m_hasSavedBytes || isModified();
}

std::optional<QByteArray> MarkdownDocument::fileBytes() const {
    if (!writesTextOut())
        return savedBytes();
    return m_text.encode(m_hasBom);
}

bool MarkdownDocument::isOwnFile(const QString& path) const {
    return m_fileUrl.isLocalFile() && QFileInfo(m_fileUrl.toLocalFile()) == QFileInfo(path);
}

bool MarkdownDocument::save(const QString& path, DocumentFileError* error) {
    DocumentFileError failure;
    for (int attempt = 0; attempt < 2; ++attempt) {
        // Then the bytes are the text written out as it is saved below.
        const bool fromText = writesTextOut();
        const auto bytes = fileBytes();
        if (!bytes) {
            failure = DocumentFileError{DocumentFileError::Kind::NotEncodable, path, {}};
            break;
        }
        // Another program's change is never overwritten unseen: the file
        // still holds what quon last read or wrote, or, kept over what it
        // could not read, still that same thing.
        const bool own = isOwnFile(path);
        const auto unchanged = [&] {
            if (own && m_replacesUnread)
                return FileState::of(path) == m_unreadState;
            return !own || !m_hasSavedBytes ||
                   !DocumentFile::holdsOtherBytes(path, savedBytes(), m_savedState);
        };
        if (DocumentFile::write(path, *bytes, &failure, unchanged)) {
            const ModifiedWatch watch{*this};
            DocumentFileContents written;
            written.text = text();
            written.endings = m_text.endings();
            written.lineEnding = m_text.style();
            // As reading it back would say: a text that begins with U+FEFF
            // is written after a mark.
            written.hasBom = bytes->startsWith("\xEF\xBB\xBF");
            written.bytes = *bytes;
            takeSavedState(written, fromText);
            m_savedState = FileState::of(path);
            return true;
        }
        if (failure.kind != DocumentFileError::Kind::ChangedOnDisk || attempt > 0 ||
            !onChangedOnDisk || !onChangedOnDisk(failure))
            break;
    }
    if (error)
        *error = failure;
    return false;
}

void MarkdownDocument::takeSavedState(const DocumentFileContents& contents, bool bytesFromText) {
    m_savedText = contents.text;
    m_savedEndings = contents.endings;
    m_savedStyle = contents.lineEnding;
    m_hasSavedBytes = true;
    m_hasBom = contents.hasBom;
    if (bytesFromText || contents.bytesFromText) {
        m_savedBytesWritten = true;
    } else {
        const auto written = DocumentFile::encode(contents.text, contents.lineEnding,
                                                  contents.hasBom, contents.endings);
        m_savedBytesWritten = written && *written == contents.bytes;
    }
    m_savedBytes = m_savedBytesWritten ? QByteArray() : contents.bytes;
    m_onlyInMemory = false;
    m_replacesUnread = false;
    m_clean = true;
    m_textCopy = QString();
    // Taken from the file right now: that is what was read.
    m_savedState = m_fileUrl.isLocalFile() ? FileState::of(m_fileUrl.toLocalFile()) : std::nullopt;
}

void MarkdownDocument::adoptSavedContents(const DocumentFileContents& contents) {
    const ModifiedWatch watch{*this};
    const QString current = text();
    const TextEdit difference = TextEdit::between(current, contents.text);
    if (difference.isEmpty()) {
        m_text = DocumentText(contents);
    } else {
        // The lines on both sides of the difference are the file's lines;
        // those in it keep theirs, or take the file's style.
        DocumentFileContents adopted;
        adopted.text = current;
        adopted.lineEnding = contents.lineEnding;
        if (!contents.endings.isEmpty() || m_text.hasMixedEndings()) {
            const qsizetype end = difference.position + difference.removed;
            const qsizetype shift = contents.text.size() - current.size();
            QByteArray endings(current.size(), char(contents.lineEnding));
            bool mixed = false;
            for (qsizetype i = current.indexOf(QLatin1Char('\n')); i >= 0;
                 i = current.indexOf(QLatin1Char('\n'), i + 1)) {
                LineEnding ending = contents.lineEnding;
                if (i < difference.position || i >= end) {
                    const qsizetype there = i < difference.position ? i : i + shift;
                    if (!contents.endings.isEmpty())
                        ending = LineEnding(contents.endings[there]);
                } else if (m_text.hasMixedEndings()) {
                    ending = m_text.endingAt(i);
                }
                endings[i] = char(ending);
                mixed = mixed || ending != contents.lineEnding;
            }
            if (mixed)
                adopted.endings = endings;
        }
        m_text = DocumentText(adopted);
    }
    takeSavedState(contents);
    m_clean = difference.isEmpty();
    m_dirtyFrom = difference.position;
    m_dirtyTail = current.size() - difference.position - difference.removed;
}

void MarkdownDocument::reload(const DocumentFileContents& contents) {
    const ModifiedWatch watch{*this};
    const TextEdit edit = TextEdit::between(text(), contents.text);
    m_text = DocumentText(contents);
    takeSavedState(contents);
    if (edit.isEmpty())
        return;
    Q_EMIT textEdited(edit.position, edit.removed, edit.added);
    Q_EMIT textChanged();
}

void MarkdownDocument::setOnlyInMemory(bool onlyInMemory) {
    const ModifiedWatch watch{*this};
    m_onlyInMemory = onlyInMemory;
    if (!onlyInMemory)
        m_replacesUnread = false;
}

void MarkdownDocument::keepOverUnreadableFile(const std::optional<QByteArray>& bytes) {
    const ModifiedWatch watch{*this};
    if (bytes) {
        m_savedBytes = *bytes;
        m_savedBytesWritten = false;
        m_hasSavedBytes = true;
        m_savedState =
            m_fileUrl.isLocalFile() ? FileState::of(m_fileUrl.toLocalFile()) : std::nullopt;
    }
    m_replacesUnread = !bytes;
    m_unreadState =
        bytes || !m_fileUrl.isLocalFile() ? std::nullopt : FileState::of(m_fileUrl.toLocalFile());
    m_onlyInMemory = true;
}

// An edit replaced units from position up to `tail` units before the end.
void MarkdownDocument::widenDirtyRegion(qsizetype position, qsizetype tail) {
    if (m_clean) {
        m_clean = false;
        m_dirtyFrom = position;
        m_dirtyTail = tail;
    } else {
        m_dirtyFrom = qMin(m_dirtyFrom, position);
        m_dirtyTail = qMin(m_dirtyTail, tail);
    }
    narrowDirtyRegion();
}

// Drops what the region shares with the saved text at its two ends. Each
// unit compared is equal and leaves the region, or ends the comparison, so
// typing stays cheap however long the text.
void MarkdownDocument::narrowDirtyRegion() {
    const qsizetype length = m_text.length();
    const qsizetype savedLength = m_savedText.size();
    const qsizetype shorter = qMin(length, savedLength);
    m_dirtyFrom += sameForward(m_dirtyFrom, shorter - m_dirtyTail - m_dirtyFrom);
    m_dirtyTail += sameBackward(length - m_dirtyTail, savedLength - m_dirtyTail,
                                shorter - m_dirtyTail - m_dirtyFrom);
    m_clean = length == savedLength && m_dirtyFrom + m_dirtyTail == length;
    if (m_clean)
        m_textCopy = QString();
}

bool MarkdownDocument::sameEnding(qsizetype at, qsizetype savedAt) const {
    const LineEnding saved =
        m_savedEndings.isEmpty() ? m_savedStyle : LineEnding(m_savedEndings[savedAt]);
    return m_text.endingAt(at) == saved;
}

bool MarkdownDocument::endingsMayDiffer() const {
    return m_text.hasMixedEndings() || !m_savedEndings.isEmpty() || m_text.style() != m_savedStyle;
}

qsizetype MarkdownDocument::sameForward(qsizetype from, qsizetype limit) const {
    qsizetype same = 0;
    bool differs = false;
    m_text.forEachRun(from, from + limit, [&](const QChar* units, qsizetype count) {
        if (differs)
            return;
        const qsizetype n = samePrefix(units, m_savedText.constData() + from + same, count);
        same += n;
        differs = n < count;
    });
    if (endingsMayDiffer()) {
        const QStringView run = QStringView(m_savedText).sliced(from, same);
        for (qsizetype i = run.indexOf(QLatin1Char('\n')); i >= 0;
             i = run.indexOf(QLatin1Char('\n'), i + 1)) {
            if (!sameEnding(from + i, from + i))
                return i;
        }
    }
    return same;
}

qsizetype MarkdownDocument::sameBackward(qsizetype end, qsizetype savedEnd, qsizetype limit) const {
    struct Run {
        const QChar* units;
        qsizetype count;
    };
    std::vector<Run> runs;
    m_text.forEachRun(end - limit, end, [&](const QChar* units, qsizetype count) {
        runs.push_back({units, count});
    });
    qsizetype same = 0;
    for (auto r = qsizetype(runs.size()) - 1; r >= 0; --r) {
        const qsizetype n = sameSuffix(runs[r].units + runs[r].count,
                                       m_savedText.constData() + savedEnd - same, runs[r].count);
        same += n;
        if (n < runs[r].count)
            break;
    }
    if (endingsMayDiffer()) {
        const QStringView run = QStringView(m_savedText).sliced(savedEnd - same, same);
        for (qsizetype i = run.lastIndexOf(QLatin1Char('\n')); i >= 0;
             i = i > 0 ? run.lastIndexOf(QLatin1Char('\n'), i - 1) : -1) {
            if (!sameEnding(end - same + i, savedEnd - same + i))
                return same - i - 1;
        }
    }
    return same;
}

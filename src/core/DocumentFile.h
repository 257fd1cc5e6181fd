#pragma once

#include "core/FileIdentity.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

enum class LineEnding { LF, CRLF, CR };

// A file's text as quon holds it: LF line breaks, plus what it takes to write
// the file back the way it was.
struct DocumentFileContents {
    QString text;                           // LF line breaks only
    LineEnding lineEnding = LineEnding::LF; // style of the first line break
    // When the file mixes line endings: one byte per unit of text, holding
    // at each LF the LineEnding that break had in the file. Empty when every
    // break has lineEnding.
    QByteArray endings;
    bool hasBom = false;
    QByteArray bytes; // exactly what was read or last written
    // The bytes are the text written out as above (so decode() says: strict
    // UTF-8 reads back byte for byte), which spares writing it out to compare.
    bool bytesFromText = false;
};

// Why a file could not be read or written; message() names the file.
struct DocumentFileError {
    enum class Kind {
        NotARegularFile,
        NotUtf8,
        TooLarge,
        ReadFailed,
        WriteFailed,
        NotEncodable,
        ChangedOnDisk
    };
    Kind kind = Kind::ReadFailed;
    QString path;
    QString detail; // the system's own words, when there are any
    // A save that broke off halfway left this complete copy of the text.
    QString keptCopy;
    // The user chose not to write over another program's change: nothing to alert.
    bool declined = false;
    QString message() const;
};

namespace DocumentFile {

// The largest file quon reads as text. An editable document takes dozens of
// times its size in memory; far past this a file would exhaust it and take
// every open window down with the process.
constexpr qint64 largestTextFile = 64 * 1024 * 1024;

// Strict: bytes that are not valid UTF-8, or that are UTF-16 without a
// byte-order mark, give no contents.
std::optional<DocumentFileContents> decode(const QByteArray& bytes);
// The bytes of text (LF breaks) in a file's line-ending style and BOM; with
// `endings` (as in DocumentFileContents) each break in its own ending. A
// text that begins with U+FEFF gets a BOM before it even without `hasBom`.
std::optional<QByteArray> encode(const QString& text, LineEnding lineEnding, bool hasBom,
                                 const QByteArray& endings = {});
// Reads a regular file; refuses directories, devices, FIFOs, files over
// largestTextFile and invalid UTF-8.
std::optional<DocumentFileContents> read(const QString& path, DocumentFileError* error);
// Whether the path holds something other than these bytes: another file, one
// that is no longer a regular file, or more. Missing, it holds nothing a save
// could overwrite unseen. Unreadable, what can be known is compared: it
// holds other bytes unless it is still `known`, as it was when last read or
// written (none: unknown, taken as unchanged).
bool holdsOtherBytes(const QString& path, const QByteArray& expected,
                     const std::optional<FileState>& known = std::nullopt);
// Writes so that a crash leaves the old file or the new one whole, keeping
// the file's hard links, owner, group and mode (FileWriter). On failure the
// file keeps what it held, or a save in place that broke off left the new
// bytes complete in a copy (keptCopy) beside it or in quon's state folder.
// With `expectedOnDisk`, an existing file that holds other bytes right
// before it would be replaced is left alone (ChangedOnDisk).
bool write(const QString& path, const QByteArray& bytes, DocumentFileError* error,
           const QByteArray* expectedOnDisk = nullptr);
// The same with the check of the disk given: `unchanged` is asked right
// before the file would be replaced.
bool write(const QString& path, const QByteArray& bytes, DocumentFileError* error,
           const std::function<bool()>& unchanged);

} // namespace DocumentFile

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Files made to trip a reader: other encodings, broken UTF-8, odd line breaks,
// deep nesting, long lines and long backtick runs. Generated, never stored;
// the file tests and the fuzzers' seed corpora both start from them.
namespace HostileFiles {

struct Sample {
    QString name; // a file name ending in ".md"
    QByteArray bytes;
    bool isUtf8 = true; // whether quon can open it as it is
};

// `longLineBytes` is the size of the file that is one single line (10 MB for
// the file tests, far less as a fuzzing seed).
QList<Sample> samples(qsizetype longLineBytes);

// Where a position of a document's text (LF breaks, no BOM) lies in the
// valid UTF-8 bytes of its file: a CRLF pair is one unit of text, and a
// BOM comes before the first.
qsizetype byteOffset(const QByteArray& bytes, qsizetype position);

} // namespace HostileFiles

#pragma once

#include <QString>
#include <QStringView>
#include <QUrl>

// The texts of a document window's status bar.
namespace StatusBarText {

// User-perceived characters: a letter with its combining marks, an emoji
// sequence and a CR LF pair each count once.
int characterCount(QStringView text);

QString wordCountLabel(int words);           // "1 word", "0 words"
QString characterCountLabel(int characters); // "1 character", "2 characters"
// "0 words  ·  0 characters"
QString countsLabel(int words, int characters);
// The file name without its last extension; "Untitled" without a file.
QString documentNameLabel(const QUrl& fileUrl);

} // namespace StatusBarText

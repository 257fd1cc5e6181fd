#pragma once

#include <QString>

// Text drawn on one line: a name may hold line breaks (a file called
// "a\nb"), which a painter would otherwise break the line at.
namespace SingleLineText {

// Line break characters (LF, CR, VT, FF, NEL, U+2028, U+2029).
bool isLineBreak(QChar c);

// Every line break as a blank.
QString flattened(QString text);

} // namespace SingleLineText

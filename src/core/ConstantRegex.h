#pragma once

#include <QRegularExpression>

// A regular expression the code holds as a constant, compiled and optimised
// once; one that does not compile is a programming error and stops the program.
QRegularExpression constantRegex(const char* pattern,
                                 QRegularExpression::PatternOptions options = {});

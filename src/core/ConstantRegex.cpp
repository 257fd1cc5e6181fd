#include "core/ConstantRegex.h"

QRegularExpression constantRegex(const char* pattern, QRegularExpression::PatternOptions options) {
    QRegularExpression re(QString::fromLatin1(pattern), options);
    if (!re.isValid())
        qFatal("pattern does not compile: %s: %s", pattern, qPrintable(re.errorString()));
    re.optimize();
    return re;
}

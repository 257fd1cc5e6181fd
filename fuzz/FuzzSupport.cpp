#include "FuzzSupport.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {

QString decode(const std::string& bytes, bool asUtf16) {
    if (!asUtf16)
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    return QString(reinterpret_cast<const QChar*>(bytes.data()), qsizetype(bytes.size() / 2));
}

} // namespace

// libFuzzer calls this once before the first input: every target runs in
// the offscreen widgets application.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "*=false");
    static int argc = 1;
    static char name[] = "quon-fuzz";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    return 0;
}

QString Fuzz::remainingText(FuzzedDataProvider& data) {
    const bool asUtf16 = data.ConsumeBool();
    return decode(data.ConsumeRemainingBytesAsString(), asUtf16);
}

QString Fuzz::text(FuzzedDataProvider& data, size_t maxLength) {
    const bool asUtf16 = data.ConsumeBool();
    return decode(data.ConsumeRandomLengthString(asUtf16 ? maxLength * 2 : maxLength), asUtf16);
}

qsizetype Fuzz::position(FuzzedDataProvider& data, qsizetype length) {
    switch (data.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return 0;
    case 1:
        return length;
    default:
        return data.ConsumeIntegralInRange<qsizetype>(0, length);
    }
}

void Fuzz::check(bool ok, const char* what, const QString& details) {
    if (ok)
        return;
    const QByteArray shown = details.toUtf8(); // may hold NULs
    std::fprintf(stderr, "\n== property failed: %s\n", what);
    std::fwrite(shown.constData(), 1, size_t(shown.size()), stderr);
    std::fputc('\n', stderr);
    std::abort();
}

QString Fuzz::quoted(const QString& text) {
    QString out = QStringLiteral("\"");
    for (const QChar ch : text.left(2000)) {
        if (ch.unicode() >= 0x20 && ch.unicode() < 0x7F && ch != QLatin1Char('\\'))
            out += ch;
        else
            out += QStringLiteral("\\u%1").arg(ch.unicode(), 4, 16, QLatin1Char('0'));
    }
    return out + (text.size() > 2000 ? QStringLiteral("\"...") : QStringLiteral("\""));
}

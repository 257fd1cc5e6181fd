// The reference a dropped image becomes: read back with quon's own parser and
// image resolver it is one image of exactly the dropped file, named after it.
#include "FuzzSupport.h"

#include "core/MarkdownParser.h"
#include "core/MarkdownTree.h"
#include "core/Utf8.h"
#include "editor/ImageDropSupport.h"
#include "preview/ImageURLResolver.h"
#include "support/MarkdownDump.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    static QTemporaryDir root;
    static const QString document = root.filePath(QStringLiteral("notes"));
    static const QStringList folders = {document, document + QStringLiteral("/img [1] (a)"),
                                        root.filePath(QStringLiteral("else where"))};
    static const bool made = QDir().mkpath(folders[1]) && QDir().mkpath(folders[2]);
    Fuzz::check(made, "the folders can be made");

    FuzzedDataProvider data(bytes, size);
    const QString folder = folders.at(data.ConsumeIntegralInRange<qsizetype>(0, 2));
    const QString documentDirectory = data.ConsumeBool() ? document : QString();
    const QString extension = data.ConsumeBool() ? QStringLiteral(".png") : QString();
    const QString name = Fuzz::remainingText(data);
    if (name.contains(QLatin1Char('/')) || name.contains(QChar()) || name.isEmpty() ||
        name == QLatin1String(".") || name == QLatin1String("..") || !Utf8::encode(name))
        return 0; // no file can have this name
    const QString path = folder + QLatin1Char('/') + name + extension;
    QFile image(path);
    if (!image.open(QIODevice::WriteOnly))
        return 0; // too long, or text the file system refuses
    image.close();

    const QString markdown =
        ImageDropSupport::reference(QUrl::fromLocalFile(path), documentDirectory);
    const auto parsed = MarkdownParser::parse(markdown);
    const QList<const MarkdownNode*> images = MarkdownDump::images(parsed->document);
    Fuzz::check(images.size() == 1, "the reference is one image", Fuzz::quoted(markdown));
    const auto resolved =
        ImageURLResolver::resolve(images[0]->destination.toString(), documentDirectory);
    Fuzz::check(resolved && QFileInfo(resolved->toLocalFile()).canonicalFilePath() ==
                                QFileInfo(path).canonicalFilePath(),
                "the reference resolves to the dropped file",
                Fuzz::quoted(path) + QStringLiteral("\n") + Fuzz::quoted(markdown));
    // Line breaks read as blanks.
    QString alt = QFileInfo(path).completeBaseName();
    alt.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    Fuzz::check(images[0]->plainText() == alt, "the image is named after the file",
                Fuzz::quoted(alt) + QStringLiteral("\nread as\n") +
                    Fuzz::quoted(images[0]->plainText()) + QStringLiteral("\nfrom\n") +
                    Fuzz::quoted(markdown));
    QFile::remove(path);
    return 0;
}

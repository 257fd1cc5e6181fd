// The new-file request from the file-manager plug-in to quon: the URL the
// plug-in builds for a folder decodes back to that folder, and the name
// rules give a name that stays inside it.
#include "FuzzSupport.h"

extern "C" {
#include "NewFileUrl.h"
}
#include "core/MarkdownFileTypes.h"
#include "core/Utf8.h"
#include "shell/FinderNewFileService.h"

#include <QDir>
#include <QFileInfo>

namespace {

void checkUrl(const QByteArray& dir, bool markdown) {
    g_autofree char* url = quon_new_file_url(dir.constData(), markdown);
    Fuzz::check((url != nullptr) == dir.startsWith('/'), "absolute folders only get a URL",
                Fuzz::quoted(QString::fromLatin1(dir)));
    if (!url)
        return;
    const auto request = FinderNewFileService::request(QString::fromLatin1(url));
    Fuzz::check(request.markdown == markdown, "the URL carries the kind", QString::fromLatin1(url));
    // Folder names that are not UTF-8 cannot be QStrings at all.
    const std::optional<QString> folder = Utf8::decode(dir);
    if (folder) {
        Fuzz::check(request.dir == *folder, "the URL decodes back to the folder",
                    QString::fromLatin1(url) + QStringLiteral("\n") + Fuzz::quoted(request.dir));
    }
}

void checkName(const QString& typed, bool markdown, int n) {
    const std::optional<QString> name = FinderNewFileService::fileNameFor(typed, markdown);
    if (!name)
        return;
    Fuzz::check(!name->isEmpty() && !name->contains(QLatin1Char('/')) &&
                    !name->startsWith(QLatin1Char('.')),
                "a name is one file name", Fuzz::quoted(*name));
    Fuzz::check(!markdown || MarkdownFileTypes::hasMarkdownExtension(*name),
                "a Markdown name ends in a Markdown extension", Fuzz::quoted(*name));
    const QString folder = QStringLiteral("/tmp/new files");
    const QString path = FinderNewFileService::candidatePath(folder, *name, n);
    const QFileInfo info(path);
    Fuzz::check(info.absolutePath() == folder && !info.fileName().isEmpty() &&
                    info.fileName() != QLatin1String("..") && info.fileName() != QLatin1String("."),
                "every name tried lies in the folder", Fuzz::quoted(path));
    Fuzz::check(n != 1 || info.fileName() == *name, "the first name tried is the name itself",
                Fuzz::quoted(path));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const bool markdown = data.ConsumeBool();
    const int n = data.ConsumeIntegralInRange(1, 1000);
    const std::string rest = data.ConsumeRemainingBytesAsString();
    // A C string: the folder ends at its first NUL, as a path does.
    checkUrl(QByteArray(rest.c_str()), markdown);
    checkName(QString::fromUtf8(rest.data(), qsizetype(rest.size())), markdown, n);
    return 0;
}

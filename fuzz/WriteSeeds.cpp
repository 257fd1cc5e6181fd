// Writes the fuzzers' seed corpus into the folder it is given: the hostile
// files, shortened, and inputs that reach each target's own rules.
#include "support/HostileFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>

namespace {

// Links and HTML for the exporter, HTML for the conversion, list and slash
// lines for the editing rules, folder and file names for the new-file and
// image-drop rules.
const char* const extras[] = {
    "[a](javascript:alert(1)) [b](JaVa\tScRiPt:x) ![c](data:text/html,x) ![d](data:image/png,x)\n",
    "<img src=x onerror=alert(1)> <script>alert(1)</script>\n\n<div onclick=\"x\">\n",
    "[r]: vbscript:msgbox \"t\"\n\n[r] <a href=\"javascript:x\">l</a> &#106;avascript:\n",
    "```js\" onload=\"x\nlet a = 1;\n```\n\n| a | b |\n|:-|-:|\n| `c` | [d](e) |\n",
    "<h1 class=x>Title</h1><p>a<br>b<br/>c</p><ul><li>x</li><link rel=y></ul>&amp;lt;&nbsp;&#39;\n",
    "<script><script><script>alert(1)</style><style>p{}</style></script>\n",
    "- item\n  - nested\n1. one\n2) two\n- [ ] task\n* [x] done\n> - quoted item\n",
    "# Heading\n###### six\n####### seven\n/h1\ntext /quote\n/code\n/\n//x /table\n",
    "(\"'`[ **bold** _em_ ~~del~~ `code`\n",
    "/home/user/My Notes",
    "/tmp/a b&c=d#e%f+g?h;i",
    "/tmp/\xC3\xBCn\xC3\xAF/\xE6\x97\xA5\xE6\x9C\xAC/%41%2F",
    "/tmp/\xFF\xFE not utf-8",
    "notes.MD",
    "  .hidden  ",
    "a [b] (c) <d> \\e & 100% *f* `g` \"h\" 'i'... -- --- http:x",
    " line\nbreak\r.png ",
};

// Texts for the tree target to parse a character at a time: an empty edit
// ("\\" and a blank end the added text) and three zero bytes at the end
// (UTF-8 twice, nothing removed). Link reference definitions the sections
// are parsed after: labels across lines ending in a backslash, line breaks
// from entities, a label that case folding makes too long.
QByteArrayList sectionSeeds() {
    const QByteArray folded = QString(400, QChar(0x0390)).toUtf8();
    const QByteArrayList texts = {
        QByteArray::fromHex(
            "510a000000075c0a5f5b305f5f63787861626976fc00000a7e075c0a0a5b0a2e5c2e5c0a"
            "5d3a3a0a0a5b3aecececec510a5d2e2e5c0a2e3a0a075bff"),
        "a\n\n[x\\\n]: /u\n[\\\\\\\n]: /v 't'\n\nb [x\\ ] [\\\\\\ ]\n",
        "a\n\n[x]: /a&#10;b\n[y]: </c&#13;d> \"e&#10;&#10;f\"\n\n[x] [y]\n",
        "a\n\n[" + folded + "]: /u\n\nb [" + folded + "]\n"};
    QByteArrayList seeds;
    for (const QByteArray& text : texts)
        seeds.append("\\ " + text + QByteArray(3, '\0'));
    return seeds;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quon-fuzz-seeds FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path()))
        return 1;
    QList<HostileFiles::Sample> seeds = HostileFiles::samples(20000);
    int n = 0;
    for (const char* extra : extras)
        seeds.append({QStringLiteral("extra-%1").arg(++n), QByteArray(extra)});
    for (const QByteArray& seed : sectionSeeds())
        seeds.append({QStringLiteral("sections-%1").arg(++n), seed});
    for (const HostileFiles::Sample& seed : seeds) {
        QFile file(folder.filePath(seed.name));
        if (!file.open(QIODevice::WriteOnly) || file.write(seed.bytes) != seed.bytes.size())
            return 1;
    }
    return 0;
}

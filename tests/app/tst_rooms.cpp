#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

// The rooms of src/ lean on the rooms below them only: a generic widget that a
// lower room needs lives in widgets/, not in the windows that use it most.
namespace Rooms {

// What each room may include besides itself; app, the top, may include all.
QStringList below(const QString& room) {
    static const QHash<QString, QStringList> rooms = {
        {QStringLiteral("platform"), {"common"}},
        {QStringLiteral("core"), {"common", "platform"}},
        {QStringLiteral("editor"), {"common", "platform", "core"}},
        {QStringLiteral("preview"), {"common", "platform", "core", "editor"}},
        {QStringLiteral("export"), {"common", "platform", "core", "preview"}},
        {QStringLiteral("widgets"), {"common", "platform", "core"}},
        {QStringLiteral("tools"), {"common", "platform", "core", "editor", "widgets"}},
        {QStringLiteral("shell"),
         {"common", "platform", "core", "editor", "preview", "export", "widgets", "tools"}},
        {QStringLiteral("windows"),
         {"common", "platform", "core", "editor", "preview", "export", "widgets", "tools",
          "shell"}},
    };
    return rooms.value(room);
}

// The header each include directive names, "a/b.h" or <a/b.h> ("" when a
// macro names it), read as the preprocessor reads: lines joined at a
// backslash, comments and raw strings a blank, other literals skipped whole.
QStringList includes(QString source) {
    static const QRegularExpression splice(QStringLiteral("\\\\\r?\n"));
    // Raw strings, comments, strings and characters; the first two become a blank.
    static const QRegularExpression literals(
        QStringLiteral("R\"([^(\\s]*)\\([\\s\\S]*?\\)\\1\"|/\\*[\\s\\S]*?\\*/|//[^\\n]*"
                       "|\"(?:\\\\.|[^\"\\\\\\n])*\"|'(?:\\\\.|[^'\\\\\\n])*'"));
    static const QRegularExpression directive(
        QStringLiteral("^\\s*(?:#|%:)\\h*(?:include_next|include|import)\\b\\h*"
                       "(<[^>\\n]*>|\"[^\"\\n]*\")?"),
        QRegularExpression::MultilineOption);
    source.remove(splice);
    QString code;
    qsizetype kept = 0;
    for (const QRegularExpressionMatch& match : literals.globalMatch(source)) {
        const QChar first = match.captured().front();
        code += QStringView(source).mid(kept, match.capturedStart() - kept);
        code += first == u'"' || first == u'\'' ? match.captured() : QStringLiteral(" ");
        kept = match.capturedEnd();
    }
    code += QStringView(source).mid(kept);
    QStringList found;
    for (const QRegularExpressionMatch& match : directive.globalMatch(code))
        found.append(match.captured(1));
    return found;
}

// The rooms a header name can reach from the file at `path` (from the top of
// the project), as "room/rest": a quoted name is looked up beside the file
// first; then both look in src/ and the top, the build's include folders.
QStringList reached(const QString& path, const QString& header) {
    const QString name = header.mid(1, header.size() - 2);
    QStringList candidates = {QStringLiteral("src/") + name, name};
    if (header.startsWith(QLatin1Char('"')))
        candidates.prepend(path.section(QLatin1Char('/'), 0, -2) + QLatin1Char('/') + name);
    QStringList rooms;
    for (const QString& candidate : candidates) {
        const QString clean = QDir::cleanPath(candidate);
        const QString room = clean.section(QLatin1Char('/'), 1, 1);
        if (clean.startsWith(QLatin1String("common/")))
            rooms.append(clean);
        else if (clean.startsWith(QLatin1String("src/")) &&
                 (room == QLatin1String("app") || !below(room).isEmpty()))
            rooms.append(clean.mid(4));
    }
    return rooms;
}

// What a file of src/ at `path` includes that its room may not.
QStringList violations(const QString& path, const QString& source) {
    const QString room = path.section(QLatin1Char('/'), 1, 1);
    // The editor owns the controllers of its popovers, and nothing else of tools.
    static const QStringList editorOwns = {
        QStringLiteral("tools/SlashCommandPopoverController.h"),
        QStringLiteral("tools/SelectionFormattingPopoverController.h")};
    QStringList wrong;
    for (const QString& header : includes(source)) {
        if (header.isEmpty() || header.mid(1).startsWith(QLatin1Char('/'))) {
            wrong.append(path + QStringLiteral(" includes a header this check cannot place: ") +
                         (header.isEmpty() ? QStringLiteral("a macro") : header));
            continue;
        }
        for (const QString& target : reached(path, header)) {
            const QString targetRoom = target.section(QLatin1Char('/'), 0, 0);
            if (room == QLatin1String("app") || targetRoom == room ||
                below(room).contains(targetRoom))
                continue;
            if (room == QLatin1String("editor") && editorOwns.contains(target))
                continue;
            wrong.append(path + QStringLiteral(" includes ") + target);
        }
    }
    return wrong;
}

} // namespace Rooms

class TestRooms : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roomsIncludeOnlyWhatLiesBelow() {
        QStringList wrong;
        int files = 0;
        const QDir top(QStringLiteral(QUON_SOURCE_DIR));
        QDirIterator it(top.filePath(QStringLiteral("src")), {"*.cpp", "*.h", "*.in"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            ++files;
            wrong +=
                Rooms::violations(top.relativeFilePath(path), QString::fromUtf8(file.readAll()));
        }
        QVERIFY(files > 100);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QLatin1Char('\n'))));
    }

    // Each way of writing an include that the compiler accepts, planted in
    // core (which may include platform and common only).
    void everyIncludeFormIsRead_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("allowed");
        const auto row = [&](const char* name, const char* source, bool allowed = false,
                             const QString& path = QStringLiteral("src/core/Planted.cpp")) {
            QTest::newRow(name) << path << QString::fromUtf8(source) << allowed;
        };
        row("plain", "#include \"shell/X.h\"\n");
        row("spaces after #", "#  include \"shell/X.h\"\n");
        row("indented", "  #include \"shell/X.h\"\n");
        row("tabs", "\t#\tinclude\t\"shell/X.h\"\n");
        row("angle brackets", "#include <shell/X.h>\n");
        row("no space before the name", "#include<shell/X.h>\n");
        row("parent folder", "#include \"../shell/X.h\"\n");
        row("through the own room", "#include \"core/../shell/X.h\"\n");
        row("from the top", "#include \"src/shell/X.h\"\n");
        row("current folder", "#include \"./../shell/X.h\"\n");
        row("comment after #", "#/* why */include \"shell/X.h\"\n");
        row("comment before the name", "# include /* why */ <shell/X.h>\n");
        row("comment before #", "/* a\nb */ #include \"shell/X.h\"\n");
        row("joined lines", "#\\\ninclude \"shell/X.h\"\n");
        row("joined name", "#inc\\\r\nlude \"shell/X.h\"\n");
        row("include_next", "#include_next <shell/X.h>\n");
        row("import", "#import \"shell/X.h\"\n");
        row("digraph", "%:include \"shell/X.h\"\n");
        row("CRLF", "int a;\r\n#include \"shell/X.h\"\r\n");
        row("after code", "int a = 1'000; // x\n#include \"shell/X.h\"\n");
        row("macro", "#define H \"platform/X.h\"\n#include H\n");
        row("absolute", "#include \"/home/src/shell/X.h\"\n");
        row("platform to core", "#include \"core/L10n.h\"\n", false,
            QStringLiteral("src/platform/Planted.cpp"));
        // What is not an include, and what core may include.
        row("allowed", "#include \"platform/X.h\"\n#include <QString>\n#include \"X.h\"\n", true);
        row("common", "#include \"common/AppIdentity.h\"\n", true);
        row("line comment", "// #include \"shell/X.h\"\n", true);
        row("block comment", "/*\n#include \"shell/X.h\"\n*/\n", true);
        row("string", "const char* s = \"\\\n#include \\\"shell/X.h\\\"\";\n", true);
        row("raw string", "auto s = R\"x(\n#include \"shell/X.h\"\n)x\";\n", true);
        row("the editor's popovers", "#include \"tools/SlashCommandPopoverController.h\"\n", true,
            QStringLiteral("src/editor/Planted.cpp"));
    }
    void everyIncludeFormIsRead() {
        QFETCH(QString, path);
        QFETCH(QString, source);
        QFETCH(bool, allowed);
        const QStringList wrong = Rooms::violations(path, source);
        QVERIFY2(wrong.isEmpty() == allowed, qPrintable(wrong.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestRooms)
#include "tst_rooms.moc"

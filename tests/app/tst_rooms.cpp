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

bool isRoom(const QString& name) {
    return name == QLatin1String("app") || !below(name).isEmpty();
}

bool isIdentifier(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Reads a C++ source as the preprocessor does, only as far as it tells which
// lines are directives: lines joined at a backslash, comments as blanks,
// literals (raw ones too) skipped, "%:" for "#".
class Reader {
public:
    explicit Reader(const QString& source) : m_text(source) {
        static const QRegularExpression splice(QStringLiteral("\\\\\r?\n"));
        m_text.remove(splice);
    }

    // Every header an include directive (#include, #include_next, #import)
    // names, with its delimiters: "a/b.h" or <a/b.h>; "" for one named by a macro.
    QStringList includes() {
        QStringList found;
        bool lineStart = true;
        while (m_at < m_text.size()) {
            const QChar c = m_text[m_at];
            if (c == QLatin1Char('\n'))
                lineStart = true;
            if (c.isSpace()) {
                ++m_at;
            } else if (skipComment()) {
                // a blank, as to the preprocessor
            } else if (lineStart && (c == QLatin1Char('#') || ahead(u"%:"))) {
                lineStart = false;
                m_at += c == QLatin1Char('#') ? 1 : 2;
                skipBlanks();
                static const QStringList names = {"include", "include_next", "import"};
                if (names.contains(identifier())) {
                    skipBlanks();
                    found.append(headerName());
                }
            } else {
                lineStart = false;
                skipToken();
            }
        }
        return found;
    }

private:
    bool ahead(QStringView what) const { return QStringView(m_text).mid(m_at).startsWith(what); }

    qsizetype endOf(QStringView close, qsizetype from) const {
        const qsizetype at = m_text.indexOf(close, from);
        return at < 0 ? m_text.size() : at + close.size();
    }

    qsizetype lineEnd(qsizetype from) const {
        const qsizetype at = m_text.indexOf(QLatin1Char('\n'), from);
        return at < 0 ? m_text.size() : at;
    }

    bool skipComment() {
        if (ahead(u"/*"))
            m_at = endOf(u"*/", m_at + 2);
        else if (ahead(u"//"))
            m_at = lineEnd(m_at);
        else
            return false;
        return true;
    }

    // White space and comments within the line.
    void skipBlanks() {
        while (m_at < m_text.size()) {
            if (m_text[m_at].isSpace() && m_text[m_at] != QLatin1Char('\n'))
                ++m_at;
            else if (!skipComment())
                return;
        }
    }

    QString identifier() {
        const qsizetype from = m_at;
        while (m_at < m_text.size() && isIdentifier(m_text[m_at]))
            ++m_at;
        return m_text.mid(from, m_at - from);
    }

    QString headerName() {
        if (m_at >= m_text.size())
            return {};
        const QChar open = m_text[m_at];
        const QChar close = open == QLatin1Char('<') ? QLatin1Char('>') : open;
        if (open != QLatin1Char('"') && open != QLatin1Char('<'))
            return {};
        const qsizetype end = m_text.indexOf(close, m_at + 1);
        if (end < 0 || end > lineEnd(m_at))
            return {};
        const QString name = m_text.mid(m_at, end + 1 - m_at);
        m_at = end + 1;
        return name;
    }

    // One identifier, number, literal or other character.
    void skipToken() {
        const QChar c = m_text[m_at];
        if (isIdentifier(c) && !c.isDigit()) {
            const QString word = identifier();
            static const QStringList raw = {"R", "u8R", "uR", "UR", "LR"};
            if (raw.contains(word) && ahead(u"\"")) {
                const qsizetype open = m_text.indexOf(QLatin1Char('('), m_at);
                const QString delimiter = m_text.mid(m_at + 1, open - m_at - 1);
                m_at = open < 0
                           ? m_text.size()
                           : endOf(QString(QLatin1Char(')') + delimiter + QLatin1Char('"')), open);
            }
        } else if (c.isDigit()) {
            // A number, with its digit separators (1'000).
            while (m_at < m_text.size() &&
                   (isIdentifier(m_text[m_at]) || m_text[m_at] == QLatin1Char('.') ||
                    m_text[m_at] == QLatin1Char('\'')))
                ++m_at;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            for (++m_at;
                 m_at < m_text.size() && m_text[m_at] != c && m_text[m_at] != QLatin1Char('\n');
                 ++m_at)
                if (m_text[m_at] == QLatin1Char('\\'))
                    ++m_at;
            ++m_at;
        } else {
            ++m_at;
        }
    }

    QString m_text;
    qsizetype m_at = 0;
};

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
        if (clean.startsWith(QLatin1String("common/")))
            rooms.append(clean);
        else if (clean.startsWith(QLatin1String("src/")) && isRoom(clean.section('/', 1, 1)))
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
    for (const QString& header : Reader(source).includes()) {
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

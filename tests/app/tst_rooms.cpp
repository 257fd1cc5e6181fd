#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <deque>
#include <memory>

// The rooms of src/ lean on the rooms below them only: a generic widget that a
// lower room needs lives in widgets/, not in the windows that use it most.
// What each file includes is asked of the compiler itself, with the build's
// own flags, so no way of spelling an include escapes the check.
namespace Rooms {

// What each room may include besides itself; app, the top, may include all.
QStringList below(const QString& room) {
    static const QHash<QString, QStringList> rooms = {
        {QStringLiteral("common"), {}},
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
        {QStringLiteral("app"),
         {"common", "platform", "core", "editor", "preview", "export", "widgets", "tools", "shell",
          "windows"}},
    };
    return rooms.value(room, {QStringLiteral("?")});
}

// A project as the compiler sees it: real paths of its top and build folders.
struct Project {
    QString top;
    QString build;
    // Headers the build configures from a template in src/ ("X.h" from
    // "src/platform/X.h.in"), by name, to the template's room.
    QHash<QString, QString> configured;

    static Project at(const QString& top, const QString& build) {
        Project project{QDir(top).canonicalPath(), QDir(build).canonicalPath(), {}};
        QDirIterator it(project.top + QStringLiteral("/src"), {QStringLiteral("*.in")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            project.configured.insert(it.fileName().chopped(3), project.roomOf(path));
        }
        return project;
    }

    // The room of a real path; "" outside the project (system, Qt and cmark
    // headers), "?" inside it but in no room of src/ and not common/.
    QString roomOf(const QString& path) const {
        if (!build.isEmpty() && path.startsWith(build + QLatin1Char('/')))
            return configured.value(path.section(QLatin1Char('/'), -1), QStringLiteral("?"));
        if (!path.startsWith(top + QLatin1Char('/')))
            return {};
        const QString inside = path.mid(top.size() + 1);
        if (inside.startsWith(QLatin1String("common/")))
            return QStringLiteral("common");
        const QString room = inside.section(QLatin1Char('/'), 1, 1);
        if (inside.startsWith(QLatin1String("src/")) && inside.count(QLatin1Char('/')) > 1 &&
            below(room) != QStringList{QStringLiteral("?")})
            return room;
        return QStringLiteral("?");
    }

    QString shown(const QString& path) const {
        return path.startsWith(top + QLatin1Char('/')) ? path.mid(top.size() + 1) : path;
    }

    // Why `from` may not include `to` ("" when it may).
    QString fault(const QString& from, const QString& to) const {
        const QString fromRoom = roomOf(from);
        const QString toRoom = roomOf(to);
        if (fromRoom.isEmpty() || fromRoom == QLatin1String("?") || toRoom.isEmpty() ||
            toRoom == fromRoom || below(fromRoom).contains(toRoom))
            return {};
        return shown(from) + QStringLiteral(" includes ") + shown(to) +
               (toRoom == QLatin1String("?") ? QStringLiteral(", outside src/ and common/")
                                             : QString());
    }
};

// The words of a command line as a POSIX shell splits them.
QStringList shellWords(const QString& line) {
    QStringList words;
    QString word;
    bool inWord = false;
    QChar quote;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        const bool escaped = c == u'\\' && i + 1 < line.size();
        if (quote == u'\'') {
            if (c == u'\'')
                quote = QChar();
            else
                word += c;
        } else if (quote == u'"') {
            if (c == u'"')
                quote = QChar();
            else if (escaped && QStringLiteral("\"\\$`").contains(line.at(i + 1)))
                word += line.at(++i);
            else
                word += c;
        } else if (c.isSpace()) {
            if (inWord)
                words.append(std::exchange(word, {}));
            inWord = false;
        } else {
            inWord = true;
            if (c == u'\'' || c == u'"')
                quote = c;
            else
                word += escaped ? line.at(++i) : c;
        }
    }
    if (inWord)
        words.append(word);
    return words;
}

// The compiler and what of a compile command decides which files it reads.
struct Command {
    QString compiler;
    QStringList flags;
    QString folder;

    static Command from(const QStringList& words, const QString& folder) {
        static const QStringList withValue = {"-I",        "-D",         "-U",       "-isystem",
                                              "-iquote",   "-idirafter", "-include", "-imacros",
                                              "-isysroot", "--sysroot"};
        Command command{words.value(0), {}, folder};
        for (qsizetype i = 1; i < words.size(); ++i) {
            const QString& word = words.at(i);
            if (withValue.contains(word) && i + 1 < words.size())
                command.flags << word << words.at(++i);
            else if (word.startsWith(QLatin1String("-std=")) ||
                     word.startsWith(QLatin1String("-nostd")) ||
                     std::any_of(withValue.begin(), withValue.end(),
                                 [&](const QString& flag) { return word.startsWith(flag); }))
                command.flags << word;
        }
        return command;
    }
};

struct Reading {
    QStringList faults;
    QStringList errors;
    // The real paths of the files read.
    QSet<QString> read;
    int runs = 0;
};

// Runs the compiler on each file, a few at a time, and judges every include
// it meets. clang prints the tree of includes (-H) with those it skips as
// already included, so no include hides behind another file's include guard.
void read(const Project& project, const QList<QPair<QString, Command>>& files, Reading& reading) {
    std::deque<std::pair<QString, std::unique_ptr<QProcess>>> running;
    const auto finish = [&] {
        auto [file, process] = std::move(running.front());
        running.pop_front();
        process->waitForFinished(-1);
        ++reading.runs;
        const QString out = QString::fromLocal8Bit(process->readAllStandardError());
        QStringList chain = {QFileInfo(file).canonicalFilePath()};
        reading.read.insert(chain.first());
        QString error;
        for (const QString& line : out.split(QLatin1Char('\n'))) {
            const qsizetype depth = line.indexOf(QLatin1Char(' '));
            if (depth < 1 || line.left(depth) != QString(depth, QLatin1Char('.'))) {
                if (error.isEmpty() && line.contains(QLatin1String("error")))
                    error = line;
                continue;
            }
            const QFileInfo info(QDir(process->workingDirectory()), line.mid(depth + 1));
            chain.resize(std::min<qsizetype>(depth, chain.size()));
            chain.append(info.canonicalFilePath());
            reading.read.insert(chain.last());
            if (const QString fault = project.fault(chain.at(depth - 1), chain.last());
                !fault.isEmpty() && !reading.faults.contains(fault))
                reading.faults.append(fault);
        }
        if (process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0)
            reading.errors.append(project.shown(file) + QStringLiteral(": ") +
                                  (error.isEmpty() ? process->errorString() : error));
    };
    const int jobs = std::max(2, QThread::idealThreadCount());
    for (const auto& [file, command] : files) {
        if (int(running.size()) >= jobs)
            finish();
        auto process = std::make_unique<QProcess>();
        process->setWorkingDirectory(command.folder);
        process->setStandardOutputFile(QProcess::nullDevice());
        process->start(command.compiler,
                       command.flags + QStringList{"-x", "c++", "-w", "-E", "-H", "-Xclang",
                                                   "-fshow-skipped-includes", "-o",
                                                   QProcess::nullDevice(), file});
        running.emplace_back(file, std::move(process));
    }
    while (!running.empty())
        finish();
}

// Every file under src/, by its real path, read as the build compiles it:
// first those the build compiles, with their own commands; then, on its own
// with the library's command, each file none of them reached (a header no
// file includes, a template, a stray fragment).
Reading readAll(const Project& project, const QHash<QString, Command>& commands,
                const Command& library) {
    QList<QPair<QString, Command>> compiled;
    QStringList rest;
    QDirIterator it(project.top + QStringLiteral("/src"), QDir::Files,
                    QDirIterator::Subdirectories | QDirIterator::FollowSymlinks);
    while (it.hasNext()) {
        const QString path = QFileInfo(it.next()).canonicalFilePath();
        if (it.fileName() == QLatin1String("CMakeLists.txt") || path.isEmpty())
            continue;
        if (commands.contains(path))
            compiled.append({path, commands.value(path)});
        else
            rest.append(path);
    }
    Reading reading;
    read(project, compiled, reading);
    QList<QPair<QString, Command>> alone;
    for (const QString& path : rest) {
        if (!reading.read.contains(path)) {
            reading.read.insert(path);
            alone.append({path, library});
        }
    }
    read(project, alone, reading);
    return reading;
}

} // namespace Rooms

class TestRooms : public QObject {
    Q_OBJECT

    // The build's compile commands by the real path of their file, and those
    // of the library's files for the rest.
    QHash<QString, Rooms::Command> m_commands;
    Rooms::Command m_library;

private Q_SLOTS:
    void initTestCase() {
        QFile file(QStringLiteral(QUON_BINARY_DIR "/compile_commands.json"));
        QVERIFY2(file.open(QIODevice::ReadOnly), "the build writes compile_commands.json");
        const QString src = QDir(QStringLiteral(QUON_SOURCE_DIR "/src")).canonicalPath();
        for (const QJsonValue& value : QJsonDocument::fromJson(file.readAll()).array()) {
            const QJsonObject entry = value.toObject();
            QStringList words;
            for (const QJsonValue& word : entry.value(QStringLiteral("arguments")).toArray())
                words.append(word.toString());
            if (words.isEmpty())
                words = Rooms::shellWords(entry.value(QStringLiteral("command")).toString());
            const QString folder = entry.value(QStringLiteral("directory")).toString();
            const QString path =
                QFileInfo(QDir(folder), entry.value(QStringLiteral("file")).toString())
                    .canonicalFilePath();
            m_commands.insert(path, Rooms::Command::from(words, folder));
            if (m_library.compiler.isEmpty() && path.startsWith(src + QLatin1Char('/')))
                m_library = m_commands.value(path);
        }
        QVERIFY(!m_library.compiler.isEmpty());
        // clang reads for the build's compiler, with its flags: only clang
        // shows the includes that an include guard skips.
        const QString clang = QStandardPaths::findExecutable(QStringLiteral("clang++"));
        QVERIFY2(!clang.isEmpty(), "clang++ reads the includes (scripts/install-deps has it)");
        m_library.compiler = clang;
        for (Rooms::Command& command : m_commands)
            command.compiler = clang;
    }

    void roomsIncludeOnlyWhatLiesBelow() {
        const Rooms::Project project =
            Rooms::Project::at(QStringLiteral(QUON_SOURCE_DIR), QStringLiteral(QUON_BINARY_DIR));
        const Rooms::Reading reading = Rooms::readAll(project, m_commands, m_library);
        QVERIFY(reading.read.size() > 300);
        QVERIFY2(reading.errors.isEmpty(), qPrintable(reading.errors.join(QLatin1Char('\n'))));
        QVERIFY2(reading.faults.isEmpty(), qPrintable(reading.faults.join(QLatin1Char('\n'))));
    }

    void shellWordsAsTheShellSplitsThem() {
        const QString line =
            QStringLiteral("c++ -DA=\\\"x\\\" -DB=\"a b\" 'c d'  e\\ f -DC=\"\\\"q\\\\\"");
        QCOMPARE(Rooms::shellWords(line),
                 QStringList({"c++", "-DA=\"x\"", "-DB=a b", "c d", "e f", "-DC=\"q\\"}));
    }

    // Each way of writing an include, planted in a copy of the rooms in a
    // temporary folder: in core, which may include platform and common only.
    // Files are "path", "text" pairs; a text "->target" makes a symbolic link.
    void everyIncludeTheCompilerFollowsIsJudged_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<bool>("allowed");
        const auto row = [](const char* name, const char* source, bool allowed = false) {
            QTest::newRow(name) << QStringList{QStringLiteral("src/core/Planted.cpp"),
                                               QString::fromUtf8(source)}
                                << allowed;
        };
        row("plain", "#include \"shell/X.h\"\n");
        row("spaces after #", "#  include \"shell/X.h\"\n");
        row("indented", "  #include \"shell/X.h\"\n");
        row("tabs", "\t#\tinclude\t\"shell/X.h\"\n");
        row("angle brackets", "#include <shell/X.h>\n");
        row("no space before the name", "#include<shell/X.h>\n");
        row("parent folder", "#include \"../shell/X.h\"\n");
        row("through the own room", "#include \"core/../shell/X.h\"\n");
        row("from src", "#include \"src/shell/X.h\"\n");
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
        row("digit separator and a string",
            "int a = 1'2; const char* s = \"'/*\";\n#include \"shell/X.h\"\n// */\n");
        row("macro", "#define H \"shell/X.h\"\n#include H\n");
        row("absolute", "#include \"@TOP@/src/shell/X.h\"\n");
        row("from the top of the project", "#include \"tests/support/X.h\"\n");
        QTest::newRow("platform to core")
            << QStringList{"src/platform/Planted.cpp", "#include \"core/X.h\"\n"} << false;
        QTest::newRow("editor to tools")
            << QStringList{"src/editor/Planted.cpp", "#include \"tools/X.h\"\n"} << false;
        QTest::newRow("an .inl file")
            << QStringList{"src/core/Planted.cpp", "#include \"Planted.inl\"\n",
                           "src/core/Planted.inl", "#include \"shell/X.h\"\n"}
            << false;
        QTest::newRow("symlinked folder")
            << QStringList{"src/core/sh", "->../shell", "src/core/Planted.cpp",
                           "#include \"core/sh/X.h\"\n"}
            << false;
        QTest::newRow("symlinked header")
            << QStringList{"src/core/Sh.h", "->../shell/X.h", "src/core/Planted.cpp",
                           "#include \"Sh.h\"\n"}
            << false;
        QTest::newRow("behind an include guard")
            << QStringList{"src/export/Planted.cpp",
                           "#include \"preview/X.h\"\n#include \"editor/X.h\"\n"}
            << false;
        QTest::newRow("export through preview")
            << QStringList{"src/export/Planted.cpp", "#include \"preview/X.h\"\n"} << true;
        QTest::newRow("header left out of the tree")
            << QStringList{"src/core/Lone.inl", "#include \"shell/X.h\"\n"} << false;
        // What is not an include, and what core may include.
        row("allowed", "#include \"platform/X.h\"\n#include <QString>\n#include \"X.h\"\n", true);
        row("common", "#include \"common/X.h\"\n", true);
        row("line comment", "// #include \"shell/X.h\"\n", true);
        row("block comment", "/*\n#include \"shell/X.h\"\n*/\n", true);
        row("string", "const char* s = \"\\\n#include \\\"shell/X.h\\\"\";\n", true);
        row("raw string", "auto s = R\"x(\n#include \"shell/X.h\"\n)x\";\n", true);
        row("not compiled", "#if 0\n#include \"shell/X.h\"\n#endif\n", true);
    }
    void everyIncludeTheCompilerFollowsIsJudged() {
        QFETCH(QStringList, files);
        QFETCH(bool, allowed);
        QTemporaryDir top;
        QVERIFY(top.isValid());
        const QDir dir(top.path());
        // One header in each room the rows reach.
        // clang-format off
        QStringList planted = {
            "src/platform/X.h",  "#pragma once\n",
            "src/core/X.h",      "#pragma once\n",
            "src/editor/X.h",    "#pragma once\n",
            "src/preview/X.h",   "#pragma once\n#include \"editor/X.h\"\n",
            "src/shell/X.h",     "#pragma once\n",
            "src/tools/X.h",     "#pragma once\n",
            "common/X.h",        "#pragma once\n",
            "tests/support/X.h", "#pragma once\n"};
        // clang-format on
        planted += files;
        for (qsizetype i = 0; i + 1 < planted.size(); i += 2) {
            const QString path = dir.filePath(planted.at(i));
            QVERIFY(dir.mkpath(QFileInfo(path).path()));
            if (planted.at(i + 1).startsWith(QLatin1String("->"))) {
                QVERIFY(QFile::link(planted.at(i + 1).mid(2), path));
                continue;
            }
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(
                QString(planted.at(i + 1)).replace(QLatin1String("@TOP@"), top.path()).toUtf8());
        }
        // The library's own flags with the copy in place of the project.
        Rooms::Command command = m_library;
        const QString source = QDir(QStringLiteral(QUON_SOURCE_DIR)).canonicalPath();
        const QString copy = QDir(top.path()).canonicalPath();
        command.flags.replaceInStrings(source, copy);
        command.folder = copy;
        const Rooms::Project project = Rooms::Project::at(copy, copy + QStringLiteral("/build"));
        const Rooms::Reading reading = Rooms::readAll(project, {}, command);
        QVERIFY2(reading.errors.isEmpty(), qPrintable(reading.errors.join(QLatin1Char('\n'))));
        QVERIFY2(reading.faults.isEmpty() == allowed,
                 qPrintable(reading.faults.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(TestRooms)
#include "tst_rooms.moc"

#include "BuildInfo.h"
#include "common/AppIdentity.h"
#include "core/MarkdownFileTypes.h"
#include "export/ExportDesktop.h"
#include "export/PDFExporter.h"
#include "platform/FinderExtensionManager.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMimeDatabase>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// `cmake --install` of this build into a staging folder, checked with the
// desktop's own validators and MIME tools.
class TestPackaging : public QObject {
    Q_OBJECT

    QTemporaryDir stage;
    QString share;
    // Installed as a user installs: no staging, the caches refreshed.
    QTemporaryDir prefix;

    // Exit code of a tool; its output goes to the test log on failure.
    static int
    run(const QString& program, const QStringList& arguments,
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
        QByteArray* output = nullptr) {
        QProcess tool;
        tool.setProcessEnvironment(environment);
        tool.setProcessChannelMode(QProcess::SeparateChannels);
        tool.start(program, arguments);
        if (!tool.waitForFinished(120000))
            return -1;
        const QByteArray out = tool.readAllStandardOutput();
        if (output)
            *output = out;
        if (tool.exitCode() != 0)
            qWarning("%s: %s%s", qPrintable(program), out.constData(),
                     tool.readAllStandardError().constData());
        return tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    }

    QString mimeTypeOf(const QString& path, const QString& dataDirs) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // GNOME's branch of xdg-mime asks GIO, which reads the shared MIME database.
        environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
        environment.insert(QStringLiteral("XDG_DATA_DIRS"), dataDirs);
        QByteArray output;
        run(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("filetype"), path},
            environment, &output);
        return QString::fromUtf8(output).trimmed();
    }

private Q_SLOTS:
    void initTestCase() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DESTDIR"), stage.path());
        const QString build = QFileInfo(QStringLiteral(QUON_EXECUTABLE)).path();
        QCOMPARE(run(QStringLiteral("cmake"),
                     {QStringLiteral("--install"), build, QStringLiteral("--prefix"),
                      QStringLiteral("/usr")},
                     environment),
                 0);
        share = stage.filePath(QStringLiteral("usr/share"));
        QCOMPARE(run(QStringLiteral("cmake"), {QStringLiteral("--install"), build,
                                               QStringLiteral("--prefix"), prefix.path()}),
                 0);
        // Qt reads MIME folders once, at first use: this process sees the
        // prefix as it would in ~/.local or /usr/local.
        qputenv("XDG_DATA_DIRS", prefix.filePath(QStringLiteral("share")).toUtf8() + ":/usr/share");
    }

    void installedFiles() {
        QVERIFY(QFileInfo(stage.filePath(QStringLiteral("usr/bin/quon"))).isExecutable());
        for (const char* file :
             {"applications/" QUON_APP_ID ".desktop", "metainfo/" QUON_APP_ID ".metainfo.xml",
              "mime/packages/" QUON_APP_ID ".xml",
              "icons/hicolor/scalable/apps/" QUON_APP_ID ".svg", "man/man1/quon.1"})
            QVERIFY2(QFile::exists(share + QLatin1Char('/') + QLatin1String(file)), file);
        for (int size : {16, 24, 32, 48, 64, 128, 256, 512}) {
            const QImage icon(
                share + QStringLiteral("/icons/hicolor/%1x%1/apps/" QUON_APP_ID ".png").arg(size));
            QCOMPARE(icon.size(), QSize(size, size));
            QVERIFY(icon.hasAlphaChannel());
        }
    }

    // Clean for the desktop's validators, AppStream's pedantic checks and
    // groff's warnings; the one pedantic note left is the upper case of the
    // fixed application id.
    void validators() {
        QByteArray output;
        QCOMPARE(run(QStringLiteral("desktop-file-validate"),
                     {share + QStringLiteral("/applications/" QUON_APP_ID ".desktop")},
                     QProcessEnvironment::systemEnvironment(), &output),
                 0);
        QCOMPARE(output, QByteArray());
        QCOMPARE(run(QStringLiteral("appstreamcli"),
                     {QStringLiteral("validate"), QStringLiteral("--pedantic"),
                      QStringLiteral("--no-net"),
                      share + QStringLiteral("/metainfo/" QUON_APP_ID ".metainfo.xml")},
                     QProcessEnvironment::systemEnvironment(), &output),
                 0);
        for (const QByteArray& line : output.split('\n'))
            QVERIFY2(line.size() < 2 || line[1] != ':' ||
                         line.contains("cid-contains-uppercase-letter"),
                     line.constData());
        QCOMPARE(run(QStringLiteral("groff"),
                     {QStringLiteral("-man"), QStringLiteral("-ww"), QStringLiteral("-z"),
                      share + QStringLiteral("/man/man1/quon.1")},
                     QProcessEnvironment::systemEnvironment(), &output),
                 0);
        const QByteArray desktop =
            TestSupport::readFile(share + QStringLiteral("/applications/" QUON_APP_ID ".desktop"));
        QVERIFY(desktop.contains("\nTryExec=quon\n"));
        QVERIFY(QFile::exists(QStringLiteral(QUON_SOURCE_DIR "/LICENSE")));
    }

    // Installed under any prefix, quon finds the Files module and the PDF
    // printer beside its own folder, and the build's own from the build
    // folder: what "Enable Files Extension" copies, and the command it shows,
    // name an existing file, and the installed printer prints.
    void filesModuleAndPrinterFoundFromTheExecutable() {
        const QString build = QFileInfo(QStringLiteral(QUON_EXECUTABLE)).path();
        const QString installed =
            FinderExtensionManager::locationsFor(prefix.filePath(QStringLiteral("bin")))
                .moduleSource;
        QVERIFY2(QFileInfo(installed).isFile(), qPrintable(installed));
        QVERIFY(installed.startsWith(prefix.path() + QLatin1Char('/')));
        FinderExtensionManager::setLocations(
            FinderExtensionManager::locationsFor(prefix.filePath(QStringLiteral("bin"))));
        QVERIFY(FinderExtensionManager::manualInstallCommand().contains(installed));
        FinderExtensionManager::setLocations({});

        const QString printer = PDFExporter::printerProgramFor(prefix.filePath("bin"));
        QVERIFY2(QFileInfo(printer).isExecutable(), qPrintable(printer));
        QVERIFY(printer.startsWith(prefix.path() + QLatin1Char('/')));
        const QString page = TestSupport::writeFile(prefix, "page.html", "<p>Printed</p>");
        QCOMPARE(run(printer, {page, prefix.filePath("page.pdf")}), 0);
        QVERIFY(TestSupport::readFile(prefix.filePath("page.pdf")).startsWith("%PDF-"));

        const QString ofBuild = FinderExtensionManager::locationsFor(build).moduleSource;
        QVERIFY2(QFileInfo(ofBuild).isFile(), qPrintable(ofBuild));
        QVERIFY(ofBuild.startsWith(QString::fromUtf8(BuildInfo::buildDir)));
    }

    // The installed package makes *.mdown Markdown, which the system
    // database alone does not.
    void mimePackage() {
        QCOMPARE(run(QStringLiteral("update-mime-database"), {share + QStringLiteral("/mime")}), 0);
        QTemporaryDir files;
        const QString file =
            TestSupport::writeFile(files, QStringLiteral("x.mdown"), "# Title\n\nText.\n");
        QCOMPARE(mimeTypeOf(file, share + QStringLiteral(":/usr/share")),
                 QStringLiteral("text/markdown"));
        QCOMPARE(mimeTypeOf(file, QStringLiteral("/usr/share")), QStringLiteral("text/plain"));
    }

    // Qt takes a type's globs from the first folder that defines it: the
    // package's Markdown is the whole type, and the dialogs that filter
    // Markdown list every extension whatever the database holds.
    void markdownFiltersAfterAnInstall() {
        const QMimeType markdown =
            QMimeDatabase().mimeTypeForName(QLatin1String(MarkdownFileTypes::markdownMimeType));
        QVERIFY(markdown.inherits(QLatin1String(MarkdownFileTypes::plainTextMimeType)));
        ExportSaveRequest copy; // Save Markdown Copy's
        copy.mimeType = markdown.name();
        for (const QString& filter :
             copy.nameFilters() +
                 QStringList{markdown.filterString(), MarkdownFileTypes::nameFilter()})
            QVERIFY2(filter.endsWith(QLatin1String("(*.md *.markdown *.mdown *.mkd)")),
                     qPrintable(filter));
    }
};

QTEST_GUILESS_MAIN(TestPackaging)
#include "tst_packaging.moc"

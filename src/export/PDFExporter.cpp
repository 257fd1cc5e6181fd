#include "export/PDFExporter.h"

#include "BuildInfo.h"
#include "core/DocumentFile.h"
#include "core/L10n.h"
#include "export/PDFPrinter.h"
#include "platform/InstallLayout.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

QString& printerOverride() {
    static QString path;
    return path;
}

// The PDF the printer made in quon's own temporary folder; far larger than
// any export, so a stray file cannot take quon's memory.
QByteArray readPrinted(const QString& path) {
    constexpr qint64 largestPdf = 1024LL * 1024 * 1024;
    QFile file(path);
    if (!QFileInfo(path).isFile() || file.size() > largestPdf || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// One export: owns its temporary folder and the printer's process, reports
// once, and deletes itself once the process has ended too.
class PdfExportJob : public QObject {
public:
    PdfExportJob(const QString& path, PDFExporter::Completion completion)
        : m_path(path), m_completion(std::move(completion)) {}

    void start(const QString& html, int timeLimitMs) {
        const QString pagePath = m_folder.filePath(QStringLiteral("page.html"));
        QFile file(pagePath);
        const QByteArray bytes = html.toUtf8();
        if (!m_folder.isValid() || !file.open(QIODevice::WriteOnly) ||
            file.write(bytes) != bytes.size() || !file.flush()) {
            finish(L10n::tr("The page couldn’t be prepared for printing."));
            deleteLater();
            return;
        }
        file.close();
        const QString printer = PDFExporter::printerProgram();
        if (!QFileInfo(printer).isExecutable()) {
            finish(L10n::tr("The PDF couldn’t be created."));
            deleteLater();
            return;
        }

        m_limit.setSingleShot(true);
        connect(&m_limit, &QTimer::timeout, this, [this] {
            m_process.kill();
            finish(L10n::tr("Making the PDF took too long and was stopped."));
        });
        m_limit.start(timeLimitMs);

        // The engine's messages go where quon's own go; the printer says
        // nothing on its output that quon needs.
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        // A quon that ends any way at all takes its printer along, even one
        // that ended before the printer could ask for that.
        m_process.setChildProcessModifier([parent = ::getpid()] {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent)
                ::_exit(1);
        });
        connect(&m_process, &QProcess::finished, this, &PdfExportJob::printerEnded);
        connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
            if (error != QProcess::FailedToStart)
                return;
            finish(L10n::tr("The PDF couldn’t be created."));
            deleteLater();
        });
        // The page holds the user's text: it goes with the printer.
        connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
            m_process.kill();
            m_process.waitForFinished(1000);
            m_folder.remove();
        });
        m_process.start(printer, {pagePath, printedPath()});
    }

private:
    QString printedPath() const { return m_folder.filePath(QStringLiteral("page.pdf")); }

    void printerEnded(int exitCode, QProcess::ExitStatus status) {
        // Only once the process is gone: the job holds no running process.
        deleteLater();
        if (m_done)
            return;
        if (status != QProcess::NormalExit || exitCode != PDFPrinter::Written) {
            finish(status == QProcess::NormalExit && exitCode == PDFPrinter::PageNotLoaded
                       ? L10n::tr("The page couldn’t be loaded for printing.")
                       : L10n::tr("The PDF couldn’t be created."));
            return;
        }
        const QByteArray data = readPrinted(printedPath());
        if (data.isEmpty()) {
            finish(L10n::tr("The PDF couldn’t be created."));
            return;
        }
        DocumentFileError error;
        finish(DocumentFile::write(m_path, data, &error) ? QString() : error.message());
    }

    void finish(const QString& errorMessage) {
        if (m_done)
            return;
        m_done = true;
        m_limit.stop();
        // From the event loop, never inside the process's callbacks: the
        // caller may alert in a modal dialog.
        if (m_completion)
            QTimer::singleShot(0, qApp, [completion = std::move(m_completion), errorMessage] {
                completion(errorMessage);
            });
    }

    QString m_path;
    PDFExporter::Completion m_completion;
    QTemporaryDir m_folder;
    QTimer m_limit;
    QProcess m_process;
    bool m_done = false;
};

} // namespace

void PDFExporter::prepareEngine() {
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Without the sandbox the engine needs no zygote, and a zygote whose
    // helper ends stops the whole process; without one, such a helper is a
    // page process that ended, which the printer reports.
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX") &&
        !flags.split(' ').contains("--no-zygote")) {
        flags += flags.isEmpty() ? "--no-zygote" : " --no-zygote";
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    }
}

void PDFExporter::exportPDF(const QString& html, const QString& path, Completion completion,
                            int timeLimitMs) {
    auto* job = new PdfExportJob(path, std::move(completion));
    job->start(html, timeLimitMs);
}

QString PDFExporter::printerProgram() {
    if (!printerOverride().isEmpty())
        return printerOverride();
    return printerProgramFor(QCoreApplication::applicationDirPath());
}

QString PDFExporter::printerProgramFor(const QString& executableFolder) {
    return InstallLayout::companionFolder(executableFolder,
                                          QString::fromUtf8(BuildInfo::buildDir)) +
           QLatin1Char('/') + QLatin1String(PDFPrinter::programName);
}

void PDFExporter::setPrinterProgram(const QString& path) {
    printerOverride() = path;
}

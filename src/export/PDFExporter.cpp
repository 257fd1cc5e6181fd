#include "export/PDFExporter.h"

#include "core/DocumentFile.h"
#include "core/L10n.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineSettings>

#include <unistd.h>

namespace {

constexpr int pauseAfterLoadMs = 150;

// The engine stops the process when it cannot find its helper program:
// look for it where the engine does before starting it.
bool helperProgramExists() {
    const QString fromEnvironment = qEnvironmentVariable("QTWEBENGINEPROCESS_PATH");
    if (!fromEnvironment.isEmpty())
        return QFileInfo::exists(fromEnvironment);
    const QString name = QStringLiteral("/QtWebEngineProcess");
    return QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + name) ||
           QFileInfo::exists(QCoreApplication::applicationDirPath() + name);
}

// One export: owns its page and temporary file and deletes itself once it
// has reported, whichever of load, print, write or time limit ends it.
class PdfExportJob : public QObject {
public:
    PdfExportJob(const QString& path, PDFExporter::Completion completion)
        : m_path(path), m_completion(std::move(completion)) {}

    ~PdfExportJob() override { delete m_page; }

    void start(const QString& html, int timeLimitMs) {
        const QString pagePath = m_folder.filePath(QStringLiteral("page.html"));
        QFile file(pagePath);
        const QByteArray bytes = html.toUtf8();
        if (!m_folder.isValid() || !file.open(QIODevice::WriteOnly) ||
            file.write(bytes) != bytes.size() || !file.flush()) {
            finish(L10n::tr("The page couldn’t be prepared for printing."));
            return;
        }
        file.close();
        if (!helperProgramExists()) {
            finish(L10n::tr("The PDF couldn’t be created."));
            return;
        }

        m_limit.setSingleShot(true);
        connect(&m_limit, &QTimer::timeout, this,
                [this] { finish(L10n::tr("Making the PDF took too long and was stopped.")); });
        m_limit.start(timeLimitMs);

        m_page = new QWebEnginePage();
        m_page->settings()->setAttribute(QWebEngineSettings::PrintElementBackgrounds, true);
        // The page never needs scripts.
        m_page->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
        connect(m_page, &QWebEnginePage::loadFinished, this, &PdfExportJob::loaded);
        // The page's process ended (or never started): nothing will print.
        connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
                [this] { finish(L10n::tr("The PDF couldn’t be created.")); });
        // The web engine shuts down with the application: drop the page first.
        connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
            m_done = true;
            delete m_page;
            m_page = nullptr;
        });
        m_page->load(QUrl::fromLocalFile(pagePath));
    }

private:
    void loaded(bool ok) {
        if (m_loaded || m_done)
            return;
        m_loaded = true;
        if (!ok) {
            finish(L10n::tr("The page couldn’t be loaded for printing."));
            return;
        }
        QTimer::singleShot(pauseAfterLoadMs, this, &PdfExportJob::print);
    }

    void print() {
        if (m_done || !m_page)
            return;
        const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
        QPointer<PdfExportJob> self(this);
        m_page->printToPdf(
            [self](const QByteArray& data) {
                if (self)
                    self->printed(data);
            },
            a4);
    }

    void printed(const QByteArray& data) {
        if (m_done)
            return;
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
        deleteLater();
        // From the event loop, never inside the web engine's callbacks: the
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
    QWebEnginePage* m_page = nullptr;
    bool m_loaded = false;
    bool m_done = false;
};

} // namespace

void PDFExporter::prepareEngine() {
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Without the sandbox the engine needs no zygote, and a zygote whose
    // helper ends stops the whole process; without one, such a helper is a
    // page process that ended, which the export reports.
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

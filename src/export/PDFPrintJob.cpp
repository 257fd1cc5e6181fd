#include "export/PDFPrintJob.h"

#include "core/DocumentFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineSettings>

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

} // namespace

PDFPrintJob::PDFPrintJob(const QString& pagePath, const QString& outputPath, Completion completion)
    : m_pagePath(pagePath), m_outputPath(outputPath), m_completion(std::move(completion)) {}

PDFPrintJob::~PDFPrintJob() {
    delete m_page;
}

void PDFPrintJob::start() {
    if (!helperProgramExists()) {
        finish(NotCreated);
        return;
    }
    m_page = new QWebEnginePage();
    m_page->settings()->setAttribute(QWebEngineSettings::PrintElementBackgrounds, true);
    // The page never needs scripts.
    m_page->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    connect(m_page, &QWebEnginePage::loadFinished, this, &PDFPrintJob::loaded);
    // The page's process ended (or never started): nothing will print.
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this, [this] { finish(NotCreated); });
    m_page->load(QUrl::fromLocalFile(m_pagePath));
}

void PDFPrintJob::loaded(bool ok) {
    if (m_loaded || m_done)
        return;
    m_loaded = true;
    if (!ok) {
        finish(PageNotLoaded);
        return;
    }
    QTimer::singleShot(pauseAfterLoadMs, this, &PDFPrintJob::print);
}

void PDFPrintJob::print() {
    if (m_done)
        return;
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    QPointer<PDFPrintJob> self(this);
    m_page->printToPdf(
        [self](const QByteArray& data) {
            if (self)
                self->printed(data);
        },
        a4);
}

void PDFPrintJob::printed(const QByteArray& data) {
    if (m_done)
        return;
    finish(!data.isEmpty() && DocumentFile::write(m_outputPath, data, nullptr) ? Written
                                                                               : NotCreated);
}

void PDFPrintJob::finish(Outcome outcome) {
    if (m_done)
        return;
    m_done = true;
    // From the event loop, never inside the web engine's callbacks.
    QTimer::singleShot(0, this, [this, outcome] {
        if (m_completion)
            m_completion(outcome);
    });
}

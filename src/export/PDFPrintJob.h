#pragma once

#include "export/PDFPrinter.h"

#include <QObject>
#include <QString>
#include <functional>

class QWebEnginePage;

// Prints a page file to an A4 PDF file with the web engine of this process:
// the printer program's work, away from quon's windows. The PDF is made
// 0.15 s after the load and written atomically.
class PDFPrintJob : public QObject {
public:
    using Outcome = PDFPrinter::Outcome;
    using enum PDFPrinter::Outcome;
    using Completion = std::function<void(Outcome outcome)>;

    PDFPrintJob(const QString& pagePath, const QString& outputPath, Completion completion);
    ~PDFPrintJob() override;

    void start();

private:
    void loaded(bool ok);
    void print();
    void printed(const QByteArray& data);
    void finish(Outcome outcome);

    QString m_pagePath;
    QString m_outputPath;
    Completion m_completion;
    QWebEnginePage* m_page = nullptr;
    bool m_loaded = false;
    bool m_done = false;
};

#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QWebEnginePage;

// Prints a page file to an A4 PDF file with the web engine of this process:
// the printer program's work, away from quon's windows. The PDF is made
// 0.15 s after the load and written atomically.
class PDFPrintJob : public QObject {
public:
    // The printer's exit status; quon turns it into its message.
    enum Outcome { Written = 0, NotCreated = 1, PageNotLoaded = 3 };
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

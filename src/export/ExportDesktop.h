#pragma once

#include <QString>
#include <QStringList>

class QMimeData;

// A save dialog's settings for one export.
struct ExportSaveRequest {
    QString title;
    QString fileName;  // proposed name, "baseName.suffix"
    QString suffix;    // without the dot
    QString mimeType;  // the one type the dialog offers
    QString directory; // where the dialog starts; empty for the dialog's own choice

    // The dialog's filter for the type.
    QStringList nameFilters() const;
};

// What the exports ask of the desktop: a destination, an alert and the
// clipboard. Tests replace it so nothing ever blocks.
class ExportDesktop {
public:
    virtual ~ExportDesktop() = default;

    // The chosen path, or empty when the user cancelled.
    virtual QString chooseSavePath(const ExportSaveRequest& request) = 0;
    // A modal warning with one button; returns when it is dismissed.
    virtual void showWarning(const QString& title, const QString& message) = 0;
    // Replaces the clipboard's contents; takes ownership of data.
    virtual void setClipboard(QMimeData* data) = 0;

    static ExportDesktop& shared();
    // Installs a replacement (not owned); nullptr restores the real desktop.
    static void setShared(ExportDesktop* desktop);
};

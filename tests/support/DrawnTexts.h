#pragma once

#include <QList>
#include <QRectF>
#include <QString>

class QWidget;

// What a widget draws of text as it paints itself and its children now:
// each run of text with where it lies in the widget and whether the painter's
// clip cut any of it off.
namespace DrawnTexts {

struct Run {
    QString text;
    QRectF rect; // in the widget's coordinates
    bool clipped = false;
};

QList<Run> of(QWidget* widget);

// The runs that are not drawn whole: ended by "…" or cut by a clip.
QStringList cut(const QList<Run>& runs);

} // namespace DrawnTexts

#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

// The interface's symbol names ("doc.on.doc", "checkmark.square.fill" ...)
// drawn from Adwaita's symbolic SVGs or from small SVGs of our own under
// :/symbols, tinted with one colour and rendered at whatever size and device
// pixel ratio they are painted at. Unknown names draw a visible generic glyph.
namespace Symbols {

QIcon icon(const QString& name, const QColor& colour);

// The tinted glyph at a logical size for a device pixel ratio.
QPixmap pixmap(const QString& name, const QColor& colour, const QSize& size, qreal dpr = 1.0);

// Whether the name is in the table (unknown names still draw the fallback).
bool isKnown(const QString& name);

// The SVG file drawn for a name: its table entry when that file is present,
// otherwise the generic glyph.
QString sourceFile(const QString& name);

} // namespace Symbols

#pragma once

#include "core/DesignSystem.h"

#include <QString>

struct MarkdownNode;

// Turns a document's Markdown into one standalone HTML page with an inline
// stylesheet built from the design system. Every HTML-based export (the HTML
// file, the PDF, Copy as HTML) goes through here. Never fails: any input gives
// a page.
namespace MarkdownHTMLExporter {

// documentDirectory: the folder relative image paths resolve against; empty
// for an untitled document.
QString htmlDocument(const QString& markdown, const DesignSystem& designSystem,
                     const QString& documentDirectory);
// The same page as the PDF prints it: in print, every page carries the same
// top and bottom margin and is filled with the page colour to its edges.
QString printDocument(const QString& markdown, const DesignSystem& designSystem,
                      const QString& documentDirectory);

// The page body for one container node (the document, a block quote): its
// blocks joined with line feeds.
QString renderBlocks(const MarkdownNode& container, const QString& documentDirectory);

QString stylesheet(const DesignSystem& designSystem);
// "#RRGGBB" from the colour's own doubles, halves rounded away from zero; alpha is dropped.
QString hex(const ColorValue& color);
QString escapeHTML(const QString& text);
// The href written for a link and the src for an image: empty for
// destinations that would run code (script schemes; data other than a
// raster picture).
QString safeLinkDestination(const QString& destination);

} // namespace MarkdownHTMLExporter

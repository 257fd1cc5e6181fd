#include "export/MarkdownHTMLExporter.h"

#include "core/MarkdownFormatter.h"
#include "core/MarkdownParser.h"
#include "core/MarkdownTree.h"
#include "preview/ImageURLResolver.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace MarkdownHTMLExporter {

namespace {

QString renderBlock(const MarkdownNode& node, const QString& folder);
QString renderInline(const MarkdownNode& node, const QString& folder);

QString renderInlines(const MarkdownNode& node, const QString& folder) {
    QString out;
    for (const MarkdownNode& child : node.children)
        out += renderInline(child, folder);
    return out;
}

QString renderImage(const MarkdownNode& image, const QString& folder) {
    if (image.destination.isEmpty())
        return {};
    // The preview and the page must mean the same file.
    const std::optional<QUrl> resolved =
        ImageURLResolver::resolve(image.destination.toString(), folder);
    // A source that would run code is dropped, as a link's destination is.
    const QString src = safeLinkDestination(resolved ? resolved->toString(QUrl::FullyEncoded)
                                                     : image.destination.toString());
    return QStringLiteral("<img src=\"") + escapeHTML(src) + QStringLiteral("\" alt=\"") +
           escapeHTML(image.plainText()) + QStringLiteral("\">");
}

QString renderListItem(const MarkdownNode& node, const QString& folder) {
    // An item below the tree's depth cap is its source text.
    if (node.kind != MarkdownNodeKind::ListItem)
        return QStringLiteral("<li>") + renderBlock(node, folder) + QStringLiteral("</li>");
    QString content;
    for (const MarkdownNode& child : node.children)
        content += renderBlock(child, folder);
    if (node.checkbox == TaskCheckbox::None)
        return QStringLiteral("<li>") + content + QStringLiteral("</li>");
    const QString state =
        node.checkbox == TaskCheckbox::Checked ? QStringLiteral(" checked") : QString();
    return QStringLiteral("<li><input type=\"checkbox\" disabled") + state + QStringLiteral("> ") +
           content + QStringLiteral("</li>");
}

QString renderListItems(const MarkdownNode& list, const QString& folder) {
    QString items;
    for (const MarkdownNode& child : list.children)
        items += renderListItem(child, folder);
    return items;
}

bool hasTaskItem(const MarkdownNode& list) {
    return std::any_of(list.children.begin(), list.children.end(), [](const MarkdownNode& c) {
        return c.kind == MarkdownNodeKind::ListItem && c.checkbox != TaskCheckbox::None;
    });
}

QString renderTable(const MarkdownNode& table, const QString& folder) {
    QString out = QStringLiteral("<table>");
    const MarkdownNode* head = table.tableHead();
    if (head && head->childCount() > 0) {
        out += QStringLiteral("<thead><tr>");
        for (const MarkdownNode& cell : head->children)
            out += QStringLiteral("<th>") + renderInlines(cell, folder) + QStringLiteral("</th>");
        out += QStringLiteral("</tr></thead>");
    }
    out += QStringLiteral("<tbody>");
    for (const MarkdownNode* row : table.tableBody()) {
        out += QStringLiteral("<tr>");
        for (const MarkdownNode& cell : row->children) {
            if (cell.kind == MarkdownNodeKind::TableCell)
                out +=
                    QStringLiteral("<td>") + renderInlines(cell, folder) + QStringLiteral("</td>");
        }
        out += QStringLiteral("</tr>");
    }
    return out + QStringLiteral("</tbody></table>");
}

// Nodes without a rule of their own show their Markdown source as text.
QString fallbackBlock(const MarkdownNode& node) {
    const QString text = MarkdownFormatter::format(node).trimmed();
    if (text.isEmpty())
        return {};
    return QStringLiteral("<p>") + escapeHTML(text) + QStringLiteral("</p>");
}

QString renderBlock(const MarkdownNode& node, const QString& folder) {
    switch (node.kind) {
    case MarkdownNodeKind::Heading: {
        const QString level = QString::number(node.headingLevel);
        return QStringLiteral("<h") + level + QLatin1Char('>') + renderInlines(node, folder) +
               QStringLiteral("</h") + level + QLatin1Char('>');
    }
    case MarkdownNodeKind::Paragraph:
        if (node.childCount() == 1 && node.child(0).kind == MarkdownNodeKind::Image)
            return renderImage(node.child(0), folder);
        return QStringLiteral("<p>") + renderInlines(node, folder) + QStringLiteral("</p>");
    case MarkdownNodeKind::CodeBlock: {
        const QString language = node.codeLanguage();
        const QString cls = language.isEmpty() ? QString()
                                               : QStringLiteral(" class=\"language-") +
                                                     escapeHTML(language) + QLatin1Char('"');
        return QStringLiteral("<pre><code") + cls + QLatin1Char('>') +
               escapeHTML(node.literal.toString()) + QStringLiteral("</code></pre>");
    }
    case MarkdownNodeKind::BlockQuote:
        return QStringLiteral("<blockquote>") + renderBlocks(node, folder) +
               QStringLiteral("</blockquote>");
    case MarkdownNodeKind::ThematicBreak:
        return QStringLiteral("<hr>");
    case MarkdownNodeKind::Image:
        return renderImage(node, folder);
    case MarkdownNodeKind::UnorderedList:
        return (hasTaskItem(node) ? QStringLiteral("<ul class=\"task-list\">")
                                  : QStringLiteral("<ul>")) +
               renderListItems(node, folder) + QStringLiteral("</ul>");
    case MarkdownNodeKind::OrderedList:
        return QStringLiteral("<ol>") + renderListItems(node, folder) + QStringLiteral("</ol>");
    case MarkdownNodeKind::Table:
        return renderTable(node, folder);
    default:
        return fallbackBlock(node);
    }
}

QString wrapped(const char* tag, const MarkdownNode& node, const QString& folder) {
    const QString name = QLatin1String(tag);
    return QLatin1Char('<') + name + QLatin1Char('>') + renderInlines(node, folder) +
           QStringLiteral("</") + name + QLatin1Char('>');
}

QString renderInline(const MarkdownNode& node, const QString& folder) {
    switch (node.kind) {
    case MarkdownNodeKind::Text:
        return escapeHTML(node.literal.toString());
    case MarkdownNodeKind::Emphasis:
        return wrapped("em", node, folder);
    case MarkdownNodeKind::Strong:
        return wrapped("strong", node, folder);
    case MarkdownNodeKind::InlineCode:
        return QStringLiteral("<code>") + escapeHTML(node.literal.toString()) +
               QStringLiteral("</code>");
    case MarkdownNodeKind::Link:
        return QStringLiteral("<a href=\"") +
               escapeHTML(safeLinkDestination(node.destination.toString())) +
               QStringLiteral("\">") + renderInlines(node, folder) + QStringLiteral("</a>");
    case MarkdownNodeKind::Strikethrough:
        return wrapped("del", node, folder);
    case MarkdownNodeKind::Image:
        return renderImage(node, folder);
    case MarkdownNodeKind::SoftBreak:
        return QStringLiteral(" ");
    default:
        // A hard break becomes two spaces; inline HTML shows as text.
        return escapeHTML(MarkdownFormatter::format(node));
    }
}

QString fontStack(FontDesign design) {
    switch (design) {
    case FontDesign::Serif:
        return QStringLiteral("Iowan Old Style, Palatino, Georgia, serif");
    case FontDesign::Rounded:
        return QStringLiteral("ui-rounded, system-ui, -apple-system, sans-serif");
    case FontDesign::Monospaced:
        return QStringLiteral("ui-monospace, SFMono-Regular, DejaVu Sans Mono, monospace");
    case FontDesign::Default:
        break;
    }
    return QStringLiteral("system-ui, -apple-system, BlinkMacSystemFont, sans-serif");
}

int channel(double component) {
    return int(std::round(std::clamp(component, 0.0, 1.0) * 255.0));
}

// The page; for print, the article sits in a frame table whose empty header
// and footer rows the engine repeats on every printed page (the page's top
// and bottom margin), over a fixed fill that covers each page whole, the
// last one too. Neither page margins nor the root background do that when
// printing: both leave the paper white.
QString page(const QString& markdown, const DesignSystem& designSystem,
             const QString& documentDirectory, bool forPrint) {
    const auto parsed = MarkdownParser::parse(markdown);
    QString css = stylesheet(designSystem);
    QString open = QStringLiteral("  <article class=\"content\">\n");
    QString close = QStringLiteral("\n  </article>");
    if (forPrint) {
        css += QStringLiteral("\n@media print {\n"
                              "  body { padding: 0 24px; }\n"
                              "  .page-fill {\n"
                              "    position: fixed;\n"
                              "    top: 0;\n"
                              "    right: 0;\n"
                              "    bottom: 0;\n"
                              "    left: 0;\n"
                              "    z-index: -1;\n"
                              "    background: ") +
               hex(designSystem.colors.previewSurface) +
               QStringLiteral(";\n  }\n"
                              "  table.page-frame {\n"
                              "    width: 100%;\n"
                              "    margin: 0;\n"
                              "    table-layout: fixed;\n"
                              "    border-collapse: collapse;\n"
                              "    font-size: 1em;\n"
                              "  }\n"
                              "  .page-frame > * > tr > td { border: none; padding: 0; }\n"
                              "  .page-frame .page-gap { height: 48px; }\n"
                              "}");
        open = QStringLiteral("  <div class=\"page-fill\"></div>\n  <table class=\"page-frame\">"
                              "<thead><tr><td class=\"page-gap\"></td></tr></thead><tfoot><tr>"
                              "<td class=\"page-gap\"></td></tr></tfoot><tbody><tr><td>\n") +
               open;
        close += QStringLiteral("\n  </td></tr></tbody></table>");
    }
    return QStringLiteral(
               "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n  <meta charset=\"utf-8\">\n"
               "  <meta name=\"viewport\" content=\"width=device-width, "
               "initial-scale=1\">\n  <title>") +
           escapeHTML(QStringLiteral("Exported from quon")) +
           QStringLiteral("</title>\n  <style>") + css +
           QStringLiteral("</style>\n</head>\n<body>\n") + open +
           renderBlocks(parsed->document, documentDirectory) + close +
           QStringLiteral("\n</body>\n</html>");
}

} // namespace

QString htmlDocument(const QString& markdown, const DesignSystem& designSystem,
                     const QString& documentDirectory) {
    return page(markdown, designSystem, documentDirectory, false);
}

QString printDocument(const QString& markdown, const DesignSystem& designSystem,
                      const QString& documentDirectory) {
    return page(markdown, designSystem, documentDirectory, true);
}

QString renderBlocks(const MarkdownNode& container, const QString& documentDirectory) {
    QStringList blocks;
    blocks.reserve(container.childCount());
    for (const MarkdownNode& child : container.children)
        blocks.append(renderBlock(child, documentDirectory));
    return blocks.join(QLatin1Char('\n'));
}

QString stylesheet(const DesignSystem& designSystem) {
    // The page's style sheet; each @name@ takes a value of the design system.
    static const QString sheet = QStringLiteral(R"css(:root {
  color-scheme: light dark;
}
body {
  margin: 0;
  padding: 48px 24px;
  font-family: @font@;
  font-size: 15px;
  line-height: 1.65;
  color: @text@;
  background: @surface@;
}
.content {
  max-width: 680px;
  margin: 0 auto;
}
h1, h2, h3, h4, h5, h6 {
  line-height: 1.25;
  margin: 1.4em 0 0.5em;
  font-weight: 600;
}
h1 { font-size: 2rem; margin-top: 0; }
h2 { font-size: 1.5rem; }
h3 { font-size: 1.2rem; }
p { margin: 0.75em 0; }
a { color: @accent@; text-decoration: none; }
a:hover { text-decoration: underline; }
code {
  font-family: ui-monospace, SFMono-Regular, DejaVu Sans Mono, monospace;
  font-size: 0.92em;
  background: @codeBackground@;
  border: 1px solid @codeBorder@;
  border-radius: 6px;
  padding: 0.1em 0.35em;
}
pre {
  background: @codeBackground@;
  border: 1px solid @codeBorder@;
  border-radius: 10px;
  padding: 14px 16px;
  overflow-x: auto;
  margin: 1em 0;
}
pre code { background: none; border: none; padding: 0; }
blockquote {
  margin: 1em 0;
  padding: 12px 16px;
  border-left: 3px solid @quoteBorder@;
  background: @codeBackground@;
  border-radius: 0 10px 10px 0;
}
ul, ol { margin: 0.75em 0; padding-left: 1.4em; }
li { margin: 0.35em 0; }
hr {
  border: none;
  border-top: 1px solid @divider@;
  margin: 1.5em 0;
}
table {
  width: 100%;
  border-collapse: collapse;
  margin: 1em 0;
  font-size: 0.95em;
}
th, td {
  border: 1px solid @divider@;
  padding: 8px 12px;
  text-align: left;
}
th { background: @codeBackground@; }
img {
  max-width: 100%;
  height: auto;
  border-radius: 10px;
  margin: 0.75em 0;
}
.task-list { list-style: none; padding-left: 0; }
.task-list li { display: flex; gap: 0.5em; align-items: baseline; }
@media print {
  .content { overflow-wrap: anywhere; }
  pre { white-space: pre-wrap; overflow-x: visible; }
})css");
    const DesignSystem::Colors& c = designSystem.colors;
    const std::pair<QLatin1String, QString> values[] = {
        {QLatin1String("@font@"), fontStack(designSystem.typography.design)},
        {QLatin1String("@text@"), hex(c.text)},
        {QLatin1String("@surface@"), hex(c.previewSurface)},
        {QLatin1String("@accent@"), hex(c.accent)},
        {QLatin1String("@codeBackground@"), hex(c.codeBackground)},
        {QLatin1String("@codeBorder@"), hex(c.codeBorder)},
        {QLatin1String("@quoteBorder@"), hex(c.quoteBorder)},
        {QLatin1String("@divider@"), hex(c.divider)},
    };
    QString css = sheet;
    for (const auto& [name, value] : values)
        css.replace(name, value);
    return css;
}

QString hex(const ColorValue& color) {
    if (std::isnan(color.red) || std::isnan(color.green) || std::isnan(color.blue))
        return QStringLiteral("#000000");
    return QStringLiteral("#%1%2%3")
        .arg(channel(color.red), 2, 16, QLatin1Char('0'))
        .arg(channel(color.green), 2, 16, QLatin1Char('0'))
        .arg(channel(color.blue), 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString escapeHTML(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('&'), QLatin1String("&amp;"));
    out.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    out.replace(QLatin1Char('>'), QLatin1String("&gt;"));
    out.replace(QLatin1Char('"'), QLatin1String("&quot;"));
    return out;
}

QString safeLinkDestination(const QString& destination) {
    // Browsers ignore tabs and line breaks anywhere in a URL and control
    // characters and spaces at its ends, so "java\tscript:" is still a script.
    QString bare;
    for (QChar ch : destination) {
        if (ch.unicode() > 0x20)
            bare += ch;
    }
    bare = bare.toLower();
    static const QLatin1String scriptSchemes[] = {QLatin1String("javascript:"),
                                                  QLatin1String("vbscript:")};
    for (const QLatin1String& scheme : scriptSchemes) {
        if (bare.startsWith(scheme))
            return {};
    }
    if (bare.startsWith(QLatin1String("data:"))) {
        // Only pictures may come inline; anything else could be a page of its own.
        const QString type =
            bare.mid(5).section(QLatin1Char(','), 0, 0).section(QLatin1Char(';'), 0, 0);
        static const QStringList images = {QStringLiteral("image/png"), QStringLiteral("image/gif"),
                                           QStringLiteral("image/jpeg"),
                                           QStringLiteral("image/webp")};
        return images.contains(type) ? destination : QString();
    }
    return destination;
}

} // namespace MarkdownHTMLExporter

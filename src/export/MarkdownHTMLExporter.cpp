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
    const DesignSystem::Colors& c = designSystem.colors;
    QString css;
    css.reserve(2400);
    css +=
        QStringLiteral(":root {\n  color-scheme: light dark;\n}\nbody {\n  margin: 0;\n  padding: "
                       "48px 24px;\n  font-family: ");
    css += fontStack(designSystem.typography.design);
    css += QStringLiteral(";\n  font-size: 15px;\n  line-height: 1.65;\n  color: ");
    css += hex(c.text);
    css += QStringLiteral(";\n  background: ");
    css += hex(c.previewSurface);
    css += QStringLiteral(
        ";\n}\n.content {\n  max-width: 680px;\n  margin: 0 auto;\n}\nh1, h2, h3, h4, h5, h6 {\n  "
        "line-height: 1.25;\n  margin: 1.4em 0 0.5em;\n  font-weight: 600;\n}\nh1 { font-size: "
        "2rem; margin-top: 0; }\nh2 { font-size: 1.5rem; }\nh3 { font-size: 1.2rem; }\np { margin: "
        "0.75em 0; }\na { color: ");
    css += hex(c.accent);
    css += QStringLiteral("; text-decoration: none; }\na:hover { text-decoration: underline; "
                          "}\ncode {\n  font-family: ui-monospace, SFMono-Regular, DejaVu Sans "
                          "Mono, monospace;\n  font-size: 0.92em;\n  background: ");
    css += hex(c.codeBackground);
    css += QStringLiteral(";\n  border: 1px solid ");
    css += hex(c.codeBorder);
    css += QStringLiteral(
        ";\n  border-radius: 6px;\n  padding: 0.1em 0.35em;\n}\npre {\n  background: ");
    css += hex(c.codeBackground);
    css += QStringLiteral(";\n  border: 1px solid ");
    css += hex(c.codeBorder);
    css +=
        QStringLiteral(";\n  border-radius: 10px;\n  padding: 14px 16px;\n  overflow-x: auto;\n  "
                       "margin: 1em 0;\n}\npre code { background: none; border: none; padding: "
                       "0; }\nblockquote {\n  margin: 1em 0;\n  padding: 12px 16px;\n  "
                       "border-left: 3px solid ");
    css += hex(c.quoteBorder);
    css += QStringLiteral(";\n  background: ");
    css += hex(c.codeBackground);
    css += QStringLiteral(";\n  border-radius: 0 10px 10px 0;\n}\nul, ol { margin: 0.75em 0; "
                          "padding-left: 1.4em; }\nli { margin: 0.35em 0; }\nhr {\n  border: "
                          "none;\n  border-top: 1px solid ");
    css += hex(c.divider);
    css += QStringLiteral(";\n  margin: 1.5em 0;\n}\ntable {\n  width: 100%;\n  border-collapse: "
                          "collapse;\n  margin: 1em 0;\n  font-size: 0.95em;\n}\nth, td {\n  "
                          "border: 1px solid ");
    css += hex(c.divider);
    css += QStringLiteral(";\n  padding: 8px 12px;\n  text-align: left;\n}\nth { background: ");
    css += hex(c.codeBackground);
    css += QStringLiteral("; }\nimg {\n  max-width: 100%;\n  height: auto;\n  border-radius: "
                          "10px;\n  margin: 0.75em 0;\n}\n.task-list { list-style: none; "
                          "padding-left: 0; }\n.task-list li { display: flex; gap: 0.5em; "
                          "align-items: baseline; }\n@media print {\n"
                          "  .content { overflow-wrap: anywhere; }\n"
                          "  pre { white-space: pre-wrap; overflow-x: visible; }\n}");
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

#include "support/MarkdownDump.h"

#include <iterator>

namespace {

// In the order of MarkdownNodeKind.
const char* const kindNames[] = {
    "document", "heading", "paragraph", "code",  "html", "ol",   "ul",   "li",     "quote",
    "hr",       "table",   "head",      "row",   "cell", "text", "em",   "strong", "icode",
    "del",      "link",    "img",       "ihtml", "soft", "hard", "other"};
static_assert(std::size(kindNames) == size_t(MarkdownNodeKind::Other) + 1);

QString quoted(QStringView text) {
    return QLatin1Char('"') + text.toString().replace(QLatin1Char('\n'), QLatin1String("\\n")) +
           QLatin1Char('"');
}

// A node's kind and distinguishing values, without its children.
QString describe(const MarkdownNode& node, bool withPositions) {
    QString out =
        node.kind == MarkdownNodeKind::Text ? QString() : QLatin1String(kindNames[int(node.kind)]);
    if (withPositions) {
        const SourceRange& r = node.range;
        out += QStringLiteral("@%1:%2-%3:%4")
                   .arg(r.startLine)
                   .arg(r.startColumn)
                   .arg(r.endLine)
                   .arg(r.endColumn);
        if (node.tight)
            out += QStringLiteral(" tight");
    }
    if (node.kind == MarkdownNodeKind::Heading)
        out += QStringLiteral(" level=%1").arg(int(node.headingLevel));
    if (node.kind == MarkdownNodeKind::CodeBlock)
        out += QStringLiteral(" lang=[%1]").arg(node.language);
    if (node.kind == MarkdownNodeKind::ListItem)
        out += QStringLiteral(" line=%1").arg(node.range.startLine);
    if (node.checkbox != TaskCheckbox::None)
        out += node.checkbox == TaskCheckbox::Checked ? QStringLiteral(" [x]")
                                                      : QStringLiteral(" [ ]");
    if (node.kind == MarkdownNodeKind::OrderedList)
        out += QStringLiteral(" start=%1").arg(node.listStart);
    const bool link = node.kind == MarkdownNodeKind::Link || node.kind == MarkdownNodeKind::Image;
    if (link && !node.destination.isEmpty())
        out += QStringLiteral("->") + node.destination.toString();
    if (link && !node.title.isEmpty())
        out += QStringLiteral(" title=") + quoted(node.title);
    if (!link && !node.literal.isEmpty() &&
        (withPositions || node.kind != MarkdownNodeKind::CodeBlock))
        out += quoted(node.literal);
    return out;
}

// Inline nodes on one line: `em("x")`, plain text as its quoted literal.
QString inlines(const MarkdownNode& node, bool withPositions) {
    QStringList parts;
    for (const MarkdownNode& child : node.children) {
        QString part = describe(child, withPositions);
        if (!child.children.empty())
            part += QLatin1Char('(') + inlines(child, withPositions) + QLatin1Char(')');
        parts.append(part);
    }
    return parts.join(QLatin1Char(' '));
}

void dumpBlock(const MarkdownNode& node, int depth, bool withPositions, QStringList& out) {
    QString line = QString(depth * 2, QLatin1Char(' ')) + describe(node, withPositions);
    if (!node.children.empty() && !node.children.front().isBlock()) {
        out.append(line + QStringLiteral(": ") + inlines(node, withPositions));
        return;
    }
    out.append(line);
    for (const MarkdownNode& child : node.children)
        dumpBlock(child, depth + 1, withPositions, out);
}

} // namespace

QStringList MarkdownDump::dump(const MarkdownNode& node, bool withPositions) {
    QStringList out;
    dumpBlock(node, 0, withPositions, out);
    return out;
}

QList<const MarkdownNode*> MarkdownDump::images(const MarkdownNode& node) {
    QList<const MarkdownNode*> found;
    if (node.kind == MarkdownNodeKind::Image)
        found.append(&node);
    for (const MarkdownNode& child : node.children)
        found.append(images(child));
    return found;
}

#include "core/MarkdownTree.h"

QStringView ParsedMarkdown::sourceView(const MarkdownNode& node) const {
    if (!node.range.isValid())
        return {};
    return sourceLines(node.range.startLine, node.range.endLine);
}

QStringView ParsedMarkdown::sourceLines(int firstLine, int lastLine) const {
    if (firstLine < 1 || lineStarts.empty())
        return {};
    const auto lineCount = qsizetype(lineStarts.size());
    const qsizetype first = qBound(qsizetype(1), qsizetype(firstLine), lineCount) - 1;
    const qsizetype last = qBound(first + 1, qsizetype(lastLine), lineCount) - 1;
    const qsizetype begin = lineStarts[size_t(first)];
    qsizetype end = last + 1 < lineCount ? lineStarts[size_t(last + 1)] - 1 : text.size();
    return QStringView(text).mid(begin, end - begin);
}

bool MarkdownNode::isBlock() const {
    switch (kind) {
    case MarkdownNodeKind::Document:
    case MarkdownNodeKind::Heading:
    case MarkdownNodeKind::Paragraph:
    case MarkdownNodeKind::CodeBlock:
    case MarkdownNodeKind::HtmlBlock:
    case MarkdownNodeKind::OrderedList:
    case MarkdownNodeKind::UnorderedList:
    case MarkdownNodeKind::ListItem:
    case MarkdownNodeKind::BlockQuote:
    case MarkdownNodeKind::ThematicBreak:
    case MarkdownNodeKind::Table:
    case MarkdownNodeKind::TableHead:
    case MarkdownNodeKind::TableRow:
    case MarkdownNodeKind::TableCell:
        return true;
    default:
        return false;
    }
}

QString MarkdownNode::codeLanguage() const {
    // Words of an info string are parted by the ASCII white space of Markdown.
    const auto space = [](QChar c) {
        return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
    };
    qsizetype start = 0;
    while (start < language.size() && space(language[start]))
        ++start;
    qsizetype end = start;
    while (end < language.size() && !space(language[end]))
        ++end;
    return language.mid(start, end - start).toString();
}

QString MarkdownNode::plainText() const {
    switch (kind) {
    case MarkdownNodeKind::Text:
    case MarkdownNodeKind::InlineCode:
    case MarkdownNodeKind::CodeBlock:
    case MarkdownNodeKind::HtmlBlock:
    case MarkdownNodeKind::InlineHtml:
        return literal.toString();
    case MarkdownNodeKind::SoftBreak:
        return QStringLiteral(" ");
    case MarkdownNodeKind::LineBreak:
        return QStringLiteral("\n");
    case MarkdownNodeKind::Other:
        // A subtree below the depth cap carries its source text.
        if (!literal.isEmpty())
            return literal.toString();
        break;
    default:
        break;
    }
    QString out;
    for (const MarkdownNode& child : children)
        out += child.plainText();
    return out;
}

const MarkdownNode* MarkdownNode::tableHead() const {
    for (const MarkdownNode& child : children)
        if (child.kind == MarkdownNodeKind::TableHead)
            return &child;
    return nullptr;
}

std::vector<const MarkdownNode*> MarkdownNode::tableBody() const {
    std::vector<const MarkdownNode*> rows;
    for (const MarkdownNode& child : children)
        if (child.kind == MarkdownNodeKind::TableRow)
            rows.push_back(&child);
    return rows;
}

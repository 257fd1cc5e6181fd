#include "core/MarkdownFormatter.h"
#include "core/MarkdownTree.h"

#include <QStringList>
#include <algorithm>

namespace {

QString inlines(const MarkdownNode& node) {
    QString out;
    for (const MarkdownNode& child : node.children)
        out += MarkdownFormatter::format(child);
    return out;
}

// Prefixes every line but the first with `rest`, the first with `first`.
QString prefixLines(const QString& text, const QString& first, const QString& rest) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString& prefix = i == 0 ? first : rest;
        // Blank lines inside a container keep the marker without trailing blanks.
        if (lines[i].isEmpty()) {
            QString bare = prefix;
            while (!bare.isEmpty() && bare.back().isSpace())
                bare.chop(1);
            lines[i] = bare;
        } else {
            lines[i] = prefix + lines[i];
        }
    }
    return lines.join(QLatin1Char('\n'));
}

QString blocks(const MarkdownNode& node, const QString& separator) {
    QStringList parts;
    for (const MarkdownNode& child : node.children)
        parts.append(MarkdownFormatter::format(child));
    return parts.join(separator);
}

// Fences and code spans need more backticks than the code's longest run.
int longestBacktickRun(const QString& code) {
    int longest = 0, run = 0;
    for (QChar c : code) {
        run = c == QLatin1Char('`') ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

QString fence(const QString& code) {
    return QString(std::max(3, longestBacktickRun(code) + 1), QLatin1Char('`'));
}

QString codeSpan(const QString& code) {
    const QString ticks(longestBacktickRun(code) + 1, QLatin1Char('`'));
    const bool pad = code.startsWith(QLatin1Char('`')) || code.endsWith(QLatin1Char('`'));
    return pad ? ticks + QLatin1Char(' ') + code + QLatin1Char(' ') + ticks : ticks + code + ticks;
}

QString linkTail(const MarkdownNode& node) {
    QString out = QLatin1Char('(') + node.destination.toString();
    if (!node.title.isEmpty())
        out += QStringLiteral(" \"") + node.title.toString() + QLatin1Char('"');
    return out + QLatin1Char(')');
}

QString tableRow(const MarkdownNode& row) {
    QStringList cells;
    for (const MarkdownNode& cell : row.children)
        cells.append(inlines(cell));
    return QStringLiteral("| ") + cells.join(QStringLiteral(" | ")) + QStringLiteral(" |");
}

QString list(const MarkdownNode& node) {
    QStringList items;
    int number = node.listStart;
    for (const MarkdownNode& item : node.children) {
        QString marker = node.kind == MarkdownNodeKind::OrderedList
                             ? QString::number(number++) + QStringLiteral(". ")
                             : QStringLiteral("- ");
        if (item.checkbox == TaskCheckbox::Checked)
            marker += QStringLiteral("[x] ");
        else if (item.checkbox == TaskCheckbox::Unchecked)
            marker += QStringLiteral("[ ] ");
        const QString content = MarkdownFormatter::format(item);
        items.append(prefixLines(content, marker, QString(marker.size(), QLatin1Char(' '))));
    }
    return items.join(node.tight ? QStringLiteral("\n") : QStringLiteral("\n\n"));
}

} // namespace

QString MarkdownFormatter::format(const MarkdownNode& node) {
    switch (node.kind) {
    case MarkdownNodeKind::Document:
        return blocks(node, QStringLiteral("\n\n"));
    case MarkdownNodeKind::Heading:
        return QString(node.headingLevel, QLatin1Char('#')) + QLatin1Char(' ') + inlines(node);
    case MarkdownNodeKind::Paragraph:
    case MarkdownNodeKind::TableCell:
        return inlines(node);
    case MarkdownNodeKind::CodeBlock: {
        QString code = node.literal.toString();
        if (!code.isEmpty() && !code.endsWith(QLatin1Char('\n')))
            code += QLatin1Char('\n');
        const QString f = fence(code);
        return f + node.language.toString() + QLatin1Char('\n') + code + f;
    }
    case MarkdownNodeKind::HtmlBlock:
    case MarkdownNodeKind::InlineHtml:
        return node.literal.trimmed().toString();
    case MarkdownNodeKind::OrderedList:
    case MarkdownNodeKind::UnorderedList:
        return list(node);
    case MarkdownNodeKind::ListItem:
        return blocks(node, QStringLiteral("\n\n"));
    case MarkdownNodeKind::BlockQuote:
        return prefixLines(blocks(node, QStringLiteral("\n\n")), QStringLiteral("> "),
                           QStringLiteral("> "));
    case MarkdownNodeKind::ThematicBreak:
        return QStringLiteral("-----");
    case MarkdownNodeKind::Table: {
        QStringList rows;
        int columns = 0;
        if (const MarkdownNode* head = node.tableHead()) {
            rows.append(tableRow(*head));
            columns = head->childCount();
        }
        QStringList delimiter;
        for (int i = 0; i < columns; ++i)
            delimiter.append(QStringLiteral("---"));
        rows.append(QStringLiteral("| ") + delimiter.join(QStringLiteral(" | ")) +
                    QStringLiteral(" |"));
        for (const MarkdownNode* row : node.tableBody())
            rows.append(tableRow(*row));
        return rows.join(QLatin1Char('\n'));
    }
    case MarkdownNodeKind::TableHead:
    case MarkdownNodeKind::TableRow:
        return tableRow(node);
    case MarkdownNodeKind::Text:
        return node.literal.toString();
    case MarkdownNodeKind::Emphasis:
        return QLatin1Char('*') + inlines(node) + QLatin1Char('*');
    case MarkdownNodeKind::Strong:
        return QStringLiteral("**") + inlines(node) + QStringLiteral("**");
    case MarkdownNodeKind::InlineCode:
        return codeSpan(node.literal.toString());
    case MarkdownNodeKind::Strikethrough:
        return QStringLiteral("~~") + inlines(node) + QStringLiteral("~~");
    case MarkdownNodeKind::Link:
        return QLatin1Char('[') + inlines(node) + QLatin1Char(']') + linkTail(node);
    case MarkdownNodeKind::Image:
        return QStringLiteral("![") + node.plainText() + QLatin1Char(']') + linkTail(node);
    case MarkdownNodeKind::SoftBreak:
        return QStringLiteral("\n");
    case MarkdownNodeKind::LineBreak:
        return QStringLiteral("  ");
    case MarkdownNodeKind::Other:
        return node.literal.isEmpty() ? blocks(node, QStringLiteral("\n\n"))
                                      : node.literal.toString();
    }
    return {};
}

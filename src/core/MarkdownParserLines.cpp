#include "core/MarkdownParserLines.h"
#include "core/MarkdownParserConversion.h"
#include "core/MarkdownParserParts.h"
#include "core/MarkdownTreeStorage.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

namespace MarkdownParser {

namespace {

// Past this a line may hide its brackets from the parser (see
// parseTree): such a line is parsed as usual.
constexpr qsizetype longestPlainLine = 10'000;

bool isAsciiAlphanumeric(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

// The rows of a run of lines, parsed after the table's head when one is first read.
class ParsedRows : public RowSource {
public:
    ParsedRows(QByteArray before, QByteArray lines, int firstLine, size_t rows)
        : m_before(std::move(before)), m_lines(std::move(lines)), m_firstLine(firstLine),
          m_rows(rows) {}

    const MarkdownNode& row(size_t index) const override {
        std::call_once(m_made, [this] {
            MarkdownNode root;
            MarkdownTreeStorage parsed;
            parseTree(QString::fromUtf8(m_lines), m_firstLine - 1, root, parsed, m_before);
            if (parsed.blocks.empty() || parsed.blocks.front().children.size() != m_rows + 1)
                return;
            m_table = parsed.blocks.front();
            m_memory = parsed.memory.front();
        });
        Q_ASSERT(index + 1 < m_table.children.size());
        static const MarkdownNode none;
        return index + 1 < m_table.children.size() ? m_table.children[index + 1] : none;
    }

private:
    const QByteArray m_before;
    const QByteArray m_lines;
    const int m_firstLine;
    const size_t m_rows;
    mutable std::once_flag m_made;
    mutable MarkdownNode m_table;
    mutable BlockMemory m_memory;
};

} // namespace

int utf8Length(QStringView line) {
    int length = 0;
    for (const QChar c : line)
        length += c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 || c.isSurrogate() ? 2 : 3;
    return length;
}

bool isPlainRow(QStringView line) {
    if (line.size() < 2 || line.size() > longestPlainLine || line.front() != u'|')
        return false;
    bool content = false;
    for (const QChar c : line) {
        // Control characters: the parser reads some as spaces, a NUL as another character.
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
        content = content || (c != u'|' && c != u' ');
    }
    return content;
}

bool isPlainText(QStringView line) {
    if (line.isEmpty() || line.size() > longestPlainLine || line.front() != u'|' ||
        line.back() == u' ')
        return false;
    return std::all_of(line.begin(), line.end(),
                       [](QChar c) { return isAsciiAlphanumeric(c) || c == u' ' || c == u'|'; });
}

bool isBlankLine(QStringView line) {
    return std::all_of(line.begin(), line.end(),
                       [](QChar c) { return c == u' ' || c == u'\t' || c == u'\n'; });
}

void appendLineRows(TableJoin& join, const ParsedMarkdown& parsed, int first, int last,
                    size_t cells, const QByteArray& before) {
    // A run's cells are parsed together when one of its rows is read.
    constexpr int run = 256;
    for (int from = first; from <= last; from += run) {
        const int to = qMin(last, from + run - 1);
        const auto count = size_t(to - from + 1);
        const auto source = std::make_shared<const ParsedRows>(
            before, linesOf(parsed, from, to).toUtf8(), from, count);
        std::vector<MovedChildren::List> lists(count);
        for (size_t i = 0; i < count; ++i)
            lists[i] = {nullptr, std::uint32_t(cells), 0, source.get(), std::uint32_t(i)};
        const auto made = std::make_shared<const MovedChildren>(std::move(lists));
        MarkdownNode* rows = join.append(count, made);
        for (size_t i = 0; i < count; ++i) {
            MarkdownNode& row = rows[i];
            row = MarkdownNode();
            row.kind = MarkdownNodeKind::TableRow;
            const int line = from + int(i);
            row.range = {line, 1, line, utf8Length(parsed.sourceLines(line, line))};
            if (cells > 0)
                row.children = MarkdownNodeList(made.get(), cells, i);
        }
    }
}

std::pair<MarkdownNode, BlockMemory> plainParagraph(const ParsedMarkdown& parsed, int first,
                                                    int last) {
    const auto lines = size_t(last - first + 1);
    const qsizetype from = parsed.lineStarts[size_t(first - 1)];
    auto arena = std::make_shared<NodeArena>(0, 0);
    // The lines' text once, each line's literal a view into it.
    const QStringView text = arena->copy(linesOf(parsed, first, last));
    // About as many nodes as the rows of a long table: a room one let go serves.
    MarkdownNode* children = arena->recycledRoom(2 * lines - 1);
    for (size_t i = 0; i < lines; ++i) {
        const int line = first + int(i);
        const qsizetype start = parsed.lineStarts[size_t(line - 1)] - from;
        const qsizetype end = line < int(parsed.lineStarts.size())
                                  ? parsed.lineStarts[size_t(line)] - 1 - from
                                  : text.size();
        MarkdownNode* node = new (children + 2 * i) MarkdownNode;
        node->kind = MarkdownNodeKind::Text;
        node->range = {line, 1, line, int(end - start)};
        node->literal = text.sliced(start, end - start);
        if (i + 1 < lines)
            new (children + 2 * i + 1) MarkdownNode;
        if (i + 1 < lines)
            children[2 * i + 1].kind = MarkdownNodeKind::SoftBreak;
    }
    MarkdownNode paragraph;
    paragraph.kind = MarkdownNodeKind::Paragraph;
    paragraph.range = {first, 1, last, children[2 * lines - 2].range.endColumn};
    paragraph.children = {children, 2 * lines - 1};
    return {paragraph, {std::move(arena), {}}};
}

} // namespace MarkdownParser

#include "core/MarkdownTree.h"

#include <cmark-gfm-core-extensions.h>
#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>

#include <QStringDecoder>
#include <algorithm>
#include <optional>

// The node types of the table and strikethrough extensions are numbers the
// extension library assigns when it registers them.
extern "C" {
extern cmark_node_type CMARK_NODE_TABLE;
extern cmark_node_type CMARK_NODE_TABLE_ROW;
extern cmark_node_type CMARK_NODE_TABLE_CELL;
extern cmark_node_type CMARK_NODE_STRIKETHROUGH;
}

namespace {

// QString::fromUtf8 would drop a U+FEFF that starts the string, taking it for
// a byte-order mark: a link to "\uFEFFx.png" would lose it.
QString fromUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                       QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

QString fromCmark(const char* s) {
    return s ? fromUtf8(s) : QString();
}

// cmark takes time with the product of a paragraph's links and the emphasis
// delimiters before each of them: a one-line file of 10 MB holding both would
// take days. Past this many bytes of a line, which no hand-written line
// reaches, brackets go to cmark as control characters the text lacks (read
// as plain text) and come back as brackets in every string of the tree: such
// a line keeps its structure and emphasis and shows its links as written.
constexpr qsizetype longestLinkedLine = 20'000;

// The stand-ins for "[" and "]"; none while the text needs none.
struct BracketStandIns {
    char open = 0;
    char close = 0;

    QString restored(QString text) const {
        if (open)
            text.replace(QLatin1Char(open), QLatin1Char('['))
                .replace(QLatin1Char(close), QLatin1Char(']'));
        return text;
    }
};

// Calls f(index) for each bracket past the longest linked line.
template <typename F> void forEachLateBracket(const QByteArray& utf8, F f) {
    const char* data = utf8.constData();
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = data[i];
        if (c == '\n')
            lineStart = i + 1;
        else if ((c == '[' || c == ']') && i - lineStart >= longestLinkedLine && !f(i))
            return;
    }
}

BracketStandIns hideLateBrackets(QByteArray& utf8) {
    bool late = false;
    forEachLateBracket(utf8, [&](qsizetype) { return !(late = true); });
    if (!late)
        return {};
    bool used[32] = {};
    for (const char c : std::as_const(utf8))
        if (uchar(c) < 32)
            used[uchar(c)] = true;
    BracketStandIns standIns;
    for (char c = 1; c < 32 && !standIns.close; ++c) {
        // Whitespace to cmark is never a stand-in.
        if (used[int(c)] || (c >= '\t' && c <= '\r'))
            continue;
        (standIns.open ? standIns.close : standIns.open) = c;
    }
    // A text holding nearly every control character is parsed as it is.
    if (!standIns.close)
        return {};
    char* data = utf8.data();
    forEachLateBracket(utf8, [&](qsizetype i) {
        data[i] = data[i] == '[' ? standIns.open : standIns.close;
        return true;
    });
    return standIns;
}

MarkdownNodeKind kindOf(cmark_node* node, cmark_node_type type) {
    switch (type) {
    case CMARK_NODE_DOCUMENT:
        return MarkdownNodeKind::Document;
    case CMARK_NODE_BLOCK_QUOTE:
        return MarkdownNodeKind::BlockQuote;
    case CMARK_NODE_LIST:
        return cmark_node_get_list_type(node) == CMARK_ORDERED_LIST
                   ? MarkdownNodeKind::OrderedList
                   : MarkdownNodeKind::UnorderedList;
    case CMARK_NODE_ITEM:
        return MarkdownNodeKind::ListItem;
    case CMARK_NODE_CODE_BLOCK:
        return MarkdownNodeKind::CodeBlock;
    case CMARK_NODE_HTML_BLOCK:
        return MarkdownNodeKind::HtmlBlock;
    case CMARK_NODE_PARAGRAPH:
        return MarkdownNodeKind::Paragraph;
    case CMARK_NODE_HEADING:
        return MarkdownNodeKind::Heading;
    case CMARK_NODE_THEMATIC_BREAK:
        return MarkdownNodeKind::ThematicBreak;
    case CMARK_NODE_TEXT:
        return MarkdownNodeKind::Text;
    case CMARK_NODE_SOFTBREAK:
        return MarkdownNodeKind::SoftBreak;
    case CMARK_NODE_LINEBREAK:
        return MarkdownNodeKind::LineBreak;
    case CMARK_NODE_CODE:
        return MarkdownNodeKind::InlineCode;
    case CMARK_NODE_HTML_INLINE:
        return MarkdownNodeKind::InlineHtml;
    case CMARK_NODE_EMPH:
        return MarkdownNodeKind::Emphasis;
    case CMARK_NODE_STRONG:
        return MarkdownNodeKind::Strong;
    case CMARK_NODE_LINK:
        return MarkdownNodeKind::Link;
    case CMARK_NODE_IMAGE:
        return MarkdownNodeKind::Image;
    default:
        break;
    }
    if (type == CMARK_NODE_TABLE)
        return MarkdownNodeKind::Table;
    if (type == CMARK_NODE_TABLE_ROW)
        return cmark_gfm_extensions_get_table_row_is_header(node) ? MarkdownNodeKind::TableHead
                                                                  : MarkdownNodeKind::TableRow;
    if (type == CMARK_NODE_TABLE_CELL)
        return MarkdownNodeKind::TableCell;
    if (type == CMARK_NODE_STRIKETHROUGH)
        return MarkdownNodeKind::Strikethrough;
    return MarkdownNodeKind::Other;
}

// Readers walk the tree recursively; below this depth a subtree is kept as its
// source text so that a hostile file (thousands of nested quotes) cannot
// exhaust the stack.
constexpr int maxDepth = 200;

// One parse's cmark tree turned into MarkdownNodes. The tree lives in cmark's
// arena: nothing of it is freed node by node, the arena goes at once.
class Converter {
public:
    Converter(const QByteArray& utf8, BracketStandIns standIns)
        : m_utf8(utf8), m_standIns(standIns) {
        m_tasklist = cmark_find_syntax_extension("tasklist");
    }

    // Fills `node` in place; a large document has hundreds of thousands of
    // nodes, so children are counted first and built where they will stay.
    void convert(cmark_node* source, cmark_node_type type, int depth, MarkdownNode& node) {
        node.kind = kindOf(source, type);
        node.range = {cmark_node_get_start_line(source), cmark_node_get_start_column(source),
                      cmark_node_get_end_line(source), cmark_node_get_end_column(source)};
        if (depth >= maxDepth) {
            node.kind = MarkdownNodeKind::Other;
            node.literal = sourceText(source, node.range);
            return;
        }
        switch (node.kind) {
        case MarkdownNodeKind::Heading:
            node.headingLevel = cmark_node_get_heading_level(source);
            break;
        case MarkdownNodeKind::CodeBlock:
            node.literal = string(cmark_node_get_literal(source));
            node.language = string(cmark_node_get_fence_info(source));
            break;
        case MarkdownNodeKind::Text:
        case MarkdownNodeKind::InlineCode:
        case MarkdownNodeKind::HtmlBlock:
        case MarkdownNodeKind::InlineHtml:
            node.literal = string(cmark_node_get_literal(source));
            break;
        case MarkdownNodeKind::Link:
        case MarkdownNodeKind::Image:
            node.destination = string(cmark_node_get_url(source));
            node.title = string(cmark_node_get_title(source));
            break;
        case MarkdownNodeKind::OrderedList:
        case MarkdownNodeKind::UnorderedList:
            node.listStart = cmark_node_get_list_start(source);
            node.tight = cmark_node_get_list_tight(source) != 0;
            break;
        case MarkdownNodeKind::ListItem:
            if (m_tasklist && cmark_node_get_syntax_extension(source) == m_tasklist)
                node.checkbox = cmark_gfm_extensions_get_tasklist_item_checked(source)
                                    ? TaskCheckbox::Checked
                                    : TaskCheckbox::Unchecked;
            break;
        default:
            break;
        }
        cmark_node* first = cmark_node_first_child(source);
        if (!first)
            return;
        size_t count = 0;
        for (cmark_node* child = first; child; child = cmark_node_next(child))
            ++count;
        node.children.resize(count);
        size_t index = 0;
        for (cmark_node* child = first; child; child = cmark_node_next(child)) {
            const cmark_node_type childType = cmark_node_get_type(child);
            // cmark leaves an empty text node where it strips a hard break's blanks.
            if (childType == CMARK_NODE_TEXT) {
                const char* literal = cmark_node_get_literal(child);
                if (!literal || !*literal)
                    continue;
            }
            convert(child, childType, depth + 1, node.children[index++]);
        }
        node.children.resize(index);
    }

private:
    // A subtree below the depth cap: its source from where it starts to where
    // it ends, cut from the text rather than rendered again, so its cost stays
    // linear however deep it goes. A node without a position gives the text
    // of its leaves, walked without recursion.
    QString sourceText(cmark_node* source, const SourceRange& range) {
        if (m_lineStarts.empty()) {
            m_lineStarts.push_back(0);
            for (qsizetype at = m_utf8.indexOf('\n'); at >= 0; at = m_utf8.indexOf('\n', at + 1))
                m_lineStarts.push_back(at + 1);
        }
        const auto lines = int(m_lineStarts.size());
        if (range.startLine >= 1 && range.startLine <= lines && range.endLine >= range.startLine) {
            const int last = qMin(range.endLine, lines);
            const qsizetype lineEnd =
                last < lines ? m_lineStarts[size_t(last)] - 1 : qsizetype(m_utf8.size());
            const qsizetype begin =
                qMin(m_lineStarts[size_t(range.startLine - 1)] + qMax(0, range.startColumn - 1),
                     lineEnd);
            qsizetype end = lineEnd;
            if (range.endColumn > 0 && last == range.endLine)
                end = qMin(lineEnd, m_lineStarts[size_t(last - 1)] + range.endColumn);
            if (end > begin)
                return m_standIns.restored(
                    fromUtf8(QByteArrayView(m_utf8).sliced(begin, end - begin)));
        }
        QString text;
        cmark_iter* iter = cmark_iter_new(source);
        for (cmark_event_type event = cmark_iter_next(iter); event != CMARK_EVENT_DONE;
             event = cmark_iter_next(iter)) {
            if (event != CMARK_EVENT_ENTER)
                continue;
            cmark_node* node = cmark_iter_get_node(iter);
            switch (cmark_node_get_type(node)) {
            case CMARK_NODE_SOFTBREAK:
            case CMARK_NODE_LINEBREAK:
                text += u'\n';
                break;
            default:
                if (const char* literal = cmark_node_get_literal(node))
                    text += string(literal);
                break;
            }
        }
        cmark_iter_free(iter);
        return text;
    }

    QString string(const char* s) const { return m_standIns.restored(fromCmark(s)); }

    const QByteArray& m_utf8;
    BracketStandIns m_standIns;
    cmark_syntax_extension* m_tasklist = nullptr;
    std::vector<qsizetype> m_lineStarts; // in m_utf8, made when first needed
};

std::vector<qsizetype> lineStartsOf(const QString& text) {
    std::vector<qsizetype> starts;
    starts.reserve(size_t(text.count(u'\n')) + 1);
    starts.push_back(0);
    for (qsizetype at = text.indexOf(u'\n'); at >= 0; at = text.indexOf(u'\n', at + 1))
        starts.push_back(at + 1);
    return starts;
}

MarkdownNode parseTree(QStringView text) {
    static const bool registered = [] {
        cmark_gfm_core_extensions_ensure_registered();
        return true;
    }();
    Q_UNUSED(registered);

    // Every node, literal and buffer of the parse comes from cmark's arena and
    // is released at once after the conversion (quon parses nothing else with it).
    cmark_parser* parser = cmark_parser_new_with_mem(CMARK_OPT_SMART | CMARK_OPT_SOURCEPOS,
                                                     cmark_get_arena_mem_allocator());
    for (const char* name : {"table", "strikethrough", "tasklist"}) {
        if (cmark_syntax_extension* ext = cmark_find_syntax_extension(name))
            cmark_parser_attach_syntax_extension(parser, ext);
    }
    QByteArray utf8 = text.toUtf8();
    const BracketStandIns standIns = hideLateBrackets(utf8);
    cmark_parser_feed(parser, utf8.constData(), size_t(utf8.size()));
    cmark_node* root = cmark_parser_finish(parser);
    MarkdownNode document;
    Converter(utf8, standIns).convert(root, CMARK_NODE_DOCUMENT, 0, document);
    cmark_arena_reset();
    return document;
}

// cmark gives some inline nodes (in table cells) no start column and a line
// counted from their cell, not from the document: those stay as they are.
void shiftLines(MarkdownNode& node, int lines) {
    if (node.range.isValid() && (node.range.startColumn > 0 || node.isBlock())) {
        node.range.startLine += lines;
        node.range.endLine += lines;
    }
    for (MarkdownNode& child : node.children)
        shiftLines(child, lines);
}

bool sameTree(const MarkdownNode& a, const MarkdownNode& b) {
    if (a.kind != b.kind || a.range.startLine != b.range.startLine ||
        a.range.startColumn != b.range.startColumn || a.range.endLine != b.range.endLine ||
        a.range.endColumn != b.range.endColumn || a.headingLevel != b.headingLevel ||
        a.checkbox != b.checkbox || a.listStart != b.listStart || a.tight != b.tight ||
        a.literal != b.literal || a.language != b.language || a.destination != b.destination ||
        a.title != b.title || a.children.size() != b.children.size())
        return false;
    for (size_t i = 0; i < a.children.size(); ++i)
        if (!sameTree(a.children[i], b.children[i]))
            return false;
    return true;
}

// The text of lines first..last (1-based, inclusive), each with its line feed.
QStringView linesOf(const ParsedMarkdown& parsed, int first, int last) {
    const auto count = int(parsed.lineStarts.size());
    const qsizetype begin = parsed.lineStarts[size_t(first - 1)];
    const qsizetype end = last < count ? parsed.lineStarts[size_t(last)] : parsed.text.size();
    return QStringView(parsed.text).mid(begin, end - begin);
}

// Re-parses only the top-level blocks an edit touched. Block structure is
// decided line by line: where a top-level block starts on a line that the edit
// left alone, with every line before it alone too, the parser is in the same
// state as at the start of a document. So the edited part is parsed from the
// start of the block before the edit through the first block after it, and
// kept only when that block comes out exactly as before (then everything after
// it is as before too). Reference definitions resolve across the whole
// document, so a text with any is parsed whole.
std::optional<MarkdownNode> reparseEdited(const ParsedMarkdown& before,
                                          const ParsedMarkdown& after) {
    const QString& oldText = before.text;
    const QString& newText = after.text;
    if (oldText.contains(u"]:") || newText.contains(u"]:"))
        return std::nullopt;
    const std::vector<MarkdownNode>& blocks = before.document.children;
    // Blocks are found by their lines; cmark leaves some without any (an
    // empty paragraph where a table took its only line).
    if (blocks.empty() || std::any_of(blocks.begin(), blocks.end(),
                                      [](const MarkdownNode& b) { return !b.range.isValid(); }))
        return std::nullopt;

    // The characters both texts share at the start and at the end.
    const qsizetype shorter = qMin(oldText.size(), newText.size());
    qsizetype prefix = 0;
    while (prefix < shorter && oldText[prefix] == newText[prefix])
        ++prefix;
    if (prefix == oldText.size() && prefix == newText.size())
        return before.document;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           oldText[oldText.size() - 1 - suffix] == newText[newText.size() - 1 - suffix])
        ++suffix;

    // Lines above the edit: those ending, line feed included, within the common start.
    const auto& oldStarts = before.lineStarts;
    const int unchangedAbove =
        int(std::upper_bound(oldStarts.begin(), oldStarts.end(), prefix) - oldStarts.begin()) - 1;
    // Lines below it: from the first old line that lies in the common end and
    // starts a line in the new text too.
    const qsizetype growth = newText.size() - oldText.size();
    int unchangedBelow = int(oldStarts.size()) + 1;
    for (auto start = std::lower_bound(oldStarts.begin(), oldStarts.end(), oldText.size() - suffix);
         start != oldStarts.end(); ++start) {
        const qsizetype there = *start + growth;
        if (there == 0 || newText[there - 1] == u'\n') {
            unchangedBelow = int(start - oldStarts.begin()) + 1;
            break;
        }
    }
    const int lineShift = int(after.lineStarts.size()) - int(oldStarts.size());

    // From the last block that starts on a line above the edit (or the top).
    size_t first = 0;
    int startLine = 1;
    for (size_t i = 0; i < blocks.size() && blocks[i].range.startLine <= unchangedAbove; ++i) {
        first = i;
        startLine = blocks[i].range.startLine;
    }
    // Through the first block that starts below it.
    size_t next = first;
    while (next < blocks.size() && (blocks[next].range.startLine < unchangedBelow ||
                                    blocks[next].range.startLine <= unchangedAbove))
        ++next;

    const int newLineCount = int(after.lineStarts.size());
    const int regionEnd =
        next < blocks.size() ? blocks[next].range.endLine + lineShift : newLineCount;
    if (startLine < 1 || regionEnd < startLine || regionEnd > newLineCount)
        return std::nullopt;
    MarkdownNode region = parseTree(linesOf(after, startLine, regionEnd));
    for (MarkdownNode& block : region.children)
        shiftLines(block, startLine - 1);

    if (next < blocks.size()) {
        // The region ends with the block after the edit, exactly as it was.
        if (region.children.empty())
            return std::nullopt;
        MarkdownNode expected = blocks[next];
        shiftLines(expected, lineShift);
        if (!sameTree(region.children.back(), expected))
            return std::nullopt;
        region.children.pop_back();
    }

    MarkdownNode document;
    document.kind = MarkdownNodeKind::Document;
    // Where cmark ends a document: the end of its last line that has text.
    int lastLine = newLineCount;
    if (newText.endsWith(u'\n'))
        --lastLine;
    document.range = {1, 1, lastLine,
                      int(linesOf(after, lastLine, lastLine).toUtf8().size() -
                          (newText.endsWith(u'\n') ? 1 : 0))};
    document.children.reserve(first + region.children.size() + (blocks.size() - next));
    document.children.insert(document.children.end(), blocks.begin(),
                             blocks.begin() + qsizetype(first));
    for (MarkdownNode& block : region.children)
        document.children.push_back(std::move(block));
    for (size_t i = next; i < blocks.size(); ++i) {
        document.children.push_back(blocks[i]);
        shiftLines(document.children.back(), lineShift);
    }
    return document;
}

} // namespace

std::shared_ptr<const ParsedMarkdown> MarkdownParser::parse(const QString& text) {
    auto parsed = std::make_shared<ParsedMarkdown>();
    parsed->text = text;
    parsed->document = parseTree(text);
    parsed->lineStarts = lineStartsOf(text);
    return parsed;
}

std::shared_ptr<const ParsedMarkdown> MarkdownParser::reparse(const ParsedMarkdown& before,
                                                              const QString& text) {
    auto parsed = std::make_shared<ParsedMarkdown>();
    parsed->text = text;
    parsed->lineStarts = lineStartsOf(text);
    if (std::optional<MarkdownNode> document = reparseEdited(before, *parsed))
        parsed->document = std::move(*document);
    else
        parsed->document = parseTree(text);
    return parsed;
}

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
    return language.mid(start, end - start);
}

QString MarkdownNode::plainText() const {
    switch (kind) {
    case MarkdownNodeKind::Text:
    case MarkdownNodeKind::InlineCode:
    case MarkdownNodeKind::CodeBlock:
    case MarkdownNodeKind::HtmlBlock:
    case MarkdownNodeKind::InlineHtml:
        return literal;
    case MarkdownNodeKind::SoftBreak:
        return QStringLiteral(" ");
    case MarkdownNodeKind::LineBreak:
        return QStringLiteral("\n");
    case MarkdownNodeKind::Other:
        // A subtree below the depth cap carries its source text.
        if (!literal.isEmpty())
            return literal;
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

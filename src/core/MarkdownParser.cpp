#include "core/MarkdownTree.h"

#include <cmark-gfm-core-extensions.h>
#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

struct ParserDeleter {
    void operator()(cmark_parser* p) const { cmark_parser_free(p); }
};
struct NodeDeleter {
    void operator()(cmark_node* n) const { cmark_node_free(n); }
};
using ParserPtr = std::unique_ptr<cmark_parser, ParserDeleter>;
using NodePtr = std::unique_ptr<cmark_node, NodeDeleter>;

QString fromCmark(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}

MarkdownNodeKind kindOf(cmark_node* node) {
    switch (cmark_node_get_type(node)) {
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
    // Extension nodes have run-time type numbers; their names are stable.
    const char* name = cmark_node_get_type_string(node);
    if (!name)
        return MarkdownNodeKind::Other;
    if (!std::strcmp(name, "table"))
        return MarkdownNodeKind::Table;
    if (!std::strcmp(name, "table_header"))
        return MarkdownNodeKind::TableHead;
    if (!std::strcmp(name, "table_row"))
        return cmark_gfm_extensions_get_table_row_is_header(node) ? MarkdownNodeKind::TableHead
                                                                  : MarkdownNodeKind::TableRow;
    if (!std::strcmp(name, "table_cell"))
        return MarkdownNodeKind::TableCell;
    if (!std::strcmp(name, "strikethrough"))
        return MarkdownNodeKind::Strikethrough;
    return MarkdownNodeKind::Other;
}

// Readers walk the tree recursively; below this depth a subtree is kept as its
// Markdown source so that a hostile file (thousands of nested quotes) cannot
// exhaust the stack.
constexpr int maxDepth = 200;

// cmark leaves an empty text node where it strips a hard break's blanks.
bool isEmptyText(cmark_node* node) {
    if (cmark_node_get_type(node) != CMARK_NODE_TEXT)
        return false;
    const char* literal = cmark_node_get_literal(node);
    return !literal || !*literal;
}

// Fills `node` in place; a large document has hundreds of thousands of nodes,
// so children are counted first and built where they will stay.
void convert(cmark_node* source, int depth, MarkdownNode& node) {
    node.kind = kindOf(source);
    node.range = {cmark_node_get_start_line(source), cmark_node_get_start_column(source),
                  cmark_node_get_end_line(source), cmark_node_get_end_column(source)};
    if (depth >= maxDepth) {
        char* markdown = cmark_render_commonmark(source, CMARK_OPT_DEFAULT, 0);
        node.kind = MarkdownNodeKind::Other;
        node.literal = fromCmark(markdown);
        free(markdown);
        return;
    }
    switch (node.kind) {
    case MarkdownNodeKind::Heading:
        node.headingLevel = cmark_node_get_heading_level(source);
        break;
    case MarkdownNodeKind::CodeBlock:
        node.literal = fromCmark(cmark_node_get_literal(source));
        node.language = fromCmark(cmark_node_get_fence_info(source));
        break;
    case MarkdownNodeKind::Text:
    case MarkdownNodeKind::InlineCode:
    case MarkdownNodeKind::HtmlBlock:
    case MarkdownNodeKind::InlineHtml:
        node.literal = fromCmark(cmark_node_get_literal(source));
        break;
    case MarkdownNodeKind::Link:
    case MarkdownNodeKind::Image:
        node.destination = fromCmark(cmark_node_get_url(source));
        node.title = fromCmark(cmark_node_get_title(source));
        break;
    case MarkdownNodeKind::OrderedList:
    case MarkdownNodeKind::UnorderedList:
        node.listStart = cmark_node_get_list_start(source);
        node.tight = cmark_node_get_list_tight(source) != 0;
        break;
    case MarkdownNodeKind::ListItem: {
        const char* name = cmark_node_get_type_string(source);
        if (name && !std::strcmp(name, "tasklist"))
            node.checkbox = cmark_gfm_extensions_get_tasklist_item_checked(source)
                                ? TaskCheckbox::Checked
                                : TaskCheckbox::Unchecked;
        break;
    }
    default:
        break;
    }
    size_t count = 0;
    for (cmark_node* child = cmark_node_first_child(source); child; child = cmark_node_next(child))
        count += isEmptyText(child) ? 0 : 1;
    node.children.resize(count);
    size_t index = 0;
    for (cmark_node* child = cmark_node_first_child(source); child; child = cmark_node_next(child))
        if (!isEmptyText(child))
            convert(child, depth + 1, node.children[index++]);
}

std::vector<qsizetype> lineStartsOf(const QString& text) {
    std::vector<qsizetype> starts{0};
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == QLatin1Char('\n'))
            starts.push_back(i + 1);
    return starts;
}

MarkdownNode parseTree(QStringView text) {
    static const bool registered = [] {
        cmark_gfm_core_extensions_ensure_registered();
        return true;
    }();
    Q_UNUSED(registered);

    ParserPtr parser(cmark_parser_new(CMARK_OPT_SMART | CMARK_OPT_SOURCEPOS));
    for (const char* name : {"table", "strikethrough", "tasklist"}) {
        if (cmark_syntax_extension* ext = cmark_find_syntax_extension(name))
            cmark_parser_attach_syntax_extension(parser.get(), ext);
    }
    const QByteArray utf8 = text.toUtf8();
    cmark_parser_feed(parser.get(), utf8.constData(), size_t(utf8.size()));
    NodePtr root(cmark_parser_finish(parser.get()));
    MarkdownNode document;
    convert(root.get(), 0, document);
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
    if (!node.range.isValid() || lineStarts.empty())
        return {};
    const auto lineCount = qsizetype(lineStarts.size());
    const qsizetype first = qBound(qsizetype(1), qsizetype(node.range.startLine), lineCount) - 1;
    const qsizetype last = qBound(first + 1, qsizetype(node.range.endLine), lineCount) - 1;
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

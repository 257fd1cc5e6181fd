#pragma once

#include <QString>
#include <QStringView>
#include <memory>
#include <vector>

// The typed Markdown tree every reader of a document uses: a plain value tree
// copied out of cmark-gfm (CommonMark + GitHub tables, strikethrough, task lists,
// smart punctuation), so no reader ever holds a parser pointer.
enum class MarkdownNodeKind {
    Document,
    // Blocks
    Heading,
    Paragraph,
    CodeBlock,
    HtmlBlock,
    OrderedList,
    UnorderedList,
    ListItem,
    BlockQuote,
    ThematicBreak,
    Table,
    TableHead, // the header row; its children are cells
    TableRow,  // a body row
    TableCell,
    // Inlines
    Text,
    Emphasis,
    Strong,
    InlineCode,
    Strikethrough,
    Link,
    Image,
    InlineHtml,
    SoftBreak,
    LineBreak,
    // Anything the parser may add that quon does not name (footnotes, custom nodes)
    Other,
};

enum class TaskCheckbox { None, Unchecked, Checked };

// 1-based lines and byte columns as the parser reports them; 0 when unknown.
struct SourceRange {
    int startLine = 0;
    int startColumn = 0;
    int endLine = 0;
    int endColumn = 0;
    bool isValid() const { return startLine > 0; }
};

struct MarkdownNode {
    MarkdownNodeKind kind = MarkdownNodeKind::Other;
    SourceRange range;
    int headingLevel = 0; // Heading
    // Text, InlineCode, CodeBlock (code), HtmlBlock, InlineHtml; for a subtree
    // below the depth cap (Other), its source text
    QString literal;
    QString language;                           // CodeBlock: the whole info string, empty when none
    QString destination;                        // Link destination, Image source
    QString title;                              // Link and Image title
    TaskCheckbox checkbox = TaskCheckbox::None; // ListItem
    int listStart = 1;                          // OrderedList: the number the source starts at
    bool tight = false;                         // lists
    std::vector<MarkdownNode> children;

    bool isBlock() const;
    int childCount() const { return int(children.size()); }
    const MarkdownNode& child(int index) const { return children[size_t(index)]; }

    // CodeBlock: the language the info string names, its first word, as the
    // preview colours it and the export tags it ("python title=x" is
    // python); empty when none.
    QString codeLanguage() const;

    // The text a reader sees: literals of text, code, HTML and capped subtrees, a soft break as a
    // space, a hard break as a line feed, containers as their children joined.
    QString plainText() const;

    // Table accessors: the header row (null when absent) and the body rows.
    const MarkdownNode* tableHead() const;
    std::vector<const MarkdownNode*> tableBody() const;
};

// One parse: the tree and the text it came from, so readers can tell whether a
// tree is stale and can cut a node's source out of the text.
struct ParsedMarkdown {
    QString text;
    MarkdownNode document;
    std::vector<qsizetype> lineStarts; // offset of each line's first character

    // The whole source lines a node spans (joined with LF, no final LF), as a
    // view into `text`.
    QStringView sourceView(const MarkdownNode& node) const;
    // Lines first..last (1-based, clamped to the text) the same way.
    QStringView sourceLines(int first, int last) const;
};

namespace MarkdownParser {

std::shared_ptr<const ParsedMarkdown> parse(const QString& text);
// The parse of `text`, the same as parse(text), made from an earlier parse by
// parsing again only the top-level blocks an edit touched where that is sure
// to give the same tree (and the whole text otherwise).
std::shared_ptr<const ParsedMarkdown> reparse(const ParsedMarkdown& before, const QString& text);

} // namespace MarkdownParser

// Turns a node back into Markdown text for readers that show a node they do not
// render: HTML literals trimmed, a hard break as two spaces, an image as
// ![alt](src "title"). Text is written as it stands, never escaped.
namespace MarkdownFormatter {

QString format(const MarkdownNode& node);

} // namespace MarkdownFormatter

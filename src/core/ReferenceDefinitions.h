#pragma once

#include <QByteArray>
#include <vector>

struct cmark_syntax_extension;

// A link reference definition as the parser resolves links with it: the
// normalised label, the destination and the title with escapes and entities
// resolved, all UTF-8.
struct ReferenceDefinition {
    QByteArray label;
    QByteArray url;
    QByteArray title;
    bool operator==(const ReferenceDefinition&) const = default;
};

// The link reference definitions of a parse. cmark-gfm keeps them to itself;
// a parser with collector() attached hands them out, in document order, to
// the list collecting() names on the parsing thread.
namespace ReferenceDefinitions {

// The extension that reads the definitions when the parse is finished.
cmark_syntax_extension* collector();

// Definitions of parses on this thread go to `into` while it lives.
class Collecting {
public:
    explicit Collecting(std::vector<ReferenceDefinition>* into);
    ~Collecting();
    Collecting(const Collecting&) = delete;
    Collecting& operator=(const Collecting&) = delete;

private:
    std::vector<ReferenceDefinition>* m_previous;
};

// Those that links resolve with, from all in document order: the first of
// each label, sorted by label.
std::vector<ReferenceDefinition> inEffect(const std::vector<ReferenceDefinition>& inOrder);

// Markdown lines that define exactly these, in this order, ending with a
// blank line; but for a label that case folding made longer than a label
// may be, which no line defines.
QByteArray asMarkdown(const std::vector<ReferenceDefinition>& definitions);

} // namespace ReferenceDefinitions

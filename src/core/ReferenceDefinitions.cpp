#include "core/ReferenceDefinitions.h"

#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>
// The parser's reference map, through the internal headers the library
// installs for extensions, as in cmark-gfm 0.29.0.gfm.6 (Debian 12). An upgrade
// breaks first the layout read here (cmark_parser::refmap, a reference that
// starts with its map entry, the entries' age) or the map's being there when
// extensions postprocess: links by reference then resolve wrongly in sections
// and edits, and tst_referencedefinitions fails.
extern "C" {
#include <cmark-gfm/parser.h>
#include <cmark-gfm/references.h>
}

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <utility>

namespace {

static_assert(offsetof(cmark_reference, entry) == 0, "a reference no longer starts with its entry");

thread_local std::vector<ReferenceDefinition>* collected = nullptr;

QByteArray bytes(const cmark_chunk& chunk) {
    return QByteArray(reinterpret_cast<const char*>(chunk.data), chunk.len);
}

// Runs once the parser has resolved every link, before it forgets the map.
cmark_node* collect(cmark_syntax_extension*, cmark_parser* parser, cmark_node*) {
    if (!collected || !parser->refmap)
        return nullptr;
    const size_t first = collected->size();
    std::vector<std::pair<unsigned, ReferenceDefinition>> found;
    for (cmark_map_entry* entry = parser->refmap->refs; entry; entry = entry->next) {
        const auto* reference = reinterpret_cast<const cmark_reference*>(entry);
        found.emplace_back(
            entry->age, ReferenceDefinition{QByteArray(reinterpret_cast<const char*>(entry->label)),
                                            bytes(reference->url), bytes(reference->title)});
    }
    // The map lists the latest first; its age counts them in document order.
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    collected->reserve(first + found.size());
    for (auto& [age, definition] : found)
        collected->push_back(std::move(definition));
    return nullptr;
}

// Written so that the parser reads back these very bytes: every ASCII
// punctuation character escaped, "&" as an entity, since entities are
// resolved before escapes, and line breaks (only an entity puts one there)
// as entities too: one would end a destination, two a title.
void appendEscaped(QByteArray& out, const QByteArray& text) {
    for (const char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '\n' || c == '\r')
            out += "&#" + QByteArray::number(int(c)) + ';';
        else if (c > ' ' && c < 127 && !std::isalnum(static_cast<unsigned char>(c)))
            out += '\\', out += c;
        else
            out += c;
    }
}

} // namespace

cmark_syntax_extension* ReferenceDefinitions::collector() {
    static cmark_syntax_extension* extension = [] {
        cmark_syntax_extension* made = cmark_syntax_extension_new("quon-reference-definitions");
        cmark_syntax_extension_set_postprocess_func(made, collect);
        return made;
    }();
    return extension;
}

ReferenceDefinitions::Collecting::Collecting(std::vector<ReferenceDefinition>* into)
    : m_previous(std::exchange(collected, into)) {}

ReferenceDefinitions::Collecting::~Collecting() {
    collected = m_previous;
}

std::vector<ReferenceDefinition>
ReferenceDefinitions::inEffect(const std::vector<ReferenceDefinition>& inOrder) {
    std::vector<ReferenceDefinition> out = inOrder;
    // Stable: of equal labels the first in the document stays first.
    std::stable_sort(out.begin(), out.end(),
                     [](const auto& a, const auto& b) { return a.label < b.label; });
    out.erase(std::unique(out.begin(), out.end(),
                          [](const auto& a, const auto& b) { return a.label == b.label; }),
              out.end());
    return out;
}

QByteArray ReferenceDefinitions::asMarkdown(const std::vector<ReferenceDefinition>& definitions) {
    if (definitions.empty())
        return {};
    QByteArray out;
    for (const ReferenceDefinition& definition : definitions) {
        // A label comes as cmark keys it (case folded, white space collapsed,
        // escapes kept): written back, it keys the same references. One that
        // ends with a backslash (once before a line break or a blank) gets a
        // blank back, which keying drops: the backslash would escape the "]".
        out += '[' + definition.label;
        if (definition.label.endsWith('\\'))
            out += ' ';
        out += "]: <";
        appendEscaped(out, definition.url);
        out += '>';
        if (!definition.title.isEmpty()) {
            out += " \"";
            appendEscaped(out, definition.title);
            out += '"';
        }
        out += '\n';
    }
    out += '\n';
    return out;
}

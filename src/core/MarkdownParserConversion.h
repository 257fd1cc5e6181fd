#pragma once

#include "core/MarkdownTree.h"
#include "core/ReferenceDefinitions.h"

#include <QByteArray>
#include <QStringView>
#include <vector>

struct MarkdownTreeStorage;

// Runs cmark-gfm over a text and copies its tree into the typed tree, the
// nodes and strings written straight into the parse's storage.
namespace MarkdownParser {

// Parses `text`, whose first line is line `lineOffset + 1` of the document,
// after `before`: whole lines that must leave no node (definitions).
void parseTree(QStringView text, int lineOffset, MarkdownNode& document,
               MarkdownTreeStorage& storage, const QByteArray& before = {},
               std::vector<ReferenceDefinition>* definitions = nullptr);
// The link reference definitions of a text, in document order; `before` as
// in parseTree.
std::vector<ReferenceDefinition> definitionsIn(QStringView text, const QByteArray& before = {});
// Whether the text leaves two control characters free for brackets past the
// longest linked line to stand in as: a section of it may need them where
// the whole text does not.
bool leavesBracketStandIns(QStringView text);

} // namespace MarkdownParser

#pragma once

#include "core/DesignSystem.h"

#include <QString>
#include <functional>
#include <memory>

// Where the source of one preview row stands now. The preview keeps the views
// of an unchanged block across re-parses; its lines may have moved and the
// text around them changed, so an edit from inside the row (a task box) reads
// the current text and the line shift here rather than from the values the
// row was built with.
struct SourceAnchor {
    QString markdown;  // the text of the latest parse the row belongs to
    int lineShift = 0; // lines the block moved since its views were built
};

// What every preview renderer receives and passes down unchanged: the look,
// the base text size, the open file's folder, the Markdown the rows were drawn
// from and the way back when a control in the preview edits that source.
struct MarkdownRendererContext {
    DesignSystem designSystem;
    double previewFontSize = 15;
    QString documentDirectory; // empty for an untitled document
    QString markdown;          // the text the rendered tree was parsed from
    std::function<void(const QString&)> onSourceChange;

    // The text the preview holds now. An edit computed from the row's source
    // text is only handed up while the two agree, so a click on a stale row
    // never rewrites a text it was not drawn from. Absent: taken as current.
    std::function<QString()> currentMarkdown;
    // Called instead when an edit was refused as stale: the preview re-parses.
    std::function<void()> onStaleSource;
    // Shared by every view of one row; absent outside the preview pane.
    std::shared_ptr<SourceAnchor> anchor;

    // The text the row's source lines belong to now.
    QString sourceText() const { return anchor ? anchor->markdown : markdown; }
    // Where a line of the row's parse stands in sourceText().
    int sourceLine(int parsedLine) const { return parsedLine + (anchor ? anchor->lineShift : 0); }
    bool isCurrent() const { return !currentMarkdown || currentMarkdown() == sourceText(); }
};

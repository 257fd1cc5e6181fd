#pragma once

#include "core/DesignSystem.h"

#include <QString>
#include <functional>

// What every preview renderer receives and passes down unchanged: the look,
// the base text size, the open file's folder, the Markdown the rows were drawn
// from and the way back when a control in the preview edits that source.
struct MarkdownRendererContext {
    DesignSystem designSystem;
    double previewFontSize = 15;
    QString documentDirectory; // empty for an untitled document
    QString markdown;          // the text the rendered tree was parsed from
    std::function<void(const QString&)> onSourceChange;

    // The text the preview holds now. An edit computed from `markdown` is only
    // handed up while the two agree, so a click on a stale row never rewrites a
    // text it was not drawn from. Absent: `markdown` is taken as current.
    std::function<QString()> currentMarkdown;
    // Called instead when an edit was refused as stale: the preview re-parses.
    std::function<void()> onStaleSource;

    bool isCurrent() const { return !currentMarkdown || currentMarkdown() == markdown; }
};

#pragma once

#include "core/MarkdownTree.h"

#include <vector>

// The inline children of a heading or paragraph one view shows. A container
// with pictures among its runs shows each child on a row of its own; one with
// hundreds of them (a long line of badges) is shown as several pieces, each
// a row of the preview, so only the pieces near the visible part exist and an
// edit rebuilds only the piece it touched.
struct InlineSlice {
    int first = 0;
    int count = -1;          // to the end
    bool openTop = false;    // continues the piece above, a row's spacing apart
    bool openBottom = false; // continued by the piece below
    bool operator==(const InlineSlice&) const = default;
    // One of several pieces, not the whole container.
    bool isPiece() const { return openTop || openBottom; }

    // The whole container (one slice) up to `perSlice` children, pieces of
    // `perSlice` children beyond.
    static std::vector<InlineSlice> split(int children, int perSlice);

    // The children this slice shows: first..end-1.
    int end(const MarkdownNode& container) const;
};

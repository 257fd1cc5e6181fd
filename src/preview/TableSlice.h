#pragma once

#include "core/MarkdownTree.h"

#include <vector>

// The rows of a table one view shows. A long table is shown as several
// pieces stacked without a gap, so only the pieces near the visible part
// exist; the first carries the header and the top edge, the last the bottom.
struct TableSlice {
    int firstBodyRow = 0;
    int bodyRowCount = -1; // to the end
    bool header = true;
    bool openTop = false;    // continues the piece above
    bool openBottom = false; // continued by the piece below
    bool operator==(const TableSlice&) const = default;

    // The whole table (one slice) up to `rowsPerSlice` body rows, pieces of
    // `rowsPerSlice` rows beyond.
    static std::vector<TableSlice> split(int bodyRows, int rowsPerSlice);

    // The body rows of the table this slice shows.
    int rowCount(const MarkdownNode& table) const;
    // The slice's body row `index` (counted from its first) of the table.
    static const MarkdownNode& bodyRow(const MarkdownNode& table, int index);
    // The body rows of a table, counted without walking them.
    static int bodyRowsOf(const MarkdownNode& table);
};

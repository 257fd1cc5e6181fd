#include "preview/TableSlice.h"

namespace {

// cmark gives a table its header row first, then the body rows.
int headRows(const MarkdownNode& table) {
    return !table.children.empty() && table.children.front().kind == MarkdownNodeKind::TableHead
               ? 1
               : 0;
}

} // namespace

std::vector<TableSlice> TableSlice::split(int bodyRows, int rowsPerSlice) {
    if (rowsPerSlice <= 0 || bodyRows <= rowsPerSlice)
        return {TableSlice{}};
    std::vector<TableSlice> slices;
    for (int first = 0; first < bodyRows; first += rowsPerSlice) {
        TableSlice slice;
        slice.firstBodyRow = first;
        slice.bodyRowCount = qMin(rowsPerSlice, bodyRows - first);
        slice.header = first == 0;
        slice.openTop = first > 0;
        slice.openBottom = first + rowsPerSlice < bodyRows;
        slices.push_back(slice);
    }
    return slices;
}

int TableSlice::bodyRowsOf(const MarkdownNode& table) {
    return table.childCount() - headRows(table);
}

const MarkdownNode& TableSlice::bodyRow(const MarkdownNode& table, int index) {
    return table.child(headRows(table) + index);
}

int TableSlice::rowCount(const MarkdownNode& table) const {
    const int available = qMax(0, bodyRowsOf(table) - firstBodyRow);
    return bodyRowCount < 0 ? available : qMin(available, bodyRowCount);
}

#include "preview/InlineSlice.h"

std::vector<InlineSlice> InlineSlice::split(int children, int perSlice) {
    if (perSlice <= 0 || children <= perSlice)
        return {InlineSlice{}};
    std::vector<InlineSlice> slices;
    for (int first = 0; first < children; first += perSlice) {
        InlineSlice slice;
        slice.first = first;
        slice.count = qMin(perSlice, children - first);
        slice.openTop = first > 0;
        slice.openBottom = first + perSlice < children;
        slices.push_back(slice);
    }
    return slices;
}

int InlineSlice::end(const MarkdownNode& container) const {
    const int children = container.childCount();
    return count < 0 ? children : qMin(children, first + count);
}

#pragma once

#include <cstddef>

// Memory freed in bulk (a large tree replaced by a re-render, a window
// closed) stays with the allocator, which keeps it for later allocations:
// the process stays as large as at its peak. Here it goes back to the system,
// at most once per turn of the event loop and only when the allocator holds
// a large amount resident that nothing uses, never per keystroke.
namespace FreedMemory {

// Blocks of at least this size are mapped on their own and go back to the
// system as soon as they are freed. The allocator's own bound starts lower
// but rises to the size of every large block freed, and from then on keeps
// freed texts and trees of a large document resident (tens of megabytes
// after each re-parse), to be handed out again piecemeal.
constexpr size_t largeBlock = size_t(1) << 20;
// Fixes the bound at largeBlock, for the whole process; call before the
// first window.
void returnLargeBlocksAtOnce();

// While one lives, large blocks come from the heap and what is freed stays
// there to be taken again: an edit that frees a long paragraph's layout and
// builds it anew reuses the same pages instead of mapping (and faulting in)
// megabytes of fresh ones on every key. Nothing changes without
// returnLargeBlocksAtOnce, whose bound comes back when the last one goes.
// For the UI thread.
class ReusedLargeBlocks {
public:
    ReusedLargeBlocks();
    ~ReusedLargeBlocks();
    ReusedLargeBlocks(const ReusedLargeBlocks&) = delete;
    ReusedLargeBlocks& operator=(const ReusedLargeBlocks&) = delete;
};
// Up to this size; a larger block is mapped on its own all the same.
constexpr size_t reusedBlock = size_t(16) << 20;

// Below this much resident unused memory nothing is given back.
constexpr size_t defaultThreshold = size_t(64) << 20;

// Gives freed memory back on the next turn of the event loop, once what the
// caller released is gone; several calls before then give back once.
void giveBackSoon();
// Gives freed memory back now when more than the threshold is held; whether
// it did.
bool giveBackNow();
// Resident memory the allocator holds that no allocation uses, in bytes (an
// estimate: anonymous resident memory less what is allocated).
size_t heldBytes();

// How many times memory was given back since the process started.
int givenBackCount();
// 0 gives back whenever asked.
void setThreshold(size_t bytes);

} // namespace FreedMemory

#include "platform/FreedMemory.h"

#include "platform/ProcessMemory.h"

#include <QCoreApplication>
#include <QTimer>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

size_t threshold = FreedMemory::defaultThreshold;
bool boundFixed = false;
int reuseDepth = 0;
// The allocator's default: free memory above the heap's top goes back.
constexpr int trimBound = 128 * 1024;
bool scheduled = false;
int givenBack = 0;

} // namespace

size_t FreedMemory::heldBytes() {
#if defined(__GLIBC__)
    const struct mallinfo2 info = mallinfo2();
    // Allocated memory is partly never touched, so this errs low.
    const size_t used = info.uordblks + info.hblkhd;
    const auto resident = size_t(ProcessMemory::residentAnonymousBytes());
    return resident > used ? resident - used : 0;
#else
    return 0;
#endif
}

bool FreedMemory::giveBackNow() {
#if defined(__GLIBC__)
    if (threshold > 0 && heldBytes() < threshold)
        return false;
    malloc_trim(0);
    ++givenBack;
    return true;
#else
    return false;
#endif
}

void FreedMemory::giveBackSoon() {
    QCoreApplication* app = QCoreApplication::instance();
    if (scheduled || !app)
        return;
    scheduled = true;
    QTimer::singleShot(0, app, [] {
        scheduled = false;
        giveBackNow();
    });
}

void FreedMemory::returnLargeBlocksAtOnce() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, int(largeBlock));
    mallopt(M_TRIM_THRESHOLD, trimBound);
    boundFixed = true;
#endif
}

FreedMemory::ReusedLargeBlocks::ReusedLargeBlocks() {
#if defined(__GLIBC__)
    if (boundFixed && reuseDepth++ == 0) {
        mallopt(M_MMAP_THRESHOLD, int(reusedBlock));
        mallopt(M_TRIM_THRESHOLD, int(reusedBlock));
    }
#endif
}

FreedMemory::ReusedLargeBlocks::~ReusedLargeBlocks() {
#if defined(__GLIBC__)
    if (boundFixed && --reuseDepth == 0) {
        mallopt(M_MMAP_THRESHOLD, int(largeBlock));
        mallopt(M_TRIM_THRESHOLD, trimBound);
    }
#endif
}

int FreedMemory::givenBackCount() {
    return givenBack;
}

void FreedMemory::setThreshold(size_t bytes) {
    threshold = bytes;
}

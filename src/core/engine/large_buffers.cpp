#include "engine/large_buffers.h"

#include <cstdint>
#include <sys/mman.h>

namespace trellic {

void AdviseFilledBuffer(const void* data, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    // Only the whole large pages inside the buffer: the advice must start on a page, and the
    // large pages at either end may hold other allocations that gain nothing from it.
    constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    if (data == nullptr || bytes < 2 * kLargePage || begin > UINTPTR_MAX - bytes) {
        return;
    }
    const std::uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t last = (begin + bytes) & ~(kLargePage - 1);
    if (first < last) {
        // Declined advice changes nothing, so its failure is not worth a word.
        char* start = static_cast<char*>(const_cast<void*>(data)) + (first - begin);
        (void)madvise(start, last - first, MADV_HUGEPAGE);
    }
#else
    (void)data;
    (void)bytes;
#endif
}

} // namespace trellic

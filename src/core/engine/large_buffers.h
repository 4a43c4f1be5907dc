#pragma once

#include <cstddef>

namespace trellic {

// Tells the system that a large buffer that was just made, and not yet written, is about to be
// filled from end to end: it may then back it with large pages. A long document or file is
// built into a single buffer of tens or hundreds of megabytes, which the allocator takes
// fresh from the system every time, and faulting that in a small page at a time costs more
// than building what goes into it. Only advice: buffers too small to gain, or a system that
// declines, are left as they are.
void AdviseFilledBuffer(const void* data, std::size_t bytes);

} // namespace trellic

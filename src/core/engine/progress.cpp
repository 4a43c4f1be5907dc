#include "engine/progress.h"

#include <algorithm>
#include <limits>

namespace trellic {

ProgressMeter::ProgressMeter(ProgressPort* port, uint64_t total)
    : m_port(port), m_total(total), m_stride(std::max<uint64_t>(1, total / kReports)),
      m_next(port == nullptr ? std::numeric_limits<uint64_t>::max() : 0) {}

bool ProgressMeter::Report(uint64_t done) {
    if (m_cancelled) {
        return false;
    }
    if (m_port == nullptr) {
        return true;
    }
    m_next = done + m_stride;
    m_cancelled = !m_port->Report(std::min(done, m_total), m_total);
    if (m_cancelled) {
        // Every later question gets the answer at once.
        m_next = 0;
    }
    return !m_cancelled;
}

} // namespace trellic

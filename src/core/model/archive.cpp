#include "model/archive.h"

#include "engine/code_page.h"

#include <algorithm>
#include <bit>

namespace trellic {

static_assert(std::endian::native == std::endian::little,
              "the archive copies scalars as they lie in memory");

void Archive::Grow(std::size_t needed) {
    m_out.resize(std::max<std::size_t>(m_out.size() * 2, m_size + needed + 256));
}

void Archive::IoText(std::string& text) {
    if (m_loading) {
        LoadText(text);
    } else {
        StoreText(text);
    }
}

void Archive::StoreText(const std::string& text) {
    const std::size_t n = text.size();
    std::size_t stored = n;
    if (n < 0xFF) {
        auto n8 = static_cast<uint8_t>(n);
        IoScalar(n8);
    } else if (n < 0xFFFE) {
        const char escape = '\xFF';
        Put(&escape, 1);
        auto n16 = static_cast<uint16_t>(n);
        IoScalar(n16);
    } else {
        const char escape[3] = {'\xFF', '\xFF', '\xFF'};
        Put(escape, 3);
        // Texts of 4 GiB or more cannot be described by the format; they never come from the
        // program's own editing.
        auto n32 = static_cast<uint32_t>(n < 0xFFFFFFFFu ? n : 0xFFFFFFFEu);
        IoScalar(n32);
        stored = n32;
    }
    Put(text.data(), stored);
}

bool Archive::ReadLength(uint64_t& length, bool& wide) {
    uint8_t n8 = 0;
    if (!Take(&n8, 1)) {
        return false;
    }
    if (n8 < 0xFF) {
        length = n8;
        return true;
    }
    uint16_t n16 = 0;
    if (!Take(&n16, 2)) {
        return false;
    }
    if (n16 == 0xFFFE) {
        // The wide form: a second prefix follows, counting 16-bit characters. It cannot itself
        // be wide again.
        if (wide) {
            m_failed = true;
            return false;
        }
        wide = true;
        return ReadLength(length, wide);
    }
    if (n16 < 0xFFFF) {
        length = n16;
        return true;
    }
    uint32_t n32 = 0;
    if (!Take(&n32, 4)) {
        return false;
    }
    length = n32;
    return true;
}

void Archive::LoadText(std::string& text) {
    uint64_t length = 0;
    bool wide = false;
    if (!ReadLength(length, wide)) {
        return;
    }
    const uint64_t bytes = wide ? length * 2 : length;
    if (bytes > Remaining()) {
        m_failed = true;
        return;
    }
    if (!wide) {
        text.assign(reinterpret_cast<const char*>(m_pos), static_cast<std::size_t>(length));
        m_pos += length;
        return;
    }
    std::string converted;
    converted.reserve(static_cast<std::size_t>(length));
    for (uint64_t i = 0; i < length; ++i) {
        const char16_t unit = static_cast<char16_t>(m_pos[0] | (m_pos[1] << 8));
        m_pos += 2;
        // A surrogate half never maps to the code page, so pairs become '?' as on Windows.
        const auto byte = UnicodeToCp1252(unit);
        converted += byte ? static_cast<char>(*byte) : '?';
    }
    text = std::move(converted);
}

} // namespace trellic

#include "model/archive.h"

#include "engine/code_page.h"

#include <bit>
#include <cstring>

namespace trellic {

static_assert(std::endian::native == std::endian::little,
              "the archive copies scalars as they lie in memory");

bool Archive::Take(void* out, std::size_t size) {
    if (m_failed || Remaining() < size) {
        m_failed = true;
        return false;
    }
    std::memcpy(out, m_pos, size);
    m_pos += size;
    return true;
}

template <typename T> void Archive::IoScalar(T& value) {
    if (m_loading) {
        T loaded;
        if (Take(&loaded, sizeof loaded)) {
            value = loaded;
        }
    } else {
        char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        m_out.append(bytes, sizeof(T));
    }
}

void Archive::Io(bool& value) {
    if (m_loading) {
        uint8_t byte = 0;
        if (Take(&byte, 1)) {
            value = byte != 0;
        }
    } else {
        m_out += value ? '\1' : '\0';
    }
}

void Archive::Io(uint8_t& value) { IoScalar(value); }
void Archive::Io(int16_t& value) { IoScalar(value); }
void Archive::Io(int32_t& value) { IoScalar(value); }
void Archive::Io(float& value) { IoScalar(value); }

void Archive::IoText(std::string& text) {
    if (m_loading) {
        LoadText(text);
    } else {
        StoreText(text);
    }
}

void Archive::StoreText(const std::string& text) {
    const std::size_t n = text.size();
    if (n < 0xFF) {
        m_out += static_cast<char>(n);
    } else if (n < 0xFFFE) {
        m_out += '\xFF';
        auto n16 = static_cast<uint16_t>(n);
        IoScalar(n16);
    } else {
        m_out += '\xFF';
        uint16_t marker = 0xFFFF;
        IoScalar(marker);
        // Texts of 4 GiB or more cannot be described by the format; they never come from the
        // program's own editing.
        auto n32 = static_cast<uint32_t>(n < 0xFFFFFFFFu ? n : 0xFFFFFFFEu);
        IoScalar(n32);
        m_out.append(text, 0, n32);
        return;
    }
    m_out += text;
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

void Archive::IoCount(int32_t& count, std::size_t minBytes) {
    IoScalar(count);
    RequireRoom(count, minBytes);
}

void Archive::RequireRoom(int64_t count, std::size_t minBytes) {
    if (m_loading && !m_failed && count > 0 &&
        static_cast<uint64_t>(count) * minBytes > Remaining()) {
        m_failed = true;
    }
}

} // namespace trellic

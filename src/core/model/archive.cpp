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

void Archive::StoreLength(std::size_t n) {
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
        auto n32 = static_cast<uint32_t>(n);
        IoScalar(n32);
    }
}

void Archive::StoreText(const std::string& utf8) {
    // Texts of 4 GiB or more cannot be described by the format; they never come from the
    // program's own editing.
    constexpr std::size_t kMaxStored = 0xFFFFFFFEu;
    if (IsAscii(utf8)) {
        const std::size_t n = std::min(utf8.size(), kMaxStored);
        StoreLength(n);
        Put(utf8.data(), n);
        return;
    }
    // What the code page holds is stored as it always was, so such files stay byte for byte
    // what older versions wrote and read.
    if (const auto narrow = Utf8ToCp1252Exact(utf8)) {
        const std::size_t n = std::min(narrow->size(), kMaxStored);
        StoreLength(n);
        Put(narrow->data(), n);
        return;
    }
    const std::u16string wide = Utf8ToUtf16(utf8);
    const std::size_t n = std::min(wide.size(), kMaxStored / 2);
    const char marker[3] = {'\xFF', '\xFE', '\xFF'};
    Put(marker, 3);
    StoreLength(n);
    std::string bytes(n * 2, '\0');
    for (std::size_t i = 0; i < n; ++i) {
        bytes[2 * i] = static_cast<char>(wide[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(wide[i] >> 8);
    }
    Put(bytes.data(), bytes.size());
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
        const std::string_view narrow(reinterpret_cast<const char*>(m_pos),
                                      static_cast<std::size_t>(length));
        m_pos += length;
        if (IsAscii(narrow)) {
            text.assign(narrow);
        } else {
            text = Cp1252ToUtf8(narrow);
        }
        return;
    }
    std::u16string units(static_cast<std::size_t>(length), u'\0');
    for (char16_t& unit : units) {
        unit = static_cast<char16_t>(m_pos[0] | (m_pos[1] << 8));
        m_pos += 2;
    }
    // A surrogate without its partner becomes U+FFFD: the text stays valid UTF-8.
    text = Utf16ToUtf8(units);
}

} // namespace trellic

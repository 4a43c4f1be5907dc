#include "model/archive.h"

#include "engine/code_page.h"

#include <algorithm>
#include <bit>

namespace trellic {

static_assert(std::endian::native == std::endian::little,
              "the archive copies scalars as they lie in memory");

namespace {

// Whether n bytes at p are ASCII, where `readable` bytes from p may be read. Short texts, the
// most common, are tested with two loads and no loop or branch on their length.
bool IsAsciiInPlace(const unsigned char* p, std::size_t n, std::size_t readable) {
    if (n <= 16 && readable >= 16) {
        static constexpr uint64_t kKeep[9] = {0,
                                              0xFF,
                                              0xFFFF,
                                              0xFFFFFF,
                                              0xFFFFFFFF,
                                              0xFFFFFFFFFF,
                                              0xFFFFFFFFFFFF,
                                              0xFFFFFFFFFFFFFF,
                                              0xFFFFFFFFFFFFFFFF};
        uint64_t first = 0;
        uint64_t second = 0;
        std::memcpy(&first, p, 8);
        std::memcpy(&second, p + 8, 8);
        const std::size_t inFirst = n < 8 ? n : 8;
        const uint64_t high = (first & kKeep[inFirst]) | (second & kKeep[n - inFirst]);
        return (high & 0x8080808080808080ULL) == 0;
    }
    return IsAscii(std::string_view(reinterpret_cast<const char*>(p), n));
}

} // namespace

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
    const std::size_t n = std::min(utf8.size(), kMaxStored);
    if (m_measuring) {
        m_size += (n < 0xFF ? 1 : n < 0xFFFE ? 3 : 7) + n;
        return;
    }
    // Nearly every text is ASCII: it is written as it stands, and checked while it is copied.
    const std::size_t start = m_size;
    if (n < 0xFF) {
        if (m_out.size() - m_size < n + 1) {
            Grow(n + 1);
        }
        m_out[m_size++] = static_cast<char>(n);
    } else {
        StoreLength(n);
    }
    if (PutAscii(utf8.data(), n)) {
        return;
    }
    m_size = start;
    StoreOtherText(utf8);
}

void Archive::StoreOtherText(const std::string& utf8) {
    constexpr std::size_t kMaxStored = 0xFFFFFFFEu;
    // What the code page holds is stored as it always was, so such files stay byte for byte
    // what older versions wrote and read.
    if (const auto narrow = Utf8ToCp1252Exact(utf8)) {
        const std::size_t bytes = std::min(narrow->size(), kMaxStored);
        StoreLength(bytes);
        Put(narrow->data(), bytes);
        return;
    }
    const std::u16string wide = Utf8ToUtf16(utf8);
    const std::size_t units = std::min(wide.size(), kMaxStored / 2);
    const char marker[3] = {'\xFF', '\xFE', '\xFF'};
    Put(marker, 3);
    StoreLength(units);
    std::string bytes(units * 2, '\0');
    for (std::size_t i = 0; i < units; ++i) {
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
        const auto size = static_cast<std::size_t>(length);
        const auto* bytes = reinterpret_cast<const char*>(m_pos);
        const bool ascii = IsAsciiInPlace(m_pos, size, Remaining());
        m_pos += size;
        if (ascii) {
            text.assign(bytes, size);
        } else {
            text = Cp1252ToUtf8(std::string_view(bytes, size));
        }
        return;
    }
    LoadWideText(text, static_cast<std::size_t>(length));
}

void Archive::LoadWideText(std::string& text, std::size_t units) {
    std::u16string wide(units, u'\0');
    for (char16_t& unit : wide) {
        unit = static_cast<char16_t>(m_pos[0] | (m_pos[1] << 8));
        m_pos += 2;
    }
    // A surrogate without its partner becomes U+FFFD: the text stays valid UTF-8.
    text = Utf16ToUtf8(wide);
}

} // namespace trellic

#pragma once

#include "engine/code_page.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

namespace trellic {

// The little-endian binary stream the record serialisers work on. One object either loads
// (over bytes in memory) or stores (into a growing buffer), so that each serialiser is a
// single routine that reads exactly what it writes.
//
// Loading never throws and never reads past the end: the first short read marks the archive
// failed, and every later read leaves its field alone. Lengths and counts are checked against
// the bytes that remain before anything is allocated for them.
class Archive {
public:
    // The archive reads the bytes in place: they must outlive it.
    static Archive ForLoading(std::string_view bytes) { return Archive(bytes); }
    static Archive ForLoading(std::string&& bytes) = delete;
    static Archive ForStoring() { return Archive(); }
    // A storing archive that keeps nothing and only counts the bytes it would write, so that
    // a writer can size its buffer once. It counts a text's UTF-8 bytes without looking at
    // them, which is exact for texts in ASCII and near enough for the others.
    static Archive ForMeasuring() {
        Archive ar;
        ar.m_measuring = true;
        return ar;
    }
    // Makes room for this many bytes up front.
    void Reserve(std::size_t bytes) {
        if (!m_measuring && m_out.size() < bytes) {
            m_out.resize(bytes);
        }
    }
    // The bytes written, or counted, so far.
    std::size_t StoredSize() const { return m_size; }

    bool IsLoading() const { return m_loading; }
    bool IsStoring() const { return !m_loading; }
    // True for a storing archive that only counts bytes.
    bool IsMeasuring() const { return m_measuring; }
    // True once a read ran past the end of the bytes.
    bool Failed() const { return m_failed; }
    std::size_t Remaining() const { return static_cast<std::size_t>(m_end - m_pos); }
    // What a storing archive has written so far.
    std::string_view Stored() const {
        return m_measuring ? std::string_view() : std::string_view(m_out.data(), m_size);
    }
    std::string TakeStored() {
        m_out.resize(m_size);
        m_size = 0;
        return std::move(m_out);
    }

    void Io(bool& value) {
        if (m_loading) {
            uint8_t byte = 0;
            if (Take(&byte, 1)) {
                value = byte != 0;
            }
        } else {
            const char byte = value ? 1 : 0;
            Put(&byte, 1);
        }
    }
    void Io(uint8_t& value) { IoScalar(value); }
    void Io(int16_t& value) { IoScalar(value); }
    void Io(int32_t& value) { IoScalar(value); }
    void Io(float& value) { IoScalar(value); }
    // A code the file holds as a plain integer: any value it holds is read, known or not.
    template <typename Enum>
    requires std::is_enum_v<Enum>
    void Io(Enum& value) {
        auto code = static_cast<std::underlying_type_t<Enum>>(value);
        Io(code);
        value = static_cast<Enum>(code);
    }
    // A UTF-8 text with the archive's length prefix. A text Windows-1252 can hold is stored in
    // that code page, any other in the wide form (UTF-16LE); loading takes both.
    void IoText(std::string& text);

    // For a storing archive writes count; for a loading one reads it and fails at once when
    // count records of at least minBytes each cannot fit in what remains. A negative count
    // reads as zero records.
    void IoCount(int32_t& count, std::size_t minBytes) {
        IoScalar(count);
        RequireRoom(count, minBytes);
    }
    // Marks a loading archive failed when count items of minBytes each cannot fit in what
    // remains.
    void RequireRoom(int64_t count, std::size_t minBytes) {
        if (m_loading && !m_failed && count > 0 &&
            static_cast<uint64_t>(count) * minBytes > Remaining()) {
            m_failed = true;
        }
    }

private:
    explicit Archive(std::string_view bytes)
        : m_loading(true), m_pos(reinterpret_cast<const unsigned char*>(bytes.data())),
          m_end(m_pos + bytes.size()) {}
    Archive() = default;

    template <typename T> void IoScalar(T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        if (m_loading) {
            T loaded;
            if (Take(&loaded, sizeof loaded)) {
                value = loaded;
            }
        } else {
            Put(&value, sizeof value);
        }
    }

    bool Take(void* out, std::size_t size) {
        if (m_failed || Remaining() < size) {
            m_failed = true;
            return false;
        }
        std::memcpy(out, m_pos, size);
        m_pos += size;
        return true;
    }

    void Put(const void* data, std::size_t size) {
        if (m_measuring) {
            m_size += size;
            return;
        }
        if (m_out.size() - m_size < size) {
            Grow(size);
        }
        char* target = m_out.data() + m_size;
        if (size <= 16) {
            // Most fields and names are this short: a plain loop beats a call into memcpy.
            const auto* source = static_cast<const char*>(data);
            for (std::size_t i = 0; i < size; ++i) {
                target[i] = source[i];
            }
        } else {
            std::memcpy(target, data, size);
        }
        m_size += size;
    }

    // Put for a text's bytes that also tells whether they are all ASCII.
    bool PutAscii(const char* data, std::size_t size) {
        if (m_out.size() - m_size < size) {
            Grow(size);
        }
        char* target = m_out.data() + m_size;
        m_size += size;
        if (size <= 16) {
            unsigned char high = 0;
            for (std::size_t i = 0; i < size; ++i) {
                target[i] = data[i];
                high |= static_cast<unsigned char>(data[i]);
            }
            return high < 0x80;
        }
        std::memcpy(target, data, size);
        return IsAscii(std::string_view(data, size));
    }

    void Grow(std::size_t needed);
    bool ReadLength(uint64_t& length, bool& wide);
    void LoadText(std::string& text);
    void StoreText(const std::string& text);
    // The rare texts outside ASCII, kept out of the way of the common path.
    [[gnu::noinline, gnu::cold]] void StoreOtherText(const std::string& utf8);
    [[gnu::noinline, gnu::cold]] void LoadWideText(std::string& text, std::size_t units);
    void StoreLength(std::size_t n);

    bool m_loading = false;
    bool m_failed = false;
    bool m_measuring = false;
    const unsigned char* m_pos = nullptr;
    const unsigned char* m_end = nullptr;
    // A storing archive's buffer; only its first m_size bytes are written.
    std::string m_out;
    std::size_t m_size = 0;
};

} // namespace trellic

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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

    bool IsLoading() const { return m_loading; }
    bool IsStoring() const { return !m_loading; }
    // True once a read ran past the end of the bytes.
    bool Failed() const { return m_failed; }
    std::size_t Remaining() const { return static_cast<std::size_t>(m_end - m_pos); }
    // What a storing archive has written so far.
    const std::string& Stored() const { return m_out; }
    std::string TakeStored() { return std::move(m_out); }

    void Io(bool& value);
    void Io(uint8_t& value);
    void Io(int16_t& value);
    void Io(int32_t& value);
    void Io(float& value);
    // A text with the archive's length prefix. Loading also accepts the wide form, converting
    // it from UTF-16 to Windows-1252.
    void IoText(std::string& text);

    // For a storing archive writes count; for a loading one reads it and fails at once when
    // count records of at least minBytes each cannot fit in what remains. A negative count
    // reads as zero records.
    void IoCount(int32_t& count, std::size_t minBytes);
    // Marks a loading archive failed when count items of minBytes each cannot fit in what
    // remains.
    void RequireRoom(int64_t count, std::size_t minBytes);

    // Raw writes for the few places (the magic) that are not a field.
    void StoreBytes(std::string_view bytes) { m_out.append(bytes); }

private:
    explicit Archive(std::string_view bytes)
        : m_loading(true), m_pos(reinterpret_cast<const unsigned char*>(bytes.data())),
          m_end(m_pos + bytes.size()) {}
    Archive() = default;

    template <typename T> void IoScalar(T& value);
    bool Take(void* out, std::size_t size);
    bool ReadLength(uint64_t& length, bool& wide);
    void LoadText(std::string& text);
    void StoreText(const std::string& text);

    bool m_loading = false;
    bool m_failed = false;
    const unsigned char* m_pos = nullptr;
    const unsigned char* m_end = nullptr;
    std::string m_out;
};

} // namespace trellic

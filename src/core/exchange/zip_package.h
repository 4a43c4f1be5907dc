#pragma once

#include "exchange/office_document.h"

#include <ctime>
#include <string>
#include <vector>

namespace trellic {

// A zip archive put together in memory, as the office formats package their parts.
class ZipPackage {
public:
    // Entries are written in the order they were added. `compress` false stores the bytes as
    // they are, as a format's own marker file (ODF's "mimetype") must be.
    void Add(std::string name, std::string bytes, bool compress = true);
    // The time every entry carries; by default the moment Finish runs.
    void SetTime(std::time_t time) { m_time = time; }

    // The archive's bytes, or what the zip library reported.
    [[nodiscard]] ExportResult Finish() const;

private:
    struct Entry {
        std::string name;
        std::string bytes;
        bool compress = true;
    };
    std::vector<Entry> m_entries;
    std::time_t m_time = 0;
};

} // namespace trellic

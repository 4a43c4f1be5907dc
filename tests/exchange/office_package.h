#pragma once

#include "exchange/office_document.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <zip.h>

namespace trellic::testing {

// One entry of a zip archive as libzip reads it back.
struct ZipEntry {
    std::string name;
    std::string bytes;
    bool stored = false; // not compressed
};

inline std::vector<ZipEntry> ReadZip(const std::string& archive) {
    std::vector<ZipEntry> entries;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(archive.data(), archive.size(), 0, &error);
    zip_t* zip =
        source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error) : nullptr;
    zip_error_fini(&error);
    if (zip == nullptr) {
        if (source != nullptr) {
            zip_source_free(source);
        }
        ADD_FAILURE() << "not a zip archive";
        return entries;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t stat;
        zip_stat_index(zip, static_cast<zip_uint64_t>(i), 0, &stat);
        ZipEntry entry;
        entry.name = stat.name;
        entry.stored = stat.comp_method == ZIP_CM_STORE;
        entry.bytes.resize(static_cast<size_t>(stat.size));
        zip_file_t* file = zip_fopen_index(zip, static_cast<zip_uint64_t>(i), 0);
        EXPECT_EQ(zip_fread(file, entry.bytes.data(), stat.size),
                  static_cast<zip_int64_t>(stat.size));
        zip_fclose(file);
        entries.push_back(std::move(entry));
    }
    zip_discard(zip);
    return entries;
}

// The named part of an exported package; empty when there is none.
inline std::string Part(const ExportResult& result, const std::string& name) {
    EXPECT_TRUE(result.ok) << result.error;
    for (ZipEntry& entry : ReadZip(result.bytes)) {
        if (entry.name == name) {
            return std::move(entry.bytes);
        }
    }
    ADD_FAILURE() << "no part " << name;
    return {};
}

inline size_t Count(const std::string& text, const std::string& what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

} // namespace trellic::testing

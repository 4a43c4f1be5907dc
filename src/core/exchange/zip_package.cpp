#include "exchange/zip_package.h"

#include <memory>
#include <zip.h>

namespace trellic {

namespace {

ExportResult Failed(std::string what, zip_error_t* error) {
    ExportResult result;
    result.error = std::move(what);
    if (error != nullptr && zip_error_code_zip(error) != ZIP_ER_OK) {
        result.error += ": ";
        result.error += zip_error_strerror(error);
    }
    return result;
}

struct SourceFree {
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};
struct ArchiveDiscard {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};

} // namespace

void ZipPackage::Add(std::string name, std::string bytes, bool compress) {
    m_entries.push_back({std::move(name), std::move(bytes), compress});
}

ExportResult ZipPackage::Finish() const {
    zip_error_t error;
    zip_error_init(&error);
    // The archive is written into a buffer source that outlives zip_close, so the finished
    // bytes can be read back out of it.
    std::unique_ptr<zip_source_t, SourceFree> buffer(
        zip_source_buffer_create(nullptr, 0, 0, &error));
    if (!buffer) {
        ExportResult result = Failed("cannot set up the zip archive", &error);
        zip_error_fini(&error);
        return result;
    }
    std::unique_ptr<zip_t, ArchiveDiscard> archive(
        zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error));
    if (!archive) {
        ExportResult result = Failed("cannot start the zip archive", &error);
        zip_error_fini(&error);
        return result;
    }
    zip_error_fini(&error);
    zip_source_keep(buffer.get()); // zip_close would free it otherwise

    const std::time_t time = m_time != 0 ? m_time : std::time(nullptr);
    for (const Entry& entry : m_entries) {
        // The entry's bytes stay in m_entries until zip_close has read them.
        zip_source_t* source =
            zip_source_buffer(archive.get(), entry.bytes.data(), entry.bytes.size(), 0);
        if (source == nullptr) {
            return Failed("cannot add " + entry.name, zip_get_error(archive.get()));
        }
        const zip_int64_t index =
            zip_file_add(archive.get(), entry.name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            return Failed("cannot add " + entry.name, zip_get_error(archive.get()));
        }
        const auto at = static_cast<zip_uint64_t>(index);
        if (zip_set_file_compression(archive.get(), at,
                                     entry.compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0) != 0 ||
            zip_file_set_mtime(archive.get(), at, time, 0) != 0) {
            return Failed("cannot add " + entry.name, zip_get_error(archive.get()));
        }
    }
    if (zip_close(archive.get()) != 0) {
        return Failed("cannot write the zip archive", zip_get_error(archive.get()));
    }
    static_cast<void>(archive.release()); // zip_close freed it

    ExportResult result;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(buffer.get(), &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0 ||
        zip_source_open(buffer.get()) != 0) {
        return Failed("cannot read the zip archive back", zip_source_error(buffer.get()));
    }
    result.bytes.resize(static_cast<size_t>(stat.size));
    const zip_int64_t read = zip_source_read(buffer.get(), result.bytes.data(), stat.size);
    zip_source_close(buffer.get());
    if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size) {
        return Failed("cannot read the zip archive back", zip_source_error(buffer.get()));
    }
    result.ok = true;
    return result;
}

} // namespace trellic

#include "formats/format_registry.h"

#include "formats/json_resume_format.h"
#include "formats/rtf_format.h"
#include "formats/tlx_format.h"
#include "formats/txt_format.h"

#include <algorithm>

namespace trellic {

namespace {

bool HasExtension(const FileFormat& format, std::string_view extension) {
    const auto& extensions = format.Info().extensions;
    return std::find(extensions.begin(), extensions.end(), extension) != extensions.end();
}

} // namespace

void FormatRegistry::Add(std::unique_ptr<FileFormat> format) {
    if (format) {
        m_formats.push_back(std::move(format));
    }
}

std::vector<const FileFormat*> FormatRegistry::Formats(FormatRole role) const {
    std::vector<const FileFormat*> formats;
    for (const auto& format : m_formats) {
        if (format->Info().role == role) {
            formats.push_back(format.get());
        }
    }
    return formats;
}

const FileFormat* FormatRegistry::ForExtension(std::string_view extension, FormatRole role) const {
    for (const FileFormat* format : Formats(role)) {
        if (HasExtension(*format, extension)) {
            return format;
        }
    }
    return nullptr;
}

const FileFormat* FormatRegistry::WriterFor(std::string_view extension) const {
    for (const FormatRole role : {FormatRole::Resume, FormatRole::Exchange}) {
        for (const FileFormat* format : Formats(role)) {
            if (format->Info().writes && HasExtension(*format, extension)) {
                return format;
            }
        }
    }
    return nullptr;
}

const FileFormat* FormatRegistry::ReaderFor(std::string_view extension) const {
    for (const FormatRole role : {FormatRole::Resume, FormatRole::Exchange}) {
        for (const FileFormat* format : Formats(role)) {
            if (format->Info().reads && HasExtension(*format, extension)) {
                return format;
            }
        }
    }
    return nullptr;
}

const FileFormat* FormatRegistry::ById(std::string_view id) const {
    for (const auto& format : m_formats) {
        if (format->Info().id == id) {
            return format.get();
        }
    }
    return nullptr;
}

const FileFormat* FormatRegistry::ResumeFormat(FormatHolds holds) const {
    for (const FileFormat* format : Formats(FormatRole::Resume)) {
        if (format->Info().holds == holds) {
            return format;
        }
    }
    return nullptr;
}

std::string FormatRegistry::ResumeDialogFilter() const {
    std::string filter;
    for (const FileFormat* format : Formats(FormatRole::Resume)) {
        filter += format->DialogFilterEntry() + "|";
    }
    return filter + "All Files (*.*)|*.*||";
}

std::string FormatRegistry::DefaultResumeExtension() const {
    const auto formats = Formats(FormatRole::Resume);
    return formats.empty() || formats.front()->Info().extensions.empty()
               ? std::string()
               : formats.front()->Info().extensions.front();
}

std::string FormatRegistry::WritableExtensions() const {
    std::vector<std::string> extensions;
    for (const FormatRole role : {FormatRole::Resume, FormatRole::Exchange}) {
        for (const FileFormat* format : Formats(role)) {
            if (!format->Info().writes) {
                continue;
            }
            for (const std::string& extension : format->Info().extensions) {
                if (std::find(extensions.begin(), extensions.end(), extension) ==
                    extensions.end()) {
                    extensions.push_back(extension);
                }
            }
        }
    }
    std::string list;
    for (std::size_t i = 0; i < extensions.size(); ++i) {
        if (i > 0) {
            list += i + 1 == extensions.size() ? " or " : ", ";
        }
        list += "." + extensions[i];
    }
    return list;
}

std::string DialogFilterFor(const FileFormat& format) {
    return format.DialogFilterEntry() + "||";
}

FormatRegistry CoreFormats() {
    FormatRegistry formats;
    formats.Add(std::make_unique<TlxFormat>());
    formats.Add(std::make_unique<RtfFormat>());
    formats.Add(std::make_unique<TxtFormat>());
    return formats;
}

const FormatRegistry& CoreFormatRegistry() {
    static const FormatRegistry formats = CoreFormats();
    return formats;
}

void AddJsonResumeFormat(FormatRegistry& formats) {
    formats.Add(std::make_unique<JsonResumeFormat>());
}

std::string FileExtension(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

} // namespace trellic

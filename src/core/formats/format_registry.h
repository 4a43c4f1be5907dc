#pragma once

#include "formats/file_format.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace trellic {

// The file formats a program offers, in the order its file dialogs and menus list them. Open,
// Save, Save As, Import, Export and tlxtool's convert find a file's format here by its
// extension, never by a test of their own.
class FormatRegistry {
public:
    FormatRegistry() = default;
    FormatRegistry(FormatRegistry&&) = default;
    FormatRegistry& operator=(FormatRegistry&&) = default;

    // Lists a format after those already listed; the registry keeps it.
    void Add(std::unique_ptr<FileFormat> format);

    // The formats of a role, in order.
    std::vector<const FileFormat*> Formats(FormatRole role) const;
    // The first format of the role whose extensions hold this one, compared exactly: "tlx"
    // finds the TLX format, "TLX" and ".tlx" find none. Null when no format has it.
    const FileFormat* ForExtension(std::string_view extension, FormatRole role) const;
    // The first format that writes files with the extension, resume formats before the others.
    const FileFormat* WriterFor(std::string_view extension) const;
    // The first format that reads files with the extension, resume formats before the others.
    const FileFormat* ReaderFor(std::string_view extension) const;
    const FileFormat* ById(std::string_view id) const;
    // The resume format whose files hold this; null when none is listed.
    const FileFormat* ResumeFormat(FormatHolds holds) const;

    // The filter of the resume file dialogs: each resume format's entry, then every file.
    std::string ResumeDialogFilter() const;
    // The extension a resume file dialog adds to a name typed without one: the first resume
    // format's.
    std::string DefaultResumeExtension() const;
    // The extensions of every format that writes, each once, in order: ".tlx, .rtf or .txt".
    std::string WritableExtensions() const;

private:
    std::vector<std::unique_ptr<FileFormat>> m_formats;
};

// A file dialog's filter for one format alone: "PDF Files (*.pdf)|*.pdf||".
std::string DialogFilterFor(const FileFormat& format);

// The formats of the core, in the order the resume file dialogs list them: TLX, RTF, TXT.
FormatRegistry CoreFormats();
// One registry of the core formats for the whole run, for those that offer no others.
const FormatRegistry& CoreFormatRegistry();
// Lists the word processors' formats, DOCX then ODT, after those already listed. Programs that
// offer PDF list it first, so menus and messages name the formats in that order.
void AddOfficeFormats(FormatRegistry& formats);
// Lists JSON Resume after those already listed.
void AddJsonResumeFormat(FormatRegistry& formats);

// The extension of a path's file name without the dot, as written; empty when it has none.
std::string FileExtension(const std::string& path);

} // namespace trellic

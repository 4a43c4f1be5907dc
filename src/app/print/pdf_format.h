#pragma once

#include "formats/file_format.h"
#include "print/resume_printer.h"

#include <functional>

namespace trellic {

// PDF files: the pages Print would print of the view's text, with the resume's title and
// author. Written only. The program that lists the format says which paper and margins it
// lays the pages out on.
class PdfFormat : public FileFormat {
public:
    enum class Profile {
        Standard,
        // PDF/A-1b, the archival profile some application portals ask for.
        Archival,
    };

    // pageSetup is asked once per file written.
    PdfFormat(Profile profile, std::function<PageSetup()> pageSetup);

    FormatResult Write(const FormatSource& from, std::string& bytes) const override;

private:
    Profile m_profile;
    std::function<PageSetup()> m_pageSetup;
};

} // namespace trellic

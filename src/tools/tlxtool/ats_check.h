#pragma once

#include <string>
#include <vector>

namespace trellic::tool {

// What an applicant-tracking system would make of a PDF, read back the way such a system reads
// it: the text layer in reading order.
struct AtsFinding {
    enum class Level { Passed, Note, Problem };
    Level level = Level::Note;
    std::string message;
    int page = 0;     // 1-based; 0 when the finding concerns the whole file
    std::string text; // the text concerned, where there is one
};

struct AtsReport {
    std::vector<AtsFinding> findings;
    int pages = 0;
    // True when nothing in the findings would keep an ATS from reading the resume.
    bool Passed() const;
};

// Checks a PDF held in memory. `expected` are the resume's own texts (paragraphs, in order),
// where the caller has them; each must come back from the text layer, in that order.
AtsReport CheckPdfForAts(const std::string& pdf, const std::vector<std::string>& expected = {});

// One line per finding: "ok|note|problem: [page N: ]message[: "text"]".
std::string FormatAtsReport(const AtsReport& report);

} // namespace trellic::tool

#include "formats/paper.h"
#include "pdf_output.h"

namespace trellic::tool {

bool PaperNameKnown(const std::string& name) {
    Paper paper = Paper::A4;
    return PaperNamed(name, paper);
}

void UsePaperForRtf(const PdfOptions& options) {
    Paper paper = Paper::A4;
    if (options.paper.empty() || !PaperNamed(options.paper, paper)) {
        paper = SystemPaper();
    }
    SetRtfPage(PageOnPaper(paper));
}

} // namespace trellic::tool

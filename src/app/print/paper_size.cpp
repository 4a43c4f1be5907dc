#include "print/paper_size.h"

#include "formats/paper.h"

namespace trellic {

namespace {

QPageSize::PageSizeId PageSizeOf(Paper paper) {
    return paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4;
}

} // namespace

bool PaperFromName(const std::string& name, QPageSize::PageSizeId& paper) {
    Paper named = Paper::A4;
    if (!PaperNamed(name, named)) {
        return false;
    }
    paper = PageSizeOf(named);
    return true;
}

QPageSize::PageSizeId PaperForLocale(const std::string& paperLocale, const std::string& papersize) {
    return PageSizeOf(LocalePaper(paperLocale, papersize));
}

QPageSize::PageSizeId DefaultPaper() {
    return PageSizeOf(SystemPaper());
}

} // namespace trellic

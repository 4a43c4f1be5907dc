#include "render/resume_view.h"

namespace trellic {

void HeadlessResumeView::SetSelection(TextRange range) {
    m_buffer.SetSelection(static_cast<long long>(range.min), static_cast<long long>(range.max));
}

void HeadlessResumeView::SetDefaultCharFormat(const RichCharFormat& change) {
    m_buffer.SetDefaultCharFormat(change);
}

void HeadlessResumeView::SetSelectionParaFormat(const RichParaFormat& change) {
    m_buffer.SetSelectionParaFormat(change);
}

RichParaFormat HeadlessResumeView::EndParagraphFormat() const {
    RichParaFormat format = m_buffer.Document().paragraphs.back().format;
    format.mask = kPfmAll;
    return format;
}

std::vector<std::string> HeadlessResumeView::ImportRtf(std::string_view rtf) {
    return m_buffer.ImportRtf(rtf).warnings;
}

void HeadlessResumeView::ImportText(std::string_view utf8) {
    m_buffer.ImportText(utf8);
}

void HeadlessResumeView::ReplaceContent(const RichDocument& document, TextRange selection) {
    m_buffer.SetDocument(document);
    SetSelection(selection);
    EmptyUndo();
    m_buffer.SetModified(false);
    ++m_replacements;
}

} // namespace trellic

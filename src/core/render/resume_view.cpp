#include "render/resume_view.h"

#include "engine/text_file.h"
#include "richtext/rtf_reader.h"

#include <utility>

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
    // As the buffer's own import, but the document read is moved in rather than copied: a
    // large file's document is several times its size.
    RtfReadResult read = ReadRtf(rtf);
    if (!read.isRtf) {
        m_buffer.ImportText(DecodeTextFile(rtf));
    } else {
        m_buffer.SetDocument(std::move(read.document));
    }
    return std::move(read.warnings);
}

void HeadlessResumeView::ImportText(std::string_view utf8) {
    m_buffer.ImportText(utf8);
}

void HeadlessResumeView::ReplaceContent(RichDocument document, TextRange selection) {
    m_buffer.SetDocument(std::move(document));
    SetSelection(selection);
    EmptyUndo();
    m_buffer.SetModified(false);
    ++m_replacements;
}

} // namespace trellic

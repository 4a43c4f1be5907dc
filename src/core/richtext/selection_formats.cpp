#include "richtext/selection_formats.h"

namespace trellic {

void CharFormatOfSelection::Add(const RichCharFormat& run) {
    if (!m_first) {
        m_first = run;
    } else {
        m_mask &= EqualCharAttributes(*m_first, run);
    }
}

RichCharFormat CharFormatOfSelection::Reported(const RichCharFormat& firstMark) const {
    RichCharFormat format = m_first ? *m_first : firstMark;
    format.mask = m_mask;
    return format;
}

void ParaFormatOfSelection::Add(const RichParaFormat& paragraph) {
    if (!m_first) {
        m_first = paragraph;
    } else {
        m_mask &= EqualParaAttributes(*m_first, paragraph);
    }
}

RichParaFormat ParaFormatOfSelection::Reported() const {
    RichParaFormat format = m_first ? *m_first : RichParaFormat();
    format.mask = m_mask;
    return format;
}

} // namespace trellic

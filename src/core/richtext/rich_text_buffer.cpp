#include "richtext/rich_text_buffer.h"

#include "engine/large_buffers.h"
#include "engine/text_file.h"
#include "richtext/plain_text_codec.h"
#include "richtext/rtf_writer.h"
#include "richtext/selection_formats.h"

#include <algorithm>

namespace trellic {

namespace {

// Copies of the runs before and from a character offset, splitting the run that straddles it.
std::vector<RichRun> RunsBefore(const std::vector<RichRun>& runs, size_t offset) {
    std::vector<RichRun> result;
    size_t position = 0;
    for (const RichRun& run : runs) {
        if (position >= offset) {
            break;
        }
        const size_t take = std::min(run.text.size(), offset - position);
        result.push_back({run.text.substr(0, take), run.format});
        position += run.text.size();
    }
    return result;
}

// Cuts the runs at a character offset in place: `runs` keeps those before it, as RunsBefore
// gives them, and the rest are moved out. The part behind may hold empty runs that RunsFrom
// would leave out; it always goes through Append, which drops them. Inserting at the end of a
// paragraph, as every render does, copies nothing.
std::vector<RichRun> SplitRunsAt(std::vector<RichRun>& runs, size_t offset) {
    std::vector<RichRun> tail;
    size_t kept = 0;
    size_t position = 0;
    while (kept < runs.size() && position < offset) {
        position += runs[kept++].text.size();
    }
    if (position > offset) {
        RichRun& straddling = runs[kept - 1];
        const size_t cut = straddling.text.size() - (position - offset);
        tail.push_back({straddling.text.substr(cut), straddling.format});
        straddling.text.resize(cut);
    }
    const auto first = runs.begin() + static_cast<std::ptrdiff_t>(kept);
    tail.insert(tail.end(), std::make_move_iterator(first), std::make_move_iterator(runs.end()));
    runs.erase(first, runs.end());
    return tail;
}

std::vector<RichRun> RunsFrom(const std::vector<RichRun>& runs, size_t offset) {
    std::vector<RichRun> result;
    size_t position = 0;
    for (const RichRun& run : runs) {
        const size_t end = position + run.text.size();
        if (end > offset) {
            const size_t skip = offset > position ? offset - position : 0;
            result.push_back({run.text.substr(skip), run.format});
        }
        position = end;
    }
    return result;
}

// Adds a run behind the others, merging it into the last one when the formats agree.
void AppendRun(std::vector<RichRun>& target, std::u32string&& text, const RichCharFormat& format) {
    if (text.empty()) {
        return;
    }
    if (!target.empty() && target.back().format == format) {
        target.back().text += text;
    } else {
        target.push_back({std::move(text), format});
    }
}

void Append(std::vector<RichRun>& target, std::vector<RichRun> more) {
    for (RichRun& run : more) {
        AppendRun(target, std::move(run.text), run.format);
    }
}

// Symbol fonts hold byte values; text handed in as Unicode may carry them in the private-use
// block the platform maps symbol fonts to.
std::u32string ToSymbolBytes(std::u32string text) {
    for (char32_t& c : text) {
        if (c >= 0xF020 && c <= 0xF0FF) {
            c -= 0xF000;
        }
    }
    return text;
}

} // namespace

RichTextBuffer::RichTextBuffer()
    : m_typingFormat(PlainCharFormat()), m_defaultFormat(PlainCharFormat()) {
    m_document.paragraphs[0].format = PlainParaFormat();
    m_document.paragraphs[0].markFormat = m_defaultFormat;
}

void RichTextBuffer::UpdateStarts() const {
    const auto& paragraphs = m_document.paragraphs;
    m_starts.resize(paragraphs.size());
    size_t i = std::min(m_startsValid, paragraphs.size());
    if (i == 0) {
        m_starts[0] = 0;
        i = 1;
    }
    for (; i < paragraphs.size(); ++i) {
        m_starts[i] = m_starts[i - 1] + paragraphs[i - 1].Length() + 1;
    }
    m_startsValid = paragraphs.size();
}

size_t RichTextBuffer::TextLength() const {
    UpdateStarts();
    return m_starts.back() + m_document.paragraphs.back().Length();
}

RichTextBuffer::Location RichTextBuffer::Locate(size_t position) const {
    UpdateStarts();
    // Renders and typing at the end ask for the last paragraph most of the time.
    size_t index = m_starts.size() - 1;
    if (position < m_starts.back()) {
        const auto next = std::upper_bound(m_starts.begin(), m_starts.end(), position);
        index = static_cast<size_t>(next - m_starts.begin()) - 1;
    }
    const size_t length = m_document.paragraphs[index].Length();
    return {index, std::min(position - m_starts[index], length)};
}

std::pair<size_t, size_t> RichTextBuffer::TouchedParagraphs() const {
    return {Locate(m_selection.min).paragraph,
            Locate(LastTouchedPosition(m_selection.min, m_selection.max)).paragraph};
}

RichCharFormat RichTextBuffer::FormatBefore(size_t position) const {
    const Location at = Locate(position);
    const RichParagraph& paragraph = m_document.paragraphs[at.paragraph];
    if (paragraph.runs.empty()) {
        return paragraph.markFormat;
    }
    // At the start of a paragraph the control takes the format of the first character.
    const size_t probe = at.offset == 0 ? 0 : at.offset - 1;
    size_t end = 0;
    for (const RichRun& run : paragraph.runs) {
        end += run.text.size();
        if (probe < end) {
            return run.format;
        }
    }
    return paragraph.runs.back().format;
}

RichCharFormat RichTextBuffer::TypingFormatAt(size_t position) const {
    RichCharFormat format = FormatBefore(position);
    // What is typed is text to be read: beside a picture or hidden text it is neither.
    format.picture = {};
    format.Set(kCfeHidden, false);
    if (format.charSet != kSymbolCharSet) {
        return format;
    }
    const Location at = Locate(position);
    return ParagraphTextFormat(m_document.paragraphs[at.paragraph], at.offset, m_defaultFormat);
}

RichCharFormat RichTextBuffer::InsertionFormat() const {
    if (m_selection.min == m_selection.max) {
        return m_typingFormat;
    }
    const Location at = Locate(m_selection.min);
    const RichParagraph& paragraph = m_document.paragraphs[at.paragraph];
    if (at.offset == paragraph.Length()) {
        return paragraph.markFormat;
    }
    RichCharFormat format = FormatBefore(m_selection.min + 1);
    format.picture = {}; // text typed over a picture replaces it
    return format;
}

void RichTextBuffer::SetSelection(long long min, long long max) {
    const auto length = static_cast<long long>(TextLength());
    if (max == -1) {
        max = length;
    }
    min = std::clamp(min, 0LL, length);
    max = std::clamp(max, 0LL, length);
    if (min > max) {
        std::swap(min, max);
    }
    m_selection = {static_cast<size_t>(min), static_cast<size_t>(max)};
    m_typingFormat = TypingFormatAt(m_selection.min);
}

void RichTextBuffer::Clear() {
    RichParagraph paragraph;
    paragraph.format = m_document.paragraphs.back().format;
    paragraph.markFormat = m_defaultFormat;
    m_document.paragraphs = {std::move(paragraph)};
    InvalidateStarts(0);
    m_selection = {};
    m_typingFormat = m_defaultFormat;
    m_modified = true;
}

void RichTextBuffer::ReserveParagraphs(size_t count) {
    auto& paragraphs = m_document.paragraphs;
    if (count > paragraphs.capacity()) {
        paragraphs.reserve(count);
        AdviseFilledBuffer(paragraphs.data() + paragraphs.size(),
                           (paragraphs.capacity() - paragraphs.size()) * sizeof(RichParagraph));
    }
    m_starts.reserve(count);
}

RichDocument RichTextBuffer::TakeDocument() {
    RichDocument taken;
    taken.paragraphs.swap(m_document.paragraphs);
    m_document.paragraphs[0].format = taken.paragraphs.back().format;
    Clear();
    return taken;
}

void RichTextBuffer::DeleteRange(size_t min, size_t max) {
    if (min >= max) {
        return;
    }
    const Location from = Locate(min);
    const Location to = Locate(max);
    InvalidateStarts(from.paragraph);
    auto& paragraphs = m_document.paragraphs;
    std::vector<RichRun> runs = RunsBefore(paragraphs[from.paragraph].runs, from.offset);
    Append(runs, RunsFrom(paragraphs[to.paragraph].runs, to.offset));
    // The paragraph mark that survives is the later one, and with it go its formats.
    RichParagraph merged;
    merged.format = paragraphs[to.paragraph].format;
    merged.markFormat = paragraphs[to.paragraph].markFormat;
    merged.runs = std::move(runs);
    paragraphs.erase(paragraphs.begin() + static_cast<std::ptrdiff_t>(from.paragraph),
                     paragraphs.begin() + static_cast<std::ptrdiff_t>(to.paragraph) + 1);
    paragraphs.insert(paragraphs.begin() + static_cast<std::ptrdiff_t>(from.paragraph),
                      std::move(merged));
}

void RichTextBuffer::InsertDocumentAt(size_t position, RichDocument fragment) {
    const Location at = Locate(position);
    InvalidateStarts(at.paragraph);
    auto& paragraphs = m_document.paragraphs;
    RichParagraph& target = paragraphs[at.paragraph];
    std::vector<RichRun> tail = SplitRunsAt(target.runs, at.offset);
    auto& pieces = fragment.paragraphs;
    if (pieces.size() == 1) {
        Append(target.runs, std::move(pieces[0].runs));
        Append(target.runs, std::move(tail));
        return;
    }
    // The first piece ends the paragraph that held the insertion point and so brings its own
    // formats; the unfinished last piece joins the text behind and keeps the old paragraph's.
    RichParagraph& last = pieces.back();
    last.format = target.format;
    last.markFormat = std::move(target.markFormat);
    Append(last.runs, std::move(tail));
    Append(target.runs, std::move(pieces.front().runs));
    target.format = pieces.front().format;
    target.markFormat = std::move(pieces.front().markFormat);
    paragraphs.insert(paragraphs.begin() + static_cast<std::ptrdiff_t>(at.paragraph) + 1,
                      std::make_move_iterator(pieces.begin() + 1),
                      std::make_move_iterator(pieces.end()));
}

size_t RichTextBuffer::InsertLinesAt(size_t position, std::u32string text,
                                     const RichCharFormat& format,
                                     const RichParaFormat& paraFormat) {
    // The same result as inserting MakeDocument(text, format, paraFormat), without building
    // the document first.
    const Location at = Locate(position);
    InvalidateStarts(at.paragraph);
    auto& paragraphs = m_document.paragraphs;
    auto isBreak = [](char32_t c) { return c == U'\r' || c == U'\n'; };
    // CR LF is one break; counted without branching on each character.
    size_t breaks = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool crlf = text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n';
        breaks += static_cast<size_t>(isBreak(text[i])) - static_cast<size_t>(crlf);
    }
    std::vector<RichRun> tail = SplitRunsAt(paragraphs[at.paragraph].runs, at.offset);
    if (breaks == 0) {
        const size_t inserted = text.size();
        RichParagraph& target = paragraphs[at.paragraph];
        AppendRun(target.runs, std::move(text), format);
        Append(target.runs, std::move(tail));
        return inserted;
    }
    // Every break adds a paragraph behind the insertion point's. The first line ends that
    // paragraph in the inserted formats; the last joins the text behind and keeps its formats.
    if (at.paragraph + 1 == paragraphs.size()) {
        for (size_t i = 0; i < breaks; ++i) {
            paragraphs.emplace_back();
        }
    } else {
        paragraphs.insert(paragraphs.begin() + static_cast<std::ptrdiff_t>(at.paragraph) + 1,
                          breaks, RichParagraph{});
    }
    RichParagraph& target = paragraphs[at.paragraph];
    RichParagraph& last = paragraphs[at.paragraph + breaks];
    last.format = target.format;
    last.markFormat = std::move(target.markFormat);
    size_t inserted = breaks;
    auto start = text.cbegin();
    for (size_t line = 0; line <= breaks; ++line) {
        const auto end = std::find_if(start, text.cend(), isBreak);
        RichParagraph& paragraph = paragraphs[at.paragraph + line];
        inserted += static_cast<size_t>(end - start);
        AppendRun(paragraph.runs, std::u32string(start, end), format);
        if (line == breaks) {
            break;
        }
        paragraph.format = paraFormat;
        paragraph.markFormat = format;
        start = end + 1;
        if (*end == U'\r' && start != text.cend() && *start == U'\n') {
            ++start;
        }
    }
    Append(last.runs, std::move(tail));
    return inserted;
}

void RichTextBuffer::ReplaceSelection(RichDocument fragment) {
    fragment.Normalize();
    const size_t inserted = fragment.Length();
    DeleteRange(m_selection.min, m_selection.max);
    InsertDocumentAt(m_selection.min, std::move(fragment));
    const size_t end = m_selection.min + inserted;
    m_selection = {end, end};
    m_modified = true;
}

void RichTextBuffer::InsertPlain(std::u32string text) {
    RichCharFormat format = InsertionFormat();
    if (format.charSet == kSymbolCharSet) {
        text = ToSymbolBytes(std::move(text));
    }
    const Location at = Locate(m_selection.min);
    const RichParaFormat paraFormat = m_document.paragraphs[at.paragraph].format;
    DeleteRange(m_selection.min, m_selection.max);
    const size_t end =
        m_selection.min + InsertLinesAt(m_selection.min, std::move(text), format, paraFormat);
    m_selection = {end, end};
    m_modified = true;
    m_typingFormat = format;
}

void RichTextBuffer::InsertText(std::string_view utf8) {
    InsertPlain(DecodeNodeText(utf8, InsertionFormat().charSet));
}

void RichTextBuffer::InsertText(std::u32string_view text) {
    InsertPlain(std::u32string(text));
}

RtfReadResult RichTextBuffer::InsertRtf(std::string_view rtf) {
    RtfReadResult result = ReadRtfFragment(rtf, RtfSource::Utf8);
    if (!result.isRtf) {
        InsertText(rtf);
        return result;
    }
    InsertFragment(result.document);
    return result;
}

void RichTextBuffer::InsertFragment(const RichDocument& fragment) {
    ReplaceSelection(fragment);
    m_typingFormat = FormatBefore(m_selection.min);
    m_typingFormat.picture = {};
}

void RichTextBuffer::SetSelectionCharFormat(const RichCharFormat& change) {
    if (m_selection.min == m_selection.max) {
        ApplyCharFormat(m_typingFormat, change);
        // An empty paragraph shows the format of its mark, so it follows the typing format.
        RichParagraph& paragraph = m_document.paragraphs[Locate(m_selection.min).paragraph];
        if (paragraph.runs.empty()) {
            ApplyCharFormat(paragraph.markFormat, change);
        }
        return;
    }
    const Location from = Locate(m_selection.min);
    const Location to = Locate(m_selection.max);
    for (size_t i = from.paragraph; i <= to.paragraph; ++i) {
        RichParagraph& paragraph = m_document.paragraphs[i];
        const size_t length = paragraph.Length();
        const size_t start = i == from.paragraph ? from.offset : 0;
        const size_t end = i == to.paragraph ? to.offset : length;
        std::vector<RichRun> runs = RunsBefore(paragraph.runs, start);
        std::vector<RichRun> middle = RunsFrom(RunsBefore(paragraph.runs, end), start);
        for (RichRun& run : middle) {
            ApplyCharFormat(run.format, change);
        }
        Append(runs, std::move(middle));
        Append(runs, RunsFrom(paragraph.runs, end));
        paragraph.runs = std::move(runs);
        if (HoldsBreak(m_starts[i] + length, m_selection.min, m_selection.max)) {
            ApplyCharFormat(paragraph.markFormat, change);
        }
    }
    m_typingFormat = InsertionFormat();
    m_modified = true;
}

void RichTextBuffer::SetDefaultCharFormat(const RichCharFormat& change) {
    ApplyCharFormat(m_defaultFormat, change);
    if (m_document.IsEmpty()) {
        ApplyCharFormat(m_typingFormat, change);
        ApplyCharFormat(m_document.paragraphs[0].markFormat, change);
    }
}

void RichTextBuffer::SetSelectionParaFormat(const RichParaFormat& change) {
    const auto [first, last] = TouchedParagraphs();
    for (size_t i = first; i <= last; ++i) {
        ApplyParaFormat(m_document.paragraphs[i].format, change);
    }
    m_modified = true;
}

RichCharFormat RichTextBuffer::GetSelectionCharFormat() const {
    if (m_selection.min == m_selection.max) {
        RichCharFormat format = m_typingFormat;
        format.mask = kCfmAll;
        return format;
    }
    const Location from = Locate(m_selection.min);
    const Location to = Locate(m_selection.max);
    CharFormatOfSelection selected;
    for (size_t i = from.paragraph; i <= to.paragraph; ++i) {
        const RichParagraph& paragraph = m_document.paragraphs[i];
        const size_t start = i == from.paragraph ? from.offset : 0;
        const size_t end = i == to.paragraph ? to.offset : paragraph.Length();
        size_t position = 0;
        for (const RichRun& run : paragraph.runs) {
            const size_t runEnd = position + run.text.size();
            if (runEnd > start && position < end) {
                selected.Add(run.format);
            }
            position = runEnd;
        }
    }
    return selected.Reported(m_document.paragraphs[from.paragraph].markFormat);
}

RichParaFormat RichTextBuffer::GetSelectionParaFormat() const {
    const auto [first, last] = TouchedParagraphs();
    ParaFormatOfSelection selected;
    for (size_t i = first; i <= last; ++i) {
        selected.Add(m_document.paragraphs[i].format);
    }
    return selected.Reported();
}

std::string RichTextBuffer::ExportRtf() const {
    return WriteRtf(m_document);
}

std::string RichTextBuffer::ExportText() const {
    return WritePlainText(m_document);
}

RtfReadResult RichTextBuffer::ImportRtf(std::string_view rtf) {
    RtfReadResult result = ReadRtf(rtf);
    if (!result.isRtf) {
        ImportText(DecodeTextFile(rtf));
        return result;
    }
    SetDocument(result.document);
    return result;
}

void RichTextBuffer::ImportText(std::string_view utf8) {
    // Plain text carries no paragraph formats: every paragraph comes in plain, not in the
    // format of whatever paragraph the old content began with.
    SetDocument(ReadPlainText(utf8, m_defaultFormat, PlainParaFormat()));
}

void RichTextBuffer::SetDocument(RichDocument document) {
    document.Normalize();
    m_document = std::move(document);
    InvalidateStarts(0);
    m_selection = {};
    m_typingFormat = TypingFormatAt(0);
    m_modified = true;
}

} // namespace trellic

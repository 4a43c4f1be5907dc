#pragma once

#include "richtext/rich_document.h"
#include "richtext/rtf_reader.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

namespace trellic {

// A character range in the control's counting: one position per character and one per
// paragraph break. min <= max always; min == max is an insertion point.
struct TextRange {
    size_t min = 0;
    size_t max = 0;
    bool operator==(const TextRange&) const = default;
};

// The editable rich text behind the resume view, with the semantics of the platform's rich-edit
// control that the render driver, the document commands and the Format commands rely on.
class RichTextBuffer {
public:
    RichTextBuffer();

    // Positions past the end clamp to it; max == -1 means the end; a reversed range is turned
    // round. Moving the insertion point takes up the format of the text before it, unless that
    // is a symbol font (a bullet): then the paragraph's text font. It is never hidden nor a
    // picture: what is typed is text to be read.
    void SetSelection(long long min, long long max);
    TextRange GetSelection() const { return m_selection; }

    // Empties the text. The typing format and the remaining paragraph mark take the default
    // character format; the paragraph format of the last paragraph stays.
    void Clear();

    // Replaces the selection by plain text in the insertion format and the paragraph format of
    // the selection. CR LF, a lone CR and a lone LF each break the paragraph. The selection
    // ends as an insertion point behind the text. The byte form is UTF-8; in a symbol font the
    // characters Windows-1252 holds stand for their bytes.
    void InsertText(std::string_view utf8);
    void InsertText(std::u32string_view text);

    // Replaces the selection by an RTF text with its own formats; its first paragraph joins the
    // text before the selection and its unfinished last one the text behind it. Input that is
    // not RTF is inserted as plain text, as the control does. The text is UTF-8, as node texts
    // are (see RtfSource::Utf8).
    RtfReadResult InsertRtf(std::string_view rtf);
    // Inserts a document whose last paragraph is an unfinished tail (as ReadRtfFragment gives).
    void InsertFragment(const RichDocument& fragment);

    // Sets the attributes named in `change.mask` on the selection, or on the typing format
    // (and an empty paragraph's mark) when the selection is an insertion point.
    void SetSelectionCharFormat(const RichCharFormat& change);
    // The control's default character format; an empty buffer takes it at once.
    void SetDefaultCharFormat(const RichCharFormat& change);
    const RichCharFormat& GetDefaultCharFormat() const { return m_defaultFormat; }
    // Sets the attributes named in `change.mask` on every paragraph the selection touches.
    void SetSelectionParaFormat(const RichParaFormat& change);

    // The format of the selection's first character, with mask bits only for the attributes
    // that are the same over the whole selection; at an insertion point, the typing format.
    RichCharFormat GetSelectionCharFormat() const;
    // The format of the selection's first paragraph, with mask bits only for the attributes
    // that are the same in all its paragraphs.
    RichParaFormat GetSelectionParaFormat() const;

    std::string ExportRtf() const;
    // UTF-8, paragraphs joined with CR LF.
    std::string ExportText() const;
    // Replace the whole content. Text that is not RTF is read as plain text, as the control
    // does; the result says which.
    RtfReadResult ImportRtf(std::string_view rtf);
    // Plain UTF-8 text takes the default character format and the plain paragraph format.
    void ImportText(std::string_view utf8);
    // Replaces the whole content by a document.
    void SetDocument(RichDocument document);

    bool IsModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

    // Without a layout width a line is a paragraph.
    size_t LineCount() const { return m_document.paragraphs.size(); }
    size_t TextLength() const;
    std::u32string Text() const { return m_document.Text(); }
    const RichDocument& Document() const { return m_document; }
    // Makes room for this many paragraphs, so that a document built to about that length is
    // not copied as it grows.
    void ReserveParagraphs(size_t count);
    // Hands the content out without copying it and leaves the buffer as Clear() leaves it.
    RichDocument TakeDocument();

private:
    struct Location {
        size_t paragraph = 0;
        size_t offset = 0;
    };
    Location Locate(size_t position) const;
    // The first and last paragraph the selection touches.
    std::pair<size_t, size_t> TouchedParagraphs() const;
    // Brings the paragraph start positions up to date; renders append at the end, so only
    // the paragraphs behind the first changed one are counted again.
    void UpdateStarts() const;
    // Start positions from this paragraph on no longer hold.
    void InvalidateStarts(size_t paragraph) { m_startsValid = std::min(m_startsValid, paragraph); }
    // The format a character typed at an insertion point at `position` takes.
    RichCharFormat FormatBefore(size_t position) const;
    // The typing format of an insertion point moved to `position`: the format before it, except
    // that a symbol font gives way to the paragraph's text font.
    RichCharFormat TypingFormatAt(size_t position) const;
    // The format that inserted text takes: the first selected character's, or the typing format.
    RichCharFormat InsertionFormat() const;
    void DeleteRange(size_t min, size_t max);
    void InsertDocumentAt(size_t position, RichDocument fragment);
    // Inserts plain text split at its breaks as MakeDocument splits it; returns its length in
    // positions.
    size_t InsertLinesAt(size_t position, std::u32string text, const RichCharFormat& format,
                         const RichParaFormat& paraFormat);
    void ReplaceSelection(RichDocument fragment);
    void InsertPlain(std::u32string text);

    RichDocument m_document;
    TextRange m_selection;
    RichCharFormat m_typingFormat;
    RichCharFormat m_defaultFormat;
    bool m_modified = false;
    // m_starts[i] is the position of paragraph i's first character, for i < m_startsValid.
    mutable std::vector<size_t> m_starts;
    mutable size_t m_startsValid = 0;
};

} // namespace trellic

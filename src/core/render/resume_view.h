#pragma once

#include "richtext/rich_document.h"
#include "richtext/rich_format.h"
#include "richtext/rich_text_buffer.h"

#include <string>
#include <string_view>
#include <vector>

namespace trellic {

// The resume view as the engine sees it: the rich text the user reads and edits. The desktop
// application implements it over its text widget; HeadlessResumeView over a RichTextBuffer.
class ResumeView {
public:
    virtual ~ResumeView() = default;

    virtual TextRange Selection() const = 0;
    // Positions past the end clamp to it.
    virtual void SetSelection(TextRange range) = 0;

    // The format typed text takes in an empty view. Every attribute is valid.
    virtual RichCharFormat DefaultCharFormat() const = 0;
    virtual void SetDefaultCharFormat(const RichCharFormat& change) = 0;
    // Sets the attributes the change's mask names on every paragraph of the selection.
    virtual void SetSelectionParaFormat(const RichParaFormat& change) = 0;
    // The format of the last paragraph, which an emptied view keeps.
    virtual RichParaFormat EndParagraphFormat() const = 0;

    // The whole content as the engine's document model, as exports lay it out.
    virtual RichDocument Document() const = 0;
    // The whole content as RTF, or as UTF-8 text with CR LF between paragraphs.
    virtual std::string ExportRtf() const = 0;
    virtual std::string ExportText() const = 0;
    // Replace the whole content. Text that is not RTF is read as plain text, which comes in in
    // the default character format and the plain paragraph format. RTF is the file's bytes;
    // plain text is UTF-8 (files are decoded before they come here). Returns what the reader
    // left out or cannot show (the reader's warnings, then UnshownPictures), for the caller to
    // log where the user opened the file.
    virtual std::vector<std::string> ImportRtf(std::string_view rtf) = 0;
    virtual void ImportText(std::string_view utf8) = 0;
    // One sentence for each PNG or JPEG picture of the content that shows as a placeholder:
    // its data does not decode, or the text's earlier pictures took all it may decode. Only a
    // view on screen finds out; a headless view shows nothing and finds none.
    virtual std::vector<std::string> UnshownPictures() const = 0;

    // Replaces the whole content with a finished rendering in one step (one repaint on
    // screen), puts the selection back as far as the new text reaches, forgets the undo
    // history and clears the modified flag. The view keeps the document it is given: a caller
    // that needs no copy moves it in.
    virtual void ReplaceContent(RichDocument document, TextRange selection) = 0;

    virtual void EmptyUndo() = 0;
    virtual bool IsModified() const = 0;
    virtual void SetModified(bool modified) = 0;
};

// A resume view without a screen, for the command-line tool and the tests.
class HeadlessResumeView : public ResumeView {
public:
    TextRange Selection() const override { return m_buffer.GetSelection(); }
    void SetSelection(TextRange range) override;
    RichCharFormat DefaultCharFormat() const override { return m_buffer.GetDefaultCharFormat(); }
    void SetDefaultCharFormat(const RichCharFormat& change) override;
    void SetSelectionParaFormat(const RichParaFormat& change) override;
    RichParaFormat EndParagraphFormat() const override;
    RichDocument Document() const override { return m_buffer.Document(); }
    std::string ExportRtf() const override { return m_buffer.ExportRtf(); }
    std::string ExportText() const override { return m_buffer.ExportText(); }
    std::vector<std::string> ImportRtf(std::string_view rtf) override;
    void ImportText(std::string_view utf8) override;
    std::vector<std::string> UnshownPictures() const override { return {}; }
    void ReplaceContent(RichDocument document, TextRange selection) override;
    void EmptyUndo() override { ++m_undoResets; }
    bool IsModified() const override { return m_buffer.IsModified(); }
    void SetModified(bool modified) override { m_buffer.SetModified(modified); }

    RichTextBuffer& Buffer() { return m_buffer; }
    const RichTextBuffer& Buffer() const { return m_buffer; }
    // How often the undo history was forgotten: a headless view keeps none.
    int UndoResets() const { return m_undoResets; }
    // How often whole renderings were handed over.
    int ContentReplacements() const { return m_replacements; }

private:
    RichTextBuffer m_buffer;
    int m_undoResets = 0;
    int m_replacements = 0;
};

} // namespace trellic

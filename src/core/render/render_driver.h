#pragma once

#include "engine/progress.h"
#include "model/node_tree.h"
#include "render/resume_view.h"
#include "richtext/rich_text_buffer.h"

#include <cstdint>
#include <string_view>

namespace trellic {

// Renders the resume into the view. In the TLX Nodes data source the active stack is rendered
// anew, built completely aside and handed to the view in one piece; in the Resume View the
// view's own text is passed out and back in so the view's default formatting is re-applied
// (rich text with the RTF renderer, plain text with the TXT renderer; any other combination
// leaves the view alone). The selection is kept as far as the new text reaches.
//
// False when memory ran out on the way; in TLX Nodes the view then still shows what it showed
// before.
bool RenderResume(const NodeTree& tree, ResumeView& view);

enum class RenderResult { Rendered, OutOfMemory, Cancelled };

// The rendering of the active stack that RenderResume would hand to a view with the given
// default character format and last paragraph format, built without any view. `progress` hears
// of the entries rendered and may cancel; `out` is left alone unless the result is Rendered.
RenderResult RenderNodes(const NodeTree& tree, const RichCharFormat& viewDefault,
                         const RichParaFormat& endParagraph, RichDocument& out,
                         ProgressPort* progress = nullptr);

// Resets the view to plain formatting: Arial 12 points black as the default character format,
// an unnumbered, left-aligned, single-spaced paragraph at the selection; forgets the undo
// history and clears the modified flag.
void ResetViewFormatting(ResumeView& view);

// The plain formatting's default character format (Arial 12 points, black).
RichCharFormat PlainViewCharFormat();

// What node renderers write into: the text being built, the tree it comes from and the
// renderer in force.
struct RenderTarget {
    const NodeTree& tree;
    RichTextBuffer& out;
    Renderer renderer = kRendererRtf;
};

// Most extra line breaks or indent levels one call writes: a damaged file can ask for
// billions, which no resume needs.
inline constexpr int32_t kMaxLineBreaks = 10000;
inline constexpr int32_t kMaxIndentLevels = 100;

// Inserts UTF-8 text at the selection in the insertion point's formats.
void InsertText(RenderTarget& target, std::string_view text);
// Inserts an RTF document at the selection with its own formatting.
void InsertRichText(RenderTarget& target, std::string_view rtf);
// Inserts n line breaks; under the RTF renderer all but the first are in the resume's default
// character format, in a plain paragraph.
void InsertLineBreaks(RenderTarget& target, int32_t count);
// Sets the resume's default character format on the selection.
void ApplyDefaultCharFormat(RenderTarget& target);
// No numbering, left aligned, single spaced, on the selection's paragraphs.
void ResetParagraph(RichTextBuffer& out);
// Inserts count tab characters, never underlined or struck out under the RTF renderer.
void InsertIndent(RenderTarget& target, int32_t count, const CharFormat& format);
// Inserts a bullet symbol (Wingdings under the RTF renderer) or a plain-text bullet.
void InsertBullet(RenderTarget& target, int32_t bullet, int32_t color);

} // namespace trellic

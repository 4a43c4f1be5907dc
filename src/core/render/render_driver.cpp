#include "render/render_driver.h"

#include "render/node_renderers.h"
#include "render/rich_formats.h"

#include <algorithm>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>

namespace trellic {

namespace {

RichParaFormat PlainParagraphChange() {
    RichParaFormat change;
    change.mask = kPfmNumbering | kPfmAlignment | kPfmLineSpacing;
    change.numbering = kPfnNone;
    change.alignment = kPfaLeft;
    change.lineSpacingRule = kLineSpacingSingle;
    return change;
}

std::string Repeat(std::string_view piece, int32_t count) {
    std::string text;
    if (count <= 0) {
        return text;
    }
    text.reserve(piece.size() * static_cast<std::size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        text += piece;
    }
    return text;
}

// One renderer per record type, chosen by overload; the resume's own entry writes nothing.
void RenderRecord(RenderTarget&, const ResumeNode&, int32_t, uint16_t) {}
void RenderRecord(RenderTarget& target, const HeaderNode& node, NodeKind previousKind,
                  uint16_t listNumber) {
    RenderHeader(target, node, previousKind, listNumber);
}
void RenderRecord(RenderTarget& target, const ResumeSectionNode& node, NodeKind previousKind,
                  uint16_t listNumber) {
    RenderResumeSection(target, node, previousKind, listNumber);
}
void RenderRecord(RenderTarget& target, const SLFieldNode& node, NodeKind previousKind,
                  uint16_t listNumber) {
    RenderSLField(target, node, previousKind, listNumber);
}
void RenderRecord(RenderTarget& target, const MLFieldNode& node, NodeKind previousKind,
                  uint16_t listNumber) {
    RenderMLField(target, node, previousKind, listNumber);
}
void RenderRecord(RenderTarget& target, const RTFOutputNode& node, NodeKind previousKind,
                  uint16_t listNumber) {
    RenderRTFOutput(target, node, previousKind, listNumber);
}
void RenderRecord(RenderTarget& target, const TXTOutputNode& node, NodeKind previousKind,
                  uint16_t listNumber) {
    RenderTXTOutput(target, node, previousKind, listNumber);
}

void RenderEntry(RenderTarget& target, const StackEntry& entry, NodeKind previousKind,
                 uint16_t listNumber) {
    VisitRecord(target.tree, entry,
                [&](const auto& node) { RenderRecord(target, node, previousKind, listNumber); });
}

} // namespace

RichCharFormat PlainViewCharFormat() {
    CharFormat plain;
    plain.faceName = "Arial";
    plain.height = 240;
    return ToRichCharFormat(plain);
}

void ResetViewFormatting(ResumeView& view) {
    view.SetDefaultCharFormat(PlainViewCharFormat());
    view.SetSelectionParaFormat(PlainParagraphChange());
    view.EmptyUndo();
    view.SetModified(false);
}

namespace {

// The paragraph breaks in a text: CR LF, a lone CR and a lone LF, that is every LF and every CR
// that no LF follows. Counted without a branch per character, which the compiler vectorises.
std::size_t Breaks(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    std::size_t breaks = 0;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        const int lineFeed = text[i] == '\n' ? 1 : 0;
        const int loneReturn = text[i] == '\r' && text[i + 1] != '\n' ? 1 : 0;
        breaks += static_cast<std::size_t>(lineFeed + loneReturn);
    }
    return breaks + static_cast<std::size_t>(text.back() == '\n' || text.back() == '\r');
}

std::size_t ExtraBreaks(int32_t spacing) {
    return static_cast<std::size_t>(std::clamp(spacing, 0, kMaxLineBreaks));
}

// About as many paragraphs as rendering the active stack makes, rather more than fewer: the
// breaks in its texts and the most a renderer adds around them. Reserving them spares copying
// the growing document, which in a long resume costs as much as the rest of rendering; an
// RTF text that holds more paragraphs than lines only makes the document grow as usual.
std::size_t ParagraphsToReserve(const NodeTree& tree) {
    constexpr std::size_t kAroundNode = 4;
    std::size_t count = 1;
    for (const StackEntry& entry : tree.activeStack) {
        count += VisitRecord(tree, entry, [&tree](const auto& node) -> std::size_t {
            using Record = std::remove_cvref_t<decltype(node)>;
            if constexpr (std::is_same_v<Record, HeaderNode>) {
                return kAroundNode + Breaks(node.header);
            } else if constexpr (std::is_same_v<Record, ResumeSectionNode>) {
                return kAroundNode + Breaks(node.title) + Breaks(node.data.text) +
                       ExtraBreaks(node.data.spacing);
            } else if constexpr (std::is_same_v<Record, SLFieldNode>) {
                return kAroundNode + Breaks(node.fieldName) + Breaks(node.fieldData);
            } else if constexpr (std::is_same_v<Record, MLFieldNode>) {
                return kAroundNode + Breaks(node.fieldName) + Breaks(node.fieldData.text) +
                       ExtraBreaks(node.fieldData.spacing);
            } else if constexpr (std::is_same_v<Record, RTFOutputNode> ||
                                 std::is_same_v<Record, TXTOutputNode>) {
                const int32_t renderer =
                    std::is_same_v<Record, RTFOutputNode> ? kRendererRtf : kRendererTxt;
                return tree.renderer != renderer ? 0
                                                 : kAroundNode + Breaks(node.output.text) +
                                                       ExtraBreaks(node.output.spacing);
            } else {
                return 0;
            }
        });
    }
    return count;
}

// The rendering of the active stack; false when the user cancelled.
bool BuildRendering(const NodeTree& tree, const RichCharFormat& viewDefault,
                    const RichParaFormat& endParagraph, RichDocument& out, ProgressPort* progress) {
    // The new text is built aside, starting as an emptied view would: its default format, and
    // the format of the paragraph that clearing leaves.
    RichTextBuffer buffer;
    buffer.SetDefaultCharFormat(viewDefault);
    buffer.SetSelectionParaFormat(endParagraph);
    if (tree.renderer == kRendererTxt) {
        buffer.SetDefaultCharFormat(PlainViewCharFormat());
        buffer.SetSelectionParaFormat(PlainParagraphChange());
    }
    try {
        buffer.ReserveParagraphs(ParagraphsToReserve(tree));
    } catch (const std::bad_alloc&) {
        // Only a saving: a rendering that fits in memory still renders without it.
    } catch (const std::length_error&) {
    }
    RenderTarget target{tree, buffer, tree.renderer};
    NodeKind previousKind = kKindResume;
    uint16_t listNumber = 0;
    ProgressMeter meter(progress, tree.activeStack.size());
    uint64_t done = 0;
    for (const StackEntry& entry : tree.activeStack) {
        if (!meter.Advance(done++)) {
            return false;
        }
        if (entry.kind != kKindResume && tree.RefersToRecord(entry)) {
            if (EffectiveNumbering(tree, entry) != 0) {
                ++listNumber;
            }
            RenderEntry(target, entry, previousKind, listNumber);
        }
        previousKind = entry.kind;
    }
    if (!meter.Finish()) {
        return false;
    }
    out = buffer.TakeDocument();
    return true;
}

void RenderInto(const NodeTree& tree, ResumeView& view) {
    const TextRange selection = view.Selection();

    if (tree.dataSource == kDataSourceNodes) {
        RichDocument rendering;
        BuildRendering(tree, view.DefaultCharFormat(), view.EndParagraphFormat(), rendering,
                       nullptr);
        if (tree.renderer == kRendererTxt) {
            view.SetDefaultCharFormat(PlainViewCharFormat());
        }
        view.ReplaceContent(std::move(rendering), selection);
        return;
    }

    if (tree.dataSource == kDataSourceViewRtf && tree.renderer == kRendererRtf) {
        const std::string rtf = view.ExportRtf();
        ResetViewFormatting(view);
        view.ImportRtf(rtf);
    } else if (tree.dataSource == kDataSourceViewTxt && tree.renderer == kRendererTxt) {
        const std::string text = view.ExportText();
        ResetViewFormatting(view);
        view.ImportText(text);
    } else {
        return;
    }
    view.SetSelection(selection);
}

} // namespace

bool RenderResume(const NodeTree& tree, ResumeView& view) {
    // A node rendering is built aside and handed over whole, so running out of memory part
    // way leaves the view as it was; the nodes themselves are never touched.
    try {
        RenderInto(tree, view);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

RenderResult RenderNodes(const NodeTree& tree, const RichCharFormat& viewDefault,
                         const RichParaFormat& endParagraph, RichDocument& out,
                         ProgressPort* progress) {
    try {
        return BuildRendering(tree, viewDefault, endParagraph, out, progress)
                   ? RenderResult::Rendered
                   : RenderResult::Cancelled;
    } catch (const std::bad_alloc&) {
        return RenderResult::OutOfMemory;
    } catch (const std::length_error&) {
        return RenderResult::OutOfMemory;
    }
}

void InsertText(RenderTarget& target, std::string_view text) {
    if (!text.empty()) {
        target.out.InsertText(text);
    }
}

void InsertRichText(RenderTarget& target, std::string_view rtf) {
    target.out.InsertRtf(rtf);
}

void ApplyDefaultCharFormat(RenderTarget& target) {
    CharFormat fallback;
    const CharFormat& format =
        target.tree.resume ? target.tree.resume->defaultCharFormat : fallback;
    target.out.SetSelectionCharFormat(ToRichCharFormat(format));
}

void ResetParagraph(RichTextBuffer& out) {
    out.SetSelectionParaFormat(PlainParagraphChange());
}

void InsertLineBreaks(RenderTarget& target, int32_t count) {
    if (count <= 0) {
        return;
    }
    count = std::min(count, kMaxLineBreaks);
    // The first break ends the paragraph just written and keeps its formats.
    InsertText(target, "\r\n");
    if (target.renderer == kRendererRtf) {
        ApplyDefaultCharFormat(target);
        ResetParagraph(target.out);
    }
    InsertText(target, Repeat("\r\n", count - 1));
}

void InsertIndent(RenderTarget& target, int32_t count, const CharFormat& format) {
    const bool rtf = target.renderer == kRendererRtf;
    if (rtf) {
        CharFormat plainTabs = format;
        plainTabs.underline = false;
        plainTabs.strikeout = false;
        target.out.SetSelectionCharFormat(ToRichCharFormat(plainTabs));
    }
    InsertText(target, Repeat("\t", std::min(count, kMaxIndentLevels)));
    if (rtf && (format.underline || format.strikeout)) {
        target.out.SetSelectionCharFormat(ToRichCharFormat(format));
    }
}

void InsertBullet(RenderTarget& target, int32_t bullet, int32_t color) {
    std::string text;
    if (target.renderer == kRendererRtf && BulletSymbol(bullet) != 0) {
        CharFormat symbol;
        symbol.faceName = "Wingdings";
        symbol.charSet = kSymbolCharSet;
        symbol.height = 240;
        symbol.color = color;
        target.out.SetSelectionCharFormat(ToRichCharFormat(symbol));
        // The symbol font's byte, not the character Windows-1252 gives it.
        const char32_t bulletText[] = {BulletSymbol(bullet), U' '};
        target.out.InsertText(std::u32string_view(bulletText, 2));
        return;
    } else if (bullet == kBulletPlus) {
        text = "+ ";
    } else if (bullet == kBulletMinus) {
        text = "- ";
    }
    InsertText(target, text);
}

} // namespace trellic

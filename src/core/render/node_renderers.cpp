#include "render/node_renderers.h"

#include "render/rich_formats.h"

#include <algorithm>
#include <string>

namespace trellic {

namespace {

bool IsRtf(const RenderTarget& target) {
    return target.renderer == kRendererRtf;
}

// Breaks before a node by the kind written before it. A kind that is none of the seven wrote
// nothing, like an output of the other renderer, and is treated as one.
int32_t LeadingBreaks(NodeKind kind, NodeKind previousKind) {
    if (previousKind == kKindResume) {
        return 0;
    }
    const bool afterBlock = previousKind == kKindHeader || previousKind == kKindMLField ||
                            previousKind == kKindResumeSection;
    switch (kind) {
    case kKindHeader:
    case kKindResumeSection:
        return 3;
    case kKindSLField:
        return afterBlock ? 2 : 1;
    case kKindMLField:
        return afterBlock || previousKind == kKindSLField ? 2 : 1;
    default:
        return 0;
    }
}

std::string Tabs(int32_t count) {
    return count > 0
               ? std::string(static_cast<std::size_t>(std::min(count, kMaxIndentLevels)), '\t')
               : std::string();
}

// Puts the prefix before the text and in place of every line feed, so each line that the
// remaining carriage returns begin starts with it.
std::string Prefixed(const std::string& prefix, const std::string& text) {
    if (prefix.empty()) {
        return text;
    }
    std::string out = prefix;
    out.reserve(text.size() + prefix.size() * 4);
    for (const char c : text) {
        if (c == '\n') {
            out += prefix;
        } else {
            out += c;
        }
    }
    return out;
}

void SetTitleFormat(RenderTarget& target, const TextStyle& style, uint16_t listNumber) {
    target.out.SetSelectionCharFormat(ToRichCharFormat(style.charFormat));
    target.out.SetSelectionParaFormat(ToRichParaFormat(style.paraFormat, listNumber));
}

// The character format of body text: the style's, never bold, underlined or struck out.
RichCharFormat BodyCharFormat(const CharFormat& format) {
    CharFormat body = format;
    body.bold = false;
    body.underline = false;
    body.strikeout = false;
    return ToRichCharFormat(body);
}

void SetBodyFormat(RenderTarget& target, const TextStyle& style, uint16_t listNumber) {
    target.out.SetSelectionCharFormat(BodyCharFormat(style.charFormat));
    RichParaFormat para;
    para.mask = kPfmAlignment | kPfmNumbering | kPfmLineSpacing;
    para.alignment = static_cast<uint16_t>(style.paraFormat.alignment);
    para.lineSpacingRule = style.paraFormat.lineSpacing;
    para.numbering = kPfnNone;
    if (listNumber != 0) {
        para.mask |= kPfmNumberingStart;
        para.numberingStart = listNumber;
    }
    target.out.SetSelectionParaFormat(para);
}

void SetBold(RenderTarget& target, bool bold) {
    RichCharFormat change;
    change.mask = kCfmBold;
    change.Set(kCfeBold, bold);
    target.out.SetSelectionCharFormat(change);
}

// The title line shared by sections and fields: its format, indent and bullet.
void BeginTitle(RenderTarget& target, const EffectiveStyle& s, uint16_t listNumber) {
    if (IsRtf(target)) {
        SetTitleFormat(target, *s.style, listNumber);
    }
    if (s.style->paraFormat.indent > 0) {
        InsertIndent(target, s.style->paraFormat.indent, s.style->charFormat);
    }
    if (s.bullet != 0) {
        InsertBullet(target, s.bullet, s.style->charFormat.color);
        if (IsRtf(target)) {
            SetTitleFormat(target, *s.style, listNumber);
        }
    }
}

const StyleNode& ResumeStyle(const RenderTarget& target) {
    static const StyleNode kNone;
    return target.tree.resume ? target.tree.resume->style : kNone;
}

} // namespace

void RenderHeader(RenderTarget& target, const HeaderNode& node, NodeKind previousKind,
                  uint16_t listNumber) {
    const EffectiveStyle s = StyleOf(node, ResumeStyle(target));
    InsertLineBreaks(target, LeadingBreaks(kKindHeader, previousKind));
    if (IsRtf(target)) {
        SetTitleFormat(target, *s.style, listNumber);
    }
    if (s.style->paraFormat.indent > 0) {
        InsertIndent(target, s.style->paraFormat.indent, s.style->charFormat);
    }
    InsertText(target, node.header);
    if (!s.underline) {
        return;
    }
    // A row of macrons draws the rule under the header.
    InsertText(target, "\r\n");
    std::size_t macrons = 58;
    if (IsRtf(target)) {
        CharFormat rule;
        rule.faceName = "Arial";
        rule.height = 320;
        rule.bold = true;
        rule.color = s.style->charFormat.color;
        target.out.SetSelectionCharFormat(ToRichCharFormat(rule));
        ResetParagraph(target.out);
        macrons = 44;
    }
    target.out.InsertText(std::u32string(macrons, U'\u00AF'));
}

void RenderResumeSection(RenderTarget& target, const ResumeSectionNode& node, NodeKind previousKind,
                         uint16_t listNumber) {
    const StyleNode& resumeStyle = ResumeStyle(target);
    const EffectiveStyle s = StyleOf(node, resumeStyle);
    InsertLineBreaks(target, LeadingBreaks(kKindResumeSection, previousKind));
    BeginTitle(target, s, listNumber);
    if (IsRtf(target)) {
        SetBold(target, true); // a section title is always bold
    }
    InsertText(target, node.title);
    if (node.data.text.empty()) {
        return;
    }
    InsertLineBreaks(target, 1);
    if (node.data.spacing > 0) {
        InsertLineBreaks(target, node.data.spacing);
    }
    if (IsRtf(target)) {
        if (node.inheritStyle) {
            // Inherited section data reads like a multiple line field's.
            const TextStyle& data = resumeStyle.mlFieldStyle;
            target.out.SetSelectionCharFormat(BodyCharFormat(data.charFormat));
            target.out.SetSelectionParaFormat(ToRichParaFormat(data.paraFormat, listNumber));
        } else {
            SetBodyFormat(target, *s.style, listNumber);
        }
    }
    // One level deeper than the title.
    const int64_t depth = static_cast<int64_t>(s.style->paraFormat.indent) + 1;
    InsertText(target,
               Prefixed(Tabs(static_cast<int32_t>(std::min<int64_t>(depth, kMaxIndentLevels))),
                        node.data.text));
}

void RenderSLField(RenderTarget& target, const SLFieldNode& node, NodeKind previousKind,
                   uint16_t listNumber) {
    const EffectiveStyle s = StyleOf(node, ResumeStyle(target));
    InsertLineBreaks(target, LeadingBreaks(kKindSLField, previousKind));
    BeginTitle(target, s, listNumber);
    if (IsRtf(target)) {
        SetBold(target, true);
    }
    InsertText(target, node.fieldName + ": ");
    if (IsRtf(target)) {
        SetBold(target, false);
    }
    InsertText(target, node.fieldData);
}

void RenderMLField(RenderTarget& target, const MLFieldNode& node, NodeKind previousKind,
                   uint16_t listNumber) {
    const EffectiveStyle s = StyleOf(node, ResumeStyle(target));
    InsertLineBreaks(target, LeadingBreaks(kKindMLField, previousKind));
    BeginTitle(target, s, listNumber);
    if (IsRtf(target)) {
        SetBold(target, true);
    }
    InsertText(target, node.fieldName + ":");
    InsertLineBreaks(target, 1);
    if (node.fieldData.spacing > 0) {
        InsertLineBreaks(target, node.fieldData.spacing);
    }
    if (IsRtf(target)) {
        SetBodyFormat(target, *s.style, listNumber);
    }
    // The data lines stand at the title's indentation.
    InsertText(target, Prefixed(Tabs(s.style->paraFormat.indent), node.fieldData.text));
}

void RenderRTFOutput(RenderTarget& target, const RTFOutputNode& node, NodeKind previousKind,
                     uint16_t listNumber) {
    if (!IsRtf(target)) {
        return;
    }
    if (previousKind != kKindResume && node.output.spacing > 0) {
        InsertLineBreaks(target, node.output.spacing);
    }
    if (node.useFormatting) {
        SetTitleFormat(target, node.style, listNumber);
        InsertText(target, Prefixed(Tabs(node.style.paraFormat.indent), node.output.text));
    } else {
        InsertRichText(target, node.output.text);
    }
}

void RenderTXTOutput(RenderTarget& target, const TXTOutputNode& node, NodeKind previousKind,
                     uint16_t /*listNumber*/) {
    if (IsRtf(target)) {
        return;
    }
    if (previousKind != kKindResume && node.output.spacing > 0) {
        InsertLineBreaks(target, node.output.spacing);
    }
    const int32_t indent = node.useFormatting ? node.paraFormat.indent : 0;
    InsertText(target, Prefixed(Tabs(indent), node.output.text));
}

int32_t EffectiveNumbering(const NodeTree& tree, const StackEntry& entry) {
    if (!tree.resume) {
        return 0;
    }
    const StyleNode& resumeStyle = tree.resume->style;
    return VisitRecord(tree, entry, [&](const auto& node) -> int32_t {
        using Record = std::remove_cvref_t<decltype(node)>;
        if constexpr (std::is_same_v<Record, ResumeNode>) {
            return 0;
        } else if constexpr (std::is_same_v<Record, RTFOutputNode>) {
            return node.useFormatting ? node.style.paraFormat.numbering : 0;
        } else if constexpr (std::is_same_v<Record, TXTOutputNode>) {
            return node.useFormatting ? node.paraFormat.numbering : 0;
        } else {
            return StyleOf(node, resumeStyle).style->paraFormat.numbering;
        }
    });
}

} // namespace trellic

#include "exchange/office_document.h"

#include "richtext/symbol_fonts.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace trellic {

namespace {

bool HasVisibleText(const RichParagraph& paragraph) {
    for (const RichRun& run : paragraph.runs) {
        for (const char32_t c : run.text) {
            if (c != U' ' && c != U'\t' && c != U'\u00A0') {
                return true;
            }
        }
    }
    return false;
}

// A title: text, all of it bold, bullets and blanks before it aside.
bool IsBoldTitle(const RichParagraph& paragraph) {
    bool any = false;
    for (const RichRun& run : paragraph.runs) {
        const bool words = run.format.charSet != kSymbolCharSet &&
                           std::any_of(run.text.begin(), run.text.end(), [](char32_t c) {
                               return c > 0x7F || std::isalnum(static_cast<int>(c)) != 0;
                           });
        if (!words) {
            continue;
        }
        if (!run.format.Has(kCfeBold)) {
            return false;
        }
        any = true;
    }
    return any;
}

RuleBorder BorderOf(const RichParagraph& rule) {
    const RichCharFormat& format = rule.runs.empty() ? rule.markFormat : rule.runs.front().format;
    RuleBorder border;
    border.color = format.color & 0xFFFFFF;
    border.autoColor = format.Has(kCfeAutoColor);
    // The view draws the rule about a sixteenth of its line high; a line is some 1.15 times
    // the font's size.
    const int32_t height = format.height > 0 ? format.height : 200;
    border.width = std::clamp(static_cast<int32_t>(std::lround(height * 0.069)), 10, 120);
    return border;
}

// Where a tab at `x` (twips from the margin) takes the text: the paragraph's next stop, else
// the next default one.
int32_t NextTabStop(const RichParaFormat& format, int32_t x) {
    const size_t count = std::min<size_t>(format.tabCount, kMaxTabStops);
    for (size_t t = 0; t < count; ++t) {
        const int32_t position = TabPosition(format.tabs[t]);
        if (position > x && TabAlignment(format.tabs[t]) != kTabBar) {
            return position;
        }
    }
    return x < 0 ? 0 : (x / kDefaultTabStopTwips + 1) * kDefaultTabStopTwips;
}

// A character that can stand as a bullet before a paragraph's text: no letter, digit, blank
// or opening bracket or quote.
bool IsBulletSymbol(char32_t c) {
    if (c < 0x80) {
        return std::ispunct(static_cast<int>(c)) != 0 && c != U'(' && c != U'"' && c != U'\'' &&
               c != U'[';
    }
    return (c >= 0x2010 && c <= 0x2BFF && c != 0x2018 && c != 0x201C) ||
           (c >= kSymbolPrivateBase && c <= kSymbolPrivateBase + 0xFF) || c == 0xB7 || c == 0xA7 ||
           c == 0xBB;
}

// The room a bullet takes before the text it stands for: the symbol and a blank after it,
// about an em and an eighth for a symbol font's bullets and seven eighths of one for a plus or
// minus sign in a text font.
int32_t BulletRoom(const RichCharFormat& format) {
    const int32_t height = format.height > 0 ? format.height : 240;
    return format.charSet == kSymbolCharSet ? height + height / 8 : height * 7 / 8;
}

// Takes characters [from, to) out of the runs, leaving `replacement` (if not 0) in the first
// one's format.
void Replace(std::vector<RichRun>& runs, size_t from, size_t to, char32_t replacement) {
    size_t start = 0; // of the run, counted in the text before any change
    bool pending = replacement != 0;
    for (RichRun& run : runs) {
        const size_t end = start + run.text.size();
        if (end > from && start < to) {
            const size_t cutFrom = std::max(from, start) - start;
            const size_t cutTo = std::min(to, end) - start;
            run.text.erase(cutFrom, cutTo - cutFrom);
            if (pending) {
                run.text.insert(run.text.begin() + static_cast<std::ptrdiff_t>(cutFrom),
                                replacement);
                pending = false;
            }
        }
        start = end;
    }
    std::erase_if(runs, [](const RichRun& run) { return run.text.empty(); });
}

void SetIndents(OfficeParagraph& out, const RichParagraph& paragraph) {
    const RichParaFormat& format = paragraph.format;
    out.left = format.startIndent + format.offset;
    out.firstLine = -format.offset;
    const size_t count = std::min<size_t>(format.tabCount, kMaxTabStops);
    out.tabs.assign(format.tabs.begin(), format.tabs.begin() + static_cast<std::ptrdiff_t>(count));
    out.runs = paragraph.runs;
    if (out.list >= 0) {
        // The label has room of its own before the first line, as in the view.
        out.left += kListLabelTwips;
        out.firstLine -= kListLabelGapTwips;
        return;
    }
    if (format.alignment != kPfaLeft && format.alignment != kPfaJustify) {
        return;
    }
    std::u32string text;
    std::vector<const RichCharFormat*> formats;
    for (const RichRun& run : paragraph.runs) {
        for (const ShownText& part : ShownTextOf(run)) {
            text += part.text;
            formats.insert(formats.end(), part.text.size(), &run.format);
        }
    }
    size_t tabs = 0;
    while (tabs < text.size() && text[tabs] == U'\t') {
        ++tabs;
    }
    size_t body = tabs;
    if (tabs + 1 < text.size() && IsBulletSymbol(text[tabs])) {
        size_t end = tabs + 1;
        while (end < text.size() && text[end] == U' ') {
            ++end;
        }
        if (end > tabs + 1 && end < text.size()) {
            body = end;
        }
    }
    if (tabs == text.size() || (tabs == 0 && body == 0)) {
        return;
    }
    int32_t textX = format.startIndent;
    for (size_t t = 0; t < tabs; ++t) {
        textX = NextTabStop(format, textX);
    }
    const int32_t bodyX = body > tabs ? textX + BulletRoom(*formats[tabs]) : textX;
    if (bodyX <= out.left) {
        return;
    }
    out.left = bodyX;
    out.firstLine = textX - bodyX;
    if (body > tabs) {
        Replace(out.runs, tabs + 1, body, U'\t');
        const auto before = [](int32_t a, int32_t b) { return TabPosition(a) < TabPosition(b); };
        const int32_t stop = MakeTab(bodyX);
        const auto at = std::lower_bound(out.tabs.begin(), out.tabs.end(), stop, before);
        if (at == out.tabs.end() || TabPosition(*at) != bodyX) {
            out.tabs.insert(at, stop);
        }
    }
    Replace(out.runs, 0, tabs, 0);
}

} // namespace

OfficeLayout LayOutParagraphs(const RichDocument& document) {
    OfficeLayout layout;
    const auto& paragraphs = document.paragraphs;
    layout.paragraphs.resize(paragraphs.size());
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        OfficeParagraph& out = layout.paragraphs[i];
        const RichParaFormat& format = paragraphs[i].format;
        if (IsListNumbering(format.numbering)) {
            const bool continues = i > 0 && IsListNumbering(paragraphs[i - 1].format.numbering) &&
                                   SameList(paragraphs[i - 1].format, format);
            if (!continues) {
                // The view draws the label in the paragraph's text format, never underlined,
                // struck out or raised.
                RichCharFormat label =
                    ParagraphTextFormat(paragraphs[i], 0, paragraphs[i].markFormat);
                label.effects &= ~(kCfeUnderline | kCfeStrikeout | kCfeSubscript | kCfeSuperscript);
                layout.lists.push_back({i, format, label});
            }
            out.list = static_cast<int>(layout.lists.size()) - 1;
        }
        if (!IsRuleParagraph(paragraphs[i])) {
            SetIndents(out, paragraphs[i]);
            continue;
        }
        out.rule = true;
        out.left = format.startIndent + format.offset;
        out.firstLine = -format.offset;
        const bool textAbove =
            i > 0 && !layout.paragraphs[i - 1].rule && HasVisibleText(paragraphs[i - 1]);
        OfficeParagraph& bordered = textAbove ? layout.paragraphs[i - 1] : out;
        bordered.border = BorderOf(paragraphs[i]);
    }
    // As on the printed page, a heading (a header with its rule, a title set wholly in bold)
    // and the blank lines under it stay on the page of what follows.
    bool heading = false;
    for (size_t i = 0; i < paragraphs.size(); ++i) {
        OfficeParagraph& out = layout.paragraphs[i];
        if (out.rule || out.border || IsBoldTitle(paragraphs[i])) {
            heading = true;
        } else if (HasVisibleText(paragraphs[i])) {
            heading = false;
        }
        out.keepWithNext = heading;
    }
    return layout;
}

std::vector<ShownText> ShownTextOf(const RichRun& run) {
    std::vector<ShownText> parts;
    if (run.format.charSet != kSymbolCharSet) {
        parts.push_back({run.text, false});
        return parts;
    }
    for (const char32_t c : run.text) {
        char32_t shown = c;
        bool symbolFont = false;
        if (c < 0x100) {
            shown = SymbolCharacter(static_cast<unsigned char>(c), run.format.faceName);
            symbolFont = shown < kSymbolPrivateBase || shown > kSymbolPrivateBase + 0xFF;
        }
        if (parts.empty() || parts.back().symbolFont != symbolFont) {
            parts.push_back({{}, symbolFont});
        }
        parts.back().text += shown;
    }
    return parts;
}

TextChar ClassifyChar(char32_t c) {
    switch (c) {
    case U'\t':
        return TextChar::Tab;
    // Inside a paragraph every break is a line break: a paragraph break there would be a
    // paragraph the view does not have.
    case U'\u2028':
    case U'\u2029':
    case U'\r':
    case U'\n':
    case U'\v':
        return TextChar::LineBreak;
    default:
        return TextChar::Text;
    }
}

std::string HexColor(uint32_t color, bool upperCase) {
    const char* digits = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string hex;
    for (const uint32_t component : {color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF}) {
        hex += digits[component >> 4];
        hex += digits[component & 0xF];
    }
    return hex;
}

std::string Points(int32_t twips) {
    // A twip is a twentieth of a point: two decimals are always exact.
    const long long hundredths = static_cast<long long>(twips) * 5;
    const long long whole = hundredths / 100;
    long long fraction = std::llabs(hundredths % 100);
    std::string text = (hundredths < 0 && whole == 0 ? "-" : "") + std::to_string(whole);
    if (fraction != 0) {
        text += '.';
        text += static_cast<char>('0' + fraction / 10);
        if (fraction % 10 != 0) {
            text += static_cast<char>('0' + fraction % 10);
        }
    }
    return text + "pt";
}

std::optional<std::string> PageProblem(const RtfPage& page) {
    constexpr int32_t kLargest = 31680; // 22 inches, the largest page word processors take
    if (page.width <= 0 || page.height <= 0 || page.width > kLargest || page.height > kLargest) {
        return "the paper size " + std::to_string(page.width) + " x " +
               std::to_string(page.height) + " twips is not one a word processor takes";
    }
    if (page.left < 0 || page.right < 0 || page.top < 0 || page.bottom < 0 ||
        page.left + page.right >= page.width || page.top + page.bottom >= page.height) {
        return "the page margins leave no room for text";
    }
    return std::nullopt;
}

} // namespace trellic

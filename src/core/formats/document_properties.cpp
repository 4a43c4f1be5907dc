#include "formats/document_properties.h"

#include "engine/code_page.h"

#include <ctime>

namespace trellic {

namespace {

// Spaces, line and paragraph separators and the blank controls, as text widgets count them.
bool IsBlank(char32_t c) {
    return c == U' ' || (c >= U'\t' && c <= U'\r') || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

std::string TrimmedUtf8(const std::u32string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first])) {
        ++first;
    }
    while (last > first && IsBlank(text[last - 1])) {
        --last;
    }
    std::string out;
    for (std::size_t i = first; i < last; ++i) {
        AppendUtf8(out, text[i]);
    }
    return out;
}

std::string RecordText(const std::string& utf8) {
    return TrimmedUtf8(DecodeUtf8(utf8));
}

std::string FirstLine(const RichDocument& document) {
    for (const RichParagraph& paragraph : document.paragraphs) {
        std::u32string text;
        for (const RichRun& run : paragraph.runs) {
            text += run.text;
        }
        std::string line = TrimmedUtf8(text);
        if (!line.empty()) {
            return line;
        }
    }
    return {};
}

} // namespace

DocumentProperties ResumeProperties(const NodeTree* tree, const RichDocument& document) {
    DocumentProperties properties;
    properties.subject = "Resume";
    if (tree != nullptr && tree->dataSource == kDataSourceNodes) {
        auto headerText = [tree](const StackEntry& entry) {
            const bool header = entry.kind == kKindHeader && tree->RefersToRecord(entry);
            return header ? RecordText(tree->headers[static_cast<std::size_t>(entry.index)].header)
                          : std::string();
        };
        std::string firstHeader;
        bool first = true;
        for (const StackEntry& entry : tree->activeStack) {
            if (entry.kind == kKindResume) {
                continue;
            }
            // A resume that opens with a header opens with the person's name.
            if (first && entry.kind == kKindHeader) {
                properties.author = headerText(entry);
            }
            first = false;
            firstHeader = headerText(entry);
            if (!firstHeader.empty()) {
                break;
            }
        }
        if (tree->resume) {
            properties.title = RecordText(tree->resume->name);
        }
        if (properties.title.empty()) {
            properties.title = firstHeader;
        }
    }
    if (properties.title.empty()) {
        properties.title = FirstLine(document);
    }
    return properties;
}

DocumentProperties ExportedProperties(const NodeTree& tree, const RichDocument& document) {
    DocumentProperties properties = ResumeProperties(&tree, document);
    properties.created = std::time(nullptr);
    return properties;
}

} // namespace trellic

#include "spelling_check.h"

#include "document/tlx_doc.h"
#include "engine/code_page.h"
#include "engine/engine_log.h"
#include "engine/file_io.h"
#include "engine/prompter.h"
#include "render/resume_view.h"
#include "richtext/rtf_reader.h"
#include "spelling/spell_checker.h"

#include <cstdio>
#include <set>
#include <utility>
#include <vector>

namespace trellic::tool {

namespace {

int Fail(const std::string& subject, const std::string& problem) {
    std::fprintf(stderr, "tlxtool: %s: %s\n", subject.c_str(), problem.c_str());
    return 1;
}

// Keeps what File > Open would have told the user.
class MessagePrompter : public SilentPrompter {
public:
    void ShowMessage(const std::string& text, MessageIcon) override {
        if (first.empty()) {
            first = text;
        }
    }
    std::string first;
};

std::u32string RecordText(const std::string& text) {
    return DecodeUtf8(text);
}
std::string Printable(const std::string& recordText) {
    return recordText;
}

std::string Utf8(std::u32string_view text) {
    std::string utf8;
    for (const char32_t c : text) {
        AppendUtf8(utf8, c);
    }
    return utf8;
}

// A paragraph's text as words can be read from it: a symbol font's characters are pictures
// (bullets, check marks) and part of no word.
std::u32string WordText(const RichParagraph& paragraph) {
    std::u32string text;
    for (const RichRun& run : paragraph.runs) {
        if (run.format.charSet == kSymbolCharSet) {
            text.append(run.text.size(), U' ');
        } else {
            text += run.text;
        }
    }
    return text;
}

// The lines of a text, split at CR LF, CR or LF.
std::vector<std::u32string> Lines(std::u32string_view text) {
    std::vector<std::u32string> lines(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\r' || text[i] == U'\n') {
            if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') {
                ++i;
            }
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    return lines;
}

// One text of a node that the resume shows.
struct ShownText {
    const char* label;
    std::vector<std::u32string> lines;
};

ShownText Plain(const char* label, const std::string& text) {
    return {label, Lines(RecordText(text))};
}

std::vector<ShownText> TextsOf(const ResumeNode&) {
    return {};
}
std::vector<ShownText> TextsOf(const HeaderNode& node) {
    return {Plain("header", node.header)};
}
std::vector<ShownText> TextsOf(const ResumeSectionNode& node) {
    return {Plain("title", node.title), Plain("text", node.data.text)};
}
std::vector<ShownText> TextsOf(const SLFieldNode& node) {
    return {Plain("name", node.fieldName), Plain("data", node.fieldData)};
}
std::vector<ShownText> TextsOf(const MLFieldNode& node) {
    return {Plain("name", node.fieldName), Plain("text", node.fieldData.text)};
}
std::vector<ShownText> TextsOf(const RTFOutputNode& node) {
    if (node.useFormatting) {
        return {Plain("text", node.output.text)};
    }
    // Without formatting the text is RTF, and its words are what it shows.
    ShownText text{"text", {}};
    for (const RichParagraph& paragraph : ReadRtfFragment(node.output.text).document.paragraphs) {
        text.lines.push_back(WordText(paragraph));
    }
    return {text};
}
std::vector<ShownText> TextsOf(const TXTOutputNode& node) {
    return {Plain("text", node.output.text)};
}

// Prints the misspelt words of a text, each after where; their count.
int Report(const SpellChecker& checker, std::u32string_view text, const std::string& where) {
    int count = 0;
    for (const TextSpan& span : checker.Misspellings(text)) {
        std::printf("%s: %s\n", where.c_str(), Utf8(text.substr(span.start, span.length)).c_str());
        ++count;
    }
    return count;
}

int CheckNodes(const SpellChecker& checker, const NodeTree& tree, const std::string& path) {
    int count = 0;
    std::set<std::pair<int32_t, int32_t>> seen;
    // What the resume shows; a node listed twice is reported once.
    for (const StackEntry& entry : tree.activeStack) {
        if (!seen.insert({entry.kind, entry.index}).second) {
            continue;
        }
        const std::vector<ShownText> texts =
            VisitRecord(tree, entry, [](const auto& node) { return TextsOf(node); });
        const std::string node = std::string(KindName(entry.kind)) + " \"" +
                                 Printable(NodeDisplayName(tree, entry)) + "\"";
        for (const ShownText& text : texts) {
            for (std::size_t line = 0; line < text.lines.size(); ++line) {
                std::string where = path;
                where.append(": ").append(node).append(", ").append(text.label);
                if (text.lines.size() > 1) {
                    where += " line " + std::to_string(line + 1);
                }
                count += Report(checker, text.lines[line], where);
            }
        }
    }
    return count;
}

int CheckParagraphs(const SpellChecker& checker, const RichDocument& document,
                    const std::string& path) {
    int count = 0;
    for (std::size_t i = 0; i < document.paragraphs.size(); ++i) {
        count += Report(checker, WordText(document.paragraphs[i]),
                        path + ": paragraph " + std::to_string(i + 1));
    }
    return count;
}

std::string InstalledList(const std::vector<InstalledDictionary>& installed) {
    std::string list;
    for (const InstalledDictionary& dictionary : installed) {
        list += (list.empty() ? "" : ", ") + dictionary.language;
    }
    return list;
}

} // namespace

int CheckSpelling(const std::string& path, const std::string& language) {
    const std::vector<InstalledDictionary> installed = FindDictionaries(DictionaryFolders());
    if (installed.empty()) {
        return Fail("check --spelling", "no spelling dictionary is installed (hunspell "
                                        "dictionaries such as hunspell-en-us)");
    }
    const InstalledDictionary* dictionary = language.empty()
                                                ? ChooseDictionary(installed, EnvironmentLanguage())
                                                : FindLanguage(installed, language);
    if (dictionary == nullptr) {
        return Fail("--lang", "no " + language + " dictionary is installed (installed: " +
                                  InstalledList(installed) + ")");
    }
    SpellChecker checker{PersonalWordList(PersonalWordListPath())};
    const DictionaryLoad load = checker.Load(*dictionary);
    if (!load.ok) {
        return Fail(dictionary->language, load.message);
    }
    const FileResult personal = checker.LoadPersonalWords();
    if (!personal.ok) {
        std::fprintf(stderr, "tlxtool: %s; its words are not used\n", personal.message.c_str());
    }

    std::string bytes;
    const FileResult read = ReadWholeFile(path, bytes);
    if (!read.ok) {
        return Fail(path, read.reason);
    }
    NodeTree tree; // the node library beside the tool gives the reset defaults
    HeadlessResumeView view;
    EngineLog log;
    MessagePrompter prompter;
    CTLXDoc doc(tree, view, log, prompter);
    if (!doc.OpenResumeFile(path, false)) {
        return Fail(path, prompter.first.empty() ? "cannot be opened" : prompter.first);
    }
    const int count = tree.dataSource == kDataSourceNodes
                          ? CheckNodes(checker, tree, path)
                          : CheckParagraphs(checker, view.Buffer().Document(), path);
    if (count == 0) {
        std::printf("%s: no misspelt words (%s)\n", path.c_str(), checker.Language().c_str());
    } else {
        std::printf("%s: %d misspelt word%s (%s)\n", path.c_str(), count, count == 1 ? "" : "s",
                    checker.Language().c_str());
    }
    return count == 0 ? 0 : 1;
}

} // namespace trellic::tool

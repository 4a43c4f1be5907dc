// Every shipped template, exported to DOCX and ODT by tlxtool convert and read back by
// independent readers: the view's words in the view's order, its numbered paragraphs as lists,
// its header rules as borders, and the resume's title and author.

#include "engine/code_page.h"
#include "engine/engine_log.h"
#include "engine/file_io.h"
#include "engine/prompter.h"
#include "model/tlx_file.h"
#include "office_reader.h"
#include "presets/node_presets.h"
#include "render/render_driver.h"
#include "render/resume_view.h"
#include "richtext/symbol_fonts.h"
#include "run_command.h"
#include "temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <iostream>

namespace trellic {
namespace {

namespace fs = std::filesystem;

const fs::path kBin = TRELLIC_BIN_DIR;

// The view's words: its text as the view shows it (symbol-font bytes as their characters),
// rules left out, split at blanks.
std::vector<std::string> ViewWords(const RichDocument& document) {
    std::vector<std::string> words;
    for (const RichParagraph& paragraph : document.paragraphs) {
        if (IsRuleParagraph(paragraph)) {
            continue;
        }
        std::string word;
        auto finish = [&] {
            if (!word.empty()) {
                words.push_back(word);
                word.clear();
            }
        };
        for (const RichRun& run : paragraph.runs) {
            for (char32_t c : run.text) {
                if (run.format.charSet == kSymbolCharSet && c < 0x100) {
                    c = SymbolCharacter(static_cast<unsigned char>(c), run.format.faceName);
                }
                if (c == U' ' || c == U'\t' || c == U'\u2028' || c == U'\r' || c == U'\n') {
                    finish();
                } else {
                    AppendUtf8(word, c);
                }
            }
        }
        finish();
    }
    return words;
}

std::vector<std::string> ReadWords(const nlohmann::json& back) {
    std::vector<std::string> words;
    for (const auto& paragraph : back["paragraphs"]) {
        const std::string text = paragraph["text"];
        std::string word;
        for (const char c : text + " ") {
            if (c == ' ' || c == '\t' || c == '\n') {
                if (!word.empty()) {
                    words.push_back(word);
                }
                word.clear();
            } else {
                word += c;
            }
        }
    }
    return words;
}

std::string Hex(uint32_t color) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const uint32_t c : {color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF}) {
        hex += kDigits[c >> 4];
        hex += kDigits[c & 0xF];
    }
    return hex;
}

struct Rendered {
    NodeTree tree{kBin.string()};
    HeadlessResumeView view;
};

// The template rendered as File > Open renders it.
void Render(const fs::path& path, Rendered& out) {
    SilentPrompter prompter;
    EngineLog log;
    ResetNodeTree(out.tree, log, prompter);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path.string(), bytes).ok) << path;
    Archive ar = Archive::ForLoading(std::string_view(bytes));
    ASSERT_EQ(ReadTLX(ar, out.tree, prompter), TlxReadStatus::Loaded) << path;
    RenderResume(out.tree, out.view);
}

// The person's name: a resume that opens with a header opens with it.
std::string FirstHeader(const NodeTree& tree) {
    for (const StackEntry& entry : tree.activeStack) {
        if (entry.kind == kKindResume) {
            continue;
        }
        return entry.kind == kKindHeader ? tree.headers[static_cast<size_t>(entry.index)].header
                                         : std::string();
    }
    return {};
}

TEST(OfficeExport, EveryShippedTemplateReadsBackWithTheViewsWordsListsAndRules) {
    testing::TempDir dir;
    std::vector<fs::path> templates;
    for (const auto& entry : fs::directory_iterator(kBin / "templates")) {
        if (entry.path().extension() == ".tlx") {
            templates.push_back(entry.path());
        }
    }
    std::sort(templates.begin(), templates.end());
    ASSERT_GE(templates.size(), 5u);
    size_t exported = 0;
    size_t wordsMatched = 0;
    for (const fs::path& path : templates) {
        Rendered rendered;
        Render(path, rendered);
        const RichDocument& document = rendered.view.Buffer().Document();
        const std::vector<std::string> expected = ViewWords(document);
        for (const char* extension : {".docx", ".odt"}) {
            const std::string name = path.stem().string() + extension;
            SCOPED_TRACE(name);
            const std::string out = dir.File(name);
            int status = 0;
            const std::string said = testing::RunCommand(
                (kBin / "tlxtool").string() + " convert '" + path.string() + "' '" + out + "' 2>&1",
                &status);
            ASSERT_EQ(status, 0) << said;
            std::string reader;
            const nlohmann::json back = testing::ReadOfficeBack(out, &reader);
            ASSERT_TRUE(back.contains("paragraphs")) << reader;

            const std::vector<std::string> words = ReadWords(back);
            EXPECT_EQ(words, expected);
            if (words == expected) {
                wordsMatched += words.size();
            }
            if (rendered.tree.resume && !rendered.tree.resume->name.empty()) {
                EXPECT_EQ(back["title"], rendered.tree.resume->name);
            } else {
                EXPECT_FALSE(back["title"].get<std::string>().empty());
            }
            EXPECT_EQ(back["author"], FirstHeader(rendered.tree));

            const auto& paragraphs = back["paragraphs"];
            ASSERT_EQ(paragraphs.size(), document.paragraphs.size());
            int lists = 0;
            for (size_t i = 0; i < paragraphs.size(); ++i) {
                const RichParagraph& paragraph = document.paragraphs[i];
                const auto& list = paragraphs[i]["list"];
                const bool numbered = paragraph.format.numbering >= kPfnBullet &&
                                      paragraph.format.numbering <= kPfnUpperRoman;
                EXPECT_EQ(!list.is_null(), numbered) << i;
                // A list's first item starts where the view starts counting.
                const bool first = numbered && !list.is_null() &&
                                   (i == 0 || paragraphs[i - 1]["list"].is_null() ||
                                    paragraphs[i - 1]["list"]["id"] != list["id"]);
                if (first) {
                    ++lists;
                    if (paragraph.format.numbering != kPfnBullet) {
                        EXPECT_EQ(list["start"], paragraph.format.numberingStart) << i;
                    }
                }
                if (!IsRuleParagraph(paragraph)) {
                    continue;
                }
                // The rule borders the header above it, in the rule's colour.
                const size_t bordered =
                    i > 0 && !document.paragraphs[i - 1].runs.empty() ? i - 1 : i;
                EXPECT_EQ(paragraphs[i]["text"], "") << i;
                EXPECT_EQ(paragraphs[bordered]["border"], Hex(paragraph.runs[0].format.color)) << i;
            }
            if (std::any_of(document.paragraphs.begin(), document.paragraphs.end(),
                            [](const RichParagraph& p) { return p.format.numbering != 0; })) {
                EXPECT_GT(lists, 0);
            }
            ++exported;
        }
    }
    std::cout << "Exported " << exported << " documents from " << templates.size() << " templates; "
              << wordsMatched << " words matched\n";
}

} // namespace
} // namespace trellic

// Exported documents read back by independent readers (python-docx and odfpy): whatever the
// text holds, they read the same paragraphs with the same text.

#include "engine/code_page.h"
#include "exchange/docx_writer.h"
#include "exchange/odt_writer.h"
#include "exchange/xml_writer.h"
#include "office_reader.h"
#include "temp_dir.h"
#include "test_documents.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

// What a reader should find in a paragraph: the text as written, tabs as tabs and breaks as
// line ends, without the characters XML cannot hold.
std::string ExpectedText(const OfficeParagraph& paragraph) {
    std::string text;
    for (const RichRun& run : paragraph.runs) {
        for (const ShownText& part : ShownTextOf(run)) {
            for (const char32_t c : part.text) {
                switch (ClassifyChar(c)) {
                case TextChar::Tab:
                    text += '\t';
                    break;
                case TextChar::LineBreak:
                    text += '\n';
                    break;
                case TextChar::Text:
                    if (IsXmlCharacter(c)) {
                        AppendUtf8(text, c);
                    }
                    break;
                }
            }
        }
    }
    return text;
}

TEST(OfficeReadBack, RandomDocumentsReadBackParagraphForParagraph) {
    testing::TempDir dir;
    DocumentProperties properties;
    properties.title = "T\xC3\xADtulo & <more>";
    properties.author = "\xE5\xB1\xB1\xE7\x94\xB0 \"Yamada\"";
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        const RichDocument document = testing::RandomDocument(seed);
        const OfficeLayout layout = LayOutParagraphs(document);
        for (const bool docx : {true, false}) {
            SCOPED_TRACE(std::to_string(seed) + (docx ? " docx" : " odt"));
            const ExportResult result = docx ? WriteDocx(document, properties, RtfPage{})
                                             : WriteOdt(document, properties, RtfPage{});
            ASSERT_TRUE(result.ok) << result.error;
            const std::string path =
                dir.File("random" + std::to_string(seed) + (docx ? ".docx" : ".odt"));
            testing::WriteFileBytes(path, result.bytes);
            std::string said;
            const nlohmann::json back = testing::ReadOfficeBack(path, &said);
            ASSERT_TRUE(back.contains("paragraphs")) << said;
            EXPECT_EQ(back["title"], properties.title);
            EXPECT_EQ(back["author"], properties.author);
            const auto& paragraphs = back["paragraphs"];
            ASSERT_EQ(paragraphs.size(), document.paragraphs.size());
            for (size_t i = 0; i < paragraphs.size(); ++i) {
                std::string text = paragraphs[i]["text"];
                // python-docx reads a line break as a line end of its own.
                EXPECT_EQ(text, ExpectedText(layout.paragraphs[i])) << i;
                EXPECT_EQ(paragraphs[i]["list"].is_null(), layout.paragraphs[i].list < 0) << i;
            }
        }
    }
}

} // namespace
} // namespace trellic

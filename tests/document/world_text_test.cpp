#include "document/recovery.h"
#include "document_fixture.h"
#include "engine/text_file.h"
#include "formats/file_content.h"
#include "world_texts.h"

#include <filesystem>

namespace trellic {
namespace {

using testing::DocumentFixture;
using testing::ReadFileBytes;
using testing::WorldTexts;
using testing::WriteFileBytes;

// A resume of one header and one multiple line field, named in the script of `world`.
void FillTree(NodeTree& tree, const testing::WorldText& world) {
    tree.resume->name = world.name;
    HeaderNode& header = tree.headers.emplace_back();
    header.header = world.name;
    header.style.charFormat.faceName = "Arial";
    header.style.charFormat.height = 280;
    tree.activeStack.push_back({0, kKindHeader});
    MLFieldNode& field = tree.mlFields.emplace_back();
    field.fieldName = world.language;
    field.fieldData.text = world.sentence + "\r\n" + world.name;
    field.style = header.style;
    tree.activeStack.push_back({0, kKindMLField});
}

std::string SaveAs(DocumentFixture& f, const std::string& path, bool convert = false) {
    f.prompter.files.push_back(path);
    if (convert) {
        f.prompter.answers.push_back(true);
    }
    EXPECT_TRUE(f.doc.SaveResume(true)) << path;
    return ReadFileBytes(path);
}

TEST(WorldText, EveryScriptSurvivesTlxThenTxtAndTheirPathsReachTheLogAsTheyAre) {
    for (const auto& world : WorldTexts()) {
        SCOPED_TRACE(world.language);
        DocumentFixture f;
        // Folders named in the user's language: the path's bytes are the file's name.
        const std::filesystem::path folder = std::filesystem::path(f.dir.Path()) / ("\xC5\xBB"
                                                                                    "yciorys " +
                                                                                    world.name);
        std::filesystem::create_directories(folder);
        FillTree(f.tree, world);
        f.doc.TreeChanged();
        const std::string tlx = (folder / (world.name + ".tlx")).string();
        const std::string bytes = SaveAs(f, tlx);
        // Only the texts the code page cannot hold take the wide form.
        EXPECT_NE(bytes.find("\xFF\xFE\xFF"), std::string::npos);
        EXPECT_NE(f.log.Text().find("MEM: Saved file: " + tlx + "\r\n"), std::string::npos);

        DocumentFixture reopened;
        ASSERT_TRUE(reopened.Open(tlx));
        EXPECT_NE(reopened.log.Text().find("MEM: Loaded file: " + tlx + "\r\n"), std::string::npos);
        EXPECT_EQ(reopened.tree.resume->name, world.name);
        ASSERT_EQ(reopened.tree.mlFields.size(), 1U);
        EXPECT_EQ(reopened.tree.mlFields[0].fieldData, f.tree.mlFields[0].fieldData);
        EXPECT_EQ(reopened.doc.Title(), world.name + ".tlx");
        const std::string shown = reopened.view.ExportText();
        EXPECT_NE(shown.find(world.name), std::string::npos);
        EXPECT_NE(shown.find(world.sentence), std::string::npos);

        // Save As .txt converts to the Resume View: the view keeps every character...
        const std::string txt = (folder / "plain.txt").string();
        const std::string written = SaveAs(reopened, txt, true);
        EXPECT_EQ(reopened.view.ExportText(), shown);
        // ...and the file, which Windows-1252 cannot hold, is UTF-8 behind its mark.
        EXPECT_EQ(written, std::string(kUtf8Bom) + shown);

        DocumentFixture again;
        ASSERT_TRUE(again.Open(txt));
        EXPECT_EQ(again.view.ExportText(), shown);
    }
}

TEST(WorldText, TextFilesOpenInEveryEncodingAndSaveAsBefore) {
    const std::string text = "Zo\xC3\xAB \xC5\x81ukasiewicz\r\n\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD";
    const std::u16string units = u"Zo\u00EB \u0141ukasiewicz\r\n\u0418\u0432\u0430\u043D";
    std::string le = "\xFF\xFE";
    std::string be = "\xFE\xFF";
    for (const char16_t unit : units) {
        le += static_cast<char>(unit & 0xFF);
        le += static_cast<char>(unit >> 8);
        be += static_cast<char>(unit >> 8);
        be += static_cast<char>(unit & 0xFF);
    }
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"utf8.txt", text},
        {"utf8-bom.txt", std::string(kUtf8Bom) + text},
        {"utf16le.txt", le},
        {"utf16be.txt", be},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        DocumentFixture f;
        const std::string path = f.dir.File(file.name);
        WriteFileBytes(path, file.bytes);
        EXPECT_TRUE(LooksLikeText(file.bytes));
        ASSERT_TRUE(f.Open(path));
        EXPECT_EQ(f.view.ExportText(), text);
        // Saved again in the one form that keeps every character and that every editor reads.
        f.prompter.files.push_back(path);
        ASSERT_TRUE(f.doc.SaveResume(false));
        EXPECT_EQ(ReadFileBytes(path), std::string(kUtf8Bom) + text);
    }

    // A file whose text Windows-1252 holds stays byte for byte what it was.
    DocumentFixture f;
    const std::string cp1252 = f.dir.File("cafe.txt");
    WriteFileBytes(cp1252, "Caf\xE9 \x80 \x93quoted\x94\r\nline");
    ASSERT_TRUE(f.Open(cp1252));
    ASSERT_TRUE(f.doc.SaveResume(false));
    EXPECT_EQ(ReadFileBytes(cp1252), "Caf\xE9 \x80 \x93quoted\x94\r\nline");
}

TEST(WorldText, PlainTextRecoveryCopiesKeepEveryScript) {
    DocumentFixture f;
    const std::string path = f.dir.File("cv.txt");
    WriteFileBytes(path, std::string(kUtf8Bom) + WorldTexts()[6].sentence);
    ASSERT_TRUE(f.Open(path));
    const std::string copy = RecoveryBytes(f.tree, f.view);
    EXPECT_EQ(copy, std::string(kUtf8Bom) + WorldTexts()[6].sentence);
}

} // namespace
} // namespace trellic

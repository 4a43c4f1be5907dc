#include "model/tlx_file.h"
#include "tlx_json.h"
#include "tree_factory.h"
#include "world_texts.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace trellic::tool {
namespace {

std::string Rebuilt(const Json& json) {
    std::string error;
    auto source = SourceFromJson(json.dump(), error);
    EXPECT_TRUE(source) << error;
    return source ? EncodeSource(*source) : std::string();
}

std::string ErrorOf(const std::string& text) {
    std::string error;
    EXPECT_FALSE(SourceFromJson(text, error));
    return error;
}

TEST(TlxJson, RandomTreesRebuildByteForByte) {
    testing::TreeFactory make(31);
    for (int round = 0; round < 30; ++round) {
        NodeTree tree = make.RandomTree(static_cast<std::size_t>(round % 4));
        EXPECT_EQ(Rebuilt(TreeToJson(tree)), WriteTLX(tree)) << "round " << round;
    }
}

TEST(TlxJson, FloatsKeepEveryBit) {
    NodeTree tree{std::string()};
    ResetNodeTree(tree, {});
    const float values[] = {1.5F,
                            0.1F,
                            2.01F,
                            -0.0F,
                            std::numeric_limits<float>::denorm_min(),
                            std::numeric_limits<float>::max(),
                            std::numeric_limits<float>::quiet_NaN(),
                            -std::numeric_limits<float>::infinity()};
    for (const float value : values) {
        tree.resume->style.info.version = value;
        const Json json = TreeToJson(tree);
        EXPECT_EQ(Rebuilt(json), WriteTLX(tree)) << value;
    }
    tree.resume->style.info.version = 0.1F;
    EXPECT_EQ(TreeToJson(tree)["resume"]["style"]["info"]["version"].dump(), "0.1");
}

TEST(TlxJson, TextsAreUtf8InEveryScriptAndKeepUndefinedBytes) {
    NodeTree tree{std::string()};
    ResetNodeTree(tree, {});
    tree.resume->name = "Caf\xC3\xA9 \xE2\x82\xAC \xC2\x81\r\n"; // the byte 0x81 of a file
    Json json = TreeToJson(tree);
    EXPECT_EQ(json["resume"]["name"].get<std::string>(), tree.resume->name);
    EXPECT_EQ(Rebuilt(json), WriteTLX(tree));
    for (const auto& world : trellic::testing::WorldTexts()) {
        tree.resume->name = world.name;
        tree.resume->description = world.sentence;
        json = TreeToJson(tree);
        EXPECT_EQ(json["resume"]["name"].get<std::string>(), world.name) << world.language;
        EXPECT_NE(json.dump(2).find(world.sentence), std::string::npos) << world.language;
        EXPECT_EQ(Rebuilt(json), WriteTLX(tree)) << world.language;
    }
    // JSON's own escapes name the same characters.
    EXPECT_EQ(
        Rebuilt(Json::parse(R"({"format": "tlx", "resume": {"name": "\u4e2d\ud83d\ude00"}})")),
        Rebuilt(Json::parse("{\"format\": \"tlx\", \"resume\": {\"name\": "
                            "\"\xE4\xB8\xAD\xF0\x9F\x98\x80\"}}")));
}

TEST(TlxJson, EveryPresetCategoryRebuilds) {
    testing::TreeFactory make(5);
    for (const auto category : kAllPresetCategories) {
        PresetContent preset;
        preset.category = category;
        preset.resume = make.RandomResume();
        preset.style = make.RandomStyle();
        preset.underline = true;
        preset.bullet = 13;
        preset.textStyle = make.RandomTextStyle();
        preset.paraFormat = make.RandomParaFormat();
        Archive ar = Archive::ForStoring();
        SerializePreset(ar, preset.Parts());
        const Json json = PresetToJson(preset);
        EXPECT_EQ(json["category"], PresetFolderName(category));
        EXPECT_EQ(Rebuilt(json), ar.Stored()) << PresetFolderName(category);
    }
}

TEST(TlxJson, OmittedFieldsTakeFreshValues) {
    std::string error;
    auto source = SourceFromJson(R"({"format": "nod", "category": "paragraph_format",
                                     "paraFormat": {"alignment": 3}})",
                                 error);
    ASSERT_TRUE(source) << error;
    EXPECT_EQ(EncodeSource(*source), std::string("\x00\x00\x00\x00\x00\x03\x00\x00\x00", 9));
}

TEST(TlxJson, MistakesAreNamedByTheirKey) {
    EXPECT_EQ(ErrorOf("{"), "not valid JSON");
    EXPECT_EQ(ErrorOf(R"({"format": "xml"})"), "\"format\" must be \"tlx\" or \"nod\"");
    EXPECT_NE(ErrorOf(R"({"format": "nod", "category": "fonts"})").find("category"),
              std::string::npos);
    EXPECT_EQ(ErrorOf(R"({"format": "tlx", "resume": {"nmae": "x"}})"), "resume.nmae: unknown key");
    EXPECT_EQ(ErrorOf(R"({"format": "tlx", "resume": {"defaultCharFormat": {"charSet": 256}}})"),
              "resume.defaultCharFormat.charSet is out of range (0 to 255)");
    EXPECT_EQ(ErrorOf(R"({"format": "tlx", "headers": [{}, {"inheritStyle": 1}]})"),
              "headers[1].inheritStyle must be true or false");
    EXPECT_EQ(ErrorOf(R"({"format": "tlx", "resume": {"name": 7}})"), "resume.name must be a text");
    EXPECT_EQ(ErrorOf(R"({"format": "tlx", "activeStack": []})"),
              "activeStack must begin with the resume entry {\"index\": 0, \"kind\": 11}");
    EXPECT_EQ(ErrorOf(R"({"format": "nod", "category": "style", "resume": {}})"),
              "resume: unknown key");
    EXPECT_EQ(ErrorOf(R"({"format": "tlx", "renderer": 2147483648})"),
              "renderer is out of range (-2147483648 to 2147483647)");
}

} // namespace
} // namespace trellic::tool

#include "formats/format_registry.h"
#include "model/tlx_file.h"
#include "office_reader.h"
#include "render/resume_view.h"
#include "richtext/rtf_writer.h"
#include "temp_dir.h"

#include <gtest/gtest.h>
#include <memory>

namespace trellic {
namespace {

// A format of another program, for what the core lists beside its own.
std::unique_ptr<FileFormat> ExchangeFormat(std::string id, std::string extension, bool reads,
                                           bool writes) {
    return std::make_unique<FileFormat>(FormatInfo{.id = std::move(id),
                                                   .name = "X",
                                                   .title = "X",
                                                   .filterName = "X Files",
                                                   .extensions = {std::move(extension)},
                                                   .holds = FormatHolds::NodeTree,
                                                   .role = FormatRole::Exchange,
                                                   .reads = reads,
                                                   .writes = writes});
}

TEST(FormatRegistry, TheResumeDialogsListTheCoreFormatsThenEveryFile) {
    FormatRegistry formats = CoreFormats();
    // Formats of other programs are never offered where the resume itself is opened or saved.
    formats.Add(ExchangeFormat("Pdf", "pdf", false, true));
    EXPECT_EQ(formats.ResumeDialogFilter(),
              "Trellic Files (*.tlx)|*.tlx|Rich Text Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt|"
              "All Files (*.*)|*.*||");
    EXPECT_EQ(formats.DefaultResumeExtension(), "tlx");
    EXPECT_EQ(DialogFilterFor(*formats.ById("Pdf")), "X Files (*.pdf)|*.pdf||");
}

TEST(FormatRegistry, ExtensionsAreComparedExactly) {
    const FormatRegistry& formats = CoreFormatRegistry();
    struct Row {
        const char* extension;
        const char* id; // null: no resume format
    };
    for (const Row& row :
         {Row{"tlx", "Tlx"}, Row{"rtf", "Rtf"}, Row{"txt", "Txt"}, Row{"TLX", nullptr},
          Row{"Rtf", nullptr}, Row{".txt", nullptr}, Row{"", nullptr}, Row{"docx", nullptr}}) {
        SCOPED_TRACE(row.extension);
        const FileFormat* format = formats.ForExtension(row.extension, FormatRole::Resume);
        ASSERT_EQ(format != nullptr, row.id != nullptr);
        if (format != nullptr) {
            EXPECT_EQ(format->Info().id, row.id);
        }
    }
    EXPECT_EQ(formats.ResumeFormat(FormatHolds::NodeTree)->Info().name, "TLX");
    EXPECT_EQ(formats.ResumeFormat(FormatHolds::RichText)->Info().name, "RTF");
    EXPECT_EQ(formats.ResumeFormat(FormatHolds::PlainText)->Info().name, "TXT");
}

TEST(FormatRegistry, WritableExtensionsNameEachOnceAndResumeFormatsWinAnExtension) {
    FormatRegistry formats = CoreFormats();
    EXPECT_EQ(formats.WritableExtensions(), ".tlx, .rtf or .txt");
    formats.Add(ExchangeFormat("Pdf", "pdf", false, true));
    formats.Add(ExchangeFormat("PdfA", "pdf", false, true));
    formats.Add(ExchangeFormat("Json", "json", true, false)); // reads only
    formats.Add(ExchangeFormat("Text", "txt", true, true));   // a second reader of .txt
    EXPECT_EQ(formats.WritableExtensions(), ".tlx, .rtf, .txt or .pdf");
    EXPECT_EQ(formats.WriterFor("pdf")->Info().id, "Pdf");
    EXPECT_EQ(formats.WriterFor("json"), nullptr);
    EXPECT_EQ(formats.ReaderFor("json")->Info().id, "Json");
    EXPECT_EQ(formats.WriterFor("txt")->Info().id, "Txt");
    EXPECT_EQ(formats.ForExtension("txt", FormatRole::Exchange)->Info().id, "Text");
}

TEST(OfficeFormats, AfterThePdfTheyNameTheirFilesAndWriteTheResumeOnTheRtfPage) {
    FormatRegistry formats = CoreFormats();
    formats.Add(ExchangeFormat("Pdf", "pdf", false, true));
    AddOfficeFormats(formats);
    // tlxtool's list of what it writes, in the order the Export menu offers them.
    EXPECT_EQ(formats.WritableExtensions(), ".tlx, .rtf, .txt, .pdf, .docx or .odt");
    std::vector<std::string> ids;
    for (const FileFormat* format : formats.Formats(FormatRole::Exchange)) {
        ids.push_back(format->Info().id);
    }
    EXPECT_EQ(ids, (std::vector<std::string>{"Pdf", "Docx", "Odt"}));
    EXPECT_EQ(DialogFilterFor(*formats.ById("Docx")), "Word Documents (*.docx)|*.docx||");
    EXPECT_EQ(DialogFilterFor(*formats.ById("Odt")), "OpenDocument Text Documents (*.odt)|*.odt||");
    EXPECT_EQ(formats.ReaderFor("docx"), nullptr); // exported, never opened
    EXPECT_EQ(formats.ForExtension("odt", FormatRole::Resume), nullptr);

    NodeTree tree{std::string()};
    ResetNodeTree(tree, {});
    tree.resume->name = "Sample";
    tree.headers.emplace_back().header = "Jane Doe";
    tree.activeStack.push_back({0, kKindHeader});
    HeadlessResumeView view;
    view.ImportText("Jane Doe\r\nExperience");

    const RtfPage before = CurrentRtfPage();
    SetRtfPage(RtfPage{.width = 11906, .height = 16838}); // A4
    testing::TempDir dir;
    for (const char* id : {"Docx", "Odt"}) {
        SCOPED_TRACE(id);
        const FileFormat& format = *formats.ById(id);
        std::string bytes;
        ASSERT_TRUE(format.Write(FormatSource{tree, view}, bytes).ok);
        const std::string path = dir.File("cv." + format.Info().extensions.front());
        testing::WriteFileBytes(path, bytes);
        const nlohmann::json back = testing::ReadOfficeBack(path);
        ASSERT_TRUE(back.contains("paragraphs")) << path;
        EXPECT_EQ(back["title"], "Sample");
        EXPECT_EQ(back["author"], "Jane Doe");
        EXPECT_NEAR(back["page_width"].get<double>(), 595.3, 0.1);
        ASSERT_EQ(back["paragraphs"].size(), 2u);
        EXPECT_EQ(back["paragraphs"][1]["text"], "Experience");
    }

    // A page with no room for text: the writer's reason, and nothing to write.
    SetRtfPage(RtfPage{.width = 2000, .left = 1000, .right = 1000});
    for (const char* id : {"Docx", "Odt"}) {
        std::string bytes;
        const FormatResult result = formats.ById(id)->Write(FormatSource{tree, view}, bytes);
        EXPECT_FALSE(result.ok) << id;
        EXPECT_EQ(result.message, "the page margins leave no room for text") << id;
        EXPECT_TRUE(bytes.empty()) << id;
    }
    SetRtfPage(before);
}

TEST(FileExtension, IsWhatFollowsTheLastDotOfTheFileName) {
    EXPECT_EQ(FileExtension("/a/cv.tlx"), "tlx");
    EXPECT_EQ(FileExtension("/a/cv.backup.RTF"), "RTF");
    EXPECT_EQ(FileExtension("/a.b/cv"), "");
    EXPECT_EQ(FileExtension("cv."), "");
}

TEST(CoreFormats, EachReadsBackWhatItWrote) {
    NodeTree tree{std::string()};
    ResetNodeTree(tree, {});
    tree.resume->name = "Sample";
    tree.headers.emplace_back().header = "Experience";
    tree.activeStack.push_back({0, kKindHeader});
    HeadlessResumeView view;
    view.ImportRtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\b Bold\\b0  plain\\par}");

    for (const FileFormat* format : CoreFormatRegistry().Formats(FormatRole::Resume)) {
        SCOPED_TRACE(format->Info().name);
        std::string bytes;
        ASSERT_TRUE(format->Write(FormatSource{tree, view}, bytes).ok);
        NodeTree back{std::string()};
        ResetNodeTree(back, {});
        FormatReading reading{"/a/cv", &back, {}, {}};
        ASSERT_TRUE(format->Read(bytes, reading).ok);
        if (format->Info().holds == FormatHolds::NodeTree) {
            EXPECT_EQ(static_cast<const NodeTables&>(back), static_cast<const NodeTables&>(tree));
            EXPECT_TRUE(reading.viewText.empty());
        } else {
            EXPECT_EQ(reading.viewText, bytes); // the view takes the text in itself
            EXPECT_TRUE(back.headers.empty());
        }
    }
}

TEST(CoreFormats, ReadRefusesWhatIsNotTheirsWithTheMessageTheUserSees) {
    const FormatRegistry& formats = CoreFormatRegistry();
    const FileFormat& tlx = *formats.ById("Tlx");
    const FileFormat& rtf = *formats.ById("Rtf");
    const FileFormat& txt = *formats.ById("Txt");
    NodeTree tree{std::string()};
    ResetNodeTree(tree, {});
    const std::string binary("PK\x03\x04\0\0", 6);
    struct Row {
        const FileFormat& format;
        std::string bytes;
        std::string message;
        MessageIcon icon;
    };
    const Row rows[] = {
        {tlx, "\x06TLX4QW", kInvalidTlxMessage, MessageIcon::Warning},
        {tlx, std::string("\x06TLX4QV\0", 8), "Unexpected file format.", MessageIcon::Exclamation},
        {rtf, binary,
         "The file holds binary data, not text, and cannot be opened as a resume:\n\n/a/f",
         MessageIcon::Exclamation},
        {rtf, "Plain words",
         "The file is not a rich text file and cannot be opened as one:\n\n/a/f",
         MessageIcon::Exclamation},
        {txt, binary,
         "The file holds binary data, not text, and cannot be opened as a resume:\n\n/a/f",
         MessageIcon::Exclamation},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        FormatReading reading{"/a/f", &tree, {}, {}};
        const FormatResult result = row.format.Read(row.bytes, reading);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.message, row.message);
        EXPECT_EQ(result.icon, row.icon);
        EXPECT_TRUE(reading.viewText.empty());
    }
}

} // namespace
} // namespace trellic

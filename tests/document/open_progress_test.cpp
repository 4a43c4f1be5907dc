// A long open reports its progress and can be cancelled, leaving the open resume as it was.

#include "document_fixture.h"
#include "engine/file_io.h"
#include "engine/progress.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace trellic {
namespace {

using namespace testing;

// Records every report and answers "stop" from the given report on (never when negative).
class ScriptedProgress : public ProgressPort {
public:
    explicit ScriptedProgress(int cancelAt = -1) : m_cancelAt(cancelAt) {}
    bool Report(uint64_t done, uint64_t total) override {
        reports.emplace_back(done, total);
        return m_cancelAt < 0 || static_cast<int>(reports.size()) <= m_cancelAt;
    }
    void Finished() override { ++finished; }
    std::vector<std::pair<uint64_t, uint64_t>> reports;
    int finished = 0;

private:
    int m_cancelAt;
};

// A resume of `entries` stack entries, all of one header, as large files near the limit are.
std::string WriteLongTlx(DocumentFixture& f, const std::string& name, int entries) {
    NodeTree sample{std::string()};
    ResetNodeTree(sample, {});
    HeaderNode& h = sample.headers.emplace_back();
    h.header = "Experience";
    for (int i = 0; i < entries; ++i) {
        sample.activeStack.push_back({0, kKindHeader});
    }
    const std::string path = f.dir.File(name);
    WriteFileBytes(path, WriteTLX(sample));
    return path;
}

std::string LongRtf(int paragraphs) {
    std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 ";
    for (int i = 0; i < paragraphs; ++i) {
        rtf += "Paragraph number " + std::to_string(i) + " of a long file\\par\n";
    }
    return rtf + "}";
}

// What the user sees of the open resume and what would be saved of it.
struct Snapshot {
    std::string text;
    std::string tree;
    std::string path;
    int32_t dataSource;
    bool operator==(const Snapshot&) const = default;
};
Snapshot Take(DocumentFixture& f) {
    return {f.view.ExportRtf(), WriteTLX(f.tree), f.tree.filePath, f.tree.dataSource};
}

TEST(OpenProgress, CancellingWhileReadingOrRenderingLeavesTheOpenResumeAsItWas) {
    DocumentFixture f;
    ASSERT_TRUE(f.Open(f.WriteSampleTlx("open.tlx")));
    const Snapshot before = Take(f);
    const std::string rtf = f.dir.File("long.rtf");
    WriteFileBytes(rtf, LongRtf(5000));
    const std::string tlx = WriteLongTlx(f, "long.tlx", 5000);

    for (const std::string& path : {rtf, tlx}) {
        for (int cancelAt : {0, 3, 100}) {
            ScriptedProgress progress(cancelAt);
            f.doc.SetProgressPort(&progress);
            f.log.Clear();
            f.prompter.files.push_back(path);
            EXPECT_FALSE(f.doc.OpenResume()) << path << " cancelled at " << cancelAt;
            EXPECT_EQ(Take(f), before) << path << " cancelled at " << cancelAt;
            EXPECT_NE(f.log.Text().find("EXEC: Trellic 'Open' command has been aborted."),
                      std::string::npos);
            EXPECT_EQ(progress.finished, 1) << "the progress window stays up";
            // Nothing was asked: there was nothing to close yet.
            EXPECT_EQ(f.prompter.events.back().kind, "open");
            EXPECT_EQ(progress.reports.size(), static_cast<size_t>(cancelAt + 1));
        }
    }
    f.doc.SetProgressPort(nullptr);
}

TEST(OpenProgress, AnOpenThatGoesOnReportsAtABoundedRateAndEndsAsWithoutAPort) {
    DocumentFixture f;
    DocumentFixture plain;
    const std::string rtf = f.dir.File("long.rtf");
    WriteFileBytes(rtf, LongRtf(20000));
    const std::string tlx = WriteLongTlx(f, "long.tlx", 9000);
    // What the reader could not keep is logged either way.
    const std::string pictures = f.dir.File("pictures.rtf");
    WriteFileBytes(pictures, "{\\rtf1 Jane{\\pict\\jpegblip 0102}{\\pict\\pngblip}\\par}");
    for (const std::string& path : {rtf, tlx, pictures}) {
        ScriptedProgress progress;
        f.doc.SetProgressPort(&progress);
        ASSERT_TRUE(f.Open(path));
        ASSERT_TRUE(plain.Open(path));
        EXPECT_EQ(f.view.ExportRtf(), plain.view.ExportRtf()) << path;
        EXPECT_EQ(f.log.Text(), plain.log.Text());
        EXPECT_EQ(f.log.Text().find("WARNING: ") != std::string::npos, path == pictures);
        // Each step reports from its start to its end, a few hundred times at most.
        ASSERT_FALSE(progress.reports.empty());
        EXPECT_LE(progress.reports.size(), 2 * (ProgressMeter::kReports + 2));
        EXPECT_EQ(progress.reports.back().first, progress.reports.back().second);
        for (size_t i = 1; i < progress.reports.size(); ++i) {
            const auto [done, total] = progress.reports[i];
            EXPECT_LE(done, total);
            if (total == progress.reports[i - 1].second) {
                EXPECT_GE(done, progress.reports[i - 1].first);
            }
        }
        EXPECT_EQ(progress.finished, 1);
    }
}

TEST(ProgressMeter, WithoutAPortNothingIsAskedAndACancelSticks) {
    ProgressMeter silent(nullptr, 10);
    for (uint64_t i = 0; i < 10; ++i) {
        EXPECT_TRUE(silent.Advance(i));
    }
    EXPECT_TRUE(silent.Finish());

    ScriptedProgress stop(1);
    ProgressMeter meter(&stop, 1000);
    EXPECT_TRUE(meter.Advance(0));
    uint64_t at = 1;
    while (meter.Advance(at)) {
        ++at;
    }
    EXPECT_TRUE(meter.Cancelled());
    const size_t asked = stop.reports.size();
    EXPECT_FALSE(meter.Advance(at + 1));
    EXPECT_FALSE(meter.Finish());
    EXPECT_EQ(stop.reports.size(), asked) << "asked again after the user said stop";
}

} // namespace
} // namespace trellic

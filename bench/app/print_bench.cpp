// The page printer on resumes of one to a hundred pages: laying one out for paper and cutting
// it into pages should cost the same per page at every length.

#include "print/page_layout.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <string>

namespace {

using namespace trellic;

RichParagraph Paragraph(const std::u32string& text, int height, bool bold) {
    RichCharFormat format = PlainCharFormat();
    format.faceName = "Arial";
    format.height = height;
    format.Set(kCfeBold, bold);
    RichParagraph paragraph;
    paragraph.format = PlainParaFormat();
    paragraph.markFormat = format;
    if (!text.empty()) {
        paragraph.runs.push_back({text, format});
    }
    return paragraph;
}

// `pages` one-page resumes as the renderers write them, one after another: headings over
// rules, an address that becomes a link, tabbed lines that hang, and dates on a tab stop
// beyond the page's edge.
RichDocument Resumes(int pages) {
    const std::u32string rule(44, U'\u00AF');
    RichDocument document;
    document.paragraphs.clear();
    auto add = [&](const std::u32string& text, int height = 220, bool bold = false) {
        document.paragraphs.push_back(Paragraph(text, height, bold));
    };
    for (int page = 0; page < pages; ++page) {
        add(U"Your Name", 440, true);
        add(rule, 320);
        add(U"E-mail: your.name@example.org");
        add(U"");
        for (const char32_t* section : {U"Profile", U"Experience", U"Education", U"Skills"}) {
            add(section, 280, true);
            add(rule, 320);
            for (int entry = 0; entry < 2; ++entry) {
                add(U"Job Title, Employer\t2018 - 2022", 220, true);
                // A right tab from a wider page, which the printer fits to this one.
                document.paragraphs.back().format.tabCount = 1;
                document.paragraphs.back().format.tabs[0] = 12000;
                add(U"\tLed a team of six building the order pipeline, with the result that "
                    U"orders ship a day sooner");
                add(U"\tCut checkout latency by 40%");
                add(U"");
            }
        }
    }
    return document;
}

void BM_LayOutForPaper(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    const RichDocument document = Resumes(pages);
    for (auto _ : state) {
        const PrintLayout layout(document, QSizeF(528, 864));
        benchmark::DoNotOptimize(layout.PageCount());
    }
    state.counters["per_page"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * pages,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LayOutForPaper)->Arg(1)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

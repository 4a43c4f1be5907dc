// Writes and reads a generated tree of 12,000 nodes in memory (its 8,000 active entries stay
// within what a file may hold), beside a memcpy of the same number of bytes, so the archive's
// speed can be read against the machine's.

#include "engine/prompter.h"
#include "model/tlx_file.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>
#include <random>

namespace {

using namespace trellic;

constexpr std::size_t kNodes = 12000;

std::string Words(std::mt19937& random, std::size_t words) {
    static const char* const kWords[] = {"managed", "team", "of",      "engineers",
                                         "shipped", "a",    "release", "improved",
                                         "latency", "by",   "40%",     "customers"};
    std::string text;
    for (std::size_t i = 0; i < words; ++i) {
        if (i > 0) {
            text += (i % 12 == 0) ? "\r\n" : " ";
        }
        text += kWords[random() % 12];
    }
    return text;
}

TextStyle Style(std::mt19937& random) {
    TextStyle style;
    style.charFormat.faceName = "Arial";
    style.charFormat.height = 200 + static_cast<int32_t>(random() % 100);
    style.charFormat.bold = random() & 1;
    style.paraFormat.alignment = 1;
    return style;
}

NodeTree GeneratedTree() {
    std::mt19937 random(42);
    NodeTree tree{std::string()};
    ResetNodeTree(tree, {});
    tree.resume->name = "Benchmark resume";
    for (std::size_t i = 0; i < kNodes; ++i) {
        const auto index = static_cast<int32_t>(i / 6);
        NodeInfo info{"A node", "Trellic", "2026-12-08", 1.0F, 3};
        NodeHelp help{Words(random, 8), "docs/nodes.html"};
        switch (i % 6) {
        case 0: {
            auto& h = tree.headers.emplace_back();
            h.info = info;
            h.header = Words(random, 2);
            h.inheritStyle = true;
            h.style = Style(random);
            h.underline = true;
            h.help = help;
            tree.activeStack.push_back({index, kKindHeader});
            break;
        }
        case 1: {
            auto& r = tree.resumeSections.emplace_back();
            r.info = info;
            r.title = Words(random, 3);
            r.data.spacing = 1;
            r.data.text = Words(random, 40);
            r.style = Style(random);
            r.bullet = 2;
            r.help = help;
            tree.activeStack.push_back({index, kKindResumeSection});
            break;
        }
        case 2: {
            auto& f = tree.slFields.emplace_back();
            f.info = info;
            f.fieldName = Words(random, 1);
            f.fieldData = Words(random, 5);
            f.inheritStyle = true;
            f.style = Style(random);
            f.help = help;
            tree.activeStack.push_back({index, kKindSLField});
            break;
        }
        case 3: {
            auto& f = tree.mlFields.emplace_back();
            f.info = info;
            f.fieldName = Words(random, 2);
            f.fieldData.text = Words(random, 25);
            f.style = Style(random);
            f.bullet = 1;
            f.help = help;
            tree.activeStack.push_back({index, kKindMLField});
            break;
        }
        case 4: {
            auto& o = tree.rtfOutputs.emplace_back();
            o.info = info;
            o.useFormatting = true;
            o.style = Style(random);
            o.name = Words(random, 2);
            o.output.text = "{\\rtf1 " + Words(random, 20) + "}";
            o.help = help;
            tree.inactiveStack.push_back({index, kKindRTFOutput});
            break;
        }
        default: {
            auto& o = tree.txtOutputs.emplace_back();
            o.info = info;
            o.useFormatting = true;
            o.name = Words(random, 2);
            o.output.spacing = 2;
            o.output.text = Words(random, 20);
            o.help = help;
            tree.inactiveStack.push_back({index, kKindTXTOutput});
            break;
        }
        }
    }
    return tree;
}

const NodeTree& Tree() {
    static const NodeTree tree = GeneratedTree();
    return tree;
}

const std::string& Bytes() {
    static const std::string bytes = WriteTLX(Tree());
    return bytes;
}

void BM_WriteTLX(benchmark::State& state) {
    for (auto _ : state) {
        std::string bytes = WriteTLX(Tree());
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Bytes().size()));
    state.counters["file_MB"] = static_cast<double>(Bytes().size()) / 1e6;
}

void BM_ReadTLX(benchmark::State& state) {
    SilentPrompter prompter;
    for (auto _ : state) {
        auto tree = std::make_unique<NodeTree>(std::string());
        ResetNodeTree(*tree, {});
        Archive ar = Archive::ForLoading(Bytes());
        if (ReadTLX(ar, *tree, prompter) != TlxReadStatus::Loaded) {
            state.SkipWithError("the generated file did not read back");
        }
        benchmark::DoNotOptimize(tree->headers.data());
        // Freeing the tree is not part of reading it.
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Bytes().size()));
}

void BM_Memcpy(benchmark::State& state) {
    const std::string& source = Bytes();
    std::string target(source.size(), '\0');
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteTLX)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTLX)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

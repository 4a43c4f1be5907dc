// Writes and reads generated trees of 1,000, 10,000 and 100,000 nodes in memory, beside a memcpy
// of the same number of bytes, and reports the cost per node, which must not grow with the
// tree's size. A file may hold at most kMaxTlxEntries records per table, so reading stops at
// the largest tree a file can hold (six full tables); its stacks refer to as many records as
// they may.

#include "engine/prompter.h"
#include "model/tlx_file.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <map>
#include <memory>
#include <random>

namespace {

using namespace trellic;

constexpr int64_t kLargestReadable = 6 * int64_t{kMaxTlxEntries};

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

NodeTree GeneratedTree(std::size_t nodes) {
    std::mt19937 random(42);
    NodeTree tree{std::string()};
    ResetNodeTree(tree, {});
    tree.resume->name = "Benchmark resume";
    auto refer = [&](std::vector<StackEntry>& stack, int32_t index, NodeKind kind) {
        if (stack.size() < static_cast<std::size_t>(kMaxTlxEntries)) {
            stack.push_back({index, kind});
        }
    };
    for (std::size_t i = 0; i < nodes; ++i) {
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
            refer(tree.activeStack, index, kKindHeader);
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
            refer(tree.activeStack, index, kKindResumeSection);
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
            refer(tree.activeStack, index, kKindSLField);
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
            refer(tree.activeStack, index, kKindMLField);
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
            refer(tree.inactiveStack, index, kKindRTFOutput);
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
            refer(tree.inactiveStack, index, kKindTXTOutput);
            break;
        }
        }
    }
    return tree;
}

// One tree and its file per size, built once for all the benchmarks.
struct Fixture {
    NodeTree tree;
    std::string bytes;
};

const Fixture& FixtureOf(int64_t nodes) {
    static std::map<int64_t, std::unique_ptr<Fixture>> fixtures;
    auto& fixture = fixtures[nodes];
    if (!fixture) {
        NodeTree tree = GeneratedTree(static_cast<std::size_t>(nodes));
        std::string bytes = WriteTLX(tree);
        fixture.reset(new Fixture{std::move(tree), std::move(bytes)});
    }
    return *fixture;
}

void Report(benchmark::State& state, const Fixture& fixture) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(fixture.bytes.size()));
    state.counters["ns_per_node"] = benchmark::Counter(
        static_cast<double>(state.range(0)) * 1e-9,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["file_MB"] = static_cast<double>(fixture.bytes.size()) / 1e6;
}

void BM_WriteTLX(benchmark::State& state) {
    const Fixture& fixture = FixtureOf(state.range(0));
    for (auto _ : state) {
        std::string bytes = WriteTLX(fixture.tree);
        benchmark::DoNotOptimize(bytes.data());
    }
    Report(state, fixture);
}

void BM_ReadTLX(benchmark::State& state) {
    const Fixture& fixture = FixtureOf(state.range(0));
    SilentPrompter prompter;
    for (auto _ : state) {
        auto tree = std::make_unique<NodeTree>(std::string());
        ResetNodeTree(*tree, {});
        Archive ar = Archive::ForLoading(fixture.bytes);
        if (ReadTLX(ar, *tree, prompter) != TlxReadStatus::Loaded) {
            state.SkipWithError("the generated file did not read back");
            break;
        }
        benchmark::DoNotOptimize(tree->headers.data());
        // Freeing the tree is not part of reading it.
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
    Report(state, fixture);
}

void BM_Memcpy(benchmark::State& state) {
    const Fixture& fixture = FixtureOf(state.range(0));
    const std::string& source = fixture.bytes;
    std::string target(source.size(), '\0');
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::ClobberMemory();
    }
    Report(state, fixture);
}

BENCHMARK(BM_Memcpy)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteTLX)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadTLX)->Arg(1000)->Arg(10000)->Arg(kLargestReadable)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

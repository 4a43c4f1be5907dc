// Throughput of the RTF reader and writer on a large generated file and on the real samples.

#include "large_rtf.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <malloc.h>
#include <map>

namespace {

const std::string& LargeRtf() {
    static const std::string rtf = trellic::bench::MakeLargeRtf(24u << 20);
    return rtf;
}

// The reader's throughput on a generated file of state.range(0) megabytes, counted in bytes
// per second of the file.
void ReadLarge(benchmark::State& state) {
    static std::map<int64_t, std::string> files;
    std::string& rtf = files[state.range(0)];
    if (rtf.empty()) {
        rtf = trellic::bench::MakeLargeRtf(static_cast<size_t>(state.range(0)) << 20);
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(trellic::ReadRtf(rtf));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(ReadLarge)->Arg(10)->Arg(24)->Unit(benchmark::kMillisecond);

void WriteLarge(benchmark::State& state) {
    const trellic::RichDocument document = trellic::ReadRtf(LargeRtf()).document;
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string rtf = trellic::WriteRtf(document);
        bytes = rtf.size();
        benchmark::DoNotOptimize(rtf.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(WriteLarge)->Unit(benchmark::kMillisecond);

void ReadSample(benchmark::State& state, const std::string& rtf) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(trellic::ReadRtf(rtf));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * rtf.size()));
}

void WriteSample(benchmark::State& state, const trellic::RichDocument& document) {
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string rtf = trellic::WriteRtf(document);
        bytes = rtf.size();
        benchmark::DoNotOptimize(rtf.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

} // namespace

int main(int argc, char** argv) {
    // Reading the same file again and again would otherwise also measure the allocator handing
    // the last document's pages back to the system and the kernel faulting them in again, which
    // depends on where the heap happens to end rather than on the reader. A program that reads
    // one file pays for its pages once either way.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    namespace fs = std::filesystem;
    const fs::path samples = fs::path(TRELLIC_RTF_SAMPLES);
    if (fs::exists(samples)) {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(samples)) {
            if (fs::exists(entry.path() / "input.rtf")) {
                files.push_back(entry.path());
            }
        }
        std::sort(files.begin(), files.end());
        for (const fs::path& folder : files) {
            std::ifstream in(folder / "input.rtf", std::ios::binary);
            std::string rtf((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            const std::string name = folder.filename().string();
            trellic::RichDocument document = trellic::ReadRtf(rtf).document;
            benchmark::RegisterBenchmark(("ReadSample/" + name).c_str(), ReadSample, rtf);
            benchmark::RegisterBenchmark(("WriteSample/" + name).c_str(), WriteSample, document);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

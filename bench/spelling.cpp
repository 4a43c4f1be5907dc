// Spell checks a resume paragraph, as each keystroke in it does, and documents of made-up
// words, which no cache helps with, and reports the time per word: a keystroke must stay far
// below a frame, and a document's first check must grow only with its length.

#include "spelling/spell_checker.h"

#include <benchmark/benchmark.h>
#include <random>

namespace {

using namespace trellic;

SpellChecker& AmericanChecker() {
    static SpellChecker checker{PersonalWordList(std::string())};
    static const bool loaded = [] {
        const auto installed = FindDictionaries(DictionaryFolders());
        const InstalledDictionary* american = FindLanguage(installed, "en_US");
        return american != nullptr && checker.Load(*american).ok;
    }();
    if (!loaded) {
        std::fprintf(stderr, "the en_US dictionary is not installed\n");
        std::abort();
    }
    return checker;
}

void CheckParagraph(benchmark::State& state) {
    const SpellChecker& checker = AmericanChecker();
    const std::u32string paragraph =
        U"Led a team of six engineers building the order pipeline for Northwind Traders, "
        U"cutting checkout latency by 40% and mentoring four new hires; introduced code "
        U"reviews, well-documented APIs and a managment dashboard (see https://example.org).";
    for (auto _ : state) {
        benchmark::DoNotOptimize(checker.Misspellings(paragraph));
    }
    state.SetItemsProcessed(state.iterations() * 30);
}
BENCHMARK(CheckParagraph);

// Paragraphs of ten made-up words each. Beyond the checker's cache of verdicts (the largest size)
// nearly every word is new to it, as on the first check of a document.
void CheckMadeUpDocument(benchmark::State& state) {
    const SpellChecker& checker = AmericanChecker();
    std::mt19937 random(11);
    std::uniform_int_distribution<int> letter('a', 'z');
    std::u32string text;
    const auto words = static_cast<std::size_t>(state.range(0));
    for (std::size_t i = 0; i < words; ++i) {
        for (int c = 0; c < 7; ++c) {
            text += static_cast<char32_t>(letter(random));
        }
        text += i % 10 == 9 ? U'\n' : U' ';
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(checker.Misspellings(text));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(CheckMadeUpDocument)->Arg(1000)->Arg(10000)->Arg(120000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

// The list filter over 100,000 entries (texts of 26 to 45 bytes, four in ten with an
// explanation of 20 to 39 bytes), Shift-JIS and UTF-8: the first character typed searches
// every entry; each character typed on searches only the entries the last one found.
// A keystroke must show its result within one frame (16 ms).
#include "view/EntryFilter.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

struct Entries {
    std::vector<std::string> text;
    std::vector<std::string> explanation;
};

Entries Make(const std::vector<const char*>& first, const std::vector<const char*>& second) {
    std::mt19937 rng(1);
    Entries e;
    for (int i = 0; i < 100000; ++i) {
        std::string text;
        std::string explanation;
        const std::vector<const char*>& words = rng() % 2 == 0 ? second : first;
        while (text.size() < 26 + rng() % 20) {
            text += words[rng() % words.size()];
            text += ' ';
        }
        if (rng() % 10 < 4)
            while (explanation.size() < 20 + rng() % 20) explanation += second[rng() % second.size()];
        e.text.push_back(std::move(text));
        e.explanation.push_back(std::move(explanation));
    }
    e.text.emplace_back();  // placeholder
    e.explanation.emplace_back();
    return e;
}

const Entries& Sjis() {
    static const Entries e = Make({"Hello", "regards", "Invoice", "meeting", "tomorrow", "Address", "ok", "thanks"},
                                  {"\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd", "\x83\x5c\x83\x74\x83\x67",
                                   "\x95\x5c\x8e\xa6", "\x93\xfa\x96\x7b\x8c\xea", "\x82\x60\x82\x61\x82\x62"});
    return e;
}

const Entries& Utf8() {
    static const Entries e = Make({"Hello", "regards", "Invoice", "caf\xC3\xA9", "Gr\xC3\xBC\xC3\x9F" "e", "ok"},
                                  {"\xCE\xB5\xCF\x85\xCF\x87\xCE\xB1", "\xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2",
                                   "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", "\xF0\x9F\x98\x80"});
    return e;
}

// Types the characters `keys` one at a time; the range picks the keystroke measured.
void Keystroke(benchmark::State& state, const Entries& entries, unsigned codePage,
               const std::vector<std::string>& keys) {
    const EntryFilter filter(codePage);
    const size_t upTo = static_cast<size_t>(state.range(0));
    std::vector<int> before;
    std::string previous;
    std::string typed;
    for (size_t n = 1; n < upTo; ++n) {
        typed += keys[n - 1];
        const std::string folded = filter.FoldNeedle(typed);
        std::vector<int> next;
        filter.Match(entries.text, entries.explanation, folded, previous.empty() ? nullptr : &before, next);
        before.swap(next);
        previous = folded;
    }
    typed += keys[upTo - 1];
    const std::string folded = filter.FoldNeedle(typed);
    const bool narrow = filter.Narrows(previous, folded);
    std::vector<int> result;
    for (auto _ : state) {
        filter.Match(entries.text, entries.explanation, folded, narrow ? &before : nullptr, result);
        benchmark::DoNotOptimize(result.data());
    }
    state.counters["rows"] = static_cast<double>(result.size());
}

void BM_FilterSjis(benchmark::State& state) { Keystroke(state, Sjis(), 932, {"i", "n", "v", "o"}); }
void BM_FilterUtf8(benchmark::State& state) {
    Keystroke(state, Utf8(), 65001, {"G", "R", "\xC3\x9C", "\xC3\x9F"});
}
void BM_FilterSjisJapanese(benchmark::State& state) { Keystroke(state, Sjis(), 932, {"\x95\x5c", "\x8e\xa6"}); }

}  // namespace

// Arg: the keystroke measured (1: the first character).
BENCHMARK(BM_FilterSjis)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterUtf8)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterSjisJapanese)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

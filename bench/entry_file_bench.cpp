// Entry file reading and writing against the cheapest thing that touches the same bytes:
// a memchr line split for loading, a copy of the bytes for storing.
#include "document/EntryFile.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

const LeadBytes& Sjis() {
    static const LeadBytes lead = LeadBytes::ForCodePage(932);
    return lead;
}

// 100,000 entries, about 5 MB: ASCII and Shift-JIS words (some with 0x5C as second byte),
// some explanations, some backslashes (path-like texts, \n line breaks).
const std::vector<Entry>& Entries() {
    static const std::vector<Entry> entries = [] {
        static const char* const ascii[] = {"hello", "regards", "invoice", "meeting", "tomorrow", "address",
                                            "C:\\temp\\notes", "line\\nbreak", "ok", "thanks"};
        static const char* const sjis[] = {"\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd", "\x83\x5c\x83\x74\x83\x67",
                                           "\x95\x5c\x8e\xa6", "\x93\xfa\x96\x7b\x8c\xea", "\x8b\x40\x94\x5c"};
        std::mt19937 rng(1);
        std::vector<Entry> out;
        out.reserve(100001);
        for (int i = 0; i < 100000; ++i) {
            Entry e;
            const bool japanese = rng() % 2 == 0;
            while (e.Text.size() < 26 + rng() % 20) {
                e.Text += japanese ? sjis[rng() % std::size(sjis)] : ascii[rng() % std::size(ascii)];
                e.Text += ' ';
            }
            if (rng() % 10 < 4)
                while (e.Explanation.size() < 20 + rng() % 20) e.Explanation += sjis[rng() % std::size(sjis)];
            out.push_back(std::move(e));
        }
        out.emplace_back();  // placeholder
        return out;
    }();
    return entries;
}

const std::string& FileBytes() {
    static const std::string bytes = StoreEntries(Entries(), Sjis());
    return bytes;
}

// A plain split at LF with memchr into `Line` (a view, or a string of its own per line).
template <typename Line>
void PlainSplit(benchmark::State& state) {
    const std::string& bytes = FileBytes();
    for (auto _ : state) {
        std::vector<Line> lines;
        const char* p = bytes.data();
        const char* end = p + bytes.size();
        while (p < end) {
            const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            if (lf == nullptr) lf = end;
            lines.emplace_back(p, static_cast<std::size_t>(lf - p));
            p = lf + 1;
        }
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

void BM_PlainSplit(benchmark::State& state) { PlainSplit<std::string_view>(state); }
BENCHMARK(BM_PlainSplit);

// The same split, each line copied into a string of its own (what any loader must end with).
void BM_PlainSplitToStrings(benchmark::State& state) { PlainSplit<std::string>(state); }
BENCHMARK(BM_PlainSplitToStrings);

void BM_LoadEntries(benchmark::State& state) {
    const std::string& bytes = FileBytes();
    const LeadBytes lead = state.range(0) == 932 ? Sjis() : LeadBytes();
    for (auto _ : state) {
        std::vector<Entry> entries = LoadEntries(bytes, lead);
        benchmark::DoNotOptimize(entries.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadEntries)->Arg(932)->Arg(1252);

void BM_CopyBytes(benchmark::State& state) {
    const std::string& bytes = FileBytes();
    for (auto _ : state) {
        std::string out;
        out.append(bytes);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_CopyBytes);

// Every entry's fields joined as they are, with separator and line end: the gathering of
// 100,000 separate strings that any writer must do, without looking into them.
void BM_PlainJoin(benchmark::State& state) {
    const std::vector<Entry>& entries = Entries();
    std::size_t size = 0;
    for (auto _ : state) {
        std::string out;
        out.reserve(FileBytes().size() + entries.size() * 4);
        for (std::size_t i = 0; i + 1 < entries.size(); ++i) {
            out += entries[i].Text;
            if (!entries[i].Explanation.empty()) {
                out += "\\t";
                out += entries[i].Explanation;
            }
            out += "\r\n";
        }
        size = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}
BENCHMARK(BM_PlainJoin);

void BM_StoreEntries(benchmark::State& state) {
    const std::vector<Entry>& entries = Entries();
    const LeadBytes lead = state.range(0) == 932 ? Sjis() : LeadBytes();
    std::size_t size = 0;
    for (auto _ : state) {
        std::string out = StoreEntries(entries, lead);
        size = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}
BENCHMARK(BM_StoreEntries)->Arg(932)->Arg(1252);

}  // namespace

BENCHMARK_MAIN();

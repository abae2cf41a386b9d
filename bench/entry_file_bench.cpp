// Entry file reading and writing against the cheapest thing that touches the same bytes:
// a memchr line split for loading, a plain join of the fields for storing. After the runs
// each load and store is printed as a multiple of its baseline (CPU time).
#include "document/EntryFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

const LeadBytes& Sjis() {
    static const LeadBytes lead = LeadBytes::ForCodePage(932);
    return lead;
}

const LeadBytes& LeadOf(int codePage) {
    static const LeadBytes none;
    return codePage == 932 ? Sjis() : none;
}

// 100,000 entries, about 5 MB: ASCII and Shift-JIS words (some with 0x5C as second byte),
// some explanations, some backslashes (path-like texts, \n line breaks).
EntryColumns MakeEntries() {
    static const char* const ascii[] = {"hello", "regards", "invoice", "meeting", "tomorrow", "address",
                                        "C:\\temp\\notes", "line\\nbreak", "ok", "thanks"};
    static const char* const sjis[] = {"\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd", "\x83\x5c\x83\x74\x83\x67",
                                       "\x95\x5c\x8e\xa6", "\x93\xfa\x96\x7b\x8c\xea", "\x8b\x40\x94\x5c"};
    std::mt19937 rng(1);
    EntryColumns out;
    for (int i = 0; i < 100000; ++i) {
        std::string text;
        std::string explanation;
        const bool japanese = rng() % 2 == 0;
        while (text.size() < 26 + rng() % 20) {
            text += japanese ? sjis[rng() % std::size(sjis)] : ascii[rng() % std::size(ascii)];
            text += ' ';
        }
        if (rng() % 10 < 4)
            while (explanation.size() < 20 + rng() % 20) explanation += sjis[rng() % std::size(sjis)];
        out.Texts.push_back(std::move(text));
        out.Explanations.push_back(std::move(explanation));
    }
    out.Texts.emplace_back();  // placeholder
    out.Explanations.emplace_back();
    return out;
}

const EntryColumns& Entries() {
    static const EntryColumns entries = MakeEntries();
    return entries;
}

const std::string& FileBytes() {
    static const std::string bytes = StoreEntries(Entries().Texts, Entries().Explanations, Sjis());
    return bytes;
}

// A plain split at LF with memchr into `Line` (a view, or a string of its own per line),
// into a vector sized beforehand as LoadEntries sizes its own.
template <typename Line>
void PlainSplit(benchmark::State& state) {
    const std::string& bytes = FileBytes();
    const std::size_t count = Entries().Texts.size();
    for (auto _ : state) {
        std::vector<Line> lines;
        lines.reserve(count);
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
    const LeadBytes& lead = LeadOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        EntryColumns entries = LoadEntries(bytes, lead);
        benchmark::DoNotOptimize(entries.Texts.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadEntries)->Arg(932)->Arg(1252);

// Every entry's fields joined as they are, with separator and line end: the gathering of
// 100,000 separate strings that any writer must do, without looking into them.
void BM_PlainJoin(benchmark::State& state) {
    const EntryColumns& entries = Entries();
    std::size_t size = 0;
    for (auto _ : state) {
        std::string out;
        out.reserve(FileBytes().size() + entries.Texts.size() * 4);
        for (std::size_t i = 0; i + 1 < entries.Texts.size(); ++i) {
            out += entries.Texts[i];
            if (!entries.Explanations[i].empty()) {
                out += "\\t";
                out += entries.Explanations[i];
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
    const EntryColumns& entries = Entries();
    const LeadBytes& lead = LeadOf(static_cast<int>(state.range(0)));
    std::size_t size = 0;
    for (auto _ : state) {
        std::string out = StoreEntries(entries.Texts, entries.Explanations, lead);
        size = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}
BENCHMARK(BM_StoreEntries)->Arg(932)->Arg(1252);

// The console output, then each load and store as a multiple of its baseline.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                m_cpu[run.run_name.str()] = run.GetAdjustedCPUTime();
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const char* load : {"BM_LoadEntries/932", "BM_LoadEntries/1252"}) {
            PrintRatio(load, "BM_PlainSplit");
            PrintRatio(load, "BM_PlainSplitToStrings");
        }
        PrintRatio("BM_StoreEntries/932", "BM_PlainJoin");
        PrintRatio("BM_StoreEntries/1252", "BM_PlainJoin");
    }

private:
    void PrintRatio(const std::string& name, const std::string& baseline) const {
        const auto run = m_cpu.find(name);
        const auto base = m_cpu.find(baseline);
        if (run == m_cpu.end() || base == m_cpu.end() || base->second <= 0) return;
        std::printf("%-24s %5.2fx %s\n", name.c_str(), run->second / base->second, baseline.c_str());
    }

    std::map<std::string, double> m_cpu;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

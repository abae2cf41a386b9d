// Entry file reading and writing, of an ANSI (Shift-JIS) and of a UTF-8 file, against the
// cheapest thing that touches the same bytes: a memchr line split for loading, a plain join
// of the fields for storing; and of the UTF-8 file's entries saved as UTF-16 LE, loaded and
// stored with their conversion from and to the UTF-8 the program holds. After the runs
// each load and store is printed as a multiple of its baseline (CPU time).
#include "document/EntryFile.h"
#include "text/TextEncoding.h"

#include <benchmark/benchmark.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

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

// An entry file in memory: its entries and their bytes.
struct Corpus {
    EntryColumns entries;
    std::string bytes;
};

// 100,000 entries, about 5 MB: texts of 26 to 45 bytes, each of words from one of the two
// lists, four in ten with an explanation of 20 to 39 bytes of words from the second list.
Corpus MakeCorpus(const std::vector<const char*>& first, const std::vector<const char*>& second,
                  const LeadBytes& lead) {
    std::mt19937 rng(1);
    Corpus c;
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
        c.entries.Texts.push_back(std::move(text));
        c.entries.Explanations.push_back(std::move(explanation));
    }
    c.entries.Texts.emplace_back();  // placeholder
    c.entries.Explanations.emplace_back();
    c.bytes = StoreEntries(c.entries.Texts, c.entries.Explanations, lead);
    return c;
}

// ASCII and Shift-JIS words (some with 0x5C as second byte), some backslashes (path-like
// texts, \n line breaks).
const Corpus& Ansi() {
    static const Corpus c = [] {
        const std::vector<const char*> ascii = {"hello", "regards", "invoice", "meeting", "tomorrow", "address",
                                                "C:\\temp\\notes", "line\\nbreak", "ok", "thanks"};
        const std::vector<const char*> sjis = {"\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd", "\x83\x5c\x83\x74\x83\x67",
                                               "\x95\x5c\x8e\xa6", "\x93\xfa\x96\x7b\x8c\xea", "\x8b\x40\x94\x5c"};
        return MakeCorpus(ascii, sjis, Sjis());
    }();
    return c;
}

// The same mix in UTF-8: ASCII, accented Latin, Greek, Cyrillic, Japanese and emoji.
const Corpus& Utf8() {
    static const Corpus c = [] {
        const std::vector<const char*> latin = {"hello", "regards", "invoice", "C:\\temp\\notes", "line\\nbreak",
                                                "caf\xC3\xA9", "Gr\xC3\xBC\xC3\x9F" "e", "na\xC3\xAFve", "ok", "thanks"};
        const std::vector<const char*> other = {
            "\xCE\xB5\xCF\x85\xCF\x87\xCE\xB1\xCF\x81\xCE\xB9\xCF\x83\xCF\x84\xCF\x8E",
            "\xD1\x81\xD0\xBF\xD0\xB0\xD1\x81\xD0\xB8\xD0\xB1\xD0\xBE",
            "\xE3\x81\x93\xE3\x82\x93\xE3\x81\xAB\xE3\x81\xA1\xE3\x81\xAF", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E",
            "\xF0\x9F\x98\x80", "\xE8\xA1\xA8\xE7\xA4\xBA"};
        return MakeCorpus(latin, other, LeadBytes());
    }();
    return c;
}

// The UTF-8 corpus as Notepad's "Unicode" saves it: UTF-16 LE with its mark.
const FileEncoding kUtf16Le{TextEncoding::Utf8, true, FileForm::Utf16Le};
const Corpus& Utf16() {
    static const Corpus c = [] {
        Corpus u = Utf8();
        u.bytes = FileBytes(std::string(u.bytes), kUtf16Le);
        return u;
    }();
    return c;
}

const LeadBytes& NoLeadBytes() {
    static const LeadBytes none;
    return none;
}

// A plain split at LF with memchr into `Line` (a view, or a string of its own per line),
// into a vector sized beforehand as LoadEntries sizes its own.
template <typename Line>
void PlainSplit(benchmark::State& state, const Corpus& (*corpus)()) {
    const std::string& bytes = corpus().bytes;
    const std::size_t count = corpus().entries.Texts.size();
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

void BM_PlainSplit(benchmark::State& state, const Corpus& (*corpus)()) { PlainSplit<std::string_view>(state, corpus); }
BENCHMARK_CAPTURE(BM_PlainSplit, ansi, Ansi);
BENCHMARK_CAPTURE(BM_PlainSplit, utf8, Utf8);

// The same split, each line copied into a string of its own (what any loader must end with).
void BM_PlainSplitToStrings(benchmark::State& state, const Corpus& (*corpus)()) {
    PlainSplit<std::string>(state, corpus);
}
BENCHMARK_CAPTURE(BM_PlainSplitToStrings, ansi, Ansi);
BENCHMARK_CAPTURE(BM_PlainSplitToStrings, utf8, Utf8);

// The same split, each line cut at its first backslash-t into a Text and an Explanation of
// their own, with no escape and no lead byte looked at: the strings the loader must own,
// and so the floor for any loader that keeps one string per field.
void BM_PlainSplitToFields(benchmark::State& state, const Corpus& (*corpus)()) {
    const std::string& bytes = corpus().bytes;
    const std::size_t count = corpus().entries.Texts.size();
    for (auto _ : state) {
        EntryColumns entries;
        entries.Texts.reserve(count);
        entries.Explanations.reserve(count);
        const char* p = bytes.data();
        const char* end = p + bytes.size();
        while (p < end) {
            const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            if (lf == nullptr) lf = end;
            const char* sep = p;
            while ((sep = static_cast<const char*>(std::memchr(sep, '\\', static_cast<std::size_t>(lf - sep)))) !=
                       nullptr &&
                   (sep + 1 == lf || sep[1] != 't'))
                ++sep;
            if (sep == nullptr) {
                entries.Texts.emplace_back(p, static_cast<std::size_t>(lf - p));
                entries.Explanations.emplace_back();
            } else {
                entries.Texts.emplace_back(p, static_cast<std::size_t>(sep - p));
                entries.Explanations.emplace_back(sep + 2, static_cast<std::size_t>(lf - sep - 2));
            }
            p = lf + 1;
        }
        benchmark::DoNotOptimize(entries.Texts.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK_CAPTURE(BM_PlainSplitToFields, ansi, Ansi);
BENCHMARK_CAPTURE(BM_PlainSplitToFields, utf8, Utf8);

void BM_LoadEntries(benchmark::State& state, const Corpus& (*corpus)(), const LeadBytes& (*lead)()) {
    const std::string& bytes = corpus().bytes;
    for (auto _ : state) {
        EntryColumns entries = LoadEntries(bytes, lead());
        benchmark::DoNotOptimize(entries.Texts.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK_CAPTURE(BM_LoadEntries, ansi_932, Ansi, Sjis);
BENCHMARK_CAPTURE(BM_LoadEntries, ansi_1252, Ansi, NoLeadBytes);
BENCHMARK_CAPTURE(BM_LoadEntries, utf8, Utf8, NoLeadBytes);

// A whole load as the document makes it: the encoding decided, the text converted, the entries read.
void BM_LoadFile(benchmark::State& state, const Corpus& (*corpus)()) {
    const std::string& bytes = corpus().bytes;
    for (auto _ : state) {
        const FileEncoding encoding = DetectFileEncoding(bytes);
        std::string converted;
        EntryColumns entries = LoadEntries(FileText(bytes, encoding, converted), NoLeadBytes());
        benchmark::DoNotOptimize(entries.Texts.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK_CAPTURE(BM_LoadFile, utf8, Utf8);
BENCHMARK_CAPTURE(BM_LoadFile, utf16le, Utf16);

// Every entry's fields joined as they are, with separator and line end: the gathering of
// 100,000 separate strings that any writer must do, without looking into them.
void BM_PlainJoin(benchmark::State& state, const Corpus& (*corpus)()) {
    const EntryColumns& entries = corpus().entries;
    std::size_t size = 0;
    for (auto _ : state) {
        std::string out;
        out.reserve(corpus().bytes.size() + entries.Texts.size() * 4);
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
BENCHMARK_CAPTURE(BM_PlainJoin, ansi, Ansi);
BENCHMARK_CAPTURE(BM_PlainJoin, utf8, Utf8);

void BM_StoreEntries(benchmark::State& state, const Corpus& (*corpus)(), const LeadBytes& (*lead)()) {
    const EntryColumns& entries = corpus().entries;
    std::size_t size = 0;
    for (auto _ : state) {
        std::string out = StoreEntries(entries.Texts, entries.Explanations, lead());
        size = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}
BENCHMARK_CAPTURE(BM_StoreEntries, ansi_932, Ansi, Sjis);
BENCHMARK_CAPTURE(BM_StoreEntries, ansi_1252, Ansi, NoLeadBytes);
BENCHMARK_CAPTURE(BM_StoreEntries, utf8, Utf8, NoLeadBytes);

// A whole store as the document makes it: the entries written, then put in the file's form.
void BM_StoreFile(benchmark::State& state, const Corpus& (*corpus)(), FileEncoding encoding) {
    const EntryColumns& entries = corpus().entries;
    std::size_t size = 0;
    for (auto _ : state) {
        std::string out = FileBytes(StoreEntries(entries.Texts, entries.Explanations, NoLeadBytes()), encoding);
        size = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}
BENCHMARK_CAPTURE(BM_StoreFile, utf8, Utf8, FileEncoding{TextEncoding::Utf8, false});
BENCHMARK_CAPTURE(BM_StoreFile, utf16le, Utf16, kUtf16Le);

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
        for (const char* run : {"ansi_932", "ansi_1252", "utf8"}) {
            const std::string corpus = std::string(run).substr(0, 4) == "utf8" ? "utf8" : "ansi";
            PrintRatio(std::string("BM_LoadEntries/") + run, "BM_PlainSplit/" + corpus);
            PrintRatio(std::string("BM_LoadEntries/") + run, "BM_PlainSplitToStrings/" + corpus);
            PrintRatio(std::string("BM_LoadEntries/") + run, "BM_PlainSplitToFields/" + corpus);
            PrintRatio(std::string("BM_StoreEntries/") + run, "BM_PlainJoin/" + corpus);
        }
        PrintRatio("BM_LoadFile/utf16le", "BM_LoadFile/utf8");
        PrintRatio("BM_StoreFile/utf16le", "BM_StoreFile/utf8");
    }

private:
    void PrintRatio(const std::string& name, const std::string& baseline) const {
        const auto run = m_cpu.find(name);
        const auto base = m_cpu.find(baseline);
        if (run == m_cpu.end() || base == m_cpu.end() || base->second <= 0) return;
        std::printf("%-26s %5.2fx %s\n", name.c_str(), run->second / base->second, baseline.c_str());
    }

    std::map<std::string, double> m_cpu;
};

}  // namespace

int main(int argc, char** argv) {
#ifdef __GLIBC__
    // By default glibc gives freed heap back to the system, and faults it in again, at points
    // that shift with the order of allocations: the same work then costs four times as much
    // from one loop to the next. Fixed thresholds let the figures compare the code.
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

// Any bytes read as an entry file, stored and read again give the same entries, and storing
// those gives the same bytes. The first byte picks the code page: odd 932, even single-byte.
#include "document/EntryFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const LeadBytes sjis = LeadBytes::ForCodePage(932);
    static const LeadBytes single;
    const LeadBytes& lead = (data[0] & 1) ? sjis : single;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    const EntryColumns first = LoadEntries(bytes, lead);
    const std::string stored = StoreEntries(first.Texts, first.Explanations, lead);
    const EntryColumns second = LoadEntries(stored, lead);
    if (first != second) std::abort();
    if (StoreEntries(second.Texts, second.Explanations, lead) != stored) std::abort();
    return 0;
}

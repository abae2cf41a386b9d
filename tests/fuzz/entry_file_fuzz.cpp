// Any bytes read as an entry file, stored and read again give the same entries, and storing
// those gives the same bytes. The first byte picks the code page: odd 932, even single-byte.
// The file's text as the program holds it, put back in the file's form, gives the file's
// bytes, for every encoding that is written back (UTF-16 included).
#include "document/EntryFile.h"
#include "text/TextEncoding.h"

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

    const FileEncoding encoding = DetectFileEncoding(bytes);
    std::string converted;
    const std::string_view text = FileText(bytes, encoding, converted);
    if (encoding.Writable() && FileBytes(std::string(text), encoding) != bytes) std::abort();
    return 0;
}

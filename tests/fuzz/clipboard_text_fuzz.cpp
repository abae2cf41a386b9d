// Any bytes as a clipboard block without terminating zero: both rewrites read only the block
// (ASan sees any overrun, since the copy is exactly that long) and keep their size promises.
#include "frame/HalfWidth.h"

#include "text/AnsiText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const LeadBytes sjis = LeadBytes::ForCodePage(932);
    const std::vector<char> block(data, data + size);
    const char* bytes = block.empty() ? nullptr : block.data();
    const std::size_t length = BoundedTextLength(bytes, block.size());

    const std::string half = ConvertToHalfWidth(bytes, block.size(), sjis, 932);
    if (half.size() > length || half.find('\0') != std::string::npos) std::abort();
    if (ConvertToHalfWidth(bytes, block.size(), sjis, 1252) != std::string(bytes ? bytes : "", length)) std::abort();

    std::size_t breaks = 0;
    for (std::size_t i = 0; i + 1 < length; ++i) {
        if (block[i] == '\r' && block[i + 1] == '\n') {
            ++breaks;
            ++i;
        }
    }
    const std::string prefixed = PrefixLines(bytes, block.size(), ">>");
    if (prefixed.size() != length + 2 * (breaks + 1)) std::abort();
    return 0;
}

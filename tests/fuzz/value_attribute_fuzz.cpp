// Feeds arbitrary outer HTML to ExtractValueAttribute under single-byte and
// Shift-JIS rules; the result must be a piece of the lower-cased input. The same
// text through HidePasswordValue: never longer, and hiding twice hides nothing more.
#include "browser/AutoInput.h"
#include "browser/BrowserText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string html(reinterpret_cast<const char*>(data), size);
    static const LeadBytes single;
    static const LeadBytes sjis = LeadBytes::ForCodePage(932);
    for (const LeadBytes* lead : {&single, &sjis}) {
        const std::string value = ExtractValueAttribute(html, *lead);
        if (!value.empty() && value.size() >= size) std::abort();
        for (char c : value)
            if (c == '>' || c == ' ') std::abort();
        const std::string hidden = HidePasswordValue(html, *lead);
        if (hidden.size() > html.size() || HidePasswordValue(hidden, *lead) != hidden) std::abort();
    }
    return 0;
}

// Feeds arbitrary bytes to the web input setting parser, as a single-byte and as
// a Shift-JIS file, and checks the model's invariants.
#include "webinput/WebInputSettings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static const LeadBytes single;
    static const LeadBytes sjis = LeadBytes::ForCodePage(932);
    for (const LeadBytes* lead : {&single, &sjis}) {
        WebInputSettings s;
        const bool loaded = s.LoadText(text, *lead);
        bool anyField = false;
        for (const PageSection& p : s.Pages)
            for (const FieldSetting& f : p.Fields) {
                anyField = true;
                if (f.Name.empty() || f.Value.empty() || f.Name == "$DEFAULT") std::abort();
                // A stored "#" name or value reference always holds a number.
                TableExpression table;
                const std::string& reference =
                    WebInputSettings::ParseTableExpression(f.Value, *lead, table) ? table.Reference : f.Value;
                for (const std::string* r : {&f.Name, &reference})
                    if (!r->empty() && (*r)[0] == '#' && !WebInputSettings::IsElementNumber(*r)) std::abort();
            }
        if (anyField != loaded) std::abort();
        for (std::size_t i = 0; i < s.Errors.size(); ++i)
            if (s.Errors[i].Line == 0 || (i > 0 && s.Errors[i].Line <= s.Errors[i - 1].Line)) std::abort();
        for (std::size_t i = 0; i < s.Tables.size(); ++i) {
            const ValueTable& t = s.Tables[i];
            if (t.Name.empty() || t.Name[0] != '$') std::abort();
            bool first = true;  // lookups only ever see the first table of a name
            for (std::size_t j = 0; j < i; ++j) first = first && s.Tables[j].Name != t.Name;
            if (!first) continue;
            for (const auto& e : t.Entries) {
                if (s.LookupTable(t.Name, e.first).empty()) std::abort();
            }
        }
        TableExpression expr;
        WebInputSettings::ParseTableExpression(text, *lead, expr);
    }
    return 0;
}

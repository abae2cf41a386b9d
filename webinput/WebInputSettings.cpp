#include "webinput/WebInputSettings.h"

#include <cstddef>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Blank bytes never occur inside a double-byte character, so trimming by bytes is safe.
std::string Trim(std::string_view s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return std::string(s.substr(b, e - b));
}

// Whether the last character (not merely the last byte, which may be the
// second half of a double-byte character) is `ch`.
bool LastCharIs(std::string_view s, char ch, const LeadBytes& lead) {
    std::size_t pos = 0;
    std::size_t last = std::string_view::npos;
    while (pos < s.size()) {
        last = pos;
        pos += lead.CharLength(s, pos);
    }
    return last != std::string_view::npos && last + 1 == s.size() && s[last] == ch;
}

// Parses lines into the model, one at a time, keeping the current section.
class SettingsParser {
public:
    SettingsParser(WebInputSettings& model, const LeadBytes& lead) : m_model(model), m_lead(lead) {}

    void Line(std::string_view line, std::size_t number) {
        m_lineNumber = number;
        if (line.empty() || line[0] == ';') return;
        if (line[0] == '[' && line.size() >= 2 && LastCharIs(line, ']', m_lead)) {
            Header(line.substr(1, line.size() - 2));
            return;
        }
        KeyLine(line);
    }

    bool FieldStored() const { return m_fieldStored; }

private:
    enum class Section { None, Page, Table };

    void Header(std::string_view text) {
        if (text.empty()) {
            m_section = Section::None;
        } else if (text[0] == '$') {
            ValueTable table;
            table.Name = std::string(text);
            m_model.Tables.push_back(std::move(table));
            m_section = Section::Table;
        } else {
            PageSection page;
            const std::size_t colon = m_lead.Find(text, ':');
            if (colon == std::string_view::npos) {
                page.TitlePrefix = Trim(text);
            } else {
                page.TitlePrefix = Trim(text.substr(0, colon));
                page.FrameName = Trim(text.substr(colon + 1));
            }
            m_model.Pages.push_back(std::move(page));
            m_section = Section::Page;
        }
    }

    void KeyLine(std::string_view line) {
        const std::size_t eq = m_lead.Find(line, '=');
        if (eq == std::string_view::npos) return;
        std::string key = Trim(line.substr(0, eq));
        std::string value = Trim(line.substr(eq + 1));
        if (key.empty() || value.empty()) return;
        const bool isDefault = key == "$DEFAULT";
        switch (m_section) {
        case Section::Page:
            // Page sections keep no default of their own; such a line is dropped.
            if (isDefault) return;
            // A number that is none would stand for element 0, the whole page.
            if (!NumberReference(key) || !NumberReference(ValueReference(value))) return;
            m_model.Pages.back().Fields.push_back(FieldSetting{std::move(key), std::move(value)});
            m_fieldStored = true;
            break;
        case Section::Table: {
            ValueTable& table = m_model.Tables.back();
            if (isDefault)
                table.Default = std::move(value);
            else
                table.Entries[key] = std::move(value);
            break;
        }
        case Section::None:
            break;
        }
    }

    // The element reference a value expression reads: a table lookup's reference, else itself.
    std::string ValueReference(const std::string& value) const {
        TableExpression table;
        if (WebInputSettings::ParseTableExpression(value, m_lead, table)) return table.Reference;
        return value;
    }

    // False, with the line's error recorded, for a "#" reference without a number.
    bool NumberReference(const std::string& reference) {
        if (reference.empty() || reference[0] != '#' || WebInputSettings::IsElementNumber(reference)) return true;
        m_model.Errors.push_back(SettingError{m_lineNumber, reference});
        return false;
    }

    WebInputSettings& m_model;
    const LeadBytes& m_lead;
    std::size_t m_lineNumber = 0;
    Section m_section = Section::None;
    bool m_fieldStored = false;
};

}  // namespace

void WebInputSettings::Clear() {
    Tables.clear();
    Pages.clear();
    Errors.clear();
}

bool WebInputSettings::IsElementNumber(std::string_view reference) {
    std::size_t i = 1;
    while (i < reference.size() && IsBlank(reference[i])) ++i;
    if (i < reference.size() && (reference[i] == '+' || reference[i] == '-')) ++i;
    const std::size_t digits = i;
    while (i < reference.size() && reference[i] >= '0' && reference[i] <= '9') ++i;
    return i > digits && i == reference.size();
}

bool WebInputSettings::LoadText(std::string_view text, const LeadBytes& lead) {
    Clear();
    SettingsParser parser(*this, lead);
    std::size_t start = 0;
    std::size_t number = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (end < text.size() && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        parser.Line(line, ++number);
        start = next;
    }
    return parser.FieldStored();
}

std::string WebInputSettings::LookupTable(const std::string& tableName, const std::string& key) const {
    if (tableName.empty() || key.empty()) return std::string();
    for (const ValueTable& table : Tables) {
        if (table.Name != tableName) continue;
        const auto it = table.Entries.find(key);
        if (it != table.Entries.end()) return it->second;
        return table.Default;
    }
    return std::string();
}

bool WebInputSettings::ParseTableExpression(std::string_view value, const LeadBytes& lead, TableExpression& out) {
    if (value.empty() || value[0] != '$') return false;
    const std::size_t open = lead.Find(value, '[');
    if (open == std::string_view::npos || !LastCharIs(value, ']', lead)) return false;
    // The last character is "]", so the "[" stands before it.
    out.TableName = std::string(value.substr(0, open));
    out.Reference = std::string(value.substr(open + 1, value.size() - open - 2));
    return true;
}

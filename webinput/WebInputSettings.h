// The web input setting file: which browser pages to fill, which elements to set
// and with what. A plain value model (cheap to copy, so a worker can keep a
// snapshot), its line parser and the value-table lookup.
#pragma once

#include "text/AnsiText.h"
#include "text/TextEncoding.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

// One key line of a page section: an element name or "#index", and a value expression.
struct FieldSetting {
    std::string Name;
    std::string Value;
};

// A page header "[title prefix:frame name]" with the fields that follow it.
struct PageSection {
    std::string TitlePrefix;  // empty matches every page title
    std::string FrameName;    // empty = every frame
    std::vector<FieldSetting> Fields;
};

// A table header "[$name]" with its key lines and its "$DEFAULT" line.
struct ValueTable {
    std::string Name;  // the header text, leading "$" included, not trimmed
    std::string Default;
    std::map<std::string, std::string> Entries;
};

// The parts of a table-lookup value "$table[reference]".
struct TableExpression {
    std::string TableName;  // the text before the first "[", "$" included
    std::string Reference;  // the text between that "[" and the final "]"
};

// A field line that refers to an element by number ("#" in its name or its value)
// without a number there: the line is not stored.
struct SettingError {
    std::size_t Line = 0;   // from 1
    std::string Reference;  // the reference, "#" included
};

class WebInputSettings {
public:
    std::vector<PageSection> Pages;
    std::vector<ValueTable> Tables;
    std::vector<SettingError> Errors;  // in file order
    // The file's encoding, which every text above is in; a run speaks it to the browsers.
    TextEncoding Encoding = TextEncoding::Ansi;

    // Rebuilds the model from the file's text (lines end in LF or CR LF), leaving the
    // encoding to the caller. Returns whether any field was stored (the state of the Web menu).
    bool LoadText(std::string_view text, const LeadBytes& lead);

    // The value of `key` in the first table named `tableName`, else that table's
    // default; empty when either is empty or there is no such table.
    std::string LookupTable(const std::string& tableName, const std::string& key) const;

    void Clear();

    // Whether a "#" reference holds an element number after its "#": white space, an
    // optional sign and digits, nothing else.
    static bool IsElementNumber(std::string_view reference);

    // Splits a value of the form "$name[reference]"; false when it has another form.
    static bool ParseTableExpression(std::string_view value, const LeadBytes& lead, TableExpression& out);
};

// Range rules for the document's settings read from the profile.
#pragma once

// A first column width from the profile: values outside 1..1200 become `fallback`.
inline int ColumnWidthOrDefault(int value, int fallback) { return (value < 1 || value > 1200) ? fallback : value; }

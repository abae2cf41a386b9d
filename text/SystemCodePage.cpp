#include "text/SystemCodePage.h"

#include <windows.h>

const LeadBytes& SystemLeadBytes() {
    static const LeadBytes table =
        LeadBytes::FromPredicate([](unsigned char b) { return IsDBCSLeadByte(b); });
    return table;
}

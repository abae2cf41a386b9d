// The Windows code page of a document's text encoding, and the lead bytes its text is
// scanned with.
#pragma once

#include "text/AnsiText.h"
#include "text/SystemCodePage.h"
#include "text/TextEncoding.h"

#include <windows.h>

inline UINT CodePageOf(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? CP_UTF8 : CP_ACP;
}

// UTF-8 has no lead bytes as the portable code means them (no byte of a multi-byte
// character is below 0x80); ANSI text has the system's.
inline const LeadBytes& LeadBytesOf(TextEncoding encoding) {
    static const LeadBytes none;
    return encoding == TextEncoding::Utf8 ? none : SystemLeadBytes();
}

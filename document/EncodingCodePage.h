// The Windows code page of a document's text encoding.
#pragma once

#include "document/TextEncoding.h"

#include <windows.h>

inline UINT CodePageOf(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? CP_UTF8 : CP_ACP;
}

// The system's ANSI code page, as the portable text code needs it.
#pragma once

#include "text/AnsiText.h"

// Lead bytes of the active ANSI code page (GetACP), computed once.
const LeadBytes& SystemLeadBytes();

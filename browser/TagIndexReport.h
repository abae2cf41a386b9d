// The HTML tag index report: every browser window's title and address, its
// frames, and each element's index, name attribute and the start of its outer
// HTML, as lines ending in "\n" (the caller writes them to a text-mode file).
#pragma once

#include "browser/BrowserAccess.h"
#include "browser/UserNotifications.h"
#include "text/AnsiText.h"
#include "webinput/WebInputSettings.h"

#include <string>
#include <vector>

// Appends the report to `out`. A failure outside a frame visit ends it with the
// Failure message; `out` then keeps the lines written so far. The frame error
// line's second number is the failure's status code (an HRESULT over COM), in
// decimal; frame number 0 stands for the page's own document, whose element
// collection could not be fetched (the report goes on with the next window). No
// line shows a password field's value (HidePasswordValue). A frame of another
// origin than its page is listed by its elements only when one of `sections` that
// matches the page's title names it; else it is a frame that could not be read.
void WriteTagIndexReport(BrowserAccess& browsers, UserNotifications& notify, const LeadBytes& lead,
                         std::string& out, const std::vector<PageSection>& sections = {});

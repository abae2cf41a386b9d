// Form auto-input: fills the elements of matching browser pages from the page
// sections of the web input settings.
//
// Failures of the browser access layer are caught at two guards: one around each
// frame visit (a page with a single frame then falls back to its top document,
// else a beep) and one around the whole pass over the windows for a page section
// ("GPF : Error:<step>").
#pragma once

#include "browser/BrowserAccess.h"
#include "browser/UserNotifications.h"
#include "text/AnsiText.h"
#include "webinput/WebInputSettings.h"

#include <string>
#include <string_view>

// The current value of an element read out of its outer HTML: the text after the
// first "value" and its following "=", up to the next white space or ">", all in
// lower case. Quotes stay; empty when any part is missing.
std::string ExtractValueAttribute(std::string_view outerHtml, const LeadBytes& lead);

class AutoInput {
public:
    AutoInput(const WebInputSettings& settings, UserNotifications& notify, const LeadBytes& lead)
        : m_settings(settings), m_notify(notify), m_lead(lead) {}

    // Every page section in file order; 1 when every page's last fill wrote every field.
    int Run(BrowserAccess& browsers);

    // Fills every browser page whose title matches the section; the result of the
    // last FillDocument, 0 when none ran.
    int FillPage(BrowserAccess& browsers, const PageSection& page);

    // Writes the section's fields into one document's elements; 1 when all were written.
    int FillDocument(ElementCollection* elements, const PageSection& page, bool report);

    // The text a value expression stands for (table lookup, element reference or literal).
    std::string ResolveValue(ElementCollection* elements, const std::string& value, bool report);

    // "#index" or "*name": that element's current value; anything else: itself.
    std::string ReadReference(ElementCollection* elements, const std::string& reference, bool report);

private:
    const WebInputSettings& m_settings;
    UserNotifications& m_notify;
    const LeadBytes& m_lead;
};

// The browser access layer over the shell's window list and the browser's HTML
// object model (COM automation). Use it on a thread with OLE initialised.
#pragma once

#include "browser/BrowserAccess.h"
#include "text/EncodingCodePage.h"

class ShellBrowserAccess : public BrowserAccess {
public:
    // Texts pass to and from the browser in `encoding`: the ANSI code page, or UTF-8 for a
    // run whose settings are.
    explicit ShellBrowserAccess(TextEncoding encoding = TextEncoding::Ansi) : m_codePage(CodePageOf(encoding)) {}

    // Nothing when the shell's window list cannot be created or its window count
    // cannot be read (Wine's list answers E_NOTIMPL): both count as no browsers.
    std::unique_ptr<WindowList> OpenWindowList() override;

private:
    UINT m_codePage;
};

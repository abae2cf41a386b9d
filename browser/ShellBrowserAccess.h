// The browser access layer over the shell's window list and the browser's HTML
// object model (COM automation). Use it on a thread with OLE initialised.
#pragma once

#include "browser/BrowserAccess.h"

class ShellBrowserAccess : public BrowserAccess {
public:
    // Nothing when the shell's window list cannot be created or its window count
    // cannot be read (Wine's list answers E_NOTIMPL): both count as no browsers.
    std::unique_ptr<WindowList> OpenWindowList() override;
};

// The web input setting file on disk, read whole into the settings model.
#pragma once

#include "webinput/WebInputSettings.h"

#include <string>

// Rebuilds `settings` from the file at `path`; an empty path or a file that cannot be read
// gives an empty model. The file's encoding is decided as the entry file's is, and the
// settings keep it. Returns whether any field was stored (the state of the Web menu).
bool LoadWebInputFile(const std::wstring& path, WebInputSettings& settings);

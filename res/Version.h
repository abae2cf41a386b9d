// Jotwell's version, written once: the version resource takes it from here, and
// cmake/package.cmake reads the three numbers for the release zip's name.
#pragma once

#define JOTWELL_VERSION_MAJOR 2
#define JOTWELL_VERSION_MINOR 2
#define JOTWELL_VERSION_PATCH 0

// "2.2.0.0": the four numbers of the version resource as text.
#define JOTWELL_VERSION_DOTTED(major, minor, patch) major.minor.patch.0
#define JOTWELL_VERSION_QUOTE(text) #text
#define JOTWELL_VERSION_TEXT_OF(text) JOTWELL_VERSION_QUOTE(text)
#define JOTWELL_VERSION_TEXT \
    JOTWELL_VERSION_TEXT_OF(JOTWELL_VERSION_DOTTED(JOTWELL_VERSION_MAJOR, JOTWELL_VERSION_MINOR, JOTWELL_VERSION_PATCH))

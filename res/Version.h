// Jotwell's version, written once: the version resource and the about box take it from here,
// and cmake/package.cmake reads the three numbers for the release zip's name.
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

// "Jotwell Version 2.02": the about box's line, the minor number on two places.
#if JOTWELL_VERSION_MINOR < 10
#define JOTWELL_VERSION_TWO_PLACES(minor) 0##minor
#else
#define JOTWELL_VERSION_TWO_PLACES(minor) minor
#endif
#define JOTWELL_VERSION_SHORT(major, minor) major.JOTWELL_VERSION_TWO_PLACES(minor)
#define JOTWELL_ABOUT_VERSION_TEXT \
    JOTWELL_VERSION_TEXT_OF(Jotwell Version JOTWELL_VERSION_SHORT(JOTWELL_VERSION_MAJOR, JOTWELL_VERSION_MINOR))

#pragma once

#include <QString>

// The program's version, defined once, by the build (the project's version in CMake).
#ifndef GRIDGLYPH_VERSION
#error "GRIDGLYPH_VERSION comes from the build"
#endif

// The main window's caption: the title and the version, "GRIDGLYPH Ver. 1.10".
inline QString programCaption() { return QStringLiteral("GRIDGLYPH Ver. " GRIDGLYPH_VERSION); }
// What --version prints, and what a PNG the program saved names as its maker.
inline QString programVersion() { return QStringLiteral("GRIDGLYPH " GRIDGLYPH_VERSION); }

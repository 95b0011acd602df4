#pragma once

#include "commandLine.h"

// The program past its command line: the window, or --text / --png. The program itself
// reads the command line with Qt Core alone and loads this part only when it is needed, so
// that --help and --version answer without loading the window's libraries.
extern "C" int gridglyph_start(int *argc, char **argv, const CommandLine *line);
using StartFunction = int (*)(int *, char **, const CommandLine *);

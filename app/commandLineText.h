#pragma once

#include "commandLine.h"

// --text: the picture named on the command line as the text Ctrl+T and Ctrl+C give, written
// to standard output; with --count, the posting budgets on standard error. --png: a picture's
// text as a PNG of one pixel a dot. Both need no display and no window. They return the exit
// status: 0 done, 1 a picture or text that could not be read or an output that could not be
// written, 2 a mistake on the command line found only now (a pair that is no pair).
int runTextCommand(const CommandLine &line, bool japanese);
int runPngCommand(const CommandLine &line, bool japanese);

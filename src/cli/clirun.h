#pragma once

#include "cli/exitstatus.h"

// The whole program: parses the arguments, runs the command, writes its
// output to standard output and every failure to standard error.
int runZeph(int argc, char *argv[]);

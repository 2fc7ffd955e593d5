#pragma once

// Exit statuses of zeph.
inline constexpr int exitSuccess = 0;
inline constexpr int exitJournalFailure = 1; // cannot open, lock or store; check: lines lost
inline constexpr int exitBadInput = 2;       // bad arguments or input

// The whole program: parses the arguments, runs the command, writes its
// output to standard output and every failure to standard error.
int runZeph(int argc, char *argv[]);

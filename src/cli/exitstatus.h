#pragma once

// Exit statuses of zeph.
inline constexpr int exitSuccess = 0;
inline constexpr int exitJournalFailure = 1; // cannot open, lock or store; check: lines lost
inline constexpr int exitBadInput = 2;       // bad arguments or input
// recover, merge: stored, but some values of the other side were not taken
inline constexpr int exitStoredWithConflicts = 3;

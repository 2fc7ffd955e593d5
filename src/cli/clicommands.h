#pragma once

#include "journal/merge.h"

#include "cli/cliarguments.h"

// zeph's commands, one file each. Each takes the checked request, writes its
// output and every failure, and gives back the exit status.
int runAdd(const CliRequest &request);
int runShow(const CliRequest &request);
int runAdvice(const CliRequest &request);
int runGraph(const CliRequest &request);
int runExportCsv(const CliRequest &request);
int runImportCsv(const CliRequest &request);
int runCheck(const CliRequest &request);
int runImportRun(const CliRequest &request);
int runTrend(const CliRequest &request);
int runSummary(const CliRequest &request);
int runRecover(const CliRequest &request);
int runMerge(const CliRequest &request);

// recover and merge: one line per day (then per section) taken or in
// conflict, in date order; conflictText says which side a conflict kept.
void writeMergeLines(const Edit &taken, const MergeConflicts &conflicts, const char *conflictText);

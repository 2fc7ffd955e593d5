#pragma once

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

#pragma once

#include "CaptureOptions.h"

// Runs one command of the tool; returns the exit code. Throws UsageError for
// arguments the schedule rules out and CaptureError for failures.
int runCommand(const CaptureOptions& options);

// Makes SIGINT and SIGTERM end a capture cleanly: the frame loop stops with a
// CaptureError, so unfinished files are removed.
void stopCleanlyOnSignals();

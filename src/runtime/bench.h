// The bench mode: times every scene's per-frame routine without a window on
// the virtual clock and prints a table (or JSON) of milliseconds per frame.
#pragma once

// Called by entry_main for --bench; returns the exit code.
int bench_main(char* line);

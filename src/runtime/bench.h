// The bench mode: times every scene's per-frame routine without a window on
// the virtual clock and prints a table (or JSON) of milliseconds per frame.
#pragma once

// Called by entry_main for --bench; prints the results and ends the process
// with exit code 0 (what preparation allocated lives until then, as in a run).
[[noreturn]] void bench_main(char* line);

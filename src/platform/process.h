// The one way the process ends. Sinks (trace, capture) register finishers that
// run first; tests and fuzzers install a handler that takes over the end.
#pragma once

// Runs the finishers in reverse order of registration, flushes standard
// output and error, then ends the process with code without exit handlers.
[[noreturn]] void process_exit(int code);

// Registers a finisher to run once inside process_exit (at most 16).
void process_on_exit(void (*finisher)());
// Replaces the exit code; a finisher calls it (capture: 0 after a complete file).
void process_set_exit_code(int code);
// Removes every finisher (tests).
void process_clear_finishers();

// Installs a handler that process_exit calls after the finishers instead of
// ending the process. It must not return (a test handler throws); if it does,
// the process ends anyway. nullptr restores the real end.
void process_set_exit_handler(void (*handler)(int code));

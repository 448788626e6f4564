// The production: preparation in a fixed order, then the scene loops.
#pragma once

// Runs the whole production; never returns (it ends through shutdown).
[[noreturn]] void demo_main(char* line);

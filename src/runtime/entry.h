// The executable's entry: options, then the production in the chosen mode.
#pragma once

// Parses the command line and runs the production; returns only for
// --help, --version and bad options.
int entry_main(int argc, char** argv);

// vivur-test-child OUT CODE [ARGUMENT...]: the program the child-process
// service is tried with. It writes each ARGUMENT on a line of its own into
// the file OUT, then every byte of its standard input, and ends with exit
// code CODE. CODE "early" ends at once with 3, reading nothing.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

// The program's work, given its arguments (UTF-8) and its standard input
// (in binary mode); returns the exit code.
int child_run(const std::vector<std::string>& arguments, FILE* input);

// The test child's entry on Linux: arguments and input as they come.
#include "child.h"

int main(int argc, char** argv) { return child_run(std::vector<std::string>(argv, argv + argc), stdin); }

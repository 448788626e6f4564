// The vivur executable: everything lives in the vivur_core library.
#include "runtime/entry.h"

int main(int argc, char** argv) { return entry_main(argc, argv); }

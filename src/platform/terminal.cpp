#include "platform/terminal.h"

#include <unistd.h>

bool terminal_attached(int fd) { return isatty(fd) == 1; }

#include "platform/host.h"

// Linux and the browser need nothing before the program starts.
void host_start() {}

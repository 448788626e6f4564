// The vivur executable: everything lives in the vivur_core library.
#include "platform/host.h"
#include "runtime/entry.h"

int main(int argc, char** argv)
{
    host_start();
    return entry_main(argc, argv);
}

// The Windows executable: the wide command line becomes UTF-8 arguments;
// everything else lives in the vivur_core library.
#include <string>
#include <vector>

#include "platform/host.h"
#include "platform/text_win.h"
#include "runtime/entry.h"

int wmain(int argc, wchar_t** wide_argv)
{
    host_start();
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(text_utf8(wide_argv[i]));
    std::vector<char*> argv;
    for (std::string& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    return entry_main(argc, argv.data());
}

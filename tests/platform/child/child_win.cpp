// The test child's entry on Windows: the arguments as the C runtime parses
// the wide command line, and the standard input in binary mode (no CR LF
// translation, no end at a Ctrl+Z byte).
#include <fcntl.h>
#include <io.h>

#include "child.h"
#include "platform/text_win.h"

int wmain(int argc, wchar_t** argv)
{
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(text_utf8(argv[i]));
    _setmode(_fileno(stdin), _O_BINARY);
    return child_run(arguments, stdin);
}

// The test helpers that differ by operating system, for Linux.
#include "support/support.h"

#include <sys/wait.h>

#include <cstdlib>

namespace {
// Appends one word for the shell, in single quotes, after a space.
void append_quoted(std::string& command, const std::string& word)
{
    command += " '";
    for (char c : word) {
        if (c == '\'')
            command += "'\\''";
        else
            command += c;
    }
    command += '\'';
}
}  // namespace

const char* const support_text_line_end = "\n";

void support_setenv(const char* name, const char* value, bool replace) { setenv(name, value, replace ? 1 : 0); }

std::string support_program(const std::string& path) { return path; }

int support_run(const std::string& folder, const std::string& program, const std::vector<std::string>& arguments,
                const std::string& out, const std::string& err)
{
    std::string command = "cd";
    append_quoted(command, folder);
    command += " && exec";
    append_quoted(command, support_program(program));
    for (const std::string& a : arguments)
        append_quoted(command, a);
    command += " </dev/null >";
    append_quoted(command, out.empty() ? "/dev/null" : out);
    command += " 2>";
    append_quoted(command, err.empty() ? "/dev/null" : err);
    const int status = std::system(command.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

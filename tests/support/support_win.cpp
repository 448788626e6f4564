// The test helpers that differ by operating system, for Windows.
#include "support/support.h"

#include <windows.h>

#include <cstdlib>

#include "platform/text_win.h"

namespace {
// A file the started program inherits as a standard handle: path (relative
// to folder) opened for writing, or NUL.
HANDLE inheritable_output(const std::wstring& folder, const std::string& path)
{
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    std::wstring name = L"NUL";
    if (!path.empty()) {
        name = text_wide(path.c_str());
        const bool absolute = name[0] == L'/' || name[0] == L'\\' || (name.size() > 1 && name[1] == L':');
        if (!absolute)
            name = folder + L"\\" + name;
    }
    return CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       path.empty() ? OPEN_EXISTING : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}
}  // namespace

const char* const support_text_line_end = "\r\n";

void support_setenv(const char* name, const char* value, bool replace)
{
    // _putenv_s sets the C runtime's copy and the process's own environment.
    if (replace || !std::getenv(name))
        _putenv_s(name, value);
}

std::string support_program(const std::string& path) { return path + ".exe"; }

int support_run(const std::string& folder, const std::string& program, const std::vector<std::string>& arguments,
                const std::string& out, const std::string& err)
{
    const std::wstring where = text_wide(folder.c_str());
    const std::wstring file = text_wide(support_program(program).c_str());
    std::wstring line;
    text_append_argument(line, file);
    for (const std::string& a : arguments)
        text_append_argument(line, text_wide(a.c_str()));
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                    OPEN_EXISTING, 0, nullptr);
    startup.hStdOutput = inheritable_output(where, out);
    startup.hStdError = inheritable_output(where, err);
    PROCESS_INFORMATION info{};
    const BOOL started = CreateProcessW(file.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, where.c_str(), &startup, &info);
    for (HANDLE h : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    if (!started)
        return -1;
    CloseHandle(info.hThread);
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(info.hProcess, INFINITE) != WAIT_OBJECT_0 || !GetExitCodeProcess(info.hProcess, &code))
        code = DWORD(-1);
    CloseHandle(info.hProcess);
    return code > 255 ? -1 : int(code);
}

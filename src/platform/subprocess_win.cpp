// Child processes on Windows: a pipe on the child's standard input, its
// output to NUL. A program named without a folder is looked for beside the
// executable, then in PATH's folders, with ".exe" added.
#include "platform/subprocess.h"

#include <windows.h>

#include <cstdlib>

#include "platform/files.h"
#include "platform/text_win.h"

namespace {

bool is_program(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(text_wide(path.c_str()).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The full path of program name, or "" when it is nowhere to be found.
std::string program_find(const std::string& name)
{
    std::string file = name;
    if (file.size() < 4 || _stricmp(file.c_str() + file.size() - 4, ".exe") != 0)
        file += ".exe";
    if (file.find_first_of("\\/") != std::string::npos)
        return is_program(file) ? file : std::string();
    std::string beside = files_executable_dir();
    if (!beside.empty() && is_program(beside + "\\" + file))
        return beside + "\\" + file;
    const wchar_t* path = _wgetenv(L"PATH");
    std::string folders = path ? text_utf8(path) : std::string();
    size_t start = 0;
    while (start <= folders.size()) {
        size_t semicolon = folders.find(';', start);
        std::string dir = folders.substr(start, semicolon == std::string::npos ? std::string::npos : semicolon - start);
        if (!dir.empty() && is_program(dir + "\\" + file))
            return dir + "\\" + file;
        if (semicolon == std::string::npos)
            break;
        start = semicolon + 1;
    }
    return {};
}

}  // namespace

bool program_available(const char* name) { return !program_find(name).empty(); }

bool child_start(ChildProcess& child, const std::vector<std::string>& argv)
{
    child = ChildProcess{};
    if (argv.empty())
        return false;
    const std::string program = program_find(argv[0]);
    if (program.empty())
        return false;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE read_end = nullptr, write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inherit, 1 << 20))
        return false;
    // Only the child's end is inherited.
    SetHandleInformation(write_end, HANDLE_FLAG_INHERIT, 0);
    HANDLE null_out = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                  OPEN_EXISTING, 0, nullptr);
    std::wstring line;
    for (const std::string& a : argv)
        text_append_argument(line, text_wide(a.c_str()));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = read_end;
    startup.hStdOutput = null_out;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION info{};
    const BOOL started = CreateProcessW(text_wide(program.c_str()).c_str(), line.data(), nullptr, nullptr, TRUE,
                                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info);
    CloseHandle(read_end);
    if (null_out != INVALID_HANDLE_VALUE)
        CloseHandle(null_out);
    if (!started) {
        CloseHandle(write_end);
        return false;
    }
    CloseHandle(info.hThread);
    child.process = reinterpret_cast<intptr_t>(info.hProcess);
    child.input = reinterpret_cast<intptr_t>(write_end);
    return true;
}

bool child_write(ChildProcess& child, const void* bytes, size_t count)
{
    const char* p = static_cast<const char*>(bytes);
    while (count > 0) {
        if (child.input < 0)
            return false;
        const DWORD chunk = count > 0x100000u ? 0x100000u : DWORD(count);
        DWORD written = 0;
        if (!WriteFile(reinterpret_cast<HANDLE>(child.input), p, chunk, &written, nullptr) || written == 0)
            return false;  // the child went away
        p += written;
        count -= written;
    }
    return true;
}

int child_finish(ChildProcess& child)
{
    if (child.input >= 0)
        CloseHandle(reinterpret_cast<HANDLE>(child.input));
    child.input = -1;
    if (child.process < 0)
        return -1;
    HANDLE process = reinterpret_cast<HANDLE>(child.process);
    child.process = -1;
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(process, INFINITE) != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &code))
        code = DWORD(-1);
    CloseHandle(process);
    return code > 255 ? -1 : int(code);
}

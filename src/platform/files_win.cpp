// The host's files on Windows: paths are UTF-8 inside the program and wide
// characters at the system's calls.
#include "platform/files.h"

#include <windows.h>

#include "platform/text_win.h"

FILE* files_fopen(const char* path, const char* mode)
{
    return _wfopen(text_wide(path).c_str(), text_wide(mode).c_str());
}

bool files_open(const char* path, HostFile& file)
{
    file = HostFile{};
    HANDLE handle = CreateFileW(text_wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CloseHandle(handle);
        return false;
    }
    file.descriptor = reinterpret_cast<intptr_t>(handle);
    file.length = (uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return true;
}

bool files_read_at(const HostFile& file, uint64_t offset, void* destination, uint64_t length)
{
    if (file.descriptor < 0)
        return false;
    HANDLE handle = reinterpret_cast<HANDLE>(file.descriptor);
    uint8_t* out = static_cast<uint8_t*>(destination);
    while (length > 0) {
        // Each read names its own offset, as pread does: no shared file position.
        OVERLAPPED at{};
        at.Offset = DWORD(offset);
        at.OffsetHigh = DWORD(offset >> 32);
        const DWORD chunk = length > 0x40000000u ? 0x40000000u : DWORD(length);
        DWORD got = 0;
        if (!ReadFile(handle, out, chunk, &got, &at) || got == 0)
            return false;  // an error, or the file is shorter than it claimed
        out += got;
        offset += got;
        length -= got;
    }
    return true;
}

void files_close(HostFile& file)
{
    if (file.descriptor >= 0)
        CloseHandle(reinterpret_cast<HANDLE>(file.descriptor));
    file = HostFile{};
}

std::string files_executable_dir()
{
    // GetModuleFileNameW does not say whether it cut the path: grow until it fits.
    std::wstring buffer(256, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size()) {
            std::string path = text_utf8(std::wstring(buffer.data(), length));
            const size_t slash = path.find_last_of("\\/");
            if (slash == std::string::npos)
                return {};
            return path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

void files_offer(const char*) {}

bool folder_create(const std::string& path, std::string& error)
{
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/' && path[i] != '\\')
            continue;
        std::string part = path.substr(0, i);
        if (part.size() == 2 && part[1] == ':')
            continue;  // a drive
        const DWORD attributes = GetFileAttributesW(text_wide(part.c_str()).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
                error = part + " is not a folder";
                return false;
            }
            continue;
        }
        if (!CreateDirectoryW(text_wide(part.c_str()).c_str(), nullptr) &&
            GetLastError() != ERROR_ALREADY_EXISTS) {
            error = part + ": " + text_system_error(GetLastError());
            return false;
        }
    }
    return true;
}

std::string folder_create_temporary(const char* prefix)
{
    wchar_t base[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, base);
    if (length == 0 || length > MAX_PATH)
        return {};
    // The process id keeps programs running side by side apart; the count
    // and the clock step past names left by earlier runs.
    static unsigned count = 0;
    const std::string folder = text_utf8(std::wstring(base, length)) + prefix;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const unsigned long long ending = GetCurrentProcessId() * 1000003ull + GetTickCount64() + ++count;
        const std::string path = folder + std::to_string(ending % 1000000000000ull);
        if (CreateDirectoryW(text_wide(path.c_str()).c_str(), nullptr))
            return path;
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return {};
    }
    return {};
}

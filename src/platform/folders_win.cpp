// The desktop start's folders on Windows: the user's pictures folder from the
// profile, and entering a folder given in UTF-8.
#include "platform/files.h"

#include <windows.h>

#include <cstdlib>

#include "platform/text_win.h"

std::string folder_pictures()
{
    const wchar_t* profile = _wgetenv(L"USERPROFILE");
    return profile && *profile ? text_utf8(profile) + "\\Pictures" : std::string();
}

bool folder_enter(const std::string& path, std::string& error)
{
    if (!folder_create(path, error))
        return false;
    if (!SetCurrentDirectoryW(text_wide(path.c_str()).c_str())) {
        error = path + ": " + text_system_error(GetLastError());
        return false;
    }
    return true;
}

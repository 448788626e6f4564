#include "platform/files.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

bool folder_create(const std::string& path, std::string& error)
{
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/')
            continue;
        std::string part = path.substr(0, i);
        struct stat info;
        if (stat(part.c_str(), &info) == 0) {
            if (!S_ISDIR(info.st_mode)) {
                error = part + " is not a folder";
                return false;
            }
            continue;
        }
        if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
            error = part + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

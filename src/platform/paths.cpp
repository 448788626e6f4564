#include "platform/paths.h"

#include <unistd.h>

#include <vector>

std::string path_executable_dir()
{
    // readlink does not say whether it cut the path: grow until it fits.
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return {};
        if (size_t(length) < buffer.size()) {
            std::string path(buffer.data(), size_t(length));
            const size_t slash = path.rfind('/');
            if (slash == std::string::npos)
                return {};
            return slash == 0 ? std::string("/") : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

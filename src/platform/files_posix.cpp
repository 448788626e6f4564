#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#ifdef __EMSCRIPTEN__
#include <emscripten.h>

// The page's file system holds the file: the browser saves a copy under its name.
EM_JS(void, files_download, (const char* path), {
    const name = UTF8ToString(path);
    const url = URL.createObjectURL(new Blob([FS.readFile(name)], {type: "application/octet-stream"}));
    const link = document.createElement("a");
    link.href = url;
    link.download = name.split("/").pop();
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
});
#endif

FILE* files_fopen(const char* path, const char* mode) { return std::fopen(path, mode); }

bool files_open(const char* path, HostFile& file)
{
    file = HostFile{};
    const int descriptor = open(path, O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    struct stat status;
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(descriptor);
        return false;
    }
    file.descriptor = descriptor;
    file.length = uint64_t(status.st_size);
    return true;
}

bool files_read_at(const HostFile& file, uint64_t offset, void* destination, uint64_t length)
{
    if (file.descriptor < 0)
        return false;
    uint8_t* out = static_cast<uint8_t*>(destination);
    while (length > 0) {
        const ssize_t got = pread(int(file.descriptor), out, length, off_t(offset));
        if (got <= 0)
            return false;  // an error, or the file is shorter than it claimed
        out += got;
        offset += uint64_t(got);
        length -= uint64_t(got);
    }
    return true;
}

void files_close(HostFile& file)
{
    if (file.descriptor >= 0)
        close(int(file.descriptor));
    file = HostFile{};
}

std::string files_executable_dir()
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

void files_offer(const char* path)
{
#ifdef __EMSCRIPTEN__
    HostFile file;
    if (files_open(path, file)) {
        files_close(file);
        files_download(path);
    }
#else
    (void)path;
#endif
}

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

std::string folder_pictures()
{
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) + "/Pictures" : std::string();
}

bool folder_enter(const std::string& path, std::string& error)
{
    if (!folder_create(path, error))
        return false;
    if (chdir(path.c_str()) != 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

std::string folder_create_temporary(const char* prefix)
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/" + prefix + "XXXXXX";
    return mkdtemp(pattern.data()) ? pattern : std::string();
}

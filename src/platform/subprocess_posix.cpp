#include "platform/subprocess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

bool program_available(const char* name)
{
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        size_t colon = folders.find(':', start);
        std::string dir = folders.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
        std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
        struct stat info;
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return true;
        if (colon == std::string::npos)
            break;
        start = colon + 1;
    }
    return false;
}

bool child_start(ChildProcess& child, const std::vector<std::string>& argv)
{
    child = ChildProcess{};
#ifdef __EMSCRIPTEN__
    // A page starts no programs: a video capture cannot run in the browser.
    (void)argv;
    return false;
#else
    int fds[2];
    if (argv.empty() || pipe(fds) != 0)
        return false;
    // A child that dies must show up as a failed write, not kill us.
    std::signal(SIGPIPE, SIG_IGN);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], 0);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = -1;
    int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[0]);
    if (rc != 0) {
        close(fds[1]);
        return false;
    }
    fcntl(fds[1], F_SETFD, FD_CLOEXEC);
    child.process = pid;
    child.input = fds[1];
    return true;
#endif
}

bool child_write(ChildProcess& child, const void* bytes, size_t count)
{
    const char* p = static_cast<const char*>(bytes);
    while (count > 0) {
        if (child.input < 0)
            return false;
        ssize_t n = write(int(child.input), p, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        count -= static_cast<size_t>(n);
    }
    return true;
}

int child_finish(ChildProcess& child)
{
    if (child.input >= 0)
        close(int(child.input));
    child.input = -1;
    if (child.process < 0)
        return -1;
    int status = 0;
    while (waitpid(pid_t(child.process), &status, 0) < 0)
        if (errno != EINTR) {
            child.process = -1;
            return -1;
        }
    child.process = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

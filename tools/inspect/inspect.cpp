// vivur-inspect FILE...: the report and the checks of the production's assets.
// Each file is read with the production's loaders; their fatal end is caught,
// so one broken file is reported and the rest still inspected.
#include "inspect.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <strings.h>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/host.h"
#include "platform/process.h"
#include "resources/pak.h"
#include "platform/sound.h"

namespace {

// The production's assets and what their scenes need of them.
const AssetRule assets[] = {
    {"intro.jpg", 'p', 320, 200, 0},  {"feli.jpg", 'p', 320, 200, 0},
    {"font.jpg", 'p', 32, 26 * 32, 0}, {"mulmap.jpg", 'p', 320, 200, 0},
    {"atg7.jpg", 'p', 256, 256, 0},   {"norm.jpg", 'p', 320, 200, 0},
    {"norm2.jpg", 'p', 320, 200, 0},  {"heet.jpg", 'p', 320, 200, 0},
    {"zwart.jpg", 'p', 256, 256, 0},  {"mooier.jpg", 'p', 256, 256, 0},
    {"scroll.jpg", 'p', 2000, 40, 0}, {"marb2.jpg", 'p', 256, 256, 0},
    {"19.3ds", 's', 0, 0, 2},         {"vlak.3ds", 's', 0, 0, 2},
    {"wuntje.s3m", 'm', 0, 0, 0},
};

const char usage[] =
    "usage: vivur-inspect FILE...\n"
    "Describes pictures (.jpg), scenes (.3ds), modules (.s3m) and archives (.pak)\n"
    "as the production reads them. Files named like one of the production's assets,\n"
    "and every asset inside an archive, are also checked against what the\n"
    "production needs. Exit code 0 when everything is usable, 1 otherwise.\n";

int problems = 0;  // problems reported so far

// Thrown by the intercepted process end; caught by inspect_guard.
struct Stopped {};
void stop_instead_of_exit(int) { throw Stopped{}; }

// Redirects a standard stream into a file of a temporary folder until
// finished (not std::tmpfile, which Windows makes in the drive's root,
// where a user may not write).
struct StreamCapture {
    FILE* stream;
    int saved = -1;
    FILE* file = nullptr;
    std::string folder;

    explicit StreamCapture(FILE* s) : stream(s)
    {
        std::fflush(stream);
        folder = folder_create_temporary("vivur-inspect-");
        file = folder.empty() ? nullptr : files_fopen((folder + "/stream").c_str(), "w+b");
        if (!file)
            return;
        saved = dup(fileno(stream));
        dup2(fileno(file), fileno(stream));
    }

    std::string finish()
    {
        std::string text;
        if (file) {
            std::fflush(stream);
            dup2(saved, fileno(stream));
            close(saved);
            std::rewind(file);
            char buffer[4096];
            size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
                text.append(buffer, n);
            std::fclose(file);
            file = nullptr;
        }
        std::error_code ignored;
        std::filesystem::remove_all(std::u8string(folder.begin(), folder.end()), ignored);
        return text;
    }
};

std::string extension(const std::string& path)
{
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// Lists an archive's entries, then checks every asset inside it. Loose
// files must not stand in for entries, so the checks run in an empty folder.
void inspect_archive(const std::string& path)
{
    std::string absolute = std::filesystem::absolute(path).string();
    std::string out, message;
    if (!inspect_guard([&] { pak_mount(absolute.c_str()); }, out, message)) {
        inspect_problem(path, message);
        return;
    }
    std::printf("archive %s: %zu entries\n", path.c_str(), pak_directory.entries.size());
    for (const PakEntry& entry : pak_directory.entries)
        std::printf("entry %s: %u bytes\n", entry.name, entry.content_size);

    const std::string folder = folder_create_temporary("vivur-inspect-");
    const std::filesystem::path empty(std::u8string(folder.begin(), folder.end()));
    const std::filesystem::path previous = std::filesystem::current_path();
    std::error_code error;
    if (!folder.empty())
        std::filesystem::current_path(empty, error);
    if (folder.empty() || error) {
        inspect_problem(path, "cannot make an empty working folder");
        return;
    }
    for (const AssetRule& asset : assets) {
        if (pak_find(pak_directory.entries, asset.name) < 0) {
            inspect_problem(asset.name, std::string("missing from ") + path);
            continue;
        }
        if (asset.kind == 'p')
            inspect_picture(asset.name, &asset);
        else if (asset.kind == 's')
            inspect_scene(asset.name, &asset);
        else
            inspect_module(asset.name, &asset);
    }
    std::filesystem::current_path(previous);
    std::filesystem::remove(empty, error);
    pak_directory.entries.clear();  // later loose files must not find this archive's entries
}

}  // namespace

const AssetRule* inspect_asset(const std::string& path)
{
    std::string name = std::filesystem::path(path).filename().string();
    for (const AssetRule& asset : assets)
        if (strcasecmp(asset.name, name.c_str()) == 0)
            return &asset;
    return nullptr;
}

void inspect_problem(const std::string& label, const std::string& message)
{
    std::printf("problem: %s: %s\n", label.c_str(), message.c_str());
    std::fflush(stdout);
    problems += 1;
}

bool inspect_guard(const std::function<void()>& body, std::string& out, std::string& message)
{
    process_clear_finishers();
    process_set_exit_handler(stop_instead_of_exit);
    StreamCapture capture_out(stdout);
    StreamCapture capture_err(stderr);
    bool finished = true;
    try {
        body();
    } catch (const Stopped&) {
        finished = false;
    }
    out = capture_out.finish();
    std::string err = capture_err.finish();
    process_set_exit_handler(nullptr);
    // The fatal path prints "error: MESSAGE"; keep MESSAGE on one line.
    message.clear();
    size_t at = err.rfind("error: ");
    std::string text = finished || at == std::string::npos ? err : err.substr(at + 7);
    for (char c : text) {
        if (c == '\n') {
            if (!message.empty() && message.back() != ' ')
                message += ' ';
        } else {
            message += c;
        }
    }
    while (!message.empty() && message.back() == ' ')
        message.pop_back();
    while (!message.empty() && message.front() == ' ')
        message.erase(message.begin());
    return finished;
}

int main(int argc, char** argv)
{
    // On Windows: the report's bytes are the Linux ones (no CR before line ends).
    host_start();
    if (argc < 2) {
        std::fputs(usage, stderr);
        return 1;
    }
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(usage, stdout);
            return 0;
        }
        if (arg == "--version") {
            std::printf("vivur-inspect %s\n", VIVUR_VERSION);
            return 0;
        }
    }
    // Modules play on the offline device, timed by the virtual clock.
    sound_use_offline(true);
    clock_use_virtual(0);
    for (int i = 1; i < argc; ++i) {
        std::string path = argv[i];
        std::string ext = extension(path);
        const AssetRule* rule = inspect_asset(path);
        if (ext == ".pak")
            inspect_archive(path);
        else if (ext == ".jpg" || ext == ".jpeg")
            inspect_picture(path, rule);
        else if (ext == ".3ds")
            inspect_scene(path, rule);
        else if (ext == ".s3m" || ext == ".mod" || ext == ".xm" || ext == ".it")
            inspect_module(path, rule);
        else
            inspect_problem(path, "not a picture (.jpg), scene (.3ds), module (.s3m) or archive (.pak)");
    }
    std::fflush(stdout);
    return problems ? 1 : 0;
}

// vivur-pak: lists, extracts and creates archives in the production's format.
// Reading reuses the production's layout checks, so the tool refuses exactly
// the archives the production would stop on; writing goes through pak_writer.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pak_writer.h"
#include "resources/pak.h"

namespace {

const char usage[] =
    "usage: vivur-pak list ARCHIVE\n"
    "       vivur-pak extract ARCHIVE [NAME...] [-C DIR]\n"
    "       vivur-pak create ARCHIVE FILE...\n"
    "Names hold at most 12 characters and match in any letter case.\n";

// An archive read wholly into memory, with its directory.
struct Archive {
    std::string path;               // as given on the command line
    std::vector<uint8_t> bytes;     // the whole file
    std::vector<PakEntry> entries;  // in directory order
};

bool read_whole(const std::string& path, std::vector<uint8_t>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in || std::filesystem::is_directory(path))
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "vivur-pak: %s\n", message.c_str());
    return 1;
}

// Reads and checks the archive's trailer and directory.
bool archive_load(const std::string& path, Archive& archive, std::string& error)
{
    archive.path = path;
    if (!read_whole(path, archive.bytes)) {
        error = "cannot read " + path;
        return false;
    }
    const uint64_t length = archive.bytes.size();
    uint8_t trailer[pak_trailer_bytes] = {};
    if (length >= pak_trailer_bytes)
        std::memcpy(trailer, archive.bytes.data() + length - pak_trailer_bytes, pak_trailer_bytes);
    uint32_t count = 0;
    if (!pak_read_trailer(path.c_str(), length, trailer, count, error))
        return false;
    const uint8_t* directory = archive.bytes.data() + length - pak_trailer_bytes - uint64_t(count) * pak_entry_bytes;
    for (uint32_t i = 0; i < count; ++i)
        archive.entries.push_back(pak_parse_entry(directory + uint64_t(i) * pak_entry_bytes));
    return true;
}

// The content of one entry, checked as the production checks it.
bool archive_content(const Archive& archive, const PakEntry& entry, std::vector<uint8_t>& content,
                     std::string& error)
{
    uint64_t start = 0;
    const char* path = archive.path.c_str();
    if (!pak_check_entry(path, archive.bytes.size(), uint32_t(archive.entries.size()), entry, start, error) ||
        !pak_check_block(path, entry, archive.bytes.data() + start, error))
        return false;
    content.assign(entry.content_size, 0);
    unpack_block(archive.bytes.data() + start, content.data());
    return true;
}

int command_list(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        return std::fputs(usage, stderr), 2;
    Archive archive;
    std::string error;
    if (!archive_load(args[0], archive, error))
        return fail(error);
    for (const PakEntry& entry : archive.entries)
        std::printf("%-12s %10u %10u\n", entry.name, entry.stored_length, entry.content_size);
    return 0;
}

int command_extract(const std::vector<std::string>& args)
{
    std::string directory = ".";
    std::vector<std::string> names;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "-C") {
            if (i + 1 >= args.size())
                return std::fputs(usage, stderr), 2;
            directory = args[++i];
        } else {
            names.push_back(args[i]);
        }
    }
    if (args.empty())
        return std::fputs(usage, stderr), 2;
    Archive archive;
    std::string error;
    if (!archive_load(args[0], archive, error))
        return fail(error);

    // Which entries: the named ones, or every name once; as in the
    // production, the last of several equal names wins.
    std::vector<int> chosen;
    if (names.empty()) {
        for (size_t i = 0; i < archive.entries.size(); ++i)
            if (pak_find(archive.entries, archive.entries[i].name) == int(i))
                chosen.push_back(int(i));
    }
    for (const std::string& name : names) {
        const int index = pak_find(archive.entries, name.c_str());
        if (index < 0)
            return fail("no entry [" + name + "] in " + archive.path);
        chosen.push_back(index);
    }
    // Check everything before writing anything.
    std::vector<std::vector<uint8_t>> contents(chosen.size());
    for (size_t i = 0; i < chosen.size(); ++i) {
        const PakEntry& entry = archive.entries[size_t(chosen[i])];
        const std::string problem = pak_name_problem(entry.name);
        if (!problem.empty())
            return fail("cannot extract from " + archive.path + ": " + problem);
        if (!archive_content(archive, entry, contents[i], error))
            return fail(error);
    }
    std::error_code code;
    std::filesystem::create_directories(directory, code);
    for (size_t i = 0; i < chosen.size(); ++i) {
        const std::string out_path = directory + "/" + archive.entries[size_t(chosen[i])].name;
        std::ofstream out(out_path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(contents[i].data()), std::streamsize(contents[i].size()));
        out.close();
        if (!out)
            return fail("cannot write " + out_path);
    }
    return 0;
}

int command_create(const std::vector<std::string>& args)
{
    if (args.empty())
        return std::fputs(usage, stderr), 2;
    std::vector<PakFile> files;
    for (size_t i = 1; i < args.size(); ++i) {
        PakFile file;
        file.name = std::filesystem::path(args[i]).filename().string();
        const std::string problem = pak_name_problem(file.name);
        if (!problem.empty())
            return fail("cannot store " + args[i] + ": " + problem);
        if (!read_whole(args[i], file.content))
            return fail("cannot read " + args[i]);
        files.push_back(std::move(file));
    }
    std::string error;
    if (!pak_write(args[0], files, error))
        return fail(error);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h"))) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (argc < 2) {
        std::fputs(usage, stderr);
        return 2;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "list")
        return command_list(args);
    if (command == "extract")
        return command_extract(args);
    if (command == "create")
        return command_create(args);
    std::fprintf(stderr, "vivur-pak: unknown command '%s'\n", command.c_str());
    std::fputs(usage, stderr);
    return 2;
}

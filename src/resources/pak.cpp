#include "resources/pak.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/fatal.h"
#include "platform/files.h"

PakDirectory pak_directory;

namespace {

// printf into a string of any length.
std::string pak_format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string pak_format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? size_t(length) : 0, '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return text;
}

uint32_t read_u32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

char lower_ascii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool same_name(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b)
        if (lower_ascii(*a) != lower_ascii(*b))
            return false;
    return *a == *b;
}

}  // namespace

bool pak_read_trailer(const char* archive, uint64_t length, const uint8_t* trailer,
                      uint32_t& count, std::string& problem)
{
    // Shorter than count and signature: there is no signature to compare.
    bool valid = length >= pak_trailer_bytes;
    for (uint32_t i = 0; valid && i < 6; ++i)
        valid = lower_ascii(char(trailer[2 + i])) == pak_signature[i];
    if (!valid) {
        problem = pak_format("%s is not a valid PAK file", archive);
        return false;
    }
    count = uint32_t(trailer[0]) | uint32_t(trailer[1]) << 8;
    if (pak_trailer_bytes + uint64_t(pak_entry_bytes) * count > length) {
        problem = pak_format("%s is damaged: its directory of %u entries does not fit in the file",
                             archive, count);
        return false;
    }
    return true;
}

PakEntry pak_parse_entry(const uint8_t* raw)
{
    PakEntry entry{};
    std::memcpy(entry.name, raw, pak_name_bytes);  // bytes 13..15 stay 0: always terminated
    entry.distance = read_u32(raw + 13);
    entry.stored_length = read_u32(raw + 17);
    entry.content_size = read_u32(raw + 21);
    return entry;
}

bool pak_check_entry(const char* archive, uint64_t length, uint32_t count, const PakEntry& entry,
                     uint64_t& block_start, std::string& problem)
{
    const uint64_t tail = pak_trailer_bytes + uint64_t(pak_entry_bytes) * count;
    if (tail > length) {
        problem = pak_format("%s is damaged: its directory of %u entries does not fit in the file",
                             archive, count);
        return false;
    }
    // Stored blocks lie between the start of the file and the directory.
    const uint64_t directory = length - tail;
    if (entry.distance > directory || entry.stored_length > entry.distance) {
        problem = pak_format("%s is damaged: the stored block of [%s] lies outside the archive",
                             archive, entry.name);
        return false;
    }
    if (entry.stored_length < pak_block_header) {
        problem = pak_format("%s is damaged: the stored block of [%s] is %u bytes, "
                             "too short for its 4-byte count",
                             archive, entry.name, entry.stored_length);
        return false;
    }
    // The content buffer is allocated and zero-filled at its full size: a size
    // beyond the whole archive cannot be a real file and could ask for gigabytes.
    if (entry.content_size > length) {
        problem = pak_format("%s is damaged: [%s] claims a size of %u bytes, more than the whole archive",
                             archive, entry.name, entry.content_size);
        return false;
    }
    block_start = directory - entry.distance;
    return true;
}

bool pak_check_block(const char* archive, const PakEntry& entry, const uint8_t* block,
                     std::string& problem)
{
    const uint32_t count = read_u32(block);
    const uint32_t held = entry.stored_length - pak_block_header;
    if (count > held || count > entry.content_size) {
        problem = pak_format("%s is damaged: [%s] claims %u bytes, but its block holds %u "
                             "and its size is %u",
                             archive, entry.name, count, held, entry.content_size);
        return false;
    }
    return true;
}

int pak_find(const std::vector<PakEntry>& entries, const char* name)
{
    // Every entry is compared, so of several equal names the last one wins.
    int found = -1;
    for (size_t i = 0; i < entries.size(); ++i)
        if (same_name(entries[i].name, name))
            found = int(i);
    return found;
}

uint32_t unpack_block(const uint8_t* block, uint8_t* destination)
{
    const uint32_t count = read_u32(block);
    std::memcpy(destination, block + pak_block_header, count);
    return count;
}

std::vector<std::string> pak_places(const char* path, const std::string& executable_dir)
{
    std::vector<std::string> places{path};
    if (std::strchr(path, '/') || std::strchr(path, '\\') || executable_dir.empty())
        return places;
    places.push_back(executable_dir + "/" + path);
    // The executable's folder is bin/ of an installation: its data lies in ../share/vivur/.
    const size_t slash = executable_dir.find_last_of("/\\");
    const std::string prefix = slash == std::string::npos ? "." : executable_dir.substr(0, slash);
    places.push_back(prefix + "/share/vivur/" + path);
    return places;
}

void pak_mount(const char* path) { pak_mount_from(path, files_executable_dir()); }

void pak_mount_from(const char* path, const std::string& executable_dir)
{
    const std::vector<std::string> places = pak_places(path, executable_dir);
    std::string where;
    HostFile pak;
    bool found = false;
    for (const std::string& place : places) {
        if ((found = files_open(place.c_str(), pak))) {
            where = place;
            break;
        }
    }
    if (!found && places.size() == 1)
        report_error("file not found [%s]", path);
    if (!found) {
        // The production's message first, then every place tried.
        std::string tried = places[0] + " (the working directory)";
        for (size_t i = 1; i < places.size(); ++i)
            tried += ", " + places[i];
        report_error("file not found [%s]\nlooked for in: %s", path, tried.c_str());
    }

    const char* archive = where.c_str();
    const uint64_t length = pak.length;
    uint8_t trailer[pak_trailer_bytes] = {};
    if (length >= pak_trailer_bytes &&
        !files_read_at(pak, length - pak_trailer_bytes, trailer, pak_trailer_bytes)) {
        files_close(pak);
        report_error("cannot read %s", archive);
    }
    uint32_t count = 0;
    std::string problem;
    if (!pak_read_trailer(archive, length, trailer, count, problem)) {
        files_close(pak);
        report_error("%s", problem.c_str());
    }
    std::vector<uint8_t> raw(size_t(count) * pak_entry_bytes);
    const uint64_t directory = length - pak_trailer_bytes - raw.size();
    if (!files_read_at(pak, directory, raw.data(), raw.size())) {
        files_close(pak);
        report_error("cannot read %s", archive);
    }
    files_close(pak);

    pak_directory.entries.clear();
    for (uint32_t i = 0; i < count; ++i)
        pak_directory.entries.push_back(pak_parse_entry(raw.data() + size_t(i) * pak_entry_bytes));
    pak_directory.path = where;
}

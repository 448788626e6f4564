#include "pak_writer.h"

#include <cstdio>

#include "resources/pak.h"

namespace {

constexpr size_t pak_name_max = pak_name_bytes - 1;  // longest name the field holds, with its terminator
constexpr uint64_t pak_count_max = 65535;     // the entry count is 16 bits
constexpr uint64_t pak_offset_max = 0xFFFFFFFFu;  // distances and lengths are 32 bits

void put_u16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void put_u32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(uint8_t(value >> shift));
}

char lower_ascii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool same_name(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower_ascii(a[i]) != lower_ascii(b[i]))
            return false;
    return true;
}

}  // namespace

std::string pak_name_problem(const std::string& name)
{
    if (name.empty())
        return "an archive name cannot be empty";
    if (name.size() > pak_name_max)
        return "name '" + name + "' has " + std::to_string(name.size()) +
               " characters; an archive name holds at most " + std::to_string(pak_name_max);
    if (name == "." || name == "..")
        return "name '" + name + "' is not a file name";
    for (char c : name) {
        if (c == '/' || c == '\\')
            return "name '" + name + "' holds a directory; archive names have none";
        if (static_cast<unsigned char>(c) < 0x20)
            return "name '" + name + "' holds a control character";
    }
    return {};
}

bool pak_build(const std::vector<PakFile>& files, std::vector<uint8_t>& archive, std::string& error)
{
    if (files.size() > pak_count_max) {
        error = std::to_string(files.size()) + " files do not fit; an archive holds at most 65535";
        return false;
    }
    for (size_t i = 0; i < files.size(); ++i) {
        error = pak_name_problem(files[i].name);
        if (!error.empty())
            return false;
        for (size_t j = 0; j < i; ++j)
            if (same_name(files[i].name, files[j].name)) {
                error = "names '" + files[j].name + "' and '" + files[i].name +
                        "' are the same ignoring case";
                return false;
            }
    }
    // Stored blocks first, in order; every distance counts back from the
    // directory, so the total stored size must fit 32 bits.
    uint64_t stored_total = 0;
    for (const PakFile& file : files) {
        if (file.content.size() > pak_offset_max - pak_block_header) {
            error = "'" + file.name + "' is too large for an archive (4 GB at most)";
            return false;
        }
        stored_total += pak_block_header + file.content.size();
    }
    if (stored_total > pak_offset_max) {
        error = "the files together are too large for an archive (4 GB at most)";
        return false;
    }
    archive.clear();
    archive.reserve(stored_total + files.size() * pak_entry_bytes + pak_trailer_bytes);
    std::vector<uint32_t> starts;
    for (const PakFile& file : files) {
        starts.push_back(uint32_t(archive.size()));
        put_u32(archive, uint32_t(file.content.size()));
        archive.insert(archive.end(), file.content.begin(), file.content.end());
    }
    const uint32_t directory = uint32_t(archive.size());
    for (size_t i = 0; i < files.size(); ++i) {
        const PakFile& file = files[i];
        uint8_t name[pak_name_bytes] = {};  // zero-padded, so always terminated
        for (size_t c = 0; c < file.name.size(); ++c)
            name[c] = uint8_t(file.name[c]);
        archive.insert(archive.end(), name, name + pak_name_bytes);
        put_u32(archive, directory - starts[i]);                // distance
        put_u32(archive, uint32_t(pak_block_header + file.content.size()));  // stored length
        put_u32(archive, uint32_t(file.content.size()));       // content size
    }
    put_u16(archive, uint32_t(files.size()));
    archive.insert(archive.end(), pak_signature, pak_signature + sizeof pak_signature - 1);
    error.clear();
    return true;
}

bool pak_write(const std::string& path, const std::vector<PakFile>& files, std::string& error)
{
    std::vector<uint8_t> archive;
    if (!pak_build(files, archive, error))
        return false;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        error = "cannot create " + path;
        return false;
    }
    const bool written = std::fwrite(archive.data(), 1, archive.size(), out) == archive.size();
    const bool closed = std::fclose(out) == 0;
    if (!written || !closed) {
        error = "cannot write " + path;
        std::remove(path.c_str());
        return false;
    }
    return true;
}

// Writes archives in the production's format: each file's content as a stored
// block (4-byte count, then the bytes), a directory of 25-byte entries, the
// 16-bit entry count and "qomrax". Used by vivur-pak and the content generator.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One file to store in an archive.
struct PakFile {
    std::string name;              // archive name: 1..12 characters, no directories
    std::vector<uint8_t> content;  // bytes stored unchanged
};

// Called by pak_build and vivur-pak before storing a name: empty when the
// name fits the format, otherwise a sentence saying why it does not.
std::string pak_name_problem(const std::string& name);

// Called by pak_write (and tests): lays out the whole archive for files, in
// the given order. Returns false with a message in error when a name cannot
// be stored, two names are equal ignoring case, or a size overflows the format.
bool pak_build(const std::vector<PakFile>& files, std::vector<uint8_t>& archive, std::string& error);

// Called by vivur-pak create and the content generator: pak_build, then
// writes the bytes to path, replacing it. Returns false with a message in
// error on any failure; nothing is written when the files cannot be stored.
bool pak_write(const std::string& path, const std::vector<PakFile>& files, std::string& error);

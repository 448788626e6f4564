// The archive "vivur.pak": its layout on disk, the mounted directory, and the
// checks that keep every read inside the archive. The file layer opens assets
// through it; vivur-pak reuses the layout helpers to list and extract.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t pak_entry_bytes = 25;    // one directory entry on disk
constexpr uint32_t pak_name_bytes = 13;     // name field of an entry, zero-terminated
constexpr uint32_t pak_trailer_bytes = 8;   // 16-bit count, then the 6-byte signature
constexpr uint32_t pak_block_header = 4;    // the byte count that starts a stored block
constexpr char pak_signature[] = "qomrax";   // the trailer's 6 signature bytes (read in any case)

// One directory entry.
struct PakEntry {
    char name[16];           // zero-terminated name (the file gives at most 13 bytes)
    uint32_t distance;       // the stored block begins this many bytes before the directory
    uint32_t stored_length;  // bytes of the stored block, its 4-byte count included
    uint32_t content_size;   // size of the content buffer handed to the reader
};

// The one mounted archive of the process.
struct PakDirectory {
    std::vector<PakEntry> entries;  // in directory order (grows to any 16-bit count)
    std::string path;               // path the archive was opened by, reused by file_open
};

extern PakDirectory pak_directory;  // filled by pak_mount, read by file_open

// Called once by the timeline before any asset loads: reads the directory of
// the archive at path, looked for in the places pak_places gives for the
// running executable. Stops through report_error when the file is missing
// (naming the places tried) or is not a valid archive.
void pak_mount(const char* path);
// pak_mount with the executable's folder given, so tests can place one.
void pak_mount_from(const char* path, const std::string& executable_dir);

// Called by pak_mount: where an archive named path is looked for, in order. A
// bare name: the working directory, then beside the executable, then the
// installed data folder share/vivur beside the executable's folder (so an
// installed bin/vivur finds share/vivur/vivur.pak); only the working
// directory when executable_dir is "". A path with a folder: only itself.
std::vector<std::string> pak_places(const char* path, const std::string& executable_dir);

// Called by file_open and vivur-pak: index of the last entry whose name
// equals name ignoring ASCII case, or -1.
int pak_find(const std::vector<PakEntry>& entries, const char* name);

// Called by file_open and vivur-pak once pak_check_block has passed: copies the
// N content bytes that follow the 4-byte count N of block and returns N.
uint32_t unpack_block(const uint8_t* block, uint8_t* destination);

// Layout helpers, shared by the file layer and vivur-pak. Each returns true
// when the archive is sound; otherwise false, with a message naming the
// archive (and the entry) in problem.

// Reads the count from the last 8 bytes of an archive of length bytes and
// checks the signature (any case) and that the directory fits in the file.
bool pak_read_trailer(const char* archive, uint64_t length, const uint8_t* trailer,
                      uint32_t& count, std::string& problem);
// Decodes one 25-byte directory entry.
PakEntry pak_parse_entry(const uint8_t* raw);
// Checks that entry's stored block lies between the start of the archive and
// its directory, and is long enough for its count, and that its content size
// does not exceed the archive's length; gives where the block starts.
bool pak_check_entry(const char* archive, uint64_t length, uint32_t count, const PakEntry& entry,
                     uint64_t& block_start, std::string& problem);
// Checks the count N at the start of a stored block against the block and the entry's size.
bool pak_check_block(const char* archive, const PakEntry& entry, const uint8_t* block,
                     std::string& problem);

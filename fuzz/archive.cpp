// Fuzzes the archive and the file layer: the input is a whole "vivur.pak".
// It is mounted, then every entry is opened by its name and read back the
// ways the loaders read (chunks, single bytes, seeks from each origin).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "resources/file.h"
#include "resources/pak.h"

namespace {

constexpr size_t fuzz_max_entries = 16;  // entries opened per input

// Reads the whole open file three ways and checks the counts agree with its size.
void fuzz_read_back(FileHandle& file)
{
    uint8_t chunk[4096];
    uint64_t total = 0;
    while (uint32_t count = file_read(file, chunk, sizeof chunk))
        total += count;
    if (total != file.size || file_tell(file) != file.size)
        std::abort();  // the reads lost or invented bytes

    file_seek(file, 0, 0);
    for (uint32_t i = 0; i < 64 && i < file.size; ++i)
        if (file_getc(file) != file.data[i])
            std::abort();
    file_seek(file, 0, 2);
    if (file_getc(file) != 0xFF)
        std::abort();  // at the end the next byte reads as 0xFF
    file_seek(file, -3, 1);
    file_read(file, chunk, 8);
    file_seek(file, int32_t(file.size / 2), 2);
    file_read(file, chunk, sizeof chunk);
    file_seek(file, 7, 9);  // an unknown origin changes nothing
    file_read(file, chunk, 1);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz_setup();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string archive = fuzz_write_file("vivur.pak", data, size);
    pak_directory.entries.clear();
    bool mounted = false;
    fuzz_run([&] {
        pak_mount(archive.c_str());
        mounted = true;
    });
    if (!mounted)
        return 0;

    const size_t count = std::min(pak_directory.entries.size(), fuzz_max_entries);
    for (size_t i = 0; i < count; ++i) {
        char name[sizeof(PakEntry::name)];
        std::memcpy(name, pak_directory.entries[i].name, sizeof name);
        // The production asks only for its own bare asset names (looked up
        // loose in the working directory first); a name with a directory
        // could open any file of the machine.
        if (!name[0] || std::strchr(name, '/'))
            continue;
        fuzz_run([&] {
            FileHandle file = file_open(name);
            fuzz_read_back(file);
            file_close(file);
        });
    }
    fuzz_run([] { file_open("absent.jpg"); });
    return 0;
}

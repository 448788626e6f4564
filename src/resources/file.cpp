#include "resources/file.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "core/fatal.h"
#include "platform/files.h"
#include "resources/pak.h"

namespace {

// Reads the open loose file wholly into a new handle, closing it.
FileHandle file_load_loose(HostFile& loose, const char* name)
{
    if (loose.length > 0xFFFFFFFFu) {
        files_close(loose);
        report_error("%s is too large (more than 4 GB)", name);
    }
    const uint32_t size = uint32_t(loose.length);
    uint8_t* data = static_cast<uint8_t*>(std::malloc(size ? size : 1));
    if (!data) {
        files_close(loose);
        report_error("out of memory loading [%s] (%u bytes)", name, size);
    }
    if (!files_read_at(loose, 0, data, size)) {
        files_close(loose);
        std::free(data);
        report_error("cannot read %s", name);
    }
    files_close(loose);
    return FileHandle{data, size, 0, 1};
}

}  // namespace

FileHandle file_open(const char* name)
{
    FileHandle handle{nullptr, 0, 0, 1};
    HostFile loose;
    if (files_open(name, loose))
        return file_load_loose(loose, name);

    const int index = pak_find(pak_directory.entries, name);
    if (index < 0)
        report_error("file not found [%s]", name);
    const PakEntry entry = pak_directory.entries[size_t(index)];
    const char* archive = pak_directory.path.c_str();
    HostFile pak;
    if (!files_open(archive, pak))
        return handle;  // the archive went away since mounting: an empty file

    uint64_t block_start = 0;
    std::string problem;
    if (!pak_check_entry(archive, pak.length, uint32_t(pak_directory.entries.size()), entry,
                         block_start, problem)) {
        files_close(pak);
        report_error("%s", problem.c_str());
    }
    uint8_t* block = static_cast<uint8_t*>(std::malloc(entry.stored_length));
    if (!block) {
        files_close(pak);
        report_error("out of memory loading [%s] (%u bytes)", name, entry.stored_length);
    }
    const bool read = files_read_at(pak, block_start, block, entry.stored_length);
    files_close(pak);
    if (!read) {
        std::free(block);
        report_error("cannot read [%s] from %s", name, archive);
    }
    if (!pak_check_block(archive, entry, block, problem)) {
        std::free(block);
        report_error("%s", problem.c_str());
    }
    // Allocated last, so that no failure above leaves it behind; zero-filled,
    // so bytes the block does not supply (content_size above N) read as 0.
    handle.data = static_cast<uint8_t*>(std::calloc(entry.content_size ? entry.content_size : 1, 1));
    if (!handle.data) {
        std::free(block);
        report_error("out of memory loading [%s] (%u bytes)", name, entry.content_size);
    }
    handle.size = entry.content_size;
    unpack_block(block, handle.data);
    std::free(block);
    return handle;
}

uint32_t file_read(FileHandle& handle, void* destination, uint32_t length)
{
    if (handle.is_open != 1)
        report_error("file not opened!");
    // Cut to what remains; a position at or past the end leaves nothing.
    const uint32_t remaining = handle.position < handle.size ? handle.size - handle.position : 0;
    if (length > remaining)
        length = remaining;
    if (length > 0)
        std::memcpy(destination, handle.data + handle.position, length);
    handle.position += length;
    return length;
}

void file_seek(FileHandle& handle, int32_t offset, uint8_t whence)
{
    // Positions wrap in 32 bits; one past the end reads nothing.
    if (whence == 0)
        handle.position = uint32_t(offset);
    else if (whence == 1)
        handle.position += uint32_t(offset);
    else if (whence == 2)
        handle.position = handle.size - uint32_t(offset);
}

uint32_t file_tell(const FileHandle& handle) { return handle.position; }

uint8_t file_getc(FileHandle& handle)
{
    uint8_t byte = 0xFF;
    file_read(handle, &byte, 1);
    return byte;
}

void file_close(FileHandle& handle)
{
    std::free(handle.data);
    handle.data = nullptr;
    handle.is_open = 0;
    handle.size = 0xFFFFFFFFu;
}

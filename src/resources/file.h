// Files held wholly in memory: a loose file from the working directory or an
// entry of the mounted archive. The music, JPEG and 3DS loaders read assets
// through these calls; every failure stops the program through report_error.
#pragma once
#include <cstdint>

// An open file. Returned by value by file_open; owns data until file_close.
struct FileHandle {
    uint8_t* data;      // the whole content (null when empty or closed)
    uint32_t size;      // content bytes; all bits set after file_close
    uint32_t position;  // read position, 0 after opening
    uint8_t is_open;    // 1 while open, 0 after file_close
};

// Called by the loaders for each asset: the loose file name in the working
// directory if there is one, else the last archive entry of that name (any
// case). Stops with "file not found [name]" when neither exists.
FileHandle file_open(const char* name);

// Called by the loaders: copies up to length bytes from the position to
// destination, advances the position and returns the count (0 at the end).
uint32_t file_read(FileHandle& handle, void* destination, uint32_t length);

// Called by the 3DS loader: whence 0 sets the position to offset, 1 adds the
// signed offset, 2 sets it to size - offset (counting back from the end);
// any other whence changes nothing. A position past the end reads 0 bytes.
void file_seek(FileHandle& handle, int32_t offset, uint8_t whence);

// Called by the 3DS loader: the current position.
uint32_t file_tell(const FileHandle& handle);

// Called by the 3DS loader: the next byte, or 0xFF at the end of the content.
uint8_t file_getc(FileHandle& handle);

// Called by each loader when it is done: frees the content and marks the
// handle closed (size all bits set, data null); the position stays.
void file_close(FileHandle& handle);

// The host's files: what the resource loaders read (whole loose files and
// ranges of the archive), where the running program lives, and folders made
// for the capture output. Native builds use the operating system's calls; the
// browser build backs the same calls with its page's file system.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

// A file open for reading.
struct HostFile {
    intptr_t descriptor = -1;  // the system's descriptor or handle; -1 when nothing is open
    uint64_t length = 0;  // bytes in the file when it was opened
};

// std::fopen for a UTF-8 path (Windows takes it as wide characters there).
// Every file but the log is opened in binary mode ("rb", "wb"), so that
// Windows writes the same bytes as Linux.
FILE* files_fopen(const char* path, const char* mode);

// Opens path for reading when it is a regular file. False when it is
// missing, a folder or anything else, or cannot be read.
bool files_open(const char* path, HostFile& file);
// Reads exactly length bytes at offset into destination; false on an error
// or when the file ends before that.
bool files_read_at(const HostFile& file, uint64_t offset, void* destination, uint64_t length);
// Closes file (nothing happens when it is not open).
void files_close(HostFile& file);

// The folder that holds the running executable, without a trailing slash
// ("" when it cannot be told). Paths of any length.
std::string files_executable_dir();

// Called once a file for the user is complete (a screenshot): natively
// nothing more is needed, it lies in the working directory; the browser
// build hands it to the user as a download of that name.
void files_offer(const char* path);

// Creates path and its missing parents. Returns false with a reason in error.
bool folder_create(const std::string& path, std::string& error);

// The user's own folder for pictures: $HOME/Pictures natively
// (%USERPROFILE%\Pictures on Windows); "" when the home folder is not set.
std::string folder_pictures();
// Creates path and its missing parents and makes it the working directory
// (the desktop start's own folder). Returns false with a reason in error.
bool folder_enter(const std::string& path, std::string& error);

// Creates a new empty folder, named prefix and a unique ending, in the
// system's folder for temporary files, and returns its path ("" when none
// can be made). The tools and the tests work in such folders.
std::string folder_create_temporary(const char* prefix);

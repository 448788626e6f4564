// Folder creation for the capture output.
#pragma once
#include <string>

// Creates path and its missing parents. Returns false with a reason in error.
bool folder_create(const std::string& path, std::string& error);

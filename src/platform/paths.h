// Where the running program lives, so the archive can be found beside the
// executable when it is not in the working directory. Used by the file layer.
#pragma once
#include <string>

// Called by pak_mount when the archive is not in the working directory: the
// directory that holds the running executable, without a trailing slash
// ("" when it cannot be told). Paths of any length.
std::string path_executable_dir();
